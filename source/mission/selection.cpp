#include "source/mission/selection.h"

#include "source/drone/task.h"

namespace vyr {

Drone* selected_drone = nullptr;
Waypoint* selected_waypoint = nullptr;

Drone* get_selected_drone() { return selected_drone; }

void select_drone(Drone* drone) {
    selected_drone = drone;
    if (!drone) return;
    select_task(drone->task);
    if (!selected_waypoint || selected_waypoint->drone != drone) select_waypoint(drone->first_waypoint);
}

Waypoint* get_selected_waypoint() { return selected_waypoint; }

void select_waypoint(Waypoint* waypoint) {
    selected_waypoint = waypoint;
    if (waypoint) select_drone(waypoint->drone);
    letter_selected_route();
}

}  // namespace vyr
