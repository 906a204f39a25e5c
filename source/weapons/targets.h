// Targets, designation and the mission's mine and reconnaissance targets.
#pragma once

#include <cstdint>

#include "source/weapons/target.h"

namespace vyr {

// The one target the player's sensors and weapons share; its kind is TARGET_NONE when nothing is
// designated.
extern Target designated_target;

void reset_designation();
// 1 while a laser lights the designated target for guided rounds.
extern int32_t designator_laser_on;
int is_laser_designating();
// The designation dropped; 1 while the designator tracks what it designates.
void clear_designation();
int is_designator_tracking();
void init_mine_targets();
// The reconnaissance waypoints of the player's route, none of them sent yet.
void reset_recon();

}  // namespace vyr
