// Which near tiles and far blocks around the eye the view can reach this render, each classed
// against the view volume; the tiles the cloud layer must cover; and the far blocks of the plan
// map's window.
#pragma once

#include <cstdint>

namespace vyr {

// Offsets from the eye's tile or far block; empty when a lowest is above its highest.
struct OffsetRange {
    int32_t x_lowest, x_highest;
    int32_t y_lowest, y_highest;
};

constexpr OffsetRange CLOUD_TILE_RANGE_AT_START = {-10, 10, -10, 10};
constexpr int32_t CLOUD_TILE_REACH = 14;

extern OffsetRange visible_tile_range;
extern OffsetRange visible_block_range;
// The tiles the cloud layer and the horizon cover; the cloud layer narrows it once it has used it.
extern OffsetRange cloud_tile_range;

// South-west corners at height 0 in eye space of the tile and block being tested, written by the
// render loop.
extern int32_t tile_corner_eye[3];
extern int32_t block_corner_eye[3];
// The far block the render is drawing.
extern int32_t render_block_x;
extern int32_t render_block_y;
// The last tests' results: 0 not visible, 1 crossing the view's edge, 2 wholly inside.
extern int32_t tile_visibility;
extern int32_t block_visibility;

// The number of tiles or blocks in range; 0 when nothing can be seen.
int find_visible_tiles();
int find_visible_far_blocks();
int test_tile_visible();
int test_far_block_visible();
// The number of tiles in cloud_tile_range.
int find_cloud_tiles();

// The plan map's far blocks: the absolute blocks its plot window shows, and the class of the
// block whose south-west corner (in the plot window's coordinates) the map wrote last.
extern OffsetRange map_block_range;
extern int32_t map_block_corner[2];
extern int32_t map_block_class;
int find_map_far_blocks();
int test_map_far_block_visible();
// The same for its tiles (absolute, 0..63): the range the plot window's corners reach, and the
// class of the tile whose south-west corner the map wrote last.
extern OffsetRange map_tile_range;
extern int32_t map_tile_origin[2];
extern int32_t map_tile_class;
int find_map_tiles();
int test_map_tile_visible();

}  // namespace vyr
