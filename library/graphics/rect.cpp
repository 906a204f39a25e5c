#include "library/graphics/rect.h"

#include "library/graphics/screen.h"

namespace vyr {

void fill_rect(uint32_t pattern, int x, int y, int width, int height) {
    for (int row = y; row < y + height; ++row) {
        uint8_t* pixel = row_table[row] + x;
        for (int column = x; column < x + width; ++column)
            *pixel++ = uint8_t(pattern >> (8 * ((column + row) & 3)));
    }
}

}  // namespace vyr
