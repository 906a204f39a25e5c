// Smoke trails and puffs.
#pragma once

#include <cstdint>

namespace vyr {

// Ticks a smoke puff lives, and how dense the smoke is drawn.
extern int32_t smoke_life;
extern int32_t smoke_density;

}  // namespace vyr
