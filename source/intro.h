// The intro shown at start-up and the closing sequence shown when the player quits.
#pragma once

namespace vyr {

// Movies when "Animations" is on, else the title pictures, which a Space or a click skips.
void play_intro();
void play_finale();

// Takes events until the queue is empty (0) or a release of Space or a button press arrives (1,
// and the rest of the queue is dropped).
int intro_skip_requested();

}  // namespace vyr
