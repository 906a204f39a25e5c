#include "library/3dvisual/clip_draw.h"

#include "library/3dvisual/clip.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/graphics/poly.h"

namespace vyr {

namespace {

template <typename Draw>
void draw_facing(const PolyVertex* clipped, Draw draw) {
    if (clipped && get_facing_robust(clipped) >= 0) draw(clipped);
}

}  // namespace

void draw_clipped_gouraud(const PolyVertex* polygon, uint32_t pattern) {
    draw_facing(clip_project_shaded(polygon), [&](const PolyVertex* v) { draw_poly_gouraud(v, pattern); });
}

void draw_clipped_cloud(const PolyVertex* polygon, uint32_t pattern) {
    draw_facing(clip_project_shaded(polygon), [&](const PolyVertex* v) {
        if (sky_state == SKY_ABOVE_CLOUDS)
            draw_poly_gouraud_fade(v, int(pattern & 0xFF), eye_pose.position.z / 256 - cloud_fade_height);
        else
            draw_poly_gouraud_overlay(v, pattern);
    });
}

void draw_clipped_keyed(const PolyVertex* polygon, int number, uint32_t constant_colour, int reference) {
    draw_facing(clip_project_textured(polygon),
                [&](const PolyVertex* v) { draw_poly_keyed(v, number, constant_colour, reference); });
}

void draw_clipped_translucent(const PolyVertex* polygon, int colour, uint32_t constant_colour) {
    draw_facing(clip_project_plain(polygon),
                [&](const PolyVertex* v) { draw_poly_translucent(v, colour, constant_colour); });
}

void draw_clipped_glow(const PolyVertex* polygon, float red, float green, float blue, int alpha) {
    draw_facing(clip_project_plain(polygon), [&](const PolyVertex* v) { draw_poly_glow(v, red, green, blue, alpha); });
}

void draw_clipped_texture_number(const PolyVertex* polygon, int number) {
    draw_facing(clip_project_textured(polygon), [&](const PolyVertex* v) { draw_poly_texture_number(v, number); });
}

void draw_clipped_textured(const PolyVertex* polygon, const TextureRecord* texture) {
    draw_facing(clip_project_textured(polygon), [&](const PolyVertex* v) { draw_poly_textured(v, texture); });
}

void draw_clipped_textured_shaded(const PolyVertex* polygon, int32_t shade, const TextureRecord* texture) {
    draw_facing(clip_project_textured(polygon),
                [&](const PolyVertex* v) { draw_poly_textured_shaded(v, shade, texture); });
}

void draw_clipped_masked(const PolyVertex* polygon, const TextureRecord* texture) {
    draw_facing(clip_project_textured(polygon), [&](const PolyVertex* v) { draw_poly_masked(v, texture); });
}

void draw_clipped_masked_shaded(const PolyVertex* polygon, int32_t shade, const TextureRecord* texture) {
    draw_facing(clip_project_textured(polygon),
                [&](const PolyVertex* v) { draw_poly_masked_shaded(v, shade, texture); });
}

void draw_clipped_textured_remap(const PolyVertex* polygon, const TextureRecord* texture, const uint8_t* table_a,
                                 const uint8_t* table_b) {
    draw_facing(clip_project_textured(polygon),
                [&](const PolyVertex* v) { draw_poly_textured_remap(v, texture, table_a, table_b); });
}

}  // namespace vyr
