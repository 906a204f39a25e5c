// Stars, sun and moon.
#pragma once

#include <cstdint>

namespace vyr {

// The level of the sun-glare palette effect that the sky pass leaves.
extern int32_t sun_glare;

// The theatre's star map, from the war-zone directory of the world settings.
void load_star_map();

}  // namespace vyr
