// Raw eye-space polygons clipped, projected and handed to one polygon primitive each, when
// something is left and it faces the eye. The input list is left as it is.
#pragma once

#include <cstdint>

#include "library/graphics/poly_types.h"

namespace vyr {

void draw_clipped_gouraud(const PolyVertex* polygon, uint32_t pattern);
// Fading in above the cloud layer, an overlay from below or inside it.
void draw_clipped_cloud(const PolyVertex* polygon, uint32_t pattern);
void draw_clipped_keyed(const PolyVertex* polygon, int number, uint32_t constant_colour, int reference);
void draw_clipped_translucent(const PolyVertex* polygon, int colour, uint32_t constant_colour);
void draw_clipped_glow(const PolyVertex* polygon, float red, float green, float blue, int alpha);
void draw_clipped_texture_number(const PolyVertex* polygon, int number);
void draw_clipped_textured(const PolyVertex* polygon, const TextureRecord* texture);
void draw_clipped_textured_shaded(const PolyVertex* polygon, int32_t shade, const TextureRecord* texture);
void draw_clipped_masked(const PolyVertex* polygon, const TextureRecord* texture);
void draw_clipped_masked_shaded(const PolyVertex* polygon, int32_t shade, const TextureRecord* texture);
void draw_clipped_textured_remap(const PolyVertex* polygon, const TextureRecord* texture, const uint8_t* table_a,
                                 const uint8_t* table_b);

}  // namespace vyr
