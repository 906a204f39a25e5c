// The render primitives of the 3D world and the vector displays. Each takes a screen polygon as
// a list of PolyVertex records (at most MAX_POLY_VERTICES; the last joins back to the first).
// While accelerator_flag is set a primitive draws through the accelerator with its own combine
// and blend state; while it is clear it scan-converts the polygon and paints the current 8-bit
// screen. Primitives that change the accelerator's state put back constant colour 0x000000FF
// (alpha 255), opaque blending and alpha reference 0 before they return.
#pragma once

#include <cstdint>

#include "library/graphics/poly_types.h"

namespace vyr {

// Polygons drawn since the last presented frame.
extern int poly_count;

// The depth factor 1 / (n x 2^22) that turns a vertex depth into the accelerator's 1/w; n is the
// visual range level, and values below 1 are ignored.
void set_depth_scale(int n);
float get_depth_scale();

// Colour patterns are four colour bytes; the accelerator uses the lowest. Overlay forms draw
// without depth (1/w = 1).
void draw_poly_flat(const PolyVertex* vertices, uint32_t pattern);
void draw_poly_flat_overlay(const PolyVertex* vertices, uint32_t pattern);
void draw_poly_gouraud(const PolyVertex* vertices, uint32_t pattern);
void draw_poly_gouraud_overlay(const PolyVertex* vertices, uint32_t pattern);

// Software textures. The accelerator forms draw with the texture source and the vertex colours
// that earlier drawing left.
void draw_poly_textured(const PolyVertex* vertices, const TextureRecord* texture);
void draw_poly_textured_shaded(const PolyVertex* vertices, int32_t shade, const TextureRecord* texture);
void draw_poly_textured_gouraud(const PolyVertex* vertices, const TextureRecord* texture);
// Only the accelerator draws it; in software the polygon is counted and nothing drawn.
void draw_poly_textured_accel(const PolyVertex* vertices);
// Perspective-correct; the texture must have rows of 64 texels and every depth be above 0.
void draw_poly_textured_persp(const PolyVertex* vertices, const TextureRecord* texture);
void draw_poly_masked(const PolyVertex* vertices, const TextureRecord* texture);
void draw_poly_masked_shaded(const PolyVertex* vertices, int32_t shade, const TextureRecord* texture);
void draw_poly_masked_gouraud(const PolyVertex* vertices, const TextureRecord* texture);
void draw_poly_textured_remap(const PolyVertex* vertices, const TextureRecord* texture, const uint8_t* table_a,
                              const uint8_t* table_b);

// Dither patterns in software, plain flat polygons with the accelerator; the software forms are
// not counted.
void draw_poly_stipple(const PolyVertex* vertices, int colour);
void draw_poly_columns(const PolyVertex* vertices, int colour);
void draw_poly_sparse(const PolyVertex* vertices, int colour);
// Recolours what lies under the polygon through `table`; with the accelerator a translucent
// yellow wash.
void draw_poly_remap(const PolyVertex* vertices, const uint8_t* table);
// Software only: the pattern moves with frame_phase.
void draw_poly_shimmer(const PolyVertex* vertices);

// Accelerator only. Texture numbers 0..369 of accel_textures; above 369 nothing is drawn or
// counted. Vertex colour r = g = b = the vertex's shade level.
void draw_poly_texture_number(const PolyVertex* vertices, int number);
// Every vertex in the colour the tinting palette effects make of the first vertex's level.
void draw_poly_texture_tinted(const PolyVertex* vertices, int number);
// The texture's colour; alpha = texel alpha - the constant colour's alpha, drawn above
// `reference` and blended by it.
void draw_poly_keyed(const PolyVertex* vertices, int number, uint32_t constant_colour, int reference);
// Colour from the vertices, blended by the constant colour's alpha.
void draw_poly_translucent_rgb(const PolyVertex* vertices, float red, float green, float blue,
                               uint32_t constant_colour);
void draw_poly_translucent(const PolyVertex* vertices, int colour, uint32_t constant_colour);
void draw_poly_translucent_overlay(const PolyVertex* vertices, int colour, uint32_t constant_colour);
// A flickering glow: alpha / 4 at the first vertex, `alpha` less a random part at the others.
void draw_poly_glow(const PolyVertex* vertices, float red, float green, float blue, int alpha);
// Accelerator only, without depth: colour from the vertices, alpha `centre_alpha` at the first
// vertex and `rim_alpha` at the others, blended by it (a soft disc drawn as a fan).
void draw_poly_soft_rgb(const PolyVertex* vertices, float red, float green, float blue, int centre_alpha,
                        int rim_alpha);
// Cloud layer polygons that fade in with the eye's height in feet above the layer's fade height;
// drawn without depth.
void draw_poly_gouraud_fade(const PolyVertex* vertices, int colour, int32_t feet_above_fade);
struct RgbColour {
    float red, green, blue;
};
void draw_poly_rgb(const PolyVertex* vertices, float red, float green, float blue);
// Leaves the vertices' alpha as earlier drawing left it.
void draw_poly_rgb_record(const PolyVertex* vertices, const RgbColour* colour);

// One pixel; off-target points are not drawn. Not counted.
void draw_point(int x, int y, int colour);
// The closed outline through the vertices' screen points, cut to the target. Not counted.
void draw_poly_outline(const PolyVertex* vertices, int colour);

// What the tinting palette effects make of the grey (I, I, I), as reals 0..255.
void tint_by_palette_effects(float intensity, float& red, float& green, float& blue);

// 1 when (x, y) lies inside or on the polygon of the vertices' x and y fields (eye-space x and
// depth, wound clockwise), else 0.
int is_point_in_poly(const PolyVertex* vertices, int x, int y);

}  // namespace vyr
