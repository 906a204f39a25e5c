// The head-up display.
#pragma once

namespace vyr {

// The bomb delivery sub-mode and the gun's aiming, kept by the display and set by the weapon keys.
constexpr int BOMB_MODE_CCIP = 0, BOMB_MODE_LAY = 1, BOMB_MODE_LOFT = 2;
constexpr int GUN_AIM_MANUAL = 0, GUN_AIM_AUTOMATIC = 1;
void set_bomb_delivery_mode(int mode);
int get_bomb_delivery_mode();
void set_gun_aim_mode(int mode);
int get_gun_aim_mode();

// Mode NAV, bomb delivery mode 0, automatic gun aiming, the colour for the light.
void init_hud();
// Hot-key handlers: the next HUD colour; indicated or true airspeed.
int select_hud_colour(int key_code);
int toggle_airspeed_display(int key_code);
// Into the locked frame buffer, under the cockpit's pieces: the display seen through its glass.
void draw_hud();

}  // namespace vyr
