// Projection services of the panoramic cockpit: look positions to eye angles and back, world
// offsets to panorama pixels, and the angles of vectors, for the head look, the head-up display
// and the MFD pages.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"

namespace vyr {

// The look position's home: level ahead.
constexpr int32_t LOOK_HOME_X = 0, LOOK_HOME_Y = -117;

// The eye's heading and pitch offsets (binary) for a look position (x -900..900, y -640..100).
void panorama_to_look_angles(int32_t look_x, int32_t look_y, int32_t& heading, int32_t& pitch);
// The look position that looks along the heading and pitch offsets.
void look_angles_to_panorama(int32_t heading, int32_t pitch, int32_t& look_x, int32_t& look_y);
// A world offset turned into the eye's axes and projected onto the panorama's faces: pixels
// from the front face's centre, the side faces 640 to either side, the rear 1280 to the left.
void project_to_screen(const Vector3& offset, const Matrix3& eye, int32_t& x, int32_t& y);
// Bearing and elevation of a point in the eye's axes.
void compute_view_angles_to_point(const Vector3& eye_position, const Matrix3& eye, const Vector3& point,
                                  uint32_t& bearing, int32_t& elevation);
// Azimuth (clockwise from forward) and elevation of a vector in right, forward, up axes.
void vector_to_angles(const Vector3& v, uint32_t& azimuth, int32_t& elevation);
// 0 or 180 degrees for a vector along the forward axis.
uint32_t bearing_of_vector(int32_t x, int32_t y);
// +-60 degrees for a vector straight up or down.
int32_t elevation_of_vector(int32_t length, int32_t height);

}  // namespace vyr
