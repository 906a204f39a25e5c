// Rivers, lakes, roads, railways and runways of the theatre, and the super features of the far
// blocks.
#pragma once

#include <cstdint>

namespace vyr {

enum FeatureKind : int32_t {
    FEATURE_UNKNOWN = 0,
    FEATURE_RIVER = 1,
    FEATURE_LAKE = 2,
    FEATURE_OCEAN = 3,
    FEATURE_ROAD = 4,
    FEATURE_RAILWAY = 5,
    FEATURE_RUNWAY = 6,
    FEATURE_TAXIWAY = 7,
};

// 1 when the render's current tile lies more than 3 tiles from the eye's in x or y.
extern int32_t tile_far_flag;

void load_features();
// The features of the render's current tile and the super features of its current far block.
void draw_tile_features();
void draw_far_block_features();
// The feature (or else super feature) under a world point; FEATURE_UNKNOWN outside the world.
int get_feature_kind(int32_t x, int32_t y);

}  // namespace vyr
