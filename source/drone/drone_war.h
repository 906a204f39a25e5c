// The drone war and the ground war.
#pragma once

namespace vyr {

struct Drone;

// Drops what the drone attacks.
void clear_drone_attack_target(Drone* drone);
// A ship opens fire on the sector of its next waypoint.
void fire_at_next_waypoint_sector(Drone* drone);
// Once a simulation step: the drones look for, and fire at, what their sectors hold.
void update_drone_war();
void update_ground_war();

}  // namespace vyr
