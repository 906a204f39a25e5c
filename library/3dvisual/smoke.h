// Smoke trails and puffs, and the haze behind the player's engine.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"
#include "library/maths/vector.h"

namespace vyr {

// Ticks a smoke puff lives, and how dense the smoke is drawn.
extern int32_t smoke_life;
extern int32_t smoke_density;

void init_smoke();
void shutdown_smoke();
void update_smoke();
void queue_smoke();
void draw_smoke(BufferNode* node);
// A trail of 2^shift puffs of `size` from `from` to `to`, each living `life` ticks.
void spawn_smoke_trail(const Vector3& from, const Vector3& to, int32_t size, int32_t life, int shift);

void init_haze();
void shutdown_haze();
void update_haze();
void queue_haze();
void draw_haze(BufferNode* node);

}  // namespace vyr
