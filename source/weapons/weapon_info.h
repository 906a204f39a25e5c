// The weapon, pylon and sensor type tables.
#pragma once

namespace vyr {

void init_weapon_info();
void init_pylon_types();
void init_sensor_types();

}  // namespace vyr
