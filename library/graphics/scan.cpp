#include "library/graphics/scan.h"

#include <algorithm>

#include "library/graphics/screen.h"

namespace vyr {

namespace {

constexpr unsigned CARRY_SHADE = 1;
constexpr unsigned CARRY_UV = 2;

// Writes x and the carried values of the polygon converters into the span tables.
template <unsigned CARRY>
struct SpanRecorder {
    static constexpr bool FOLLOWS_SIDE = true;
    uint32_t u = 0, v = 0, shade = 0;
    uint32_t du = 0, dv = 0, dshade = 0;

    template <bool RIGHT>
    static void put(int64_t y, int32_t x, uint32_t u, uint32_t v, uint32_t shade) {
        if (!is_span_row(y)) return;
        (RIGHT ? span_right_x : span_left_x)[y] = x;
        if constexpr ((CARRY & CARRY_UV) != 0) {
            (RIGHT ? span_right_u : span_left_u)[y] = int32_t(u);
            (RIGHT ? span_right_v : span_left_v)[y] = int32_t(v);
        }
        if constexpr ((CARRY & CARRY_SHADE) != 0) (RIGHT ? span_right_shade : span_left_shade)[y] = int32_t(shade);
    }

    template <bool RIGHT>
    static void put_vertex(const PolyVertex& p) {
        put<RIGHT>(p.screen_y, p.screen_x, uint32_t(p.u), uint32_t(p.v), uint32_t(p.shade));
    }

    void start(const PolyVertex& p) {
        put_vertex<false>(p);
        put_vertex<true>(p);
    }

    void limit(const PolyVertex& p) {
        if (is_span_row(p.screen_y)) span_left_x[p.screen_y] = span_right_x[p.screen_y] = p.screen_x;
    }

    template <bool RIGHT>
    void widen(const PolyVertex& p) {
        if (!is_span_row(p.screen_y)) return;
        if (RIGHT ? p.screen_x > span_right_x[p.screen_y] : p.screen_x < span_left_x[p.screen_y])
            put_vertex<RIGHT>(p);
    }

    template <bool RIGHT>
    void begin(const PolyVertex& a, const PolyVertex& b, int64_t steps) {
        if constexpr ((CARRY & CARRY_UV) != 0) {
            u = uint32_t(a.u);
            v = uint32_t(a.v);
            du = uint32_t(interpolation_step(a.u, b.u, steps));
            dv = uint32_t(interpolation_step(a.v, b.v, steps));
        }
        if constexpr ((CARRY & CARRY_SHADE) != 0) {
            shade = uint32_t(a.shade);
            dshade = uint32_t(interpolation_step(a.shade, b.shade, steps));
        }
    }

    template <bool RIGHT>
    void at(int64_t y, int64_t x, int64_t k) const {
        const uint32_t n = uint32_t(k);
        put<RIGHT>(y, int32_t(x), u + n * du, v + n * dv, shade + n * dshade);
    }

    template <bool RIGHT>
    void end(const PolyVertex& b) const {
        put_vertex<RIGHT>(b);
    }
};

template <unsigned CARRY>
void scan_with(const PolyVertex* first) {
    SpanRecorder<CARRY> recorder;
    scan_polygon(first, recorder);
}

}  // namespace

void scan_edges_flat(const PolyVertex* first) { scan_with<0>(first); }
void edges_shade(const PolyVertex* first) { scan_with<CARRY_SHADE>(first); }
void edges_tex(const PolyVertex* first) { scan_with<CARRY_UV>(first); }
void edges_tex_shade(const PolyVertex* first) { scan_with<CARRY_UV | CARRY_SHADE>(first); }

int scan_circle(int centre_x, int centre_y, int radius) {
    if (radius <= 0) return 0;
    const int64_t cx = centre_x, cy = centre_y, r = radius;
    if (cx - r > clip_x1 || cx + r < clip_x0 || cy - r > clip_y1 || cy + r < clip_y0) return 0;
    int64_t first = INT64_MAX, last = INT64_MIN;
    // Later writes of a scanline replace earlier ones; runs that miss the clip rectangle are dropped.
    auto put = [&](int64_t y, int64_t half) {
        if (y < clip_y0 || y > clip_y1 || !is_span_row(y) || cx + half < clip_x0 || cx - half > clip_x1) return;
        span_left_x[y] = int32_t(std::max<int64_t>(cx - half, clip_x0));
        span_right_x[y] = int32_t(std::min<int64_t>(cx + half, clip_x1));
        first = std::min(first, y);
        last = std::max(last, y);
    };
    int64_t a = 0, b = r, d = 3 - 2 * r;
    while (a <= b) {
        put(cy + a, b);
        put(cy - a, b);
        if (d < 0) {
            d += 4 * a + 6;
        } else {
            put(cy + b, a);
            put(cy - b, a);
            d += 4 * (a - b) + 10;
            --b;
        }
        ++a;
    }
    if (first > last) return 0;
    span_first = int32_t(first);
    span_last = int32_t(last);
    return 1;
}

}  // namespace vyr
