// The top-down plan map of the theatre: terrain, features, super features and ground objects
// drawn into the current plot window at whatever offset, rotation and scale its caller has set.
#pragma once

#include <cstdint>

namespace vyr {

// Set: the menus' colouring (terrain by height on map_background_colour, no contour lines);
// clear: terrain by class on colour 192. The menus set it once they exist.
extern int32_t map_alt_colouring;
// The background of the menus' colouring and the base of its height steps.
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
// The tile being drawn (0..63 each) and the far block (0..15 each); the plot offset is at its
// south-west corner.
extern int32_t map_tile_x;
extern int32_t map_tile_y;
extern int32_t map_block_x;
extern int32_t map_block_y;

void set_plan_map_options(const PlanMapOptions* options);
// The caller has set the plot window (rectangle, world window, rotation). Under the menus'
// colouring the stored options lose their contour flag.
void draw_plan_map();

}  // namespace vyr
