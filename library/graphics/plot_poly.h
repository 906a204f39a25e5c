// World-coordinate polygons in the current plot window: copied into the clip pool turned into
// window coordinates, cut against the window's edges (only those some vertex lies beyond),
// converted to pixels and drawn by a polygon primitive. Two families: plain vertices, and
// vertices whose shade is carried along the cuts.
#pragma once

#include <cstdint>

#include "library/graphics/poly_types.h"

namespace vyr {

constexpr int CLIP_POOL_SIZE = 258;

// Scratch vertices shared by every polygon clipper; a polygon is drawn before the next clip
// starts over.
extern PolyVertex clip_pool[CLIP_POOL_SIZE];

// Read x, y (world units) and, in the shaded family, shade; follow next. Return the first pixel
// vertex of the clipped polygon in the pool, or null when nothing is left, when the pool would
// overflow or when more than MAX_POLY_VERTICES are left.
PolyVertex* clip_plot_poly_shaded(const PolyVertex* first);
PolyVertex* clip_plot_poly(const PolyVertex* first);
// For a polygon the caller has put in the pool in window coordinates with outcodes (no offset
// or rotation): `outcodes` is their OR, `last` the last vertex, and new vertices are taken from
// `pool_position` on.
PolyVertex* clip_plot_poly_unrotated(int32_t outcodes, PolyVertex* first, PolyVertex* last,
                                     PolyVertex* pool_position);

// Clip, then draw what is left with the polygon primitive of the same style.
void fill_plot_poly_gouraud(const PolyVertex* first, uint32_t pattern);
void fill_plot_poly_gouraud_flat(const PolyVertex* first, uint32_t pattern);
void fill_plot_poly(const PolyVertex* first, uint32_t pattern);
void fill_plot_poly_overlay(const PolyVertex* first, uint32_t pattern);
void fill_plot_poly_stipple(const PolyVertex* first, int colour);
void fill_plot_poly_remap(const PolyVertex* first, const uint8_t* table);

}  // namespace vyr
