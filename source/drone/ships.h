// Ships and carriers.
#pragma once

namespace vyr {

struct Drone;

// A ship drone's set-up when its type is set.
void init_ship_drone(Drone* drone);

}  // namespace vyr
