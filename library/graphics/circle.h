// Circle outlines and filled circles in screen pixels, clipped to the clip rectangle.
#pragma once

#include <cstdint>

namespace vyr {

// The midpoint outline; with accelerator_flag set it goes into the locked frame buffer.
void draw_circle(int centre_x, int centre_y, int radius, int colour);
// Filled with a colour pattern on the 8-bit target; under the accelerator the polygon layer
// draws filled circles instead.
void fill_circle(int centre_x, int centre_y, int radius, uint32_t pattern);
// Every second pixel, and every fourth pixel of every second row (sparse).
void fill_circle_stipple(int centre_x, int centre_y, int radius, int colour);
void fill_circle_sparse(int centre_x, int centre_y, int radius, int colour);

}  // namespace vyr
