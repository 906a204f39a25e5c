// Waypoints of the drones' routes and the selected waypoint.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct Waypoint;

constexpr int32_t WAYPOINT_LANDING = 4;

// The route's next waypoint; null after the last.
Waypoint* get_next_waypoint(const Waypoint* waypoint);
int32_t get_waypoint_type(const Waypoint* waypoint);
Vector3 get_waypoint_position(const Waypoint* waypoint);
// 0 for a start on the ground.
int32_t get_waypoint_altitude(const Waypoint* waypoint);

extern Waypoint* selected_waypoint;
// Makes the waypoint (or none) selected and its drone the selected drone.
void select_waypoint(Waypoint* waypoint);

}  // namespace vyr
