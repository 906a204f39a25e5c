// How rounds end: leaving the world, striking a mover, a ground object or the ground, burning
// out; shells bursting at their time; minefields; the runway and mine-laying results.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct WeaponRound;

// Where the step being tested starts, where it meets the ground, and the part of it flown before
// the contact (the whole step without one).
extern Vector3 round_impact_start;
extern Vector3 round_impact_point;
extern Vector3 round_impact_offset;

// Read by the mission goals: points scored on the target runway and whether it is destroyed;
// Mine Lay waypoints of the player's route and how many have been mined.
extern int32_t runway_damage;
extern int32_t runway_destroyed;
extern int32_t mine_target_count;
extern int32_t mined_target_count;

// 1 when the round ends within this step (it has been freed), else 0.
int test_round_impact(WeaponRound* round, const Vector3& step);
// 1 when the shell has burst at its point and time (it has been freed), else 0.
int resolve_shell(WeaponRound* round);
// 1 when the step from `round_impact_start` reaches the ground (or its fuse height), setting the
// impact point and offset; a minefield's end is taken 10 ft higher.
int find_ground_contact(const Vector3& step, const WeaponRound* round);
// Mission set-up: the Mine Lay waypoints of the player's route, none mined yet.
void init_mine_targets();
// A landed minefield counts for every Mine Lay waypoint within reach, or is off target.
void score_mine_drop(const WeaponRound* round);

}  // namespace vyr
