// Failures of the player's systems after hits.
#pragma once

#include <cstdint>

namespace vyr {

// `game_clock` when the electrics failed: the controls and keys lose power for a while after the
// first and for good some time after the second.
extern int32_t electrics_first_failure_time;
extern int32_t electrics_second_failure_time;

// A hit on the player's aircraft may fail some of its systems.
void damage_player_systems();
// 1 while the targeting pod's laser has failed.
int is_laser_failed();

}  // namespace vyr
