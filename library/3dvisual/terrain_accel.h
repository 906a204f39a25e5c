// Terrain nodes through the accelerator, at the installed terrain detail: one lit colour (0),
// light per vertex (1), the cell's texture (2), or the texture lit per vertex and repeated or
// clamped as the texture wants (3). Nodes come from the object buffer's flush, or straight from
// the tile queue for triangles drawn at once.
#pragma once

#include "library/3dvisual/object_buffer.h"

namespace vyr {

enum class TerrainRenderer { NONE, FLAT, GOURAUD, TEXTURED, TEXTURED_LIT };

// Which renderer draws the node at the installed detail. Triangles without a texture, or with a
// special one (which the accelerator does not hold), are lit per vertex instead of textured.
TerrainRenderer choose_terrain_renderer_accel(int installed_detail, const BufferNode* node);
// The accelerator texture of a node's triangle: set 0 (diagonal set) holds numbers 0..96, set 1
// follows from 97.
int get_terrain_accel_texture(const BufferNode* node);

void draw_terrain_node_accel(BufferNode* node);

}  // namespace vyr
