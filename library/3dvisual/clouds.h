// The cloud layer's polygons, and the one-pixel projection the stars share.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"

namespace vyr {

// The cells of the cloud grid the terrain laid over cloud_tile_range.
void queue_cloud_layer();
void draw_cloud_polygon(BufferNode* node);

// One eye-space point (up unstretched) as a pixel of `colour`, when it lies in the view volume.
void project_point(int32_t x, int32_t depth, int32_t up, int colour);

}  // namespace vyr
