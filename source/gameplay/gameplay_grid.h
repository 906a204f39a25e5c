// The gameplay grid of the theatre.
#pragma once

#include <cstdint>

namespace vyr {

struct Waypoint;

// 1 when x, y lies on a runway in a cell of the player's side; fatal without a last waypoint.
int is_friendly_runway(int32_t x, int32_t y, const Waypoint* last_waypoint);

// The sides of the grid's cells for the mission.
void apply_cell_sides();

}  // namespace vyr
