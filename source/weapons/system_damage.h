// Failures of the player's systems after hits: how many and how serious follows from the damage
// just taken, the damage already taken and the forces type, drawn from the failures' own
// generator (`failure_random_state`). The bits themselves are the avionics' failure block.
#pragma once

#include <cstdint>

namespace vyr {

// `game_clock` when the electrics failed: the controls and keys lose power for a while after the
// first and for good some time after the second. A failure sets both.
extern int32_t electrics_first_failure_time;
extern int32_t electrics_second_failure_time;

// After a hit that left the user drone alive: nothing while crashing is off; a light hit may be
// shrugged off (the damage goes back to what it was), a heavier one runs a failure attempt for
// every 10 points of damage. The damage as it stands is kept as the last checked.
void damage_player_systems();
// One failure attempt: its severity from the fresh damage, pulled up towards 30 by a positive
// factor (-1..1) or down towards 0 by a negative one, picks the minor, major or critical table.
// A system already failed, a blank entry or one whose pod is not fitted fails nothing.
void fail_random_system(float factor, int fresh);
// 1 while the targeting pod's laser has failed.
int is_laser_failed();

}  // namespace vyr
