// Which near tiles and far blocks around the eye the view can reach this render.
#pragma once

#include <cstdint>

namespace vyr {

// Offsets from the eye's tile or far block; empty when a lowest is above its highest.
struct OffsetRange {
    int32_t x_lowest, x_highest;
    int32_t y_lowest, y_highest;
};

extern OffsetRange visible_tile_range;
extern OffsetRange visible_block_range;

// South-west corners at height 0 in eye space of the tile and block being tested, written by the
// render loop.
extern int32_t tile_corner_eye[3];
extern int32_t block_corner_eye[3];
// The far block the render is drawing.
extern int32_t render_block_x;
extern int32_t render_block_y;

// The number of tiles or blocks in range; 0 when nothing can be seen.
int find_visible_tiles();
int find_visible_far_blocks();
// 0 not visible, 1 crossing the view's edge, 2 wholly inside.
int test_tile_visible();
int test_far_block_visible();

}  // namespace vyr
