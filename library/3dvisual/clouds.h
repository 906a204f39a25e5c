// The cloud layer's polygons.
#pragma once

#include "library/3dvisual/object_buffer.h"

namespace vyr {

void draw_cloud_polygon(BufferNode* node);

}  // namespace vyr
