// The stores page's pictures: the aircraft's planform filling a display, and three strips of
// store silhouettes, nose up, one cell above the next on a transparent ground (colour 0), in the
// displays' greens 208..223.
#pragma once

#include <vector>

#include "tools/vyrgen/pictures/iff.h"

namespace vyr::vyrgen {

constexpr int MFD_SIZE = 140;

// Cell sizes and counts of the three strips, small to large.
struct StoreStrip {
    const char* name;
    int width, height, cells;
};
constexpr StoreStrip STORE_STRIPS[] = {
    {"cockpits/smlweaps.bbm", 8, 24, 11},
    {"cockpits/medweaps.bbm", 9, 32, 6},
    {"cockpits/lgeweaps.bbm", 11, 45, 7},
};

std::vector<PictureFile> mfd_pictures();

}  // namespace vyr::vyrgen
