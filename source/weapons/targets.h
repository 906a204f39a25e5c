// The designated target and the designator: the one target the player's sensors and weapons
// share, and the designator's laser and tracking flags, which nothing in this program sets.
#pragma once

#include <cstdint>

#include "source/weapons/target.h"

namespace vyr {

// Its kind is TARGET_NONE when nothing is designated. Writers copy whole records into it; its own
// position is meaningful for ground objects, fixed points and the radars' mobile contacts.
extern Target designated_target;

// Target classifications in the built-in order of preference, 0-terminated.
constexpr int DEFAULT_TARGET_ORDER_LENGTH = 9;

// 1 while a laser lights the designated target for guided rounds.
extern int32_t designator_laser_on;

// Nothing designated, every designator flag cleared.
void reset_designation();
// The designation dropped with both tracking flags; the laser flag is left.
void clear_designation();
// 1 while either tracking flag is set; 1 while the laser designates.
int is_designator_tracking();
int is_laser_designating();
const int* get_default_target_order();
// 0 with nothing designated (the outputs untouched); else the look angles from the aircraft's
// axes to the target, azimuth held to -90..+90 degrees and elevation to -60..+40, and 1.
int get_designation_angles(uint32_t& azimuth, uint32_t& elevation);

}  // namespace vyr
