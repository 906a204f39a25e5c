// The eye of the render in progress and everything derived from it once per render: its tile and
// far block, the view matrix and angles, the eye-space origins of its tile and block, where it
// stands against the cloud layer and whether shadows are drawn.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"

namespace vyr {

enum SkyState : int32_t { SKY_BELOW_CLOUDS, SKY_IN_CLOUDS, SKY_ABOVE_CLOUDS };

extern Pose eye_pose;
// World to eye: rows right, forward, up.
extern Matrix3 view_matrix;
extern int32_t eye_ground_height;
extern int32_t eye_height;  // above the ground

extern int32_t eye_in_world;
extern int32_t eye_tile_x, eye_tile_y;
extern int32_t eye_tile_fraction_x, eye_tile_fraction_y;
extern int32_t eye_tile_changed;  // since the last set_eye
// Far blocks of 2^26 on a 16 x 16 grid reaching six blocks past the world on every side.
extern int32_t eye_in_far_grid;
extern int32_t eye_far_block_x, eye_far_block_y;
extern int32_t eye_far_block_fraction_x, eye_far_block_fraction_y;
extern int32_t eye_far_block_changed;

extern uint32_t view_heading, view_pitch, view_roll;
extern int32_t view_sin_heading, view_cos_heading;
extern int32_t view_sin_pitch, view_cos_pitch;
extern int32_t view_sin_roll, view_cos_roll;

// Eye-space (right, forward, up) of the south-west corners at height 0 of the eye's tile and far
// block.
extern int32_t tile_origin_eye[3];
extern int32_t far_block_origin_eye[3];

extern SkyState sky_state;
extern int32_t shadows_active;

// Object to eye, for the object being drawn.
extern Matrix3 object_eye_matrix;

// Installs the eye of a render, kept at least a foot above the ground; `eye` is left as it is.
void set_eye(const Pose* eye);
// The next set_eye reports the tile and the far block as changed.
void reset_tile_cells();
void set_object_eye_matrix(const Pose* object);
// How far ahead of the eye a world point lies: the view's forward row applied to its offset.
int32_t find_eye_depth(const Vector3& point);
// The object buffer's key of a point `depth` ahead: its estimated distance, negative behind the eye.
int32_t find_eye_key(const Vector3& point, int32_t depth);

// The binary angles of an orientation; heading and roll are 0 when it points straight up or down.
void get_matrix_angles(const Matrix3& matrix, uint32_t& heading, uint32_t& pitch, uint32_t& roll);
uint32_t get_matrix_heading(const Matrix3& matrix);

}  // namespace vyr
