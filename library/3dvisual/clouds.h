// The cloud layer's polygons, and the one-pixel projection the stars share.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"

namespace vyr {

// Places the cloud grid's vertices for the frame, then queues the layer's cells.
void prepare_horizon();
void queue_cloud_layer();
void draw_cloud_polygon(BufferNode* node);

// One eye-space point (up unstretched) as a pixel of `colour`, when it lies in the view volume.
void project_point(int32_t x, int32_t depth, int32_t up, int colour);

}  // namespace vyr
