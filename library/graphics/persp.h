// Perspective-correct textured polygons on the 8-bit target: edges carry 1/depth and the
// texture coordinates and shade over depth; spans divide once every 16 pixels.
#pragma once

#include "library/graphics/poly_types.h"
#include "library/graphics/spans.h"

namespace vyr {

// Per scanline and end: 1/depth, and the true u, v (16.16 texels) and shade at that end.
extern double persp_left_w[MAX_SPAN_ROWS], persp_right_w[MAX_SPAN_ROWS];
extern double persp_left_u[MAX_SPAN_ROWS], persp_right_u[MAX_SPAN_ROWS];
extern double persp_left_v[MAX_SPAN_ROWS], persp_right_v[MAX_SPAN_ROWS];
extern double persp_left_shade[MAX_SPAN_ROWS], persp_right_shade[MAX_SPAN_ROWS];

// Fills the span tables (x) and the tables above for a polygon whose depths are all above 0.
void scan_edges_persp(const PolyVertex* first);
// Paints the spans with a texture of 64 x 64 texels, shaded through the shade table.
void draw_spans_persp(const TextureRecord* texture);

}  // namespace vyr
