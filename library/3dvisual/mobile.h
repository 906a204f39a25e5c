// Moving objects (drones, rounds) listed by the tile they are over.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"

namespace vyr {

struct ObjectInstance;

// The tile the render is queueing.
extern int32_t render_tile_x;
extern int32_t render_tile_y;

void init_mobile_lists();
void shutdown_mobile_lists();
// The movers of the render's current tile, and their shadows.
void queue_mobile_objects();
void draw_mobile_object(BufferNode* node);
void draw_mobile_shadow(BufferNode* node);
// Moves a root instance to a world position, changing its tile list when it crosses a tile.
void place_mobile_object(ObjectInstance* instance, int32_t x, int32_t y, int32_t z);

}  // namespace vyr
