#include "library/3dvisual/terrain_soft_tiles.h"

#include <algorithm>
#include <array>

#include "library/3dvisual/clip.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/terrain_soft.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world_palette.h"
#include "library/graphics/palette.h"
#include "library/graphics/plot_poly.h"
#include "library/graphics/poly.h"
#include "library/maths/vector.h"

namespace vyr {

PolyVertex terrain_sub_grid[9][9];

namespace {

constexpr int64_t TILE = int64_t(1) << 22;
constexpr int32_t REPEAT_64 = 4194303;  // 64 texels in 16.16, one unit short
constexpr int32_t REPEAT_32 = 2097151;
constexpr int NO_TEXTURE_COLOUR = 127;
constexpr int TERRAIN_CLASSES = 7;
constexpr int HAZE_TABLE_CLASS = 6;  // width classes 6..9 draw through terrain_haze_tables 0..3

// Per class: the light and dark colours, and the first of its eight fade rows.
constexpr uint8_t CLASS_LIGHT[TERRAIN_CLASSES] = {90, 86, 106, 114, 123, 82, 134};
constexpr uint8_t CLASS_DARK[TERRAIN_CLASSES] = {89, 85, 105, 113, 122, 81, 133};
constexpr uint8_t CLASS_FADE_ROW[TERRAIN_CLASSES] = {170, 180, 190, 200, 210, 220, 230};

constexpr std::array<SubTriangle, 64> order_sub_triangles() {
    std::array<SubTriangle, 64> out{};
    int n = 0;
    for (int l = 0; l < 8; ++l)
        for (int k = 0; k <= 7 - l; ++k) {
            out[size_t(n++)] = {{uint8_t(k), uint8_t(k), uint8_t(k + 1)}, {uint8_t(l + 1), uint8_t(l), uint8_t(l)}};
            if (k != 7 - l)
                out[size_t(n++)] = {{uint8_t(k + 1), uint8_t(k + 1), uint8_t(k)}, {uint8_t(l), uint8_t(l + 1), uint8_t(l + 1)}};
        }
    return out;
}

uint32_t solid(int colour) { return uint32_t(colour & 0xFF) * 0x01010101u; }
// Bytes a, b, a, b from the lowest.
uint32_t pair(int a, int b) { return (uint32_t(a & 0xFF) | uint32_t(b & 0xFF) << 8) * 0x00010001u; }

// Distance of the cell's corner A from the eye.
uint32_t node_distance(const BufferNode* node) {
    const PolyVertex* a = terrain_node_vertex(node, 0, 0);
    return uint32_t(estimate_distance_3d(a->x, a->y, a->z));
}

uint32_t near_end() { return uint32_t(int64_t(terrain_near_tiles) * TILE); }

void draw_terrain_flat_soft(const BufferNode* node) {
    const TerrainTriangle t = link_terrain_triangle(node);
    const int colour = node->payload[TERRAIN_FLAGS] & TERRAIN_NODE_NO_TEXTURE ? NO_TEXTURE_COLOUR : t.cell->colour[t.index];
    const uint32_t pattern = get_distance_colour_pattern(node_distance(node), colour);
    draw_terrain_triangle(node, t, plain_poly_clip_project, [&](const PolyVertex* v) { draw_poly_flat(v, pattern); });
}

void draw_terrain_gouraud_soft(const BufferNode* node) {
    const TerrainTriangle t = link_terrain_triangle(node);
    const int terrain_class = terrain_node_class(node);
    const uint32_t d = node_distance(node);
    uint32_t pattern = pair(CLASS_LIGHT[terrain_class], CLASS_DARK[terrain_class]);
    // The last tile of the near range fades towards the far haze's flat colours.
    if (d > uint32_t(int64_t(terrain_near_tiles - 1) * TILE)) {
        const int fade = int(std::clamp<int64_t>((int64_t(near_end()) - d) >> 19, 0, 7));
        pattern = solid(colour_remap[CLASS_FADE_ROW[terrain_class] + fade]);
    }
    draw_terrain_triangle(node, t, clip_polygon_shaded, [&](const PolyVertex* v) { draw_poly_gouraud(v, pattern); });
}

// The last two tiles of the near range draw their 64 x 64 texture through the hazed colour
// table of their fade level, so the textured ground meets the flat haze beyond without a hole.
void draw_terrain_textured_soft(const BufferNode* node) {
    const TerrainTriangle t = link_terrain_triangle(node);
    const int number = terrain_node_texture(node), set = terrain_texture_set(*t.cell);
    const uint32_t d = node_distance(node);
    if (d <= uint32_t(int64_t(terrain_near_tiles - 2) * TILE)) {
        const bool fine = current_view.terrain_detail == 3;
        const TextureRecord* texture = fine ? get_terrain_texture_64(number, set) : get_terrain_texture_32(number, set);
        map_terrain_texture(t, fine ? REPEAT_64 : REPEAT_32);
        draw_terrain_triangle(node, t, poly_clip_project, [&](const PolyVertex* v) { draw_poly_textured_gouraud(v, texture); });
        return;
    }
    const int fade = int(std::clamp<int64_t>(4 - (int64_t(near_end()) - d) / (TILE / 2), 0, 3));
    TextureRecord hazed = *get_terrain_texture_64(number, set);
    hazed.width_class = HAZE_TABLE_CLASS + fade;
    map_terrain_texture(t, REPEAT_64);
    draw_terrain_triangle(node, t, poly_clip_project, [&](const PolyVertex* v) { draw_poly_textured_gouraud(v, &hazed); });
}

void draw_terrain_textured_near_soft(const BufferNode* node) {
    const TerrainTriangle t = link_terrain_triangle(node);
    const TextureRecord* texture = get_terrain_texture_64(terrain_node_texture(node), terrain_texture_set(*t.cell));
    map_terrain_texture(t, REPEAT_64);
    draw_terrain_triangle(node, t, poly_clip_project, [&](const PolyVertex* v) { draw_poly_textured_persp(v, texture); });
}

// A sub-triangle's fill from its mean light level.
struct SubColours {
    const uint8_t* detail;  // 64 colours, one per sub-triangle; null for the dither of a and b
    int a, b;
    uint32_t pattern(int n, int level) const {
        if (detail) return fill_patterns[shade_table[detail[n] * 256 + level]];
        return pair(shade_table[a * 256 + level], shade_table[b * 256 + level]);
    }
};

// Fills the sub-grid between its three corners: edges stepped from sub (0, 0), inner rows across
// from sub (0, r) to sub (r, 0). The corners stay as they are, shared with the neighbours.
void fill_sub_grid(bool clipping) {
    auto place = [clipping](PolyVertex& v) {
        if (clipping) v.outcode = get_outcode(v.x, v.y, v.z);
        if (!clipping || v.outcode == 0) project_vertex(v);
    };
    const PolyVertex& origin = terrain_sub_grid[0][0];
    for (int edge = 0; edge < 2; ++edge) {
        const PolyVertex& end = edge == 0 ? terrain_sub_grid[8][0] : terrain_sub_grid[0][8];
        const int32_t sx = (end.x - origin.x) >> 3, sy = (end.y - origin.y) >> 3, sz = (end.z - origin.z) >> 3;
        const int32_t ss = (end.shade - origin.shade) >> 3;
        for (int k = 1; k < 8; ++k) {
            const PolyVertex& prev = edge == 0 ? terrain_sub_grid[k - 1][0] : terrain_sub_grid[0][k - 1];
            PolyVertex& v = edge == 0 ? terrain_sub_grid[k][0] : terrain_sub_grid[0][k];
            v.x = prev.x + sx;
            v.y = prev.y + sy;
            v.z = prev.z + sz;
            v.shade = prev.shade + ss;
            place(v);
        }
    }
    for (int r = 2; r <= 8; ++r) {
        const PolyVertex& from = terrain_sub_grid[0][r];
        const PolyVertex& to = terrain_sub_grid[r][0];
        const int32_t sx = int32_t((int64_t(to.x) - from.x) / r), sy = int32_t((int64_t(to.y) - from.y) / r);
        const int32_t sz = int32_t((int64_t(to.z) - from.z) / r), ss = int32_t((int64_t(to.shade) - from.shade) / r);
        for (int k = 1; k < r; ++k) {
            const PolyVertex& prev = terrain_sub_grid[k - 1][r - k + 1];
            PolyVertex& v = terrain_sub_grid[k][r - k];
            v.x = prev.x + sx;
            v.y = prev.y + sy;
            v.z = prev.z + sz;
            v.shade = prev.shade + ss;
            place(v);
        }
    }
}

void draw_sub_triangles(const SubColours& colours, bool clipping) {
    fill_sub_grid(clipping);
    for (int n = 0; n < 64; ++n) {
        const SubTriangle& s = terrain_sub_triangles[n];
        PolyVertex* v[3];
        int64_t shades = 0;
        int32_t and_codes = ~0, or_codes = 0;
        for (int e = 0; e < 3; ++e) {
            v[e] = &terrain_sub_grid[s.k[e]][s.l[e]];
            shades += uint32_t(v[e]->shade);
            and_codes &= v[e]->outcode;
            or_codes |= v[e]->outcode;
        }
        v[0]->next = v[1];
        v[1]->next = v[2];
        v[2]->next = nullptr;
        const int level = int((shades / 3) >> 23) & 0xFF;
        const uint32_t pattern = colours.pattern(n, level);
        if (!clipping || or_codes == 0) {
            draw_poly_flat(v[0], pattern);
        } else if (!and_codes) {
            if (const PolyVertex* clipped = plain_poly_clip_project(or_codes, v[0], v[2], clip_pool))
                draw_poly_flat(clipped, pattern);
        }
    }
}

// Copies the corners into the sub-grid and, when the whole triangle shows, draws its 64 parts.
void draw_near_triangle(const BufferNode* node, const SubColours& colours) {
    const TerrainTriangle t = link_terrain_triangle(node);
    // Drawing order C, A, B (or its turns) is sub (0, 8), sub (0, 0), sub (8, 0).
    terrain_sub_grid[0][8] = *t.vertex[0];
    terrain_sub_grid[0][0] = *t.vertex[1];
    terrain_sub_grid[8][0] = *t.vertex[2];
    const bool clipping = node->payload[TERRAIN_OUTCODES] != 0;
    draw_terrain_triangle(node, t, plain_poly_clip_project, [&](const PolyVertex*) { draw_sub_triangles(colours, clipping); });
}

void draw_terrain_dither_near_soft(const BufferNode* node) {
    const int terrain_class = terrain_node_class(node);
    draw_near_triangle(node, {nullptr, CLASS_LIGHT[terrain_class], CLASS_DARK[terrain_class]});
}

void draw_terrain_detail_near_soft(const BufferNode* node) {
    const TerrainPost& cell = terrain_node_post(node);
    const bool first = node->payload[TERRAIN_FLAGS] & TERRAIN_NODE_FIRST;
    const int block = (first ? 0 : 1) + (cell.classes & TERRAIN_DIAGONAL ? 0 : 2);
    int number = terrain_node_texture(node);
    if (number >= REGULAR_TERRAIN_TEXTURES) number = 0;
    draw_near_triangle(node, {terrain_detail_colours[block][number], 0, 0});
}

}  // namespace

const std::array<SubTriangle, 64> terrain_sub_triangles = order_sub_triangles();

int terrain_node_class(const BufferNode* node) {
    const bool first = node->payload[TERRAIN_FLAGS] & TERRAIN_NODE_FIRST;
    const int bits = terrain_node_post(node).classes >> (first ? 0 : 3) & TERRAIN_CLASS_MASK;
    return bits < TERRAIN_CLASSES ? bits : 0;
}

SoftTerrainRenderer choose_terrain_renderer_soft(int installed_detail, const BufferNode* node) {
    using R = SoftTerrainRenderer;
    const int32_t detail = node->payload[TERRAIN_DETAIL];
    const int32_t flags = node->payload[TERRAIN_FLAGS];
    const bool near = flags & TERRAIN_NODE_NEAR;
    const bool untextured = flags & TERRAIN_NODE_NO_TEXTURE;
    const R lit = near ? R::DITHER_NEAR : R::GOURAUD;
    switch (installed_detail) {
    case 0: return R::FLAT;
    case 1: return detail > 0 ? lit : R::FLAT;
    case 2:
        if (detail == 2) return untextured ? lit : near ? R::DETAIL_NEAR : R::TEXTURED;
        return detail == 1 ? R::GOURAUD : R::FLAT;
    case 3:
        if (detail == 2 || detail == 3) return untextured ? lit : near ? R::TEXTURED_NEAR : R::TEXTURED;
        return detail == 1 ? R::GOURAUD : R::FLAT;
    default: return R::NONE;
    }
}

void draw_terrain_node_soft(BufferNode* node) {
    using R = SoftTerrainRenderer;
    switch (choose_terrain_renderer_soft(current_view.terrain_detail, node)) {
    case R::FLAT: return draw_terrain_flat_soft(node);
    case R::GOURAUD: return draw_terrain_gouraud_soft(node);
    case R::DITHER_NEAR: return draw_terrain_dither_near_soft(node);
    case R::DETAIL_NEAR: return draw_terrain_detail_near_soft(node);
    case R::TEXTURED: return draw_terrain_textured_soft(node);
    case R::TEXTURED_NEAR: return draw_terrain_textured_near_soft(node);
    case R::NONE: return;
    }
}

}  // namespace vyr
