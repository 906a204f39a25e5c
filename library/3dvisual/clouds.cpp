#include "library/3dvisual/clouds.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "library/3dvisual/clip_draw.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/visibility.h"
#include "library/debug/fatal.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/maths/vector.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/3dvisual/clouds";

constexpr int32_t TILE = 1 << 22;
constexpr int POSTS_PER_TILE = 4;
constexpr int INNER_REACH = 4;  // tiles each way cut into finer cells
constexpr int LOOKUP_SIDE = (2 * INNER_REACH + 1) * POSTS_PER_TILE;
constexpr int32_t FEET_PER_FADE_TILE = 4000;
constexpr int32_t UNITS_PER_FADE_TILE = FEET_PER_FADE_TILE * 256;
constexpr int FADED_LEVEL = 230;
constexpr int OUTER_FADE_STEPS = 12, OUTER_FADE_PER_STEP = 18;
constexpr int INNER_FADE = 54, INNER_FADE_BEYOND = 108;
constexpr int SHADE_SHIFT = 23;
constexpr uint32_t CLOUD_PATTERN = 0xA6A7A6A7;

enum CloudNodeWord { CLOUD_VERTEX, CLOUD_TYPE };

// Cloud polygon types: a whole tile, one that takes the midpoint of an edge, a half tile.
constexpr int WHOLE_TILE = 1, WEST_MIDPOINT = 2, SOUTH_MIDPOINT = 3, EAST_MIDPOINT = 4, NORTH_MIDPOINT = 5,
              HALF_TILE = 6;
constexpr int CLOUD_TYPES = 11;

struct Step {
    int dx, dy;
};
struct CloudPolygon {
    int size;  // quarter tiles along a side
    int triangle_count;
    Step triangles[3][3];  // as wound for an eye below the layer
};

// Indexed by type - 1: whole tiles, whole tiles with the midpoint of their west, south, east or
// north edge, the same for half tiles, and quarter tiles. The midpoints are where finer cells
// meet a coarser one.
constexpr CloudPolygon CLOUD_POLYGONS[CLOUD_TYPES] = {
    {4, 2, {{{4, 0}, {0, 4}, {0, 0}}, {{4, 0}, {4, 4}, {0, 4}}}},
    {4, 3, {{{0, 0}, {4, 0}, {0, 2}}, {{0, 2}, {4, 0}, {4, 4}}, {{0, 2}, {4, 4}, {0, 4}}}},
    {4, 3, {{{2, 0}, {4, 0}, {4, 4}}, {{2, 0}, {4, 4}, {0, 4}}, {{2, 0}, {0, 4}, {0, 0}}}},
    {4, 3, {{{4, 2}, {0, 0}, {4, 0}}, {{4, 2}, {0, 4}, {0, 0}}, {{4, 2}, {4, 4}, {0, 4}}}},
    {4, 3, {{{0, 0}, {4, 0}, {2, 4}}, {{0, 0}, {2, 4}, {0, 4}}, {{4, 0}, {4, 4}, {2, 4}}}},
    {2, 2, {{{2, 0}, {0, 2}, {0, 0}}, {{2, 0}, {2, 2}, {0, 2}}}},
    {2, 3, {{{0, 0}, {2, 0}, {0, 1}}, {{0, 1}, {2, 0}, {2, 2}}, {{0, 1}, {2, 2}, {0, 2}}}},
    {2, 3, {{{1, 0}, {2, 0}, {2, 2}}, {{1, 0}, {2, 2}, {0, 2}}, {{1, 0}, {0, 2}, {0, 0}}}},
    {2, 3, {{{2, 1}, {0, 0}, {2, 0}}, {{2, 1}, {0, 2}, {0, 0}}, {{2, 1}, {2, 2}, {0, 2}}}},
    {2, 3, {{{0, 0}, {2, 0}, {1, 2}}, {{0, 0}, {1, 2}, {0, 2}}, {{2, 0}, {2, 2}, {1, 2}}}},
    {1, 2, {{{1, 0}, {0, 1}, {0, 0}}, {{1, 0}, {1, 1}, {0, 1}}}},
};

// The type of the cell starting at each quarter-tile point of the 9 x 9 tiles around the eye's
// (0 where none starts): whole tiles on the outer ring, half tiles in the 5 x 5 middle, and
// between them whole tiles that take the midpoint of their edge towards the middle.
constexpr auto CLOUD_POLY_LOOKUP = [] {
    std::array<std::array<int, LOOKUP_SIDE>, LOOKUP_SIDE> lookup{};
    for (int tx = -INNER_REACH; tx <= INNER_REACH; ++tx)
        for (int ty = -INNER_REACH; ty <= INNER_REACH; ++ty) {
            const int i = (tx + INNER_REACH) * POSTS_PER_TILE, j = (ty + INNER_REACH) * POSTS_PER_TILE;
            const int ax = tx < 0 ? -tx : tx, ay = ty < 0 ? -ty : ty;
            if (ax <= 2 && ay <= 2) {
                for (int di : {0, 2})
                    for (int dj : {0, 2}) lookup[size_t(i + di)][size_t(j + dj)] = HALF_TILE;
            } else if (ax == 3 && ay <= 2) {
                lookup[size_t(i)][size_t(j)] = tx < 0 ? EAST_MIDPOINT : WEST_MIDPOINT;
            } else if (ay == 3 && ax <= 2) {
                lookup[size_t(i)][size_t(j)] = ty < 0 ? NORTH_MIDPOINT : SOUTH_MIDPOINT;
            } else {
                lookup[size_t(i)][size_t(j)] = WHOLE_TILE;
            }
        }
    return lookup;
}();

PolyVertex& grid_vertex(int i, int j) { return cloud_vertex_grid[i][j]; }

int level_of(const PolyVertex& v) { return v.shade >> SHADE_SHIFT & 0xFF; }
void set_level(PolyVertex& v, int level) { v.shade = level << SHADE_SHIFT; }

// The sort distance of a grid point: negative behind the eye.
int32_t cloud_distance(const PolyVertex& v) {
    const int32_t d = estimate_distance_3d(v.x, v.y, v.z);
    return v.y < 0 ? -d : d;
}

// Where distant cloud starts and ends fading towards the horizon: a tile nearer for every 4000 ft
// of the eye's height while below the layer.
struct Fade {
    int32_t start, end;
};

Fade fade_for(bool by_height) {
    const int32_t lift = by_height ? eye_pose.position.z / UNITS_PER_FADE_TILE * TILE : 0;
    return {(CLOUD_TILE_REACH - 2) * TILE - lift, (CLOUD_TILE_REACH - 1) * TILE - lift};
}

void fade_cell(int i, int j, int size) {
    for (int di : {0, size})
        for (int dj : {0, size}) set_level(grid_vertex(i + di, j + dj), FADED_LEVEL);
}

void queue_cell(int32_t key, int i, int j, int type, BufferNode* node) {
    node->type = NODE_CLOUD;
    node->key = key;
    node->payload[CLOUD_VERTEX] = i * CLOUD_GRID_POSTS + j;
    node->payload[CLOUD_TYPE] = type;
    queue_buffer_node(node);
}

// Whole tiles beyond the 9 x 9 around the eye, fading out towards the layer's reach.
void queue_outer_cells(const OffsetRange& range) {
    const Fade fade = fade_for(sky_state == SKY_BELOW_CLOUDS);
    for (int tx = range.x_lowest; tx <= range.x_highest; ++tx)
        for (int ty = range.y_lowest; ty <= range.y_highest; ++ty) {
            if (std::abs(tx) <= INNER_REACH && std::abs(ty) <= INNER_REACH) continue;
            const int i = (eye_tile_x + tx) * POSTS_PER_TILE, j = (eye_tile_y + ty) * POSTS_PER_TILE;
            PolyVertex& v = grid_vertex(i, j);
            const int32_t d = cloud_distance(v);
            BufferNode* node = d > CLOUD_TILE_REACH * TILE ? nullptr : alloc_buffer_node();
            if (!node) {
                fade_cell(i, j, POSTS_PER_TILE);
                continue;
            }
            if (d > fade.start) {
                const int32_t step = (fade.end - fade.start) / OUTER_FADE_STEPS;
                const int level = std::min<int64_t>(int64_t(d - fade.start) / step * OUTER_FADE_PER_STEP + level_of(v), FADED_LEVEL);
                if (d > fade.end) fade_cell(i, j, POSTS_PER_TILE);
                else set_level(v, level);
            }
            queue_cell(d, i, j, WHOLE_TILE, node);
        }
}

// The cells of the 9 x 9 tiles around the eye, by the lookup table.
void queue_inner_cells(const OffsetRange& range) {
    const bool below = sky_state == SKY_BELOW_CLOUDS;
    const Fade fade = fade_for(below);
    const int base_i = (eye_tile_x - INNER_REACH) * POSTS_PER_TILE, base_j = (eye_tile_y - INNER_REACH) * POSTS_PER_TILE;
    for (int i = (eye_tile_x + range.x_lowest) * POSTS_PER_TILE; i < (eye_tile_x + range.x_highest + 1) * POSTS_PER_TILE; ++i)
        for (int j = (eye_tile_y + range.y_lowest) * POSTS_PER_TILE; j < (eye_tile_y + range.y_highest + 1) * POSTS_PER_TILE;
             ++j) {
            const int type = CLOUD_POLY_LOOKUP[size_t(i - base_i)][size_t(j - base_j)];
            if (type == 0) continue;
            BufferNode* node = alloc_buffer_node();
            if (!node) continue;
            PolyVertex& v = grid_vertex(i, j);
            const int32_t d = cloud_distance(v);
            if (below && d > fade.start) {
                int level = level_of(v) + INNER_FADE + (d > fade.end ? INNER_FADE_BEYOND : 0);
                if (d > fade.end || level > FADED_LEVEL) level = FADED_LEVEL;
                set_level(v, level);
            }
            const int size = CLOUD_POLYGONS[type - 1].size;
            int32_t key = INT32_MIN;
            for (int di : {0, size})
                for (int dj : {0, size}) key = std::max(key, grid_vertex(i + di, j + dj).y);
            queue_cell(key, i, j, type, node);
        }
}

}  // namespace

void queue_cloud_layer() {
    queue_outer_cells(cloud_tile_range);
    OffsetRange& range = cloud_tile_range;
    range.x_lowest = std::max(range.x_lowest, -INNER_REACH);
    range.x_highest = std::min(range.x_highest, INNER_REACH);
    range.y_lowest = std::max(range.y_lowest, -INNER_REACH);
    range.y_highest = std::min(range.y_highest, INNER_REACH);
    queue_inner_cells(range);
}

void draw_cloud_polygon(BufferNode* node) {
    const int type = node->payload[CLOUD_TYPE];
    if (type < 1 || type > CLOUD_TYPES) {
        report_fatal_error("Illegal cloud polygon type.", SOURCE, __LINE__);
        return;
    }
    const int i = node->payload[CLOUD_VERTEX] / CLOUD_GRID_POSTS, j = node->payload[CLOUD_VERTEX] % CLOUD_GRID_POSTS;
    const CloudPolygon& polygon = CLOUD_POLYGONS[type - 1];
    // Seen from inside or above the layer the faces turn the other way.
    const bool below = sky_state == SKY_BELOW_CLOUDS;
    for (int t = 0; t < polygon.triangle_count; ++t) {
        const Step* steps = polygon.triangles[t];
        PolyVertex* corners[3];
        for (int k = 0; k < 3; ++k) {
            const Step& s = steps[k == 0 || below ? k : 3 - k];
            corners[k] = &grid_vertex(i + s.dx, j + s.dy);
        }
        corners[0]->next = corners[1];
        corners[1]->next = corners[2];
        corners[2]->next = nullptr;
        if (accelerator_flag) draw_clipped_cloud(corners[0], CLOUD_PATTERN);
        else draw_clipped_gouraud(corners[0], CLOUD_PATTERN);
    }
}

void project_point(int32_t x, int32_t depth, int32_t up, int colour) {
    PolyVertex v{};
    v.x = x;
    v.y = depth;
    v.z = stretch_up(up);
    if (get_outcode(v.x, v.y, v.z) != 0) return;
    project_vertex(v);
    draw_point(v.screen_x, v.screen_y, colour);
}

}  // namespace vyr
