// Scan conversion of convex screen polygons and of filled circles into the span tables.
// Polygons wound clockwise on the screen get their left ends in the left arrays: edges running
// down write the right arrays, edges running up the left ones. Scanlines outside the tables are
// not written.
#pragma once

#include <cstdint>

#include "library/graphics/poly_types.h"
#include "library/graphics/spans.h"

namespace vyr {

// x only; x and shade; x, u and v; x, u, v and shade.
void scan_edges_flat(const PolyVertex* first);
void edges_shade(const PolyVertex* first);
void edges_tex(const PolyVertex* first);
void edges_tex_shade(const PolyVertex* first);

// The disc's runs, cut to the clip rectangle; 1 when a scanline was written, 0 when there is
// nothing to draw.
int scan_circle(int centre_x, int centre_y, int radius);

inline bool is_span_row(int64_t y) { return y >= 0 && y < MAX_SPAN_ROWS; }

// The polygon walk shared by the converters. A Recorder keeps the carried values and offers:
//   start(v)            the first vertex: its scanline's both ends
//   limit(v)            a vertex that moves span_first or span_last: x of its scanline's both ends
//   widen<RIGHT>(v)     a horizontal edge ending at v widens its scanline on that side
//   begin<RIGHT>(a, b, steps)   an edge from a to b with `steps` steps along its major axis
//   at<RIGHT>(y, x, k)  the edge's point after k steps, recorded on scanline y
//   end<RIGHT>(b)       the end vertex's own values on its scanline
//   FOLLOWS_SIDE        whether x-major edges moving towards their side record each run's first
//                       pixel (else always the last)
template <bool NEG_X, bool NEG_Y, bool X_MAJOR, class Recorder>
void walk_edge(const PolyVertex& a, const PolyVertex& b, Recorder& recorder) {
    constexpr bool RIGHT = !NEG_Y;
    constexpr int SX = NEG_X ? -1 : 1, SY = NEG_Y ? -1 : 1;
    const int64_t adx = SX * (int64_t(b.screen_x) - a.screen_x);
    const int64_t ady = SY * (int64_t(b.screen_y) - a.screen_y);
    int64_t x = a.screen_x, y = a.screen_y;
    if constexpr (!X_MAJOR) {
        recorder.template begin<RIGHT>(a, b, ady);
        int64_t error = ady / 2;
        for (int64_t k = 0; k < ady; ++k) {
            recorder.template at<RIGHT>(y, x, k);
            y += SY;
            error -= adx;
            if (error <= 0) {
                error += ady;
                x += SX;
            }
        }
        recorder.template at<RIGHT>(y, b.screen_x, ady);
    } else {
        constexpr bool FIRST_OF_RUN = Recorder::FOLLOWS_SIDE && NEG_X != NEG_Y;
        recorder.template begin<RIGHT>(a, b, adx);
        int64_t error = adx / 2;
        if constexpr (FIRST_OF_RUN) recorder.template at<RIGHT>(y, x, 0);
        for (int64_t k = 1; k <= adx; ++k) {
            x += SX;
            error -= ady;
            if (error <= 0) {
                error += adx;
                if constexpr (FIRST_OF_RUN) {
                    y += SY;
                    recorder.template at<RIGHT>(y, x, k);
                } else {
                    recorder.template at<RIGHT>(y, x - SX, k - 1);
                    y += SY;
                }
            }
        }
        if constexpr (!FIRST_OF_RUN) recorder.template end<RIGHT>(b);
    }
}

template <class Recorder>
void scan_polygon(const PolyVertex* first, Recorder& recorder) {
    using Walker = void (*)(const PolyVertex&, const PolyVertex&, Recorder&);
    // By 4 x (dx < 0) + 2 x (dy < 0) + (|dx| > |dy|).
    static constexpr Walker WALKERS[8] = {
        walk_edge<false, false, false, Recorder>, walk_edge<false, false, true, Recorder>,
        walk_edge<false, true, false, Recorder>,  walk_edge<false, true, true, Recorder>,
        walk_edge<true, false, false, Recorder>,  walk_edge<true, false, true, Recorder>,
        walk_edge<true, true, false, Recorder>,   walk_edge<true, true, true, Recorder>,
    };
    span_first = span_last = first->screen_y;
    recorder.start(*first);
    const PolyVertex* a = first;
    for (int count = 1;; ++count) {
        // A list longer than a polygon can be, or one that loops, is closed at its limit.
        const PolyVertex* b = a->next && count < MAX_POLY_VERTICES ? a->next : first;
        if (b->screen_y < span_first || b->screen_y > span_last) {
            (b->screen_y < span_first ? span_first : span_last) = b->screen_y;
            recorder.limit(*b);
        }
        const int64_t dx = int64_t(b->screen_x) - a->screen_x, dy = int64_t(b->screen_y) - a->screen_y;
        if (dy == 0) {
            if (dx > 0) recorder.template widen<true>(*b);
            if (dx < 0) recorder.template widen<false>(*b);
        } else {
            const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
            WALKERS[4 * (dx < 0) + 2 * (dy < 0) + (adx > ady)](*a, *b, recorder);
        }
        if (b == first) return;
        a = b;
    }
}

}  // namespace vyr
