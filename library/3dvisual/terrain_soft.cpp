#include "library/3dvisual/terrain_soft.h"

#include <algorithm>
#include <cmath>

#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/world_palette.h"

namespace vyr {

namespace {

constexpr int64_t TILE = int64_t(1) << 22;
constexpr int HAZE_STEP_SHIFT = 20;         // a quarter tile per haze step
constexpr uint32_t FAR_HAZE_START = 6291456;  // a tile and a half into the haze
constexpr int MAX_HAZE_STEP = 6;
constexpr int FAR_HAZE = 135;
constexpr int UNSET_COLOUR = 255, UNSET_STANDS_FOR = 79;
constexpr int FIRST_TERRAIN = 71, BELOW_TERRAIN_STANDS_FOR = 115;

uint32_t solid(int colour) { return uint32_t(colour_remap[colour & 0xFF]) * 0x01010101u; }

// c1 / c2: the bytes c2, c1, c2, c1.
uint32_t dithered(int c1, int c2) {
    const uint32_t pair = uint32_t(colour_remap[c2 & 0xFF]) | uint32_t(colour_remap[c1 & 0xFF]) << 8;
    return pair | pair << 16;
}

// Step `step` (0..6) of four hazes from `base`: even steps a haze colour, odd ones two dithered.
uint32_t haze_step(int base, int step) {
    return step % 2 == 0 ? solid(base + step / 2) : dithered(base + (step - 1) / 2, base + (step + 1) / 2);
}

int haze_base(int colour) {
    if (colour >= 83 && colour <= 98) return 139;
    if (colour >= 99 && colour <= 114) return 143;
    if (colour >= 115 && colour <= 126) return 147;
    return 151;
}

}  // namespace

uint32_t get_distance_colour_pattern(uint32_t distance, int colour) {
    if (colour == UNSET_COLOUR) colour = UNSET_STANDS_FOR;
    const int64_t near_end = terrain_near_tiles * TILE;
    if (int64_t(distance) < near_end) return solid(colour);
    if (colour < FIRST_TERRAIN) colour = BELOW_TERRAIN_STANDS_FOR;
    // A far range of none (or less) puts everything past the near tiles in the far haze.
    const double into = double(int64_t(distance) - near_end) / (terrain_far_tiles * 0.5);
    const uint32_t t = std::isfinite(into) && into >= 0 && into < 4294967296.0 ? uint32_t(into) : UINT32_MAX;
    if (t > FAR_HAZE_START) {
        const int64_t x = std::min<int64_t>(t, terrain_far_tiles * TILE);
        const int s = int(std::clamp<int64_t>((x - FAR_HAZE_START) * 3 / (1 << HAZE_STEP_SHIFT), 0, MAX_HAZE_STEP));
        return haze_step(FAR_HAZE, s);
    }
    return haze_step(haze_base(colour), int(t >> HAZE_STEP_SHIFT));
}

}  // namespace vyr
