// Fireballs and their puffs.
#pragma once

#include "library/3dvisual/object_buffer.h"

namespace vyr {

void draw_fireball(BufferNode* node);

}  // namespace vyr
