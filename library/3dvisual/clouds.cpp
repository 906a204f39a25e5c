#include "library/3dvisual/clouds.h"

#include "library/3dvisual/viewport.h"
#include "library/graphics/poly.h"

namespace vyr {

void project_point(int32_t x, int32_t depth, int32_t up, int colour) {
    PolyVertex v{};
    v.x = x;
    v.y = depth;
    v.z = stretch_up(up);
    if (get_outcode(v.x, v.y, v.z) != 0) return;
    project_vertex(v);
    draw_point(v.screen_x, v.screen_y, colour);
}

}  // namespace vyr
