// The accelerator forms of the polygon primitives that also draw in software.
#pragma once

#include <cstdint>

#include "library/graphics/poly_types.h"

namespace vyr {

// With depth the accelerator's 1/w follows the vertices' depth; overlays draw at 1/w = 1.
enum class PolyDepth : uint8_t { DEPTH, OVERLAY };

void accel_poly_flat(const PolyVertex* vertices, int colour, PolyDepth depth);
void accel_poly_gouraud(const PolyVertex* vertices, int colour, PolyDepth depth);
// Texture times iterated colour, with the texture source and vertex colours left as they were.
void accel_poly_textured(const PolyVertex* vertices);
void accel_poly_remap(const PolyVertex* vertices);
void accel_point(int x, int y, int colour);

// Locks the back buffer for 32-bit writes and points frame_buffer and frame_buffer_stride at it;
// false when the accelerator is not open.
bool accel_lock_frame_buffer();
void accel_unlock_frame_buffer();

}  // namespace vyr
