// The head-up display.
#pragma once

namespace vyr {

// Mode NAV, bomb delivery mode 0, automatic gun aiming, the colour for the light.
void init_hud();
// Hot-key handlers: the next HUD colour; indicated or true airspeed.
int select_hud_colour(int key_code);
int toggle_airspeed_display(int key_code);
// Into the locked frame buffer, under the cockpit's pieces: the display seen through its glass.
void draw_hud();

}  // namespace vyr
