// Stand-in for the gameplay grid: no cell has a side, so no runway is the player's.
#include "source/gameplay/gameplay_grid.h"

namespace vyr {

int is_friendly_runway(int32_t, int32_t, const Waypoint*) { return 0; }

}  // namespace vyr
