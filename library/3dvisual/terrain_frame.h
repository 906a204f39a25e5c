// The terrain of one render: the posts of the visible window in eye and screen space, and the
// tiles' triangles queued into the object buffer as terrain nodes (those flagged to be drawn at
// once go straight to their drawer). The cloud layer's grid is laid over the same posts.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/visibility.h"
#include "library/graphics/plot_poly.h"
#include "library/graphics/poly_types.h"

namespace vyr {

// 29 tiles of 4 cells and the closing post: the widest window of visible tiles.
constexpr int TERRAIN_GRID_POSTS = 117;
constexpr int CLOUD_GRID_POSTS = 256;

// Terrain node flags.
constexpr int32_t TERRAIN_NODE_FIRST = 1;     // the cell's first triangle, else its second
constexpr int32_t TERRAIN_NODE_AT_ONCE = 2;   // drawn while queueing, never buffered
constexpr int32_t TERRAIN_NODE_NO_TEXTURE = 4;
constexpr int32_t TERRAIN_NODE_NEAR = 8;      // a cell next to a low eye

// The words of a terrain node: the post and grid record of the cell's south-west corner A.
enum TerrainNodeWord { TERRAIN_FLAGS, TERRAIN_POST, TERRAIN_VERTEX, TERRAIN_OUTCODES, TERRAIN_DEPTH_SUM, TERRAIN_DETAIL };

// Near and far tiles of the terrain's range, split from the visual range they were made for.
extern int32_t terrain_near_tiles;
extern int32_t terrain_far_tiles;
extern int32_t terrain_split_range;

// Record (r, c): post (terrain_first_post_x + r, terrain_first_post_y + c) of this frame.
extern PolyVertex terrain_vertex_grid[TERRAIN_GRID_POSTS][TERRAIN_GRID_POSTS];
extern int32_t terrain_first_post_x, terrain_first_post_y;
// Record (i, j): the cloud layer over post (i, j), up unstretched as the raw clippers take it.
extern PolyVertex cloud_vertex_grid[CLOUD_GRID_POSTS][CLOUD_GRID_POSTS];

void split_terrain_range(int visual_range, int32_t& near_tiles, int32_t& far_tiles);

// Eye-space x, depth and up (stretched) and shade of the posts of visible_tile_range, with the
// outcode, and the screen position of those inside the view.
void prepare_terrain_frame();
// The tile render_tile_x, render_tile_y: for the accelerator, and for the 8-bit screen, where
// cells beyond the near tiles lose their detail.
void queue_terrain_tile_accel();
void queue_terrain_tile_soft();
// The cloud layer's grid over the tiles of `window` (offsets from the eye's tile) at
// `cloud_height` feet, drooping with distance below the clouds.
void prepare_cloud_layer(const OffsetRange& window, int32_t cloud_height);

// The post and the grid records A (post (i, j)), B (i, j+1), C (i+1, j), D (i+1, j+1) of a node's
// cell.
const TerrainPost& terrain_node_post(const BufferNode* node);
PolyVertex* terrain_node_vertex(const BufferNode* node, int di, int dj);

// A node's triangle with its grid records linked in drawing order (first C, A, B or A, B, D;
// second B, D, C or D, C, A for the diagonal bit clear or set), their posts and their corners as
// post offsets from A.
// The corners of a cell's triangles in drawing order as post offsets from A: A (0, 0), B (0, 1),
// C (1, 0), D (1, 1); [second][diagonal bit set][corner][i, j].
constexpr int TERRAIN_TRIANGLE_CORNERS[2][2][3][2] = {{{{1, 0}, {0, 0}, {0, 1}}, {{0, 0}, {0, 1}, {1, 1}}},
                                                      {{{0, 1}, {1, 1}, {1, 0}}, {{1, 1}, {1, 0}, {0, 0}}}};
struct TerrainTriangle {
    PolyVertex* vertex[3];
    const TerrainPost* post[3];
    int di[3], dj[3];
    const TerrainPost* cell;
    int index;  // 0 first, 1 second
};
TerrainTriangle link_terrain_triangle(const BufferNode* node);
// u grows eastwards and v southwards from the cell's north edge, `repeat` (16.16) across it.
void map_terrain_texture(const TerrainTriangle& t, int32_t repeat);
// The texture number of the node's triangle (seven bits).
int terrain_node_texture(const BufferNode* node);

using TerrainClipper = PolyVertex* (*)(int32_t, PolyVertex*, PolyVertex*, PolyVertex*);

// Hands the triangle to `draw` when it shows: wholly inside and facing the eye, or clipped by
// `clip` to something that faces it. A triangle drawn at once lies under a feature and is drawn
// whichever way it faces.
template <class Draw>
void draw_terrain_triangle(const BufferNode* node, const TerrainTriangle& t, TerrainClipper clip, Draw draw) {
    const bool at_once = node->payload[TERRAIN_FLAGS] & TERRAIN_NODE_AT_ONCE;
    const int32_t outcodes = node->payload[TERRAIN_OUTCODES];
    if (outcodes == 0) {
        if (at_once || get_facing(t.vertex[0]) >= 0) draw(t.vertex[0]);
        return;
    }
    const PolyVertex* clipped = clip(outcodes, t.vertex[0], t.vertex[2], clip_pool);
    if (clipped && (at_once || get_facing_robust(clipped) >= 0)) draw(clipped);
}

}  // namespace vyr
