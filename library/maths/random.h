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

// Two steps of the rule from `start`, the second left in `random_seed`: the first step's bits
// 16-30 over the second's, a 31-bit value.
inline int32_t two_step_random(int32_t start) {
    const uint32_t first = uint32_t(start) * 0x41C64E6Du + 0x3039u;
    random_seed = int32_t(first * 0x41C64E6Du + 0x3039u);
    return int32_t((first & 0x7FFF0000u) | ((uint32_t(random_seed) >> 16) & 0x7FFFu));
}

// 0 to 32767 from `rand_state`.
inline int draw_rand() { return next_random(rand_state); }

}  // namespace vyr
