// The program's random states. `random_seed` is the shared one; other seeds (weapons, drones, the
// war model) step by the same rule, so linked machines that exchange them draw alike. `rand_state`
// feeds `draw_rand`, the program's own general-purpose generator: seeded at start-up and stirred
// by the intro, so a run is reproducible from its inputs.
#pragma once

#include <cstdint>

namespace vyr {

extern int32_t random_seed;
extern int32_t rand_state;

// `random_seed` and `rand_state` = 0.
void reset_random_seed();

// Steps `seed` and returns the draw, 0 to 32767.
inline int next_random(int32_t& seed) {
    seed = int32_t(uint32_t(seed) * 0x41C64E6Du + 0x3039u);
    return (seed >> 16) & 0x7FFF;
}

// 0 to 32767 from `rand_state`.
inline int draw_rand() { return next_random(rand_state); }

}  // namespace vyr
