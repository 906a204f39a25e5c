// Clipping against the view volume of the viewport, in eye space with the up coordinate already
// stretched (x right, y depth, z up; inside is |x| <= y, |z| <= y, y > 0), and projection of what
// is left. Cuts are made plane by plane: behind the eye (new points at depth 1), above, below,
// right, left. A cut that cannot be made soundly drops the line or polygon: nothing is drawn and
// nothing is reported.
//
// Polygons are lists of PolyVertex records linked through next and ending in null. The clippers
// relink the input in place and take new vertices from clip_pool, which every polygon clipper
// shares: a result stays valid until the next clip. A polygon that would need more vertices than
// the pool holds is dropped. Each clipper family has its own pool cursor and escape point.
#pragma once

#include <cstdint>

#include "library/graphics/poly_types.h"

namespace vyr {

// Clips the 3D line a-b (up unstretched; both are stretched and outcoded here) and projects both
// ends; 1 when some of it is visible, else 0.
int clip_project_line(PolyVertex& a, PolyVertex& b);
// For ends with outcodes set: each pointer whose end was outside is replaced by a clipped and
// projected copy, kept until the next call; 1 when some of the line is visible, else 0.
int clip_screen_line(PolyVertex** a, PolyVertex** b);

// Polygons already in clip form (up stretched, outcodes set): `outcodes` is the OR of theirs,
// `last` the last vertex, and new vertices come from `pool` on (a place in clip_pool). They
// return the first vertex of the clipped and projected polygon, or null when nothing is left.
// The shaded family carries the shade through cuts, the textured families u, v and the shade.
PolyVertex* clip_polygon_shaded(int32_t outcodes, PolyVertex* first, PolyVertex* last, PolyVertex* pool);
PolyVertex* clip_polygon_textured(int32_t outcodes, PolyVertex* first, PolyVertex* last, PolyVertex* pool);
PolyVertex* poly_clip_project(int32_t outcodes, PolyVertex* first, PolyVertex* last, PolyVertex* pool);
PolyVertex* plain_poly_clip_project(int32_t outcodes, PolyVertex* first, PolyVertex* last, PolyVertex* pool);

// Raw eye-space polygons (up unstretched), left as they are: copied into clip_pool, stretched
// and outcoded, then clipped and projected as above.
PolyVertex* clip_project_shaded(const PolyVertex* first);
PolyVertex* clip_project_textured(const PolyVertex* first);
PolyVertex* clip_project_plain(const PolyVertex* first);
// The same without projection: the clipped eye-space polygon, up still stretched.
PolyVertex* plain_poly_build_clip(const PolyVertex* first);

}  // namespace vyr
