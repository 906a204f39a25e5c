// How rounds end: leaving the world, striking a mover, a ground object or the ground, burning
// out; shells bursting at their time; minefields.
#pragma once

#include "library/maths/vector.h"

namespace vyr {

struct WeaponRound;

// 1 when the round ends within this step (it has been freed), else 0.
int test_round_impact(WeaponRound* round, const Vector3& step);
// 1 when the shell has burst at its point and time (it has been freed), else 0.
int resolve_shell(WeaponRound* round);

}  // namespace vyr
