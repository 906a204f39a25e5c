// The explosion ring.
#pragma once

#include "library/3dvisual/object_buffer.h"

namespace vyr {

void init_explosions();
void shutdown_explosions();
void update_explosions();
void queue_explosions();
void draw_explosion(BufferNode* node);

}  // namespace vyr
