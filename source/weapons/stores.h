// The player's stores: hardpoints, loads and their limits.
#pragma once

#include <cstdint>

namespace vyr {

// Rounds, flares and chaff are not used up.
extern int32_t unlimited_weapons;

// Checks the pylons and sets the flight model's g limit.
void check_loadout_limits();

}  // namespace vyr
