#include "library/graphics/plot_poly.h"

#include <functional>
#include <initializer_list>

#include "library/graphics/plot.h"
#include "library/graphics/poly.h"
#include "library/system/escape.h"

namespace vyr {

PolyVertex clip_pool[CLIP_POOL_SIZE];

namespace {

struct Family {
    EscapePoint escape;
    PolyVertex* next_free;
    bool shaded;  // the shade is carried along the cuts
};

Family plain_family{{}, clip_pool, false};
Family shaded_family{{}, clip_pool, true};

[[noreturn]] void abandon(Family& family) { jump_to_escape_point(family.escape, 1); }

PolyVertex* take_vertex(Family& family) {
    std::less<const PolyVertex*> before;
    if (before(family.next_free, clip_pool) || !before(family.next_free, clip_pool + CLIP_POOL_SIZE))
        abandon(family);
    return family.next_free++;
}

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
    if (a.*edge.fixed == b.*edge.fixed) abandon(family);
    PolyVertex* v = take_vertex(family);
    v->*edge.along = cut_at_edge(a.*edge.along, b.*edge.along, a.*edge.fixed, b.*edge.fixed, edge.at);
    v->*edge.fixed = edge.at;
    if (family.shaded) v->shade = cut_at_edge(a.shade, b.shade, a.*edge.fixed, b.*edge.fixed, edge.at);
    v->outcode = plot_outcode(v->x, v->y);
    return v;
}

// One Sutherland-Hodgman pass against the edge of `bit`, relinking the closed polygon from
// first to last in place; returns the OR of what is left.
int32_t clip_pass(Family& family, PolyVertex*& first, PolyVertex*& last, int32_t bit) {
    Edge edge = window_edge(bit);
    PolyVertex* head = nullptr;
    PolyVertex* tail = nullptr;
    int32_t any = 0, all = ~0;
    auto append = [&](PolyVertex* v) {
        (tail ? tail->next : head) = v;
        tail = v;
        any |= v->outcode;
        all &= v->outcode;
    };
    const PolyVertex* previous = last;
    for (PolyVertex* v = first; v;) {
        PolyVertex* following = v->next;  // read before append relinks v
        if ((v->outcode ^ previous->outcode) & bit) append(cut_edge(family, *v, *previous, edge));
        if (!(v->outcode & bit)) append(v);
        previous = v;
        v = following;
    }
    if (!head || (any & bit) || all != 0) abandon(family);
    tail->next = nullptr;
    first = head;
    last = tail;
    return any;
}

PolyVertex* clip_and_convert(Family& family, int32_t any, PolyVertex* first, PolyVertex* last) {
    last->next = nullptr;
    for (int32_t bit : {PLOT_ABOVE, PLOT_BELOW, PLOT_RIGHT, PLOT_LEFT})
        if (any & bit) any = clip_pass(family, first, last, bit);
    if (any != 0) abandon(family);
    int count = 0;
    for (PolyVertex* v = first; v; v = v->next) {
        if (++count > MAX_POLY_VERTICES) abandon(family);
        v->screen_x = plot_screen_x(v->x);
        v->screen_y = plot_screen_y(v->y);
    }
    return first;
}

// The world polygon copied into the pool in window coordinates, then clipped and converted.
PolyVertex* copy_and_clip(Family& family, const PolyVertex* input) {
    family.next_free = clip_pool;
    PolyVertex* first = nullptr;
    PolyVertex* last = nullptr;
    int32_t any = 0, all = ~0;
    for (; input; input = input->next) {
        PolyVertex* v = take_vertex(family);
        rotate_into_plot(input->x, input->y, v->x, v->y);
        if (family.shaded) v->shade = input->shade;
        v->outcode = plot_outcode(v->x, v->y);
        any |= v->outcode;
        all &= v->outcode;
        (last ? last->next : first) = v;
        last = v;
    }
    if (!first || all != 0) return nullptr;
    return clip_and_convert(family, any, first, last);
}

template <typename Clip>
PolyVertex* clip_or_none(Family& family, Clip clip) {
    PolyVertex* result = nullptr;
    if (set_escape_point(family.escape, [&] { result = clip(); })) return nullptr;
    return result;
}

}  // namespace

PolyVertex* clip_plot_poly_shaded(const PolyVertex* first) {
    return clip_or_none(shaded_family, [&] { return copy_and_clip(shaded_family, first); });
}

PolyVertex* clip_plot_poly(const PolyVertex* first) {
    return clip_or_none(plain_family, [&] { return copy_and_clip(plain_family, first); });
}

PolyVertex* clip_plot_poly_unrotated(int32_t outcodes, PolyVertex* first, PolyVertex* last,
                                     PolyVertex* pool_position) {
    if (!first || !last) return nullptr;
    return clip_or_none(plain_family, [&] {
        plain_family.next_free = pool_position;
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
