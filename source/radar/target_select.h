// The target selection: once a frame after the radar sweep it decides what the designated target
// is: a lased target for a laser weapon, the best or the pilot's chosen air contact, or a ground
// contact by priority, by the pilot's steps or by the target area of the player's route. It keeps
// the designation while it stays valid and hands over to the targeting pod while the pod tracks.
#pragma once

#include <cstdint>

#include "source/weapons/target.h"

namespace vyr {

// The AUTO TARGET switch; while 0 the pilot's choice is kept.
extern int32_t auto_target_on;
// 1: the ground selection takes the best contact; 0: it keeps the pilot's choice.
extern int32_t follow_best_target;
// 1: the designation was lost and the next selection takes a new one.
extern int32_t reacquire_target;
// From the Backspace keys: 0 none, 1 next, 2 previous.
extern int32_t target_step_request;
// The designated contact's index in the air display array, as the selection last chose it.
extern int32_t designated_air_index;
// The laser-designated target; kind TARGET_NONE when there is none.
extern Target laser_spot_target;

// Each frame the pilot does not only fly: the designation checked, dropped, kept, stepped or
// chosen again. A designated fixed point fails the checks like a lost target and is replaced.
void update_target_selection();

}  // namespace vyr
