// Stand-in for the head-up display and the last view services: no HUD symbol is drawn.
#include "source/avionics/avionics.h"
#include "source/avionics/hud.h"
#include "source/avionics/views.h"

namespace vyr {

// Keys of a display that does not exist yet.
int select_hud_colour(int) { return 1; }
int toggle_airspeed_display(int) { return 1; }
void draw_hud() {}
void compute_world_extents() {}
void reset_drone_view_cycle() {}
// The head-up display keeps only its two weapon sub-modes.
namespace {
int bomb_delivery_mode = BOMB_MODE_CCIP, gun_aim_mode = GUN_AIM_AUTOMATIC;
}
void init_hud() {
    bomb_delivery_mode = BOMB_MODE_CCIP;
    gun_aim_mode = GUN_AIM_AUTOMATIC;
}
void set_bomb_delivery_mode(int mode) { bomb_delivery_mode = mode; }
int get_bomb_delivery_mode() { return bomb_delivery_mode; }
void set_gun_aim_mode(int mode) { gun_aim_mode = mode; }
int get_gun_aim_mode() { return gun_aim_mode; }
void create_view_remaps() {}
void free_view_remaps() {}

}  // namespace vyr
