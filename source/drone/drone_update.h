// The drones brought to life: placed on their routes and formed up at the flight's start, then
// handed each frame to the mover of their class.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;

// The soldiers' death-variant counter.
extern int32_t human_death_counter;

// Flight set-up, once the mission's drones and routes exist. A start waypoint past the route's
// end, or a drone left without a waypoint to head for, is fatal.
void place_drones_at_start();
// Once per time-acceleration step: every due leader of the moving tasks to its class's mover.
void update_drones();

// Sets the moving flag and the speed the drone starts with.
void start_drone_moving(Drone* drone);
// Bit 0 of `moving` into the flag, speed 0, on the drone and each member.
void set_drone_moving_state(Drone* drone, int moving);
int is_soldier_drone(const Drone* drone);
void reset_human_death_counter();

}  // namespace vyr
