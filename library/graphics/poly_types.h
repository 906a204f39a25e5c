// The screen-polygon vertex shared by every polygon primitive, and the software texture.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int MAX_POLY_VERTICES = 256;

struct PolyVertex {
    int32_t x;  // eye space: right
    int32_t y;  // depth, forward
    int32_t z;  // up
    int32_t screen_x;
    int32_t screen_y;
    int32_t u;  // 16.16 texels
    int32_t v;
    int32_t shade;  // level in bits 23 to 30
    int32_t outcode;
    PolyVertex* next;  // null after the last; the last joins back to the first
};

struct TextureRecord {
    int32_t width_class;  // rows of 16 << class texels; 6 to 9 are 64-texel terrain classes
    int32_t width;
    uint8_t* texels;  // one palette index per texel, rows top first
};

}  // namespace vyr
