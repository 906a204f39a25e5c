// Smoke trails and puffs, and the haze behind the player's engine.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"

namespace vyr {

// Ticks a smoke puff lives, and how dense the smoke is drawn.
extern int32_t smoke_life;
extern int32_t smoke_density;

void init_smoke();
void shutdown_smoke();
void update_smoke();
void queue_smoke();
void draw_smoke(BufferNode* node);

void init_haze();
void shutdown_haze();
void update_haze();
void queue_haze();
void draw_haze(BufferNode* node);

}  // namespace vyr
