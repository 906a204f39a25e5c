// Rivers, lakes, roads, railways and runways of the theatre, and the super features of the far
// blocks.
#pragma once

#include <cstdint>

namespace vyr {

// 1 when the render's current tile lies more than 3 tiles from the eye's in x or y.
extern int32_t tile_far_flag;

void load_features();
// The features of the render's current tile and the super features of its current far block.
void draw_tile_features();
void draw_far_block_features();

}  // namespace vyr
