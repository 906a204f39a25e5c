// Sector searches and air target acquisition.
#pragma once

namespace vyr {

struct Drone;

// An AI aircraft or helicopter looks for something to attack, or drops what it can no longer.
void check_air_drone_target(Drone* drone);

}  // namespace vyr
