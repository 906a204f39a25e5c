#include "library/3dvisual/plan_map.h"

#include "library/3dvisual/features.h"
#include "library/3dvisual/grid_offsets.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/map_terrain.h"
#include "library/3dvisual/visibility.h"
#include "library/graphics/plot.h"
#include "library/system/thread.h"

namespace vyr {

int32_t map_alt_colouring = 0;
int32_t map_background_colour = 99;

PlanMapOptions plan_map_options = {0, 0};
int32_t map_tile_x = 0;
int32_t map_tile_y = 0;
int32_t map_block_x = 0;
int32_t map_block_y = 0;

namespace {

constexpr int TILE_SHIFT = 22;
constexpr int BLOCK_SHIFT = 26;
constexpr int32_t FAR_GRID_OFFSET = 0x18000000;  // the far-block grid starts six blocks west and south
constexpr uint32_t CLASS_COLOURING_FILL = 0xC0C0C0C0;

// Puts the plot offset at a south-west corner and stores where that corner lies in the window.
void place_corner(int32_t x, int32_t y, int32_t corner[2]) {
    set_plot_offset(x, y);
    rotate_into_plot(0, 0, corner[0], corner[1]);
}

void yield_after_row() {
    if (plan_map_options.flags & PLAN_MAP_YIELD) yield_if_due();
}

// Each tile of map_tile_range the window shows, columns outer, rows inner.
template <typename Draw>
void walk_map_tiles(Draw draw) {
    const OffsetRange& r = map_tile_range;
    for (int32_t x = r.x_lowest; x <= r.x_highest; ++x) {
        for (int32_t y = r.y_lowest; y <= r.y_highest; ++y) {
            map_tile_x = x;
            map_tile_y = y;
            place_corner(x << TILE_SHIFT, y << TILE_SHIFT, map_tile_origin);
            if (test_map_tile_visible()) draw();
        }
        yield_after_row();
    }
}

void draw_map_tile() {
    if (plan_map_options.flags & PLAN_MAP_TERRAIN) {
        if (!map_alt_colouring) draw_map_terrain();
        else {
            draw_map_terrain_alt();
            plan_map_options.flags &= ~PLAN_MAP_TERRAIN_LINES;
        }
    }
    draw_map_tile_features();
    draw_map_ground_objects();
}

}  // namespace

void set_plan_map_options(const PlanMapOptions* options) { plan_map_options = *options; }

void draw_plan_map() {
    const int32_t offset_x = current_plot.offset_x, offset_y = current_plot.offset_y;
    fill_plot(map_alt_colouring ? uint32_t(uint8_t(map_background_colour)) * 0x01010101u : CLASS_COLOURING_FILL);
    build_plan_map_offset_tables(current_plot.cosine, current_plot.sine);
    if (find_map_far_blocks()) {
        const OffsetRange& r = map_block_range;
        for (int32_t x = r.x_lowest; x <= r.x_highest; ++x) {
            for (int32_t y = r.y_lowest; y <= r.y_highest; ++y) {
                map_block_x = x;
                map_block_y = y;
                place_corner(int32_t(uint32_t(x) << BLOCK_SHIFT) - FAR_GRID_OFFSET,
                             int32_t(uint32_t(y) << BLOCK_SHIFT) - FAR_GRID_OFFSET, map_block_corner);
                if (test_map_far_block_visible()) draw_map_far_block_features();
            }
            yield_after_row();
        }
    }
    if (find_map_tiles()) {
        walk_map_tiles(draw_map_tile);
        if (plan_map_options.flags & PLAN_MAP_TERRAIN_LINES) walk_map_tiles(draw_map_terrain_lines);
    }
    // What the caller draws next lies where it did before the walk.
    set_plot_offset(offset_x, offset_y);
}

}  // namespace vyr
