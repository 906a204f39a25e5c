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
// The per-mission clearing of the stores before they are armed from the payload.
void reset_stores();
// The per-mission weapons reset: the random generators seeded, stores, rounds and release state
// cleared.
void reset_weapons();
// Rounds left of a weapon id.
int32_t get_weapon_rounds(int weapon_id);

// The carried stores' weight in lb.
double get_stores_weight();
// The weight of the fitted centre tank and of each wing tank in lb; 0 when none is fitted.
double get_centre_tank_weight();
double get_wing_tank_weight();

// Keeps the stores as they are at flight start.
void save_stores_state();

// The selection: hardpoint (-1 none), weapon id (0 none) and whether one is selected.
extern int32_t selected_hardpoint;
extern int32_t selected_weapon;
extern int32_t weapon_selected;

}  // namespace vyr
