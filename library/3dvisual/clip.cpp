#include "library/3dvisual/clip.h"

#include <cstdlib>
#include <initializer_list>

#include "library/3dvisual/viewport.h"
#include "library/graphics/clip_pass.h"

namespace vyr {

namespace {

constexpr int32_t PLANE_ORDER[] = {OUTCODE_BEHIND, OUTCODE_ABOVE, OUTCODE_BELOW, OUTCODE_RIGHT, OUTCODE_LEFT};

// What a cut interpolates besides the position.
enum class Carry : uint8_t { POSITION, SHADE, TEXTURE };

// How far v lies inside the plane of `bit`; negative outside.
int64_t plane_distance(int32_t bit, const PolyVertex& v) {
    switch (bit) {
    case OUTCODE_BEHIND: return int64_t(v.y) - 1;
    case OUTCODE_ABOVE: return int64_t(v.y) - v.z;
    case OUTCODE_BELOW: return int64_t(v.y) + v.z;
    case OUTCODE_RIGHT: return int64_t(v.y) - v.x;
    default: return int64_t(v.y) + v.x;
    }
}

// Puts the coordinate the plane fixes exactly on it, so rounding cannot leave the point outside.
void put_on_plane(int32_t bit, PolyVertex& v) {
    switch (bit) {
    case OUTCODE_BEHIND: v.y = 1; break;
    case OUTCODE_ABOVE: v.z = v.y; break;
    case OUTCODE_BELOW: v.z = -v.y; break;
    case OUTCODE_RIGHT: v.x = v.y; break;
    default: v.x = -v.y; break;
    }
}

// a + (b - a) x t, t a 1.31 fraction below 1, rounded.
int32_t interpolate(int32_t a, int32_t b, int64_t t) {
    return int32_t(a + (((int64_t(b) - a) * t + (int64_t(1) << 30)) >> 31));
}

// The point where the edge from a to b meets the plane of `bit`, into `out`; false when the edge
// does not cross it soundly (both ends on one side, or a cut beyond b).
bool cut_edge(const PolyVertex& a, const PolyVertex& b, int32_t bit, Carry carry, PolyVertex& out) {
    const int64_t num = plane_distance(bit, a);
    const int64_t den = num - plane_distance(bit, b);
    if ((num ^ den) < 0 || std::llabs(num) > std::llabs(den)) return false;
    if (num == den) {
        out = b;
    } else {
        const int64_t t = (std::llabs(num) << 31) / std::llabs(den);
        out = a;
        out.x = interpolate(a.x, b.x, t);
        out.y = interpolate(a.y, b.y, t);
        out.z = interpolate(a.z, b.z, t);
        if (carry != Carry::POSITION) out.shade = interpolate(a.shade, b.shade, t);
        if (carry == Carry::TEXTURE) {
            out.u = interpolate(a.u, b.u, t);
            out.v = interpolate(a.v, b.v, t);
        }
    }
    put_on_plane(bit, out);
    out.outcode = get_outcode(out.x, out.y, out.z);
    return true;
}

// Moves the outside end p of a line onto the view volume towards q.
bool clip_line_end(PolyVertex& p, const PolyVertex& q) {
    for (int32_t bit : PLANE_ORDER) {
        if (!(p.outcode & bit)) continue;
        PolyVertex cut;
        if (!cut_edge(p, q, bit, Carry::POSITION, cut)) return false;
        p.x = cut.x;
        p.y = cut.y;
        p.z = cut.z;
        p.outcode = cut.outcode;
        if ((p.outcode & bit) || (p.outcode & q.outcode)) return false;
    }
    return p.outcode == 0;
}

PolyVertex clipped_line_ends[2];

struct ClipFamily {
    PoolClipper pool;
    Carry carry;
};

ClipFamily shaded_clipper{{{}, clip_pool}, Carry::SHADE};
ClipFamily textured_clipper{{{}, clip_pool}, Carry::TEXTURE};
ClipFamily face_clipper{{{}, clip_pool}, Carry::TEXTURE};
ClipFamily plain_clipper{{{}, clip_pool}, Carry::POSITION};

// Cuts away every plane in `any`, the OR of the polygon's outcodes; later planes are taken from
// the OR that the earlier cuts leave.
PolyVertex* clip_to_volume(ClipFamily& family, int32_t any, PolyVertex* first, PolyVertex* last) {
    last->next = nullptr;
    for (int32_t bit : PLANE_ORDER) {
        if (!(any & bit)) continue;
        any = clip_pass(family.pool, first, last, bit, [&](const PolyVertex& a, const PolyVertex& b) {
            PolyVertex* cut = take_clip_vertex(family.pool);
            if (!cut_edge(a, b, bit, family.carry, *cut)) abandon_clip(family.pool);
            return cut;
        });
    }
    if (any != 0) abandon_clip(family.pool);
    return first;
}

PolyVertex* project_polygon(ClipFamily& family, PolyVertex* first) {
    int count = 0;
    for (PolyVertex* v = first; v; v = v->next) {
        if (++count > MAX_POLY_VERTICES) abandon_clip(family.pool);  // more than a primitive takes
        project_vertex(*v);
    }
    return first;
}

// Copies raw vertices into the pool in clip form and clips them; null when all lie outside one
// plane.
PolyVertex* copy_and_clip(ClipFamily& family, const PolyVertex* input) {
    PolyVertex* last;
    int32_t any, all;
    PolyVertex* first = copy_into_pool(
        family.pool, input,
        [&](const PolyVertex& in, PolyVertex& v) {
            v.x = in.x;
            v.y = in.y;
            v.z = stretch_up(in.z);
            if (family.carry != Carry::POSITION) v.shade = in.shade;
            if (family.carry == Carry::TEXTURE) {
                v.u = in.u;
                v.v = in.v;
            }
            v.outcode = get_outcode(v.x, v.y, v.z);
        },
        last, any, all);
    if (all != 0) return nullptr;
    return clip_to_volume(family, any, first, last);
}

PolyVertex* clip_in_place(ClipFamily& family, int32_t outcodes, PolyVertex* first, PolyVertex* last,
                          PolyVertex* pool) {
    if (!first || !last) return nullptr;
    return clip_or_none(family.pool, [&] {
        family.pool.next_free = pool;
        return project_polygon(family, clip_to_volume(family, outcodes, first, last));
    });
}

PolyVertex* copy_clip_project(ClipFamily& family, const PolyVertex* first) {
    return clip_or_none(family.pool, [&]() -> PolyVertex* {
        PolyVertex* clipped = copy_and_clip(family, first);
        return clipped ? project_polygon(family, clipped) : nullptr;
    });
}

}  // namespace

int clip_project_line(PolyVertex& a, PolyVertex& b) {
    a.z = stretch_up(a.z);
    b.z = stretch_up(b.z);
    a.outcode = get_outcode(a.x, a.y, a.z);
    b.outcode = get_outcode(b.x, b.y, b.z);
    if (a.outcode & b.outcode) return 0;
    const PolyVertex unclipped_a = a;
    if (a.outcode && !clip_line_end(a, b)) return 0;
    if (b.outcode && !clip_line_end(b, unclipped_a)) return 0;
    project_vertex(a);
    project_vertex(b);
    return 1;
}

int clip_screen_line(PolyVertex** a, PolyVertex** b) {
    if ((*a)->outcode & (*b)->outcode) return 0;
    PolyVertex* end_a = *a;
    PolyVertex* end_b = *b;
    if (end_a->outcode) {
        end_a = &clipped_line_ends[0];
        *end_a = **a;
        if (!clip_line_end(*end_a, **b)) return 0;
        project_vertex(*end_a);
    }
    if (end_b->outcode) {
        end_b = &clipped_line_ends[1];
        *end_b = **b;
        if (!clip_line_end(*end_b, **a)) return 0;
        project_vertex(*end_b);
    }
    *a = end_a;
    *b = end_b;
    return 1;
}

PolyVertex* clip_polygon_shaded(int32_t outcodes, PolyVertex* first, PolyVertex* last, PolyVertex* pool) {
    return clip_in_place(shaded_clipper, outcodes, first, last, pool);
}

PolyVertex* clip_polygon_textured(int32_t outcodes, PolyVertex* first, PolyVertex* last, PolyVertex* pool) {
    return clip_in_place(textured_clipper, outcodes, first, last, pool);
}

PolyVertex* poly_clip_project(int32_t outcodes, PolyVertex* first, PolyVertex* last, PolyVertex* pool) {
    return clip_in_place(face_clipper, outcodes, first, last, pool);
}

PolyVertex* plain_poly_clip_project(int32_t outcodes, PolyVertex* first, PolyVertex* last, PolyVertex* pool) {
    return clip_in_place(plain_clipper, outcodes, first, last, pool);
}

PolyVertex* clip_project_shaded(const PolyVertex* first) { return copy_clip_project(shaded_clipper, first); }
PolyVertex* clip_project_textured(const PolyVertex* first) { return copy_clip_project(textured_clipper, first); }
PolyVertex* clip_project_plain(const PolyVertex* first) { return copy_clip_project(plain_clipper, first); }

PolyVertex* plain_poly_build_clip(const PolyVertex* first) {
    return clip_or_none(plain_clipper.pool, [&] { return copy_and_clip(plain_clipper, first); });
}

}  // namespace vyr
