#include "library/graphics/plot_poly.h"

#include <initializer_list>

#include "library/graphics/clip_pass.h"
#include "library/graphics/plot.h"
#include "library/graphics/poly.h"

namespace vyr {

PolyVertex clip_pool[CLIP_POOL_SIZE];

namespace {

struct Family {
    PoolClipper pool;
    bool shaded;  // the shade is carried along the cuts
};

Family plain_family{{{}, clip_pool}, false};
Family shaded_family{{{}, clip_pool}, true};

// A window edge: the coordinate it fixes, the one that runs along it, and where it lies.
struct Edge {
    int32_t PolyVertex::*fixed;
    int32_t PolyVertex::*along;
    int32_t at;
};

Edge window_edge(int32_t bit) {
    bool across_y = bit & (PLOT_ABOVE | PLOT_BELOW);
    if (across_y) return {&PolyVertex::y, &PolyVertex::x, plot_edge(bit)};
    return {&PolyVertex::x, &PolyVertex::y, plot_edge(bit)};
}

// Where the edge from a to b crosses the window edge.
PolyVertex* cut_edge(Family& family, const PolyVertex& a, const PolyVertex& b, const Edge& edge) {
    if (a.*edge.fixed == b.*edge.fixed) abandon_clip(family.pool);
    PolyVertex* v = take_clip_vertex(family.pool);
    v->*edge.along = cut_at_edge(a.*edge.along, b.*edge.along, a.*edge.fixed, b.*edge.fixed, edge.at);
    v->*edge.fixed = edge.at;
    if (family.shaded) v->shade = cut_at_edge(a.shade, b.shade, a.*edge.fixed, b.*edge.fixed, edge.at);
    v->outcode = plot_outcode(v->x, v->y);
    return v;
}

PolyVertex* clip_and_convert(Family& family, int32_t any, PolyVertex* first, PolyVertex* last) {
    last->next = nullptr;
    for (int32_t bit : {PLOT_ABOVE, PLOT_BELOW, PLOT_RIGHT, PLOT_LEFT}) {
        if (!(any & bit)) continue;
        const Edge edge = window_edge(bit);
        any = clip_pass(family.pool, first, last, bit,
                        [&](const PolyVertex& a, const PolyVertex& b) { return cut_edge(family, a, b, edge); });
    }
    if (any != 0) abandon_clip(family.pool);
    int count = 0;
    for (PolyVertex* v = first; v; v = v->next) {
        if (++count > MAX_POLY_VERTICES) abandon_clip(family.pool);
        v->screen_x = plot_screen_x(v->x);
        v->screen_y = plot_screen_y(v->y);
    }
    return first;
}

// The world polygon copied into the pool in window coordinates, then clipped and converted.
PolyVertex* copy_and_clip(Family& family, const PolyVertex* input) {
    PolyVertex* last;
    int32_t any, all;
    PolyVertex* first = copy_into_pool(
        family.pool, input,
        [&](const PolyVertex& in, PolyVertex& v) {
            rotate_into_plot(in.x, in.y, v.x, v.y);
            if (family.shaded) v.shade = in.shade;
            v.outcode = plot_outcode(v.x, v.y);
        },
        last, any, all);
    if (all != 0) return nullptr;
    return clip_and_convert(family, any, first, last);
}

}  // namespace

PolyVertex* clip_plot_poly_shaded(const PolyVertex* first) {
    return clip_or_none(shaded_family.pool, [&] { return copy_and_clip(shaded_family, first); });
}

PolyVertex* clip_plot_poly(const PolyVertex* first) {
    return clip_or_none(plain_family.pool, [&] { return copy_and_clip(plain_family, first); });
}

PolyVertex* clip_plot_poly_unrotated(int32_t outcodes, PolyVertex* first, PolyVertex* last,
                                     PolyVertex* pool_position) {
    if (!first || !last) return nullptr;
    return clip_or_none(plain_family.pool, [&] {
        plain_family.pool.next_free = pool_position;
        return clip_and_convert(plain_family, outcodes, first, last);
    });
}

void fill_plot_poly_gouraud(const PolyVertex* first, uint32_t pattern) {
    if (const PolyVertex* clipped = clip_plot_poly_shaded(first)) draw_poly_gouraud(clipped, pattern);
}

void fill_plot_poly_gouraud_flat(const PolyVertex* first, uint32_t pattern) {
    if (const PolyVertex* clipped = clip_plot_poly_shaded(first)) draw_poly_gouraud_overlay(clipped, pattern);
}

void fill_plot_poly(const PolyVertex* first, uint32_t pattern) {
    if (const PolyVertex* clipped = clip_plot_poly(first)) draw_poly_flat(clipped, pattern);
}

void fill_plot_poly_overlay(const PolyVertex* first, uint32_t pattern) {
    if (const PolyVertex* clipped = clip_plot_poly(first)) draw_poly_flat_overlay(clipped, pattern);
}

void fill_plot_poly_stipple(const PolyVertex* first, int colour) {
    if (const PolyVertex* clipped = clip_plot_poly(first)) draw_poly_stipple(clipped, colour);
}

void fill_plot_poly_remap(const PolyVertex* first, const uint8_t* table) {
    if (const PolyVertex* clipped = clip_plot_poly(first)) draw_poly_remap(clipped, table);
}

}  // namespace vyr
