#include "library/graphics/persp.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "library/graphics/palette.h"
#include "library/graphics/scan.h"
#include "library/graphics/screen.h"

namespace vyr {

double persp_left_w[MAX_SPAN_ROWS], persp_right_w[MAX_SPAN_ROWS];
double persp_left_u[MAX_SPAN_ROWS], persp_right_u[MAX_SPAN_ROWS];
double persp_left_v[MAX_SPAN_ROWS], persp_right_v[MAX_SPAN_ROWS];
double persp_left_shade[MAX_SPAN_ROWS], persp_right_shade[MAX_SPAN_ROWS];

namespace {

constexpr int BLOCK = 16;  // pixels between divisions

// Walks 1/depth and u, v and shade over depth along the edges; records the true values.
struct PerspRecorder {
    static constexpr bool FOLLOWS_SIDE = true;  // as the plain converters: shared edges leave no crack
    double w = 0, u = 0, v = 0, shade = 0;  // u, v and shade times w
    double dw = 0, du = 0, dv = 0, dshade = 0;

    template <bool RIGHT>
    static void put(int64_t y, int32_t x, double w, double u, double v, double shade) {
        if (!is_span_row(y)) return;
        (RIGHT ? span_right_x : span_left_x)[y] = x;
        (RIGHT ? persp_right_w : persp_left_w)[y] = w;
        (RIGHT ? persp_right_u : persp_left_u)[y] = u;
        (RIGHT ? persp_right_v : persp_left_v)[y] = v;
        (RIGHT ? persp_right_shade : persp_left_shade)[y] = shade;
    }

    template <bool RIGHT>
    static void put_vertex(const PolyVertex& p) {
        put<RIGHT>(p.screen_y, p.screen_x, 1.0 / p.y, p.u, p.v, p.shade);
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
        int32_t& x = (RIGHT ? span_right_x : span_left_x)[p.screen_y];
        if (RIGHT ? p.screen_x > x : p.screen_x < x) x = p.screen_x;
    }

    template <bool RIGHT>
    void begin(const PolyVertex& a, const PolyVertex& b, int64_t steps) {
        w = 1.0 / a.y;
        u = a.u * w;
        v = a.v * w;
        shade = a.shade * w;
        const double end_w = 1.0 / b.y;
        dw = (end_w - w) / double(steps);
        du = (b.u * end_w - u) / double(steps);
        dv = (b.v * end_w - v) / double(steps);
        dshade = (b.shade * end_w - shade) / double(steps);
    }

    template <bool RIGHT>
    void at(int64_t y, int64_t x, int64_t k) const {
        const double at_w = w + double(k) * dw;
        put<RIGHT>(y, int32_t(x), at_w, (u + double(k) * du) / at_w, (v + double(k) * dv) / at_w,
                   (shade + double(k) * dshade) / at_w);
    }

    template <bool RIGHT>
    void end(const PolyVertex& b) const {
        put_vertex<RIGHT>(b);
    }
};

// Values beyond 32 bits (from depths near 0) saturate instead of overflowing.
int32_t saturate(double value) {
    if (value >= 2147483647.0) return INT32_MAX;
    if (value > -2147483648.0) return int32_t(value);
    return INT32_MIN;  // and NaN
}

int32_t round_value(double value) { return saturate(std::nearbyint(value)); }

// The texel, u, v and shade stepping of one stretch of pixels.
struct Stretch {
    uint32_t u, v, shade;
    uint32_t du, dv, dshade;
};

// 64 x 64 texels; the coordinates wrap rather than read outside the texture.
template <int FIXED_COUNT>
void paint_stretch(uint8_t* pixel, int32_t count, Stretch s, const uint8_t* texels) {
    const int32_t n = FIXED_COUNT ? FIXED_COUNT : count;
    for (int32_t i = 0; i < n; ++i, s.u += s.du, s.v += s.dv, s.shade += s.dshade)
        pixel[i] = shade_table[uint32_t(texels[((s.v >> 16) & 63) << 6 | ((s.u >> 16) & 63)]) << 8 |
                               ((s.shade >> 23) & 0xFF)];
}

// count pixels from column x with start values and per-pixel steps, cut to x0..x1.
void paint_clipped(uint8_t* row, int64_t x, int64_t count, Stretch s, int32_t x0, int32_t x1, const uint8_t* texels) {
    const int64_t from = std::max<int64_t>(x, x0), to = std::min<int64_t>(x + count - 1, x1);
    if (from > to) return;
    if (from == x && to - from + 1 == BLOCK) {
        paint_stretch<BLOCK>(row + x, BLOCK, s, texels);
        return;
    }
    const uint32_t skipped = uint32_t(from - x);
    s.u += skipped * s.du;
    s.v += skipped * s.dv;
    s.shade += skipped * s.dshade;
    paint_stretch<0>(row + from, int32_t(to - from + 1), s, texels);
}

// A stretch from the start values towards the end values: a block steps by (end - start) >> 4,
// any other stretch by (end - start) / count.
Stretch make_stretch(const int32_t start[3], const int32_t end[3], int64_t count, bool block) {
    int32_t step[3];
    for (int i = 0; i < 3; ++i) {
        const int64_t change = int64_t(end[i]) - start[i];
        step[i] = int32_t(block ? change >> 4 : change / count);
    }
    return {uint32_t(start[0]), uint32_t(start[1]), uint32_t(start[2]),
            uint32_t(step[0]), uint32_t(step[1]), uint32_t(step[2])};
}

}  // namespace

void scan_edges_persp(const PolyVertex* first) {
    PerspRecorder recorder;
    scan_polygon(first, recorder);
}

void draw_spans_persp(const TextureRecord* texture) {
    if (!current_screen) return;
    const uint8_t* texels = texture->texels;
    int32_t top, bottom;
    visible_span_rows(top, bottom);
    for (int32_t y = top; y <= bottom; ++y) {
        int32_t left = span_left_x[y], right = span_right_x[y];
        double w[2] = {persp_left_w[y], persp_right_w[y]};
        double value[2][3] = {{persp_left_u[y], persp_left_v[y], persp_left_shade[y]},
                              {persp_right_u[y], persp_right_v[y], persp_right_shade[y]}};
        if (right < left) {
            std::swap(left, right);
            std::swap(w[0], w[1]);
            std::swap(value[0], value[1]);
        }
        int32_t x0, x1;
        if (!clamp_run(left, right, x0, x1)) continue;
        uint8_t* row = row_table[y];
        int32_t start[3], end[3];
        if (left == right) {
            for (int i = 0; i < 3; ++i) start[i] = saturate(value[0][i]);
            paint_clipped(row, left, 1, make_stretch(start, start, 1, false), x0, x1, texels);
            continue;
        }
        const int64_t width = int64_t(right) - left + 1;
        for (int i = 0; i < 3; ++i) start[i] = round_value(value[0][i]);
        if (width <= BLOCK) {
            for (int i = 0; i < 3; ++i) end[i] = round_value(value[1][i]);
            paint_clipped(row, left, width, make_stretch(start, end, width, false), x0, x1, texels);
            continue;
        }
        // Block k ends at (left + k x d) / (1 + k x dt): the straight line in u/w, v/w, shade/w.
        const int64_t blocks = width / BLOCK, remaining = width % BLOCK;
        const double q = double(BLOCK) / double(width);
        const double dt = (w[1] / w[0] - 1) * q;
        double d[3];
        for (int i = 0; i < 3; ++i) d[i] = (value[1][i] * w[1] / w[0] - value[0][i]) * q;
        auto block_end = [&](int64_t k, int32_t out[3]) {
            for (int i = 0; i < 3; ++i) out[i] = round_value((value[0][i] + double(k) * d[i]) / (1 + double(k) * dt));
        };
        // Only the blocks that reach x0..x1 are worked out.
        const int64_t first_block = std::max<int64_t>(0, (int64_t(x0) - left) / BLOCK);
        const int64_t last_block = std::min<int64_t>(blocks - 1, (int64_t(x1) - left) / BLOCK);
        if (first_block > 0) block_end(first_block, start);
        for (int64_t k = first_block; k <= last_block; ++k) {
            block_end(k + 1, end);
            paint_clipped(row, left + k * BLOCK, BLOCK, make_stretch(start, end, BLOCK, true), x0, x1, texels);
            std::copy(end, end + 3, start);
        }
        const int64_t rest_x = left + blocks * BLOCK;
        if (remaining == 0 || rest_x > x1) continue;
        block_end(blocks, start);
        for (int i = 0; i < 3; ++i) end[i] = round_value(value[1][i]);
        paint_clipped(row, rest_x, remaining, make_stretch(start, end, remaining, false), x0, x1, texels);
    }
}

}  // namespace vyr
