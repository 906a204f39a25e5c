#include "library/3dvisual/viewport.h"

#include <algorithm>
#include <cstdlib>

#include "library/graphics/rect.h"
#include "library/graphics/screen.h"

namespace vyr {

ViewportRect viewport_rect;
ProjectionScale projection_scale;

namespace {

// Indexed by (behind ? 9 : 0) + (x beyond a side ? (x < 0 ? 6 : 3) : 0) + (z beyond ? (z < 0 ? 2 : 1) : 0).
// Behind the eye a point inside a pair of planes sets both of its bits.
constexpr int32_t OUTCODE_TABLE[18] = {0,    8,    4,    2,    10,   6,    1,    9,    5,
                                       0x8F, 0x8B, 0x87, 0x8E, 0x8A, 0x86, 0x8D, 0x89, 0x85};

// Upper half of (x0 - x1)(y1 - y2) - (x1 - x2)(y0 - y1); wraps rather than overflows.
int32_t cross_screen(const PolyVertex& p0, const PolyVertex& p1, const PolyVertex& p2) {
    auto diff = [](int32_t a, int32_t b) { return uint64_t(int64_t(a) - b); };
    uint64_t c = diff(p0.screen_x, p1.screen_x) * diff(p1.screen_y, p2.screen_y) -
                 diff(p1.screen_x, p2.screen_x) * diff(p0.screen_y, p1.screen_y);
    return int32_t(int64_t(c) >> 32);
}

bool same_place(const PolyVertex& a, const PolyVertex& b) {
    return a.screen_x == b.screen_x && a.screen_y == b.screen_y;
}

// The first vertex after `from` that lies elsewhere on screen, walking round the polygon at most
// once; null when there is none.
const PolyVertex* next_distinct(const PolyVertex* from, const PolyVertex* first, int count) {
    const PolyVertex* v = from;
    for (int i = 0; i < count; ++i) {
        v = v->next ? v->next : first;
        if (!same_place(*v, *from)) return v;
    }
    return nullptr;
}

}  // namespace

void set_viewport(int left, int top, int width, int height) {
    viewport_rect = {left,  top,    left + width - 1, top + height - 1,
                     width, height, width / 2,        height / 2};
    set_clip_rect(left, top, left + width - 1, top + height - 1);
    projection_scale.aspect = int32_t(width * 2147483647.0 / (height * 16.0));
    projection_scale.inverse_aspect = int32_t(height * 2147483647.0 / (width * 16.0));
}

void clear_viewport(uint32_t pattern) {
    fill_rect(pattern, viewport_rect.left, viewport_rect.top, viewport_rect.width, viewport_rect.height);
}

int32_t stretch_up(int32_t up) {
    return int32_t((int64_t(up) * projection_scale.aspect + (int64_t(1) << 26)) >> 27);
}

int32_t get_outcode(int32_t x, int32_t depth, int32_t up) {
    const int64_t d = std::llabs(depth);
    const int64_t ax = std::llabs(x), az = std::llabs(up);
    int index = depth <= 0 ? 9 : 0;
    if (ax > d) index += x < 0 ? 6 : 3;
    if (az > d) index += up < 0 ? 2 : 1;
    return OUTCODE_TABLE[index];
}

int classify_points(const int32_t* x, const int32_t* depth, const int32_t* up, int count) {
    int32_t all = ~0, any = 0;
    for (int i = 0; i < count; ++i) {
        const int32_t code = get_outcode(x[i], depth[i], stretch_up(up[i]));
        all &= code;
        any |= code;
    }
    if (all != 0) return 0;
    return any == 0 ? 2 : 1;
}

void project_vertex(PolyVertex& v) {
    const ViewportRect& r = viewport_rect;
    const int64_t sx = r.left + ((int64_t(v.x) + v.y) * r.width >> 1) / v.y;
    const int64_t sy = r.bottom - ((int64_t(v.z) + v.y) * r.height >> 1) / v.y;
    v.screen_x = int32_t(std::min<int64_t>(sx, r.right));
    v.screen_y = int32_t(std::max<int64_t>(sy, r.top));
}

int32_t get_facing(const PolyVertex* first) {
    if (!first || !first->next || !first->next->next) return 0;
    return cross_screen(*first, *first->next, *first->next->next);
}

int32_t get_facing_robust(const PolyVertex* first) {
    int count = 0;
    for (const PolyVertex* v = first; v; v = v->next) ++count;
    if (count < 3) return 0;
    const PolyVertex* p1 = next_distinct(first, first, count);
    const PolyVertex* p2 = p1 ? next_distinct(p1, first, count) : nullptr;
    const PolyVertex* p3 = p2 ? next_distinct(p2, first, count) : nullptr;
    if (!p3) return 0;
    const int32_t c1 = cross_screen(*first, *p1, *p2);
    const int32_t c2 = cross_screen(*p1, *p2, *p3);
    if ((c1 ^ c2) >= 0) return c1;
    const PolyVertex* p4 = next_distinct(p3, first, count);
    return p4 ? cross_screen(*p2, *p3, *p4) : 0;
}

}  // namespace vyr
