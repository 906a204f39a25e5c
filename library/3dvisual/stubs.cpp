// Stand-ins for the parts of the 3D world not built yet: they load nothing, queue nothing and
// draw nothing, so a render shows only what the built passes draw. Each goes when its module
// lands.
#include "library/3dvisual/clouds.h"
#include "library/3dvisual/features.h"
#include "library/3dvisual/shadows.h"
#include "library/3dvisual/terrain_soft.h"

namespace vyr {

void draw_terrain_node_soft(BufferNode*) {}

int32_t tile_far_flag = 0;
void draw_tile_features() {}
void draw_far_block_features() {}

void draw_object_shadow(ObjectInstance*) {}

void queue_cloud_layer() {}
void draw_cloud_polygon(BufferNode*) {}

}  // namespace vyr
