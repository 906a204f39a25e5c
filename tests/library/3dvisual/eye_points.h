// Eye-space points for the tests of the 3D world.
#pragma once

#include "library/graphics/poly_types.h"

namespace vyr {

inline PolyVertex eye_point(int32_t x, int32_t depth, int32_t up) {
    PolyVertex v{};
    v.x = x;
    v.y = depth;
    v.z = up;
    return v;
}

}  // namespace vyr
