// The targeting pod's state and tracking.
#pragma once

#include "library/maths/vector.h"

namespace vyr {

void register_pod_key();

int get_pod_track_mode();
void set_pod_track_mode(int flag);
// Steps the pod to the next (1) or previous (2) target.
void update_pod_track(int step_request);
// 1 and the point when the pod designates a point on the ground.
int get_designated_ground_point(Vector3& out);

}  // namespace vyr
