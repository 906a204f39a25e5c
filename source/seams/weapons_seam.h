// Stand-in for the weapons and sensors until they are built: their start-up tables, their keys
// and the electrical failure times that damage sets.
#pragma once

#include <cstdint>

namespace vyr {

void init_weapon_info();
void init_pylon_types();
void init_sensor_types();
void register_weapon_keys();

// `game_clock` when the electrics failed: the controls and keys lose power for a while after the
// first and for good some time after the second.
extern int32_t electrics_first_failure_time;
extern int32_t electrics_second_failure_time;

}  // namespace vyr
