// Features and super features on the plan map: flat shapes in the plot window, with no haze,
// outline or translucency.
#include <array>

#include "library/3dvisual/face_record.h"
#include "library/3dvisual/features.h"
#include "library/3dvisual/grid_offsets.h"
#include "library/3dvisual/plan_map.h"
#include "library/3dvisual/visibility.h"
#include "library/debug/fatal.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/graphics/plot_poly.h"
#include "library/graphics/poly.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/3dvisual/map_features";
constexpr const char* ILLEGAL_MODE = "Illegal render mode encountered in feature or super feature data.";

constexpr std::array<uint8_t, 256> colour_remap() {
    std::array<uint8_t, 256> table{};
    for (auto& c : table) c = 2;
    table[11] = 202;
    table[111] = table[127] = 200;
    return table;
}

// Puts the vertex in the window's frame; only an inside vertex gets pixels (wholly inside
// squares skip the outcodes).
void place_vertex(PolyVertex& v, int32_t u, int32_t w, bool inside) {
    v.x = u;
    v.y = w;
    v.outcode = inside ? 0 : plot_outcode(u, w);
    if (v.outcode == 0) {
        v.screen_x = plot_screen_x(u);
        v.screen_y = plot_screen_y(w);
    }
}

// The sum of one level's two table entries, world x byte and world y byte, along map axis m.
template <typename Table>
int32_t step_of(const Table (&table)[2][2], int m, uint8_t x_byte, uint8_t y_byte) {
    return table[0][m][x_byte] + table[1][m][y_byte];
}

void map_feature_vertices(const uint8_t* stream, const int32_t corner[2], bool inside, PolyVertex* vertices) {
    const PlanMapOffsetTables& t = plan_map_offset_tables;
    const int count = read_offset16(stream);
    const uint8_t* r = stream + 2;
    for (int i = 0; i < count; ++i) {
        const int length = feature_vertex_bytes(r[0]);
        int32_t axis[2];
        for (int m = 0; m < 2; ++m) {
            axis[m] = corner[m] + step_of(t.coarse, m, r[1], r[2]);
            if (length >= 5) axis[m] += step_of(t.fine, m, r[3], r[4]);
            if (length == 7) axis[m] += step_of(t.finest, m, r[5], r[6]);
        }
        place_vertex(vertices[i], axis[0], axis[1], inside);
        r += length;
    }
}

void map_super_vertices(const uint8_t* stream, const int32_t corner[2], bool inside, PolyVertex* vertices) {
    const PlanMapOffsetTables& t = plan_map_offset_tables;
    const int count = read_offset16(stream);
    const uint8_t* r = stream + 2;
    for (int i = 0; i < count; ++i, r += 5) {
        int32_t axis[2];
        for (int m = 0; m < 2; ++m) axis[m] = corner[m] + step_of(t.block, m, r[1], r[2]) + step_of(t.coarse, m, r[3], r[4]);
        place_vertex(vertices[i], axis[0], axis[1], inside);
    }
}

// Joins each vertex to the next, no closing segment; ends off the window are cut on copies.
void draw_map_lines(const uint8_t* indices, int n, const PolyVertex* vertices, int colour) {
    for (int k = 0; k + 1 < n; ++k) {
        const PolyVertex& a = vertices[indices[k]];
        const PolyVertex& b = vertices[indices[k + 1]];
        if (a.outcode & b.outcode) continue;
        if ((a.outcode | b.outcode) == 0) {
            draw_plot_pixel_line(a.screen_x, a.screen_y, b.screen_x, b.screen_y, colour);
            continue;
        }
        int32_t x0 = a.x, y0 = a.y, x1 = b.x, y1 = b.y;
        if (project_plot_line(x0, y0, a.outcode, x1, y1, b.outcode)) draw_plot_pixel_line(x0, y0, x1, y1, colour);
    }
}

void draw_map_polygon(int mode, const uint8_t* indices, int n, PolyVertex* vertices, uint32_t pattern) {
    int32_t all = -1, any = 0;
    for (int k = 0; k < n; ++k) {
        PolyVertex& v = vertices[indices[k]];
        v.next = k + 1 < n ? &vertices[indices[k + 1]] : nullptr;
        all &= v.outcode;
        any |= v.outcode;
    }
    if (all != 0) return;
    PolyVertex* list = &vertices[indices[0]];
    if (any != 0) list = clip_plot_poly_unrotated(any, list, &vertices[indices[n - 1]], clip_pool);
    if (!list) return;
    switch (mode) {
    case FEATURE_MODE_FLAT:
    case FEATURE_MODE_DITHER: return draw_poly_flat(list, pattern);
    case FEATURE_MODE_STIPPLE: return draw_poly_stipple(list, int(pattern));
    default: return draw_poly_sparse(list, int(pattern));
    }
}

void draw_map_feature(const uint8_t* polygons, PolyVertex* vertices) {
    const int count = read_offset16(polygons);
    const uint8_t* record = polygons + 2;
    for (int i = 0; i < count; ++i) {
        const int mode = record[0], n = record[2];
        const uint32_t c1 = plan_map_colour_remap[record[3]];
        const bool dither = mode == FEATURE_MODE_DITHER;
        const uint8_t* indices = record + 4 + dither;
        const uint32_t pattern = dither ? (c1 | uint32_t(plan_map_colour_remap[record[4]]) << 8) * 0x00010001u : c1 * 0x01010101u;
        switch (mode) {
        case FEATURE_MODE_POINTS:
            for (int k = 0; k < n; ++k) {
                const PolyVertex& v = vertices[indices[k]];
                if (v.outcode == 0) draw_point(v.screen_x, v.screen_y, int(c1));
            }
            break;
        case FEATURE_MODE_LINES: draw_map_lines(indices, n, vertices, int(c1)); break;
        case FEATURE_MODE_FLAT:
        case FEATURE_MODE_DITHER:
        case FEATURE_MODE_STIPPLE:
        case FEATURE_MODE_SPARSE:
            if (n > 0) draw_map_polygon(mode, indices, n, vertices, pattern);
            break;
        default: report_fatal_error("%s", SOURCE, __LINE__, ILLEGAL_MODE); return;
        }
        record = indices + n;
    }
}

}  // namespace

const std::array<uint8_t, 256> plan_map_colour_remap = colour_remap();

void draw_map_tile_features() {
    const FeatureEntry* entry = feature_layer[map_tile_x][map_tile_y];
    if (!entry || !entry->vertices || !entry->polygons) return;
    PolyVertex vertices[MAX_FEATURE_VERTICES];
    map_feature_vertices(entry->vertices, map_tile_origin, map_tile_class == PLOT_ALL_INSIDE, vertices);
    draw_map_feature(entry->polygons, vertices);
}

void draw_map_far_block_features() {
    const FeatureEntry* entry = super_layer[map_block_x][map_block_y];
    if (!entry || !entry->vertices || !entry->polygons) return;
    PolyVertex vertices[MAX_FEATURE_VERTICES];
    map_super_vertices(entry->vertices, map_block_corner, map_block_class == PLOT_ALL_INSIDE, vertices);
    draw_map_feature(entry->polygons, vertices);
}

}  // namespace vyr
