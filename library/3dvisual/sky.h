// The backdrop and the sky: the ground colour below the horizon before anything else is drawn,
// then after the ground the flat upper sky, a shaded band down to the horizon, the cloud layer
// and the stars, sun and moon. Both work in a plot window laid over the viewport, with the horizon
// from the eye's pitch and roll alone. The same horizon draws two cockpit instruments.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"

namespace vyr {

// The horizon of the eye installed last, in plot units of the viewport's sky window.
struct Horizon {
    int32_t left_x, left_y;    // where the horizon leaves the view on the left
    int32_t right_x, right_y;  // and on the right
    int32_t up_x, up_y;        // the normal pointing up the screen, 2^28 long
};

// What the backdrop pass worked out for this render (and the instruments after it).
extern Horizon horizon;

// Forgets the horizon and the cloud layer's tiles of the last render.
void reset_sky_state();
// The first pass of a render, and the sky pass after the ground.
void draw_backdrop();
void draw_sky();

// Instruments over the rectangle, which becomes the viewport: a perspective attitude ball, and a
// horizon ball whose horizon bows with the pitch. Patterns are four colour bytes.
void draw_attitude_ball(int x, int y, int width, int height, const Pose* pose, uint32_t ground_pattern,
                        uint32_t sky_pattern);
void draw_horizon_ball(int x, int y, int width, int height, const Pose* pose, uint32_t ground_pattern,
                       uint32_t sky_pattern);

}  // namespace vyr
