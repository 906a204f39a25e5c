// The mission editor's and the map screens' selection: one drone and one waypoint of its route.
#pragma once

#include "source/drone/drone.h"
#include "source/drone/waypoint.h"

namespace vyr {

extern Drone* selected_drone;
extern Waypoint* selected_waypoint;

Drone* get_selected_drone();
// Selects a drone (or none), its task, and its first waypoint unless one of its own is selected.
void select_drone(Drone* drone);
Waypoint* get_selected_waypoint();
// Selects a waypoint (or none) and its drone, and reletters its route.
void select_waypoint(Waypoint* waypoint);

}  // namespace vyr
