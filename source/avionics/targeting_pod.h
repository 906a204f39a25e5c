// The targeting pod's state and tracking.
#pragma once

#include <cstdint>
#include "library/maths/vector.h"
#include "source/avionics/mfd.h"

namespace vyr {

void register_pod_key();
// Mission set-up, from init_mfds: the pod's state cleared.
void reset_targeting_pod();
// 1 while the pod looks at its own ground point rather than a designated target.
int get_pod_on_point();
// The pod view's magnification, 1..64.
extern int32_t pod_zoom;
// Each tick outside the cockpit view: the pod follows its point or target.
void update_targeting_pod();

int get_pod_track_mode();
void set_pod_track_mode(int flag);
// Steps the pod to the next (1) or previous (2) target.
void update_pod_track(int step_request);
// The pod and Maverick seeker pages of an MFD.
void draw_mfd_pod_page(const MfdRect& rect);
void draw_mfd_maverick_page(const MfdRect& rect);
// The radar hands the pod its designated target: the pod follows it (flag 1) unless it tracks.
void set_pod_slave_target(int flag);
// The pod's designated ground point is dropped.
void clear_pod_point();
// 1 and the point when the pod designates a point on the ground.
int get_designated_ground_point(Vector3& out);

}  // namespace vyr
