// Stand-ins for the parts of the 3D world not built yet: they load nothing, queue nothing and
// draw nothing, so a render shows only what the built passes draw. Each goes when its module
// lands.
#include "library/3dvisual/shadows.h"
#include "library/3dvisual/terrain_soft.h"

namespace vyr {

void draw_terrain_node_soft(BufferNode*) {}

void draw_object_shadow(ObjectInstance*) {}


}  // namespace vyr
