// Terrain posts and tiles of the theatre: loading, ground height and the per-frame terrain.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"

namespace vyr {

// The theatre's terrain files, from the war-zone directory of the world settings.
void load_terrain();
// World units; 0 outside the world square.
int32_t get_ground_height(int32_t x, int32_t y);
// The eye-space posts of the frame's visible tiles; once a render, before the tile loop.
void prepare_terrain_frame();
// The terrain of the tile render_tile_x, render_tile_y, for the accelerator or in software.
void queue_terrain_tile_accel();
void queue_terrain_tile_soft();
void draw_terrain_node_accel(BufferNode* node);
void draw_terrain_node_soft(BufferNode* node);

}  // namespace vyr
