#include "library/3dvisual/terrain_frame.h"

#include <algorithm>
#include <cstdlib>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/grid_offsets.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain_accel.h"
#include "library/3dvisual/terrain_soft.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/maths/vector.h"

namespace vyr {

int32_t terrain_near_tiles;
int32_t terrain_far_tiles;
int32_t terrain_split_range = -1;
PolyVertex terrain_vertex_grid[TERRAIN_GRID_POSTS][TERRAIN_GRID_POSTS];
int32_t terrain_first_post_x, terrain_first_post_y;
PolyVertex cloud_vertex_grid[CLOUD_GRID_POSTS][CLOUD_GRID_POSTS];

namespace {

constexpr int POSTS_PER_TILE = 4;
constexpr int POSTS_PER_BLOCK = 64;
constexpr int COARSE_STEPS_PER_POST = 4;
constexpr int WORLD_TILES = 64;
constexpr int GRID_REACH = (TERRAIN_GRID_POSTS - 1) / POSTS_PER_TILE / 2;  // 14 tiles each way
constexpr int LAST_HEIGHT_STEP = 32;       // the one-sided height table's last entry: 32,768 ft
constexpr int32_t NEAR_EYE_HEIGHT = 1 << 21;  // 8192 ft
constexpr int NEAR_CELLS = 3;
constexpr int CLOUD_FLAT_POSTS = 8;
constexpr int32_t OVERCAST_DROOP = 155;  // feet per post beyond the flat middle
constexpr int32_t CLEAR_DROOP = 288;

int32_t eye_post_x, eye_post_y;

// Eye space of the point `p`, `q` posts east and north of the eye tile's south-west corner and
// `height` feet up, up unstretched. The height is rounded to 16 ft: whole 1,024-ft steps (held to the table, so a
// post above 33,000 ft stands at its top) and signed 16-ft steps.
void transform_post(int p, int q, int32_t height, PolyVertex& v) {
    const ViewOffsetTables& t = view_offset_tables;
    // Whole far blocks, nearest first, and the coarse steps left over (at most 128 either way).
    auto split = [](int posts, int& blocks, int& steps) {
        blocks = (posts + POSTS_PER_BLOCK / 2) >> 6;
        steps = (posts - blocks * POSTS_PER_BLOCK) * COARSE_STEPS_PER_POST;
    };
    int bx, sx, by, sy;
    split(p, bx, sx);
    split(q, by, sy);
    const int coarse = std::clamp((height >> 10) + (height >> 9 & 1), 0, LAST_HEIGHT_STEP);
    const int fine = ((height >> 4 & 63) ^ 32) - 32 + (height >> 3 & 1);
    int32_t axes[3];
    for (int axis = 0; axis < 3; ++axis)
        axes[axis] = tile_origin_eye[axis] + t.block[axis][0][bx + BLOCK_OFFSET_CENTRE] +
                     t.block[axis][1][by + BLOCK_OFFSET_CENTRE] + t.coarse[axis][0][sx + COARSE_OFFSET_CENTRE] +
                     t.coarse[axis][1][sy + COARSE_OFFSET_CENTRE] + t.coarse_height[axis][coarse] +
                     t.fine[axis][2][fine + FINE_OFFSET_CENTRE];
    v.x = axes[0];
    v.y = axes[1];
    v.z = axes[2];
}

int32_t shade_of(const TerrainPost& post) { return int32_t(post.light) << 23; }

// Queues both triangles of each cell of the current tile within the terrain's range.
void queue_terrain_tile(bool software) {
    if (current_view.visual_range != terrain_split_range) {
        split_terrain_range(current_view.visual_range, terrain_near_tiles, terrain_far_tiles);
        terrain_split_range = current_view.visual_range;
    }
    if (current_view.visual_range < 4 && current_view.terrain_detail > 1) current_view.terrain_detail = 1;
    const bool low_eye = eye_height < NEAR_EYE_HEIGHT;
    for (int i = render_tile_x * POSTS_PER_TILE; i < (render_tile_x + 1) * POSTS_PER_TILE; ++i) {
        for (int j = render_tile_y * POSTS_PER_TILE; j < (render_tile_y + 1) * POSTS_PER_TILE; ++j) {
            const int r = i - terrain_first_post_x, c = j - terrain_first_post_y;
            if (i < 0 || j < 0 || i >= TERRAIN_CELLS || j >= TERRAIN_CELLS || r < 0 || c < 0 ||
                r + 1 >= TERRAIN_GRID_POSTS || c + 1 >= TERRAIN_GRID_POSTS)
                continue;
            PolyVertex* a = &terrain_vertex_grid[r][c];
            const int32_t d = estimate_distance_3d(a->x, a->y, a->z);
            if (d / (1 << 22) >= terrain_near_tiles + terrain_far_tiles) continue;
            const TerrainPost& post = terrain_posts[i][j];
            const bool diagonal = post.classes & TERRAIN_DIAGONAL;
            PolyVertex* b = a + 1;
            PolyVertex* cc = &terrain_vertex_grid[r + 1][c];
            PolyVertex* dd = cc + 1;
            int32_t detail = current_view.terrain_detail;
            if (software && d / (1 << 22) >= terrain_near_tiles) detail = 0;
            const bool near = low_eye && std::abs(eye_post_x - i) < NEAR_CELLS && std::abs(eye_post_y - j) < NEAR_CELLS;
            for (int triangle = 0; triangle < 2; ++triangle) {
                const PolyVertex* v[3] = {triangle == 0 ? a : (diagonal ? a : b), triangle == 0 ? b : cc,
                                          triangle == 0 ? (diagonal ? dd : cc) : dd};
                if (v[0]->outcode & v[1]->outcode & v[2]->outcode) continue;
                const uint8_t texture = post.texture[triangle];
                BufferNode stack_node;
                const bool at_once = texture & TERRAIN_DRAW_AT_ONCE;
                BufferNode* node = at_once ? &stack_node : alloc_buffer_node();
                if (!node) continue;
                node->type = NODE_TERRAIN;
                node->key = std::max({v[0]->y, v[1]->y, v[2]->y});
                node->payload[TERRAIN_FLAGS] = (triangle == 0 ? TERRAIN_NODE_FIRST : 0) | (at_once ? TERRAIN_NODE_AT_ONCE : 0) |
                                               ((texture & TERRAIN_TEXTURE_MASK) == NO_TERRAIN_TEXTURE ? TERRAIN_NODE_NO_TEXTURE : 0) |
                                               (near ? TERRAIN_NODE_NEAR : 0);
                node->payload[TERRAIN_POST] = i * TERRAIN_POSTS + j;
                node->payload[TERRAIN_VERTEX] = r * TERRAIN_GRID_POSTS + c;
                node->payload[TERRAIN_OUTCODES] = v[0]->outcode | v[1]->outcode | v[2]->outcode;
                node->payload[TERRAIN_DEPTH_SUM] = v[0]->y + v[1]->y + v[2]->y;
                node->payload[TERRAIN_DETAIL] = detail;
                if (!at_once) queue_buffer_node(node);
                else if (software) draw_terrain_node_soft(node);
                else draw_terrain_node_accel(node);
            }
        }
    }
}

}  // namespace

void split_terrain_range(int visual_range, int32_t& near_tiles, int32_t& far_tiles) {
    static constexpr int32_t SPLITS[7][2] = {{5, -5}, {0, 1}, {0, 2}, {2, 1}, {2, 2}, {3, 2}, {4, 2}};
    if (visual_range >= 1 && visual_range <= 6) {
        near_tiles = SPLITS[visual_range][0];
        far_tiles = SPLITS[visual_range][1];
        return;
    }
    near_tiles = 5;
    far_tiles = visual_range - 5;
}

void prepare_terrain_frame() {
    const OffsetRange& range = visible_tile_range;
    eye_post_x = eye_pose.position.x >> POST_SHIFT;
    eye_post_y = eye_pose.position.y >> POST_SHIFT;
    // Held to the world and to the grid's records, whatever range the visibility test found.
    const int x0 = std::clamp(eye_tile_x + std::max(range.x_lowest, -GRID_REACH), 0, WORLD_TILES - 1);
    const int y0 = std::clamp(eye_tile_y + std::max(range.y_lowest, -GRID_REACH), 0, WORLD_TILES - 1);
    const int x1 = std::clamp(eye_tile_x + std::min(range.x_highest, GRID_REACH), x0, WORLD_TILES - 1);
    const int y1 = std::clamp(eye_tile_y + std::min(range.y_highest, GRID_REACH), y0, WORLD_TILES - 1);
    terrain_first_post_x = x0 * POSTS_PER_TILE;
    terrain_first_post_y = y0 * POSTS_PER_TILE;
    const int origin_x = eye_tile_x * POSTS_PER_TILE, origin_y = eye_tile_y * POSTS_PER_TILE;
    for (int r = 0; r <= (x1 - x0) * POSTS_PER_TILE + 4; ++r) {
        for (int c = 0; c <= (y1 - y0) * POSTS_PER_TILE + 4; ++c) {
            const int i = terrain_first_post_x + r, j = terrain_first_post_y + c;
            const TerrainPost& post = terrain_posts[i][j];
            PolyVertex& v = terrain_vertex_grid[r][c];
            transform_post(i - origin_x, j - origin_y, post.height, v);
            v.z = stretch_up(v.z);
            v.shade = shade_of(post);
            v.outcode = get_outcode(v.x, v.y, v.z);
            if (v.outcode == 0) project_vertex(v);
        }
    }
}

void queue_terrain_tile_accel() { queue_terrain_tile(false); }
void queue_terrain_tile_soft() { queue_terrain_tile(true); }

void prepare_cloud_layer(const OffsetRange& window, int32_t cloud_height) {
    const int origin_x = eye_tile_x * POSTS_PER_TILE, origin_y = eye_tile_y * POSTS_PER_TILE;
    const int32_t droop_per_post = current_view.weather == WEATHER_OVERCAST ? OVERCAST_DROOP : CLEAR_DROOP;
    for (int p = window.x_lowest * POSTS_PER_TILE; p <= window.x_highest * POSTS_PER_TILE + 4; ++p) {
        for (int q = window.y_lowest * POSTS_PER_TILE; q <= window.y_highest * POSTS_PER_TILE + 4; ++q) {
            const int i = origin_x + p, j = origin_y + q;
            if (i < 0 || j < 0 || i >= CLOUD_GRID_POSTS || j >= CLOUD_GRID_POSTS) continue;
            const int32_t beyond = std::max(0, estimate_distance_2d(p, q) - CLOUD_FLAT_POSTS);
            const bool droops = (std::abs(p) > CLOUD_FLAT_POSTS || std::abs(q) > CLOUD_FLAT_POSTS) &&
                                sky_state != SKY_ABOVE_CLOUDS;
            PolyVertex& v = cloud_vertex_grid[i][j];
            transform_post(p, q, cloud_height - (droops ? beyond * droop_per_post : 0), v);
            v.shade = shade_of(terrain_posts[i][j]);
        }
    }
}

const TerrainPost& terrain_node_post(const BufferNode* node) {
    const int32_t index = node->payload[TERRAIN_POST];
    return terrain_posts[index / TERRAIN_POSTS][index % TERRAIN_POSTS];
}

PolyVertex* terrain_node_vertex(const BufferNode* node, int di, int dj) {
    const int32_t index = node->payload[TERRAIN_VERTEX];
    return &terrain_vertex_grid[index / TERRAIN_GRID_POSTS + di][index % TERRAIN_GRID_POSTS + dj];
}

TerrainTriangle link_terrain_triangle(const BufferNode* node) {
    TerrainTriangle t{};
    t.cell = &terrain_node_post(node);
    t.index = node->payload[TERRAIN_FLAGS] & TERRAIN_NODE_FIRST ? 0 : 1;
    const bool diagonal = t.cell->classes & TERRAIN_DIAGONAL;
    const int32_t post = node->payload[TERRAIN_POST];
    for (int k = 0; k < 3; ++k) {
        t.di[k] = TERRAIN_TRIANGLE_CORNERS[t.index][diagonal][k][0];
        t.dj[k] = TERRAIN_TRIANGLE_CORNERS[t.index][diagonal][k][1];
        t.vertex[k] = terrain_node_vertex(node, t.di[k], t.dj[k]);
        t.post[k] = &terrain_posts[post / TERRAIN_POSTS + t.di[k]][post % TERRAIN_POSTS + t.dj[k]];
    }
    t.vertex[0]->next = t.vertex[1];
    t.vertex[1]->next = t.vertex[2];
    t.vertex[2]->next = nullptr;
    return t;
}

void map_terrain_texture(const TerrainTriangle& t, int32_t repeat) {
    for (int k = 0; k < 3; ++k) {
        t.vertex[k]->u = t.di[k] * repeat;
        t.vertex[k]->v = (1 - t.dj[k]) * repeat;
    }
}

int terrain_node_texture(const BufferNode* node) {
    const bool first = node->payload[TERRAIN_FLAGS] & TERRAIN_NODE_FIRST;
    return terrain_node_post(node).texture[first ? 0 : 1] & TERRAIN_TEXTURE_MASK;
}

}  // namespace vyr
