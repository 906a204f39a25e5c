// The drone record and pool.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct Drone;
struct Task;
struct Waypoint;

// The player's aircraft.
extern Drone* user_drone;

enum DroneNotify : int32_t { NOTIFY_TAKEOFF = 1 };
void raise_drone_notify(Drone* drone, int notify);

// Tasks in mission order, each task's leader and the members after it; null at the end.
Task* get_first_task();
Task* get_next_task(Task* task);
Drone* get_task_first_drone(Task* task);
Drone* get_next_member(Drone* drone);
int get_drone_object_number(const Drone* drone);
Vector3 get_drone_position(const Drone* drone);

// The drone's current waypoint, null when it has none; the last one of the route holding it.
Waypoint* get_drone_current_waypoint(const Drone* drone);
Waypoint* get_last_waypoint(Waypoint* waypoint);

// The external view steps through the drones.
void view_next_drone();
void view_previous_drone();

}  // namespace vyr
