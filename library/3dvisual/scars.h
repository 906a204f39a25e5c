// Craters, splashes and wrecks left on the ground.
#pragma once

#include "library/3dvisual/object_buffer.h"
#include "library/maths/vector.h"

namespace vyr {

// Whether a point lies in a crater, or a segment passes through one.
int check_point_in_crater(const Vector3& point);
int check_segment_hits_crater(const Vector3& a, const Vector3& b);

void reset_ground_scars();
void age_impact_scars();
void queue_ground_scars();
void draw_ground_scar(BufferNode* node);

}  // namespace vyr
