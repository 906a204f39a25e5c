// The surface under the stand-in world of these tests: flat ground at height 0 that is all one
// feature kind, and ocean from a line of latitude on.
#pragma once

#include <cstdint>

namespace vyr {

extern int stand_in_surface;
extern int32_t stand_in_ocean_from;  // world y; INT32_MAX: no ocean

void reset_stand_in_world();

}  // namespace vyr
