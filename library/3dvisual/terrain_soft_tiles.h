// The renderers of terrain_soft.h's draw_terrain_node_soft and how it picks one: one hazed colour
// far off, light per vertex nearer, the cell's texture nearer still, and near cells next to a low
// eye cut into 64 sub-triangles coloured by dither or by the texture's detail colours.
#pragma once

#include <array>
#include <cstdint>

#include "library/3dvisual/object_buffer.h"
#include "library/graphics/poly_types.h"

namespace vyr {

enum class SoftTerrainRenderer { NONE, FLAT, GOURAUD, DITHER_NEAR, DETAIL_NEAR, TEXTURED, TEXTURED_NEAR };

SoftTerrainRenderer choose_terrain_renderer_soft(int installed_detail, const BufferNode* node);

// The terrain class of a node's triangle; class 7, which no colour table holds, draws as class 0.
int terrain_node_class(const BufferNode* node);

// Sub (k, l) of a near triangle, k + l <= 8: (0, 0), (0, 8) and (8, 0) are its corners.
extern PolyVertex terrain_sub_grid[9][9];

// The 64 sub-triangles in drawing order: strip l = 0..7, then k = 0..7 - l, the up triangle and,
// but for the last of a strip, the down one. Each entry is three (k, l) pairs.
struct SubTriangle {
    uint8_t k[3], l[3];
};
extern const std::array<SubTriangle, 64> terrain_sub_triangles;

}  // namespace vyr
