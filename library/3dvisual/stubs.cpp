// Stand-ins for the parts of the 3D world not built yet: they load nothing, queue nothing and
// draw nothing, so a render shows only what the built passes draw. Each goes when its module
// lands.
#include "library/3dvisual/explosions.h"
#include "library/3dvisual/fireballs.h"
#include "library/3dvisual/fragments.h"
#include "library/3dvisual/scars.h"
#include "library/3dvisual/shadows.h"
#include "library/3dvisual/smoke.h"
#include "library/3dvisual/terrain_soft.h"

namespace vyr {

void draw_terrain_node_soft(BufferNode*) {}

void draw_object_shadow(ObjectInstance*) {}

void reset_ground_scars() {}
void age_impact_scars() {}
void queue_ground_scars() {}
void draw_ground_scar(BufferNode*) {}

void init_explosions() {}
void shutdown_explosions() {}
void update_explosions() {}
void queue_explosions() {}
void draw_explosion(BufferNode*) {}

void init_smoke() {}
void shutdown_smoke() {}
void update_smoke() {}
void queue_smoke() {}
void draw_smoke(BufferNode*) {}
void spawn_smoke_trail(const Vector3&, const Vector3&, int32_t, int32_t, int) {}
void init_haze() {}
void shutdown_haze() {}
void update_haze() {}
void queue_haze() {}
void draw_haze(BufferNode*) {}

void init_fragments() {}
void shutdown_fragments() {}
void update_fragments() {}
void queue_fragments() {}
void spawn_fragments(ObjectInstance*) {}

void draw_fireball(BufferNode*) {}

}  // namespace vyr
