// Terrain nodes on the 8-bit software screen.
#pragma once

#include "library/3dvisual/object_buffer.h"

namespace vyr {

void draw_terrain_node_soft(BufferNode* node);

}  // namespace vyr
