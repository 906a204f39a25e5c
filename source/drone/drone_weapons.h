// Drone weapons, decoys and reactions.
#pragma once

namespace vyr {

struct Drone;

// Damage, combat air patrol number, reaction time, targets, decoys, weapon slots and ranges,
// attention range.
void reset_drone_weapons(Drone* drone);
// The drone type's AI loadout.
void set_drone_loadout(Drone* drone);
// The drone is destroyed.
void kill_drone(Drone* drone);

}  // namespace vyr
