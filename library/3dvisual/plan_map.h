// The top-down plan map of the theatre: its options, background colour and the tile it is
// drawing, which the map drawers of the tiles' contents read. The map's walk over far blocks and
// tiles is not built yet; its callers set this state.
#pragma once

#include <cstdint>

namespace vyr {

// The palette index behind the map's alternative colouring.
extern int32_t map_background_colour;

constexpr int32_t PLAN_MAP_YIELD = 1;          // yield after each row of blocks or tiles
constexpr int32_t PLAN_MAP_TERRAIN = 2;
constexpr int32_t PLAN_MAP_TERRAIN_LINES = 4;
constexpr int32_t PLAN_MAP_OUTLINES = 8;       // ground objects as filled outlines, not points
constexpr int32_t PLAN_MAP_DYNAMIC_OBJECTS = 0x10;

struct PlanMapOptions {
    int32_t value;  // band width of the terrain line layer
    int32_t flags;
};

extern PlanMapOptions plan_map_options;
// The tile being drawn (0..63 each); the plot offset is at its south-west corner.
extern int32_t map_tile_x;
extern int32_t map_tile_y;

void set_plan_map_options(const PlanMapOptions* options);

}  // namespace vyr
