// The target selection: once a frame after the radar sweep it decides what the designated target
// is, keeping it while it stays valid; the radar keys and contact steps steer it.
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
// The laser-designated target; kind TARGET_NONE when there is none.
extern Target laser_spot_target;

void update_target_selection();

}  // namespace vyr
