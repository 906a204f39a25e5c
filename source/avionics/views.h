// View modes and cameras.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"

namespace vyr {

constexpr int32_t VIEW_COCKPIT = 0;
constexpr int32_t VIEW_AIRFRAME_CAMERA = 3;
constexpr int32_t VIEW_RUNWAY_CAMERA = 4;
constexpr int32_t VIEW_CRASH = 11;
constexpr int32_t VIEW_REAR_LEFT = 13;
constexpr int32_t VIEW_REAR_RIGHT = 14;

extern int32_t view_mode;

// The camera `render_view` drew the last frame from; launches and blasts are heard from it.
extern Pose view_camera_pose;

void register_view_keys();

struct ObjectInstance;
// The object the external drone view shows, and the switch to that view.
void set_drone_view_object(ObjectInstance* instance);
void enter_drone_view();
// The round the weapon view follows.
void set_weapon_view_object(ObjectInstance* instance);
// The view the flight starts in; a view change asked for during a frame (-1: none), taken at its
// end.
extern int32_t initial_view_mode;
extern int32_t pending_view_mode;
// 1 once the pilot has ejected: no more keys or controls.
extern int32_t pilot_ejected;

void init_views();
void shutdown_views();
// 1 when the mode was allowed and set.
int set_view_mode(int mode);
// The circling crash camera, which ends the flight when its time has run out.
void enter_crash_view();
// The frame's 3D scene from the current view's camera.
void render_view();
void create_view_remaps();
void free_view_remaps();

}  // namespace vyr
