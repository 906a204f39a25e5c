// The theatre's ground objects, listed by tile.
#pragma once

#include "library/3dvisual/object_buffer.h"

namespace vyr {

void load_ground_objects();
// The ground objects of the render's current tile.
void queue_ground_objects();
void draw_ground_object(BufferNode* node);

}  // namespace vyr
