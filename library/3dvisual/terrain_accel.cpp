#include "library/3dvisual/terrain_accel.h"

#include "library/3dvisual/clip.h"
#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/graphics/palette.h"
#include "library/graphics/plot_poly.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "platform/accel/pipeline.h"
#include "platform/accel/textures.h"

namespace vyr {

namespace accel = platform::accel;

namespace {

constexpr int FOG_COLOUR_INDEX = 166;
constexpr int32_t TEXTURE_REPEAT = 4194303;           // 64 texels in 16.16, one unit short
constexpr int32_t FINE_TEXTURE_REPEAT = 46137343;     // eleven repeats across the cell
constexpr int FINE_TEXTURE = 6;
constexpr int FIRST_CLAMPED_TEXTURE = 7;

// The light a normal takes from the view's sun, as a shade (level in bits 23 to 30); 0 facing away.
int32_t light_value(const int8_t normal[3]) {
    const Vector3& l = light_vector;
    const int64_t sum = (int64_t(normal[0]) << 24) * l.x + (int64_t(normal[1]) << 24) * l.y + (int64_t(normal[2]) << 24) * l.z;
    const int64_t value = (sum + (int64_t(1) << 30)) >> 31;
    return value < 1 ? 0 : int32_t(value);
}

void light_vertices(const TerrainTriangle& t) {
    for (int k = 0; k < 3; ++k) t.vertex[k]->shade = light_value(t.post[k]->vertex_normal);
}

void draw_terrain_flat_accel(const BufferNode* node) {
    const TerrainTriangle t = link_terrain_triangle(node);
    const int level = light_value(t.cell->face_normal[t.index]) >> 23 & 255;
    const uint8_t* rgb = working_palette + 3 * shade_table[t.cell->colour[t.index] * 256 + level];
    const RgbColour colour = {rgb[0] * float(level) / 255, rgb[1] * float(level) / 255, rgb[2] * float(level) / 255};
    draw_terrain_triangle(node, t, plain_poly_clip_project, [&](const PolyVertex* v) { draw_poly_rgb_record(v, &colour); });
}

void draw_terrain_gouraud_accel(const BufferNode* node) {
    const TerrainTriangle t = link_terrain_triangle(node);
    light_vertices(t);
    const uint32_t pattern = t.cell->colour[t.index] * 0x01010101u;
    draw_terrain_triangle(node, t, clip_polygon_shaded, [&](const PolyVertex* v) { draw_poly_gouraud(v, pattern); });
}

void draw_terrain_textured_accel(const BufferNode* node) {
    const TerrainTriangle t = link_terrain_triangle(node);
    map_terrain_texture(t, TEXTURE_REPEAT);
    const int number = get_terrain_accel_texture(node);
    draw_terrain_triangle(node, t, poly_clip_project, [&](const PolyVertex* v) { draw_poly_texture_number(v, number); });
}

// The fine texture repeats eleven times across a cell; the cell-sized pictures from 7 on are
// clamped so that their edges do not bleed in from the opposite side.
void draw_terrain_textured_lit_accel(const BufferNode* node) {
    const TerrainTriangle t = link_terrain_triangle(node);
    const int texture = terrain_node_texture(node);
    const bool clamped = texture >= FIRST_CLAMPED_TEXTURE && texture != FINE_TEXTURE;
    accel::set_texture_clamp(clamped ? accel::TextureClamp::CLAMP : accel::TextureClamp::WRAP);
    light_vertices(t);
    map_terrain_texture(t, texture == FINE_TEXTURE ? FINE_TEXTURE_REPEAT : TEXTURE_REPEAT);
    const int number = get_terrain_accel_texture(node);
    draw_terrain_triangle(node, t, poly_clip_project, [&](const PolyVertex* v) { draw_poly_texture_number(v, number); });
}

}  // namespace

TerrainRenderer choose_terrain_renderer_accel(int installed_detail, const BufferNode* node) {
    const int32_t detail = node->payload[TERRAIN_DETAIL];
    const TerrainRenderer textured = terrain_node_texture(node) >= FIRST_SPECIAL_TERRAIN_TEXTURE ? TerrainRenderer::GOURAUD
                                     : installed_detail == 3                   ? TerrainRenderer::TEXTURED_LIT
                                                                               : TerrainRenderer::TEXTURED;
    switch (installed_detail) {
    case 0: return TerrainRenderer::FLAT;
    case 1: return detail > 0 ? TerrainRenderer::GOURAUD : TerrainRenderer::FLAT;
    case 2: return detail == 2 ? textured : detail == 1 ? TerrainRenderer::GOURAUD : TerrainRenderer::FLAT;
    case 3:
        return detail == 2 || detail == 3 ? textured : detail == 1 ? TerrainRenderer::GOURAUD : TerrainRenderer::FLAT;
    default: return TerrainRenderer::NONE;
    }
}

int get_terrain_accel_texture(const BufferNode* node) {
    const int texture = terrain_node_texture(node);
    return terrain_node_post(node).classes & TERRAIN_DIAGONAL ? texture : texture + REGULAR_TERRAIN_TEXTURES;
}

void draw_terrain_node_accel(BufferNode* node) {
    if (accelerator_flag) {
        const uint8_t* fog = working_palette + 3 * FOG_COLOUR_INDEX;
        accel::set_fog_colour(uint32_t(fog[0]) << 24 | uint32_t(fog[1]) << 16 | uint32_t(fog[2]) << 8);
    }
    switch (choose_terrain_renderer_accel(current_view.terrain_detail, node)) {
    case TerrainRenderer::FLAT: return draw_terrain_flat_accel(node);
    case TerrainRenderer::GOURAUD: return draw_terrain_gouraud_accel(node);
    case TerrainRenderer::TEXTURED: return draw_terrain_textured_accel(node);
    case TerrainRenderer::TEXTURED_LIT: return draw_terrain_textured_lit_accel(node);
    case TerrainRenderer::NONE: return;
    }
}

}  // namespace vyr
