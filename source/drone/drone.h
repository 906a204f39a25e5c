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

// The player's task; null when the mission gives none.
extern Task* user_task;

Waypoint* get_drone_first_waypoint(const Drone* drone);
// game_clock from which the drone takes part.
int32_t get_drone_activation_time(const Drone* drone);
// 1 while the drone's autopilot flies it.
int get_drone_autopilot(const Drone* drone);
// Makes the drone and its task the selected ones.
void select_drone(Drone* drone);

// Mission set-up: the drones at their start, their passengers on board, the user drone and its
// wingmen's arms.
void place_drones_at_start();
void link_drone_passengers();
void create_user_drone();
void init_battle_cells();
void reset_drone_bomb_run();

// Once a simulation step: the local drones, or the remote ones from what the link received.
void update_drones();
void update_remote_drones();
// Tyre smoke at the wheels of a landing aircraft.
void emit_touchdown_smoke();

}  // namespace vyr
