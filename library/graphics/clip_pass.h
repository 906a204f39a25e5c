// What every polygon clipper over clip_pool shares: its cursor into the pool, its escape point,
// and the Sutherland-Hodgman pass that relinks a polygon in place against one edge or plane.
// Anything unsound (no room left in the pool, a pass that leaves nothing or leaves a vertex
// outside) abandons the polygon through the escape point.
#pragma once

#include <cstdint>
#include <functional>

#include "library/graphics/plot_poly.h"
#include "library/system/escape.h"

namespace vyr {

struct PoolClipper {
    EscapePoint escape;
    PolyVertex* next_free;
};

[[noreturn]] inline void abandon_clip(PoolClipper& clipper) { jump_to_escape_point(clipper.escape, 1); }

inline PolyVertex* take_clip_vertex(PoolClipper& clipper) {
    std::less<const PolyVertex*> before;
    if (before(clipper.next_free, clip_pool) || !before(clipper.next_free, clip_pool + CLIP_POOL_SIZE))
        abandon_clip(clipper);
    return clipper.next_free++;
}

// The answer of `clip`, or null when it abandoned the polygon.
template <typename Clip>
PolyVertex* clip_or_none(PoolClipper& clipper, Clip clip) {
    PolyVertex* result = nullptr;
    if (set_escape_point(clipper.escape, [&] { result = clip(); })) return nullptr;
    return result;
}

// Copies a polygon into the pool from its start, linking the copies in order; convert(input,
// copy) fills each copy and its outcode. `any` and `all` get the OR and the AND of the outcodes
// (all bits set for an empty polygon), `last` the last copy. Returns the first copy.
template <typename Convert>
PolyVertex* copy_into_pool(PoolClipper& clipper, const PolyVertex* input, Convert convert, PolyVertex*& last,
                           int32_t& any, int32_t& all) {
    clipper.next_free = clip_pool;
    PolyVertex* first = nullptr;
    last = nullptr;
    any = 0;
    all = ~0;
    for (; input; input = input->next) {
        PolyVertex* v = take_clip_vertex(clipper);
        convert(*input, *v);
        any |= v->outcode;
        all &= v->outcode;
        (last ? last->next : first) = v;
        last = v;
    }
    return first;
}

// One pass against the edge whose outcode bit is `bit`, over the polygon from first to last;
// cut(current, previous) returns a pool vertex where that edge crosses it. Returns the OR of the
// outcodes left.
template <typename Cut>
int32_t clip_pass(PoolClipper& clipper, PolyVertex*& first, PolyVertex*& last, int32_t bit, Cut cut) {
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
        if ((v->outcode ^ previous->outcode) & bit) append(cut(*v, *previous));
        if (!(v->outcode & bit)) append(v);
        previous = v;
        v = following;
    }
    if (!head || (any & bit) || all != 0) abandon_clip(clipper);
    tail->next = nullptr;
    first = head;
    last = tail;
    return any;
}

}  // namespace vyr
