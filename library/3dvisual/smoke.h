// Smoke puffs that grow and fade over their life (trails of burning aircraft and of rounds,
// touchdown smoke), and haze puffs laid aft of the player's engine and drawn once each. Both live
// in rings whose oldest entry a spawn overwrites.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"
#include "library/maths/vector.h"
#include "library/maths/matrix.h"

namespace vyr {

constexpr int MAX_SMOKE_PUFFS = 4096;
constexpr int MAX_HAZE_PUFFS = 35;

struct SmokePuff {
    int32_t state;  // 0 free, 1 live
    int32_t x, y, z;
    int32_t size;  // half-size at birth; five times that at the end of its life
    int32_t life;  // ticks of 1/200 s
    int32_t age;
    uint32_t spin;
};

struct HazePuff {
    int32_t state;
    int32_t x, y, z;
    int32_t level;  // subtracted from the texels' alpha
    int32_t drawn;
    int32_t size;
    uint32_t spin;
};

extern SmokePuff smoke_puffs[MAX_SMOKE_PUFFS];
extern int smoke_cursor;
extern HazePuff haze_puffs[MAX_HAZE_PUFFS];
extern int haze_cursor;

void init_smoke();
void shutdown_smoke();
// Outside the world square nothing is spawned.
void spawn_smoke_puff(const Vector3* position, int32_t size, int32_t life);
// 2^shift puffs from `from` on towards `to`, the last a step short of it; each lives `life` and up
// to 200 ticks more.
void spawn_smoke_trail(const Vector3* from, const Vector3* to, int32_t size, int32_t life, int shift);
void update_smoke();
void queue_smoke();
void draw_smoke(BufferNode* node);

void init_haze();
void shutdown_haze();
void spawn_haze_puff(const Vector3* position, int32_t size, int32_t level);
// 2^shift puffs from the position 16 ft aft along the pose's forward axis, fainter towards the end.
void spawn_haze_trail(const Vector3* position, int32_t size, const Pose* pose, int shift);
void update_haze();
void queue_haze();
void draw_haze(BufferNode* node);

}  // namespace vyr
