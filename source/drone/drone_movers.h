// The movers of the drone classes and the formation's way of keeping station.
#pragma once

namespace vyr {

struct Drone;

// Aircraft and helicopters; ships.
void update_air_drone(Drone* drone);
void update_water_drone(Drone* drone);
// Tanks and vehicles; trains.
void update_ground_drone(Drone* drone);
void update_train_drone(Drone* drone);
// Whether a leader's members keep their formation slots or follow in column.
void update_formation_mode(Drone* drone);

}  // namespace vyr
