// The drone war and the ground war.
#pragma once

namespace vyr {

struct Drone;

// Drops what the drone attacks.
void clear_drone_attack_target(Drone* drone);

}  // namespace vyr
