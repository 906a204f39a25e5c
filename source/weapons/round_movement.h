// How rounds move: straight flight, falling stores with their phases, decoys and guided bombs.
#pragma once

#include "library/maths/vector.h"

namespace vyr {

struct WeaponRound;

// This step's displacement of the round in world units, by its weapon's round class; the round
// itself is moved only once its impact has been tested.
void move_round(WeaponRound* round, Vector3& step);

}  // namespace vyr
