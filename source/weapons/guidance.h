// Missile guidance and seekers.
#pragma once

#include "library/maths/vector.h"

namespace vyr {

struct Target;
struct WeaponRound;

// A guided missile's step, steered by its seeker.
void move_missile(WeaponRound* round, Vector3& step);
// The target the round's seeker follows this step, or null.
const Target* update_round_seeker(WeaponRound* round);
// 1 when a decoy fools the round's seeker, else 0.
int decoy_succeeds(WeaponRound* round);

}  // namespace vyr
