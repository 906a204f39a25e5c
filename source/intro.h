// The intro shown at start-up and the closing sequence shown when the player quits.
#pragma once

namespace vyr {

// Movies when "Animations" is on, else the title pictures, which a Space or a click skips.
void play_intro();
void play_finale();

// Takes events until the queue is empty (0) or a release of Space or a button press arrives (1,
// and the rest of the queue is dropped).
int intro_skip_requested();

// After an empty poll of the event queue by a loop that does not yield: a short sleep, and one
// tick of the virtual clock.
void wait_after_empty_poll();

}  // namespace vyr
