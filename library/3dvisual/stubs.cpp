// Stand-ins for the parts of the 3D world not built yet: they load nothing, queue nothing and
// draw nothing, so a render shows only what the built passes draw. Each goes when its module
// lands.
#include "library/3dvisual/clouds.h"
#include "library/3dvisual/explosions.h"
#include "library/3dvisual/features.h"
#include "library/3dvisual/fireballs.h"
#include "library/3dvisual/fragments.h"
#include "library/3dvisual/scars.h"
#include "library/3dvisual/smoke.h"
#include "library/3dvisual/terrain_soft.h"
#include "library/3dvisual/world_palette.h"

namespace vyr {

// The distance haze is being built with the feature drawers; until it lands the software ground
// shows every colour as it is near the eye.
uint32_t get_distance_colour_pattern(uint32_t, int colour) { return uint32_t(colour_remap[colour & 0xFF]) * 0x01010101u; }

int32_t tile_far_flag = 0;
void draw_tile_features() {}
void draw_far_block_features() {}

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
void init_haze() {}
void shutdown_haze() {}
void update_haze() {}
void queue_haze() {}
void draw_haze(BufferNode*) {}

void init_fragments() {}
void shutdown_fragments() {}
void update_fragments() {}
void queue_fragments() {}

void draw_fireball(BufferNode*) {}
void queue_cloud_layer() {}
void draw_cloud_polygon(BufferNode*) {}

}  // namespace vyr
