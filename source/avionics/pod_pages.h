// The targeting pod and Maverick seeker pages of an MFD: the sensor image seen along the pod's or
// seeker's line of sight, magnified by moving the eye towards the ground, with the pod's mode,
// magnification, range, lock and the crosshair and scales over it; the pod's slewing in manual
// mode, and the ground point the head-up display marks.
#pragma once

#include "library/maths/matrix.h"
#include "source/avionics/mfd.h"

namespace vyr {

// Where the pod looks on the ground, set by the pod page every frame; the head-up display's EO
// seeker cross.
extern Vector3 pod_look_point;
// Slewing accumulated while the pod holds a point (binary angles).
extern int32_t pod_slaved_azimuth, pod_slaved_elevation;

// Draws the sensor image seen from `eye` into the display's rectangle.
using SensorImageRenderer = void (*)(const MfdRect& rect, const Pose& eye);
// Null puts back the renderer of the game (render_sensor_image); tests install their own.
void set_sensor_image_renderer(SensorImageRenderer renderer);
// The game's renderer: the world rendered off-screen at the display's size and mapped by
// luminance onto the display's shades in its rectangle of the panel picture.
void render_sensor_image(const MfdRect& rect, const Pose& eye);

// Mission start: the look point, the slaved offsets and the pages' key memory cleared.
void reset_pod_pages();
void draw_mfd_pod_page(const MfdRect& rect);
void draw_mfd_maverick_page(const MfdRect& rect);

}  // namespace vyr
