// Craters, splashes and wrecks left on the ground.
#pragma once

#include "library/3dvisual/object_buffer.h"

namespace vyr {

void reset_ground_scars();
void age_impact_scars();
void queue_ground_scars();
void draw_ground_scar(BufferNode* node);

}  // namespace vyr
