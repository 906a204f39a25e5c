// The explosion ring: ground bursts standing on the terrain and air bursts that hang and drift,
// animated billboards aged by the effect step. A spawn never fails; it overwrites the oldest.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"
#include "library/maths/vector.h"

namespace vyr {

constexpr int MAX_EXPLOSIONS = 128;
constexpr int32_t EXPLOSION_GROUND = 1;
constexpr int32_t EXPLOSION_AIR = 2;

struct Explosion {
    int32_t kind;  // 0 free
    int32_t x, y, z;
    int32_t vx, vy, vz;  // world units per second
    int32_t size;        // half-size; an air burst's least height above the ground
    int32_t counter;     // the animation frame; -1 until the first effect step
    int32_t variant;
    int32_t level;  // subtracted from the texels' alpha
};

extern Explosion explosions[MAX_EXPLOSIONS];
extern int explosion_cursor;

void init_explosions();
void shutdown_explosions();
// Outside the world square nothing is spawned. A ground burst stands on the ground under x, y.
void spawn_ground_explosion(const Vector3* position, int32_t size);
// `velocity` may be null; a variant request of 1 chooses the third animation.
void spawn_air_explosion(const Vector3* position, int32_t size, const Vector3* velocity, int32_t variant_request);
void update_explosions();
void queue_explosions();
void draw_explosion(BufferNode* node);

}  // namespace vyr
