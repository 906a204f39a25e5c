// Blackout, redout and hypoxia, and night vision: the screen effects of the cockpit.
#pragma once

namespace vyr {

void init_g_effects();
// Once a frame, from the g load, the frame time and the oxygen failure.
void update_g_effects();
void free_g_effects();

void init_night_vision();
void shutdown_night_vision();
// Hot-key handler: night vision on or off, with a targeting pod fitted.
int toggle_night_vision_key(int key_code);

}  // namespace vyr
