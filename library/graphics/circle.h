// Circle outlines and filled circles in screen pixels, clipped to the clip rectangle.
#pragma once

#include <cstdint>

namespace vyr {

// The midpoint outline; with accelerator_flag set it goes into the locked frame buffer.
void draw_circle(int centre_x, int centre_y, int radius, int colour);
// Filled with a colour pattern on the 8-bit target; with the accelerator an 18-sided polygon in
// the pattern's lowest colour byte, from (cx + r, cy) on.
void fill_circle(int centre_x, int centre_y, int radius, uint32_t pattern);
// Every second pixel, and every fourth pixel of every second row (sparse).
void fill_circle_stipple(int centre_x, int centre_y, int radius, int colour);
void fill_circle_sparse(int centre_x, int centre_y, int radius, int colour);
// With the accelerator only: a 36-sided disc of colour 224 at alpha 38, its corners held to the
// clip rectangle. The colour argument is not used.
void fill_circle_translucent(int centre_x, int centre_y, int radius, int colour);

}  // namespace vyr
