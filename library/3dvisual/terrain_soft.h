// Terrain nodes on the 8-bit software screen, and the distance haze of dithered colours that the
// software ground and the features share.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"

namespace vyr {

void draw_terrain_node_soft(BufferNode* node);

// The four-byte fill pattern of `colour` seen `distance` world units away: the colour itself
// within the terrain's near tiles, then dithered steps through the haze colours of its ramp, and
// beyond one and a half tiles more the far haze, all through the current colour remap.
uint32_t get_distance_colour_pattern(uint32_t distance, int colour);

}  // namespace vyr
