// The program's shared random state. Other seeds (weapons, drones, the war model) step by the
// same rule, so linked machines that exchange them draw alike.
#pragma once

#include <cstdint>

namespace vyr {

extern int32_t random_seed;

// `random_seed` = 0, and the C library's generator seeded with 0.
void reset_random_seed();

// Steps `seed` and returns the draw, 0 to 32767.
inline int next_random(int32_t& seed) {
    seed = int32_t(uint32_t(seed) * 0x41C64E6Du + 0x3039u);
    return (seed >> 16) & 0x7FFF;
}

}  // namespace vyr
