// The player's stores: hardpoints, loads and their limits.
#pragma once

#include <cstdint>

namespace vyr {

// Rounds, flares and chaff are not used up.
extern int32_t unlimited_weapons;
// The player's internal gun fired in the last frame: its muzzle flashes.
extern int32_t internal_gun_was_fired;

// Checks the pylons and sets the flight model's g limit.
void check_loadout_limits();

// Arms the aircraft from its fitted hardpoints.
void load_stores();

// The carried stores' weight in lb.
double get_stores_weight();
// The weight of the fitted centre tank and of each wing tank in lb; 0 when none is fitted.
double get_centre_tank_weight();
double get_wing_tank_weight();

}  // namespace vyr
