// The weapon, pylon and sensor type tables.
#pragma once

namespace vyr {

void init_weapon_info();
void init_pylon_types();
void init_sensor_types();

// Rounds one station of a pylon holds of the weapon.
int get_weapon_rounds_per_station(int weapon_id);

}  // namespace vyr
