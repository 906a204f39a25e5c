// The pilot's head look in the panoramic cockpit: the look position over the panel picture, its
// keys and velocities, the padlock that follows a chosen object, and the cockpit eye built from
// them each frame.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"
#include "source/weapons/target.h"

namespace vyr {

// -900..900 (left negative) and -640..100 (larger looks further down); home is (0, -117).
extern int32_t look_x, look_y;
extern int32_t look_velocity_x, look_velocity_y;  // pixels a frame
extern int32_t look_changed;
extern int32_t padlock_on, padlock_returning;
extern Target padlock_target;
// The head-up display's window on the panorama: ((look_x + 320) mod 2560, look_y).
extern int32_t hud_window_x, hud_window_y;
// The eye of the last cockpit frame.
extern Matrix3 look_matrix, eye_matrix;

// Look at (0, 0), nothing moving, no padlock.
void reset_head_look();
// Look keys (only in the cockpit view; each recomputes the visible pieces).
int look_centre_key(int key_code);
int look_left_key(int key_code);
int look_right_key(int key_code);
int look_up_key(int key_code);
int look_down_key(int key_code);
int toggle_padlock_key(int key_code);
int next_padlock_target_key(int key_code);
// The largest look_y allowed at look_x: looking sideways the panel's lower rows end sooner.
int32_t lowest_look_y(int32_t x);
// The pan inputs and keys, the padlock or its return, then the look moved by the velocities.
void update_cockpit_look();
// The cockpit view's camera: the look turned into the eye at the pilot's head in the aircraft.
void set_cockpit_camera(Pose& camera);

}  // namespace vyr
