// Stand-in for the gameplay grid: no cell has a side, so no runway is the player's.
#include "source/gameplay/defence_sites.h"
#include "source/gameplay/gameplay_grid.h"

namespace vyr {

int is_friendly_runway(int32_t, int32_t, const Waypoint*) { return 0; }
void apply_cell_sides() {}
void flag_lased_ground_objects() {}

}  // namespace vyr
