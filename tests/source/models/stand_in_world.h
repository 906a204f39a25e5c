// The stand-in world of these tests: flat ground at height 0 that is all one feature kind, with
// ocean from a line of latitude on; and whatever the test puts in the aircraft's way.
#pragma once

#include <cstdint>

namespace vyr {

struct ObjectInstance;
struct ground_object;

extern int stand_in_surface;
extern int32_t stand_in_ocean_from;  // world y; INT32_MAX: no ocean

// Met wherever the aircraft goes; null or 0 for none. The count of segment queries tells a long
// step from a short one.
extern ObjectInstance* stand_in_mover;
extern ground_object* stand_in_ground_object;
extern int stand_in_crater;
extern int stand_in_segment_queries;

void reset_stand_in_world();

}  // namespace vyr
