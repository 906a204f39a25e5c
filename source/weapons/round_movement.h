// How rounds move: straight flight, falling stores with their phases, decoys and guided bombs.
#pragma once

#include "library/maths/vector.h"

namespace vyr {

struct WeaponRound;

// This step's displacement of the round in world units, by its weapon's round class; the round
// itself is moved only once its impact has been tested.
void move_round(WeaponRound* round, Vector3& step);
// Along the nose at the round's speed; a gun round marked guided drops under gravity first.
void move_straight_round(WeaponRound* round, Vector3& step);
// Pitches a gun round down by g cos(pitch) / v over the step and rebuilds its orientation.
void apply_gun_round_drop(WeaponRound* round);
// Stores falling under gravity through their phases, the nose following the velocity; decoys
// drift along their launch line and sink; a landed minefield stays.
void move_falling_round(WeaponRound* round, Vector3& step);
// A laser-guided bomb glides towards a lit point, or falls freely without one.
void move_guided_bomb(WeaponRound* round, Vector3& step);

// The phase steps: the retarder opening, the runway bomb's parachutes and motor, and the
// dispensers letting their bomblets or mines go.
void update_retarded_bomb(WeaponRound* round);
void update_boosted_bomb(WeaponRound* round);
void update_bomblet_dispenser(WeaponRound* round);
void update_mine_dispenser(WeaponRound* round);
void deploy_guided_bomb_fins(WeaponRound* round);

}  // namespace vyr
