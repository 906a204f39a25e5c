// Stand-in for the head-up display and the last view services: no HUD symbol is drawn.
#include "source/avionics/avionics.h"
#include "source/avionics/hud.h"
#include "source/avionics/views.h"

namespace vyr {

// Keys of a display that does not exist yet.
int select_hud_colour(int) { return 1; }
int toggle_airspeed_display(int) { return 1; }
void init_hud() {}
void draw_hud() {}
void compute_world_extents() {}
void reset_drone_view_cycle() {}
void create_view_remaps() {}
void free_view_remaps() {}

}  // namespace vyr
