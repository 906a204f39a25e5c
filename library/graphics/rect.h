// Rectangles, blits and sprites on the current target. Only the sprite drawers clip.
#pragma once

#include <cstdint>

namespace vyr {

// Fills the rectangle with a four-byte colour pattern whose phase is tied to the target.
void fill_rect(uint32_t pattern, int x, int y, int width, int height);

}  // namespace vyr
