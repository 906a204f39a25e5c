// The features of the render's current tile, drawn at once while the tiles are walked: they lie
// flat on the ground drawn at once beneath them, before the buffered terrain and objects.
#include <algorithm>

#include "library/3dvisual/clip.h"
#include "library/3dvisual/face_record.h"
#include "library/3dvisual/features.h"
#include "library/3dvisual/grid_offsets.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain_soft.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/visibility.h"
#include "library/3dvisual/world_palette.h"
#include "library/debug/fatal.h"
#include "library/graphics/line.h"
#include "library/graphics/palette.h"
#include "library/graphics/plot_poly.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/maths/vector.h"
#include "platform/accel/draw.h"
#include "platform/accel/pipeline.h"

namespace vyr {

int32_t tile_far_flag = 0;

namespace {

namespace accel = platform::accel;

constexpr const char* SOURCE = "library/3dvisual/feature_draw";
constexpr const char* ILLEGAL_MODE = "Illegal render mode encountered in feature or super feature data.";

constexpr uint32_t WATER_ALPHA = 216;
constexpr uint32_t GOURAUD_PATTERN = 0x85868586;  // colours 134 and 133, whatever the polygon's
constexpr int SHADE_SHIFT = 23;                   // a vertex's shade byte is its shade level
constexpr float DEPTH_RANGE = 65534.0f;           // as the polygon layer's 1/w
constexpr accel::Combine ITERATED_COLOUR = {accel::CombineFunction::LOCAL, accel::CombineFactor::ZERO,
                                            accel::CombineSource::ITERATED, accel::CombineSource::CONSTANT};

uint32_t solid(int colour) { return uint32_t(colour & 0xFF) * 0x01010101u; }

uint32_t distance_of(const PolyVertex& v) { return uint32_t(estimate_distance_3d(v.x, v.y, v.z)); }

// The one colour of a point or line whose distance is that of `v`.
int hazed_colour(const PolyVertex& v, int colour) { return int(get_distance_colour_pattern(distance_of(v), colour) & 0xFF); }

// Each vertex of the stream (only those the far list uses, when `far_only`) at the current tile's
// corner plus the eye-space steps of its bytes, outcoded and, inside the view, projected. Every
// tile is outcoded, even one wholly in view: a vertex may lie off its tile, behind the eye.
void transform_feature_vertices(const uint8_t* stream, PolyVertex* vertices, bool far_only) {
    const ViewOffsetTables& t = view_offset_tables;
    const int count = read_offset16(stream);
    const uint8_t* record = stream + 2;
    for (int i = 0; i < count; ++i) {
        const uint8_t flags = record[0];
        const int length = feature_vertex_bytes(flags);
        if (!far_only || (flags & FEATURE_VERTEX_FAR)) {
            int32_t axes[3];
            for (int axis = 0; axis < 3; ++axis) {
                int32_t sum = tile_corner_eye[axis] + t.coarse[axis][0][record[1]] + t.coarse[axis][1][record[2]];
                if (length >= 5) sum += t.fine[axis][0][record[3]] + t.fine[axis][1][record[4]];
                if (length == 7) sum += t.finest[axis][0][record[5]] + t.finest[axis][1][record[6]];
                axes[axis] = sum;
            }
            PolyVertex& v = vertices[i];
            v.x = axes[0];
            v.y = axes[1];
            v.z = stretch_up(axes[2]);
            v.outcode = get_outcode(v.x, v.y, v.z);
            if (v.outcode == 0) project_vertex(v);
        }
        record += length;
    }
}

float line_oow(const PolyVertex& v) { return 1.0f / (float(v.y) * get_depth_scale() * DEPTH_RANGE + 1.0f); }

accel::Vertex line_end(const PolyVertex& v, int colour) {
    accel::Vertex out{};
    out.x = float(v.screen_x);
    out.y = float(v.screen_y);
    out.oow = line_oow(v);
    const uint8_t* rgb = working_palette + 3 * (colour & 0xFF);
    out.r = rgb[0];
    out.g = rgb[1];
    out.b = rgb[2];
    out.a = 255.0f;
    return out;
}

// A segment between projected points, on whichever screen is drawn to.
void draw_segment(const PolyVertex& a, const PolyVertex& b, int colour) {
    if (!accelerator_flag) return draw_line(colour, a.screen_x, a.screen_y, b.screen_x, b.screen_y);
    accel::set_colour_combine(ITERATED_COLOUR);
    accel::draw_line(line_end(a, colour), line_end(b, colour));
}

// The closed outline of a projected polygon in the pattern's first colour.
void draw_feature_outline(const PolyVertex* first, uint32_t pattern) {
    for (const PolyVertex* a = first; a; a = a->next) {
        const PolyVertex* b = a->next ? a->next : first;
        if (b == a) return;
        draw_segment(*a, *b, int(pattern & 0xFF));
    }
}

// Joins each vertex to the next, cutting the segments that leave the view.
void draw_feature_lines(const uint8_t* indices, int n, PolyVertex* vertices, int colour) {
    if (n == 0) return;
    const int line_colour = hazed_colour(vertices[indices[0]], colour);
    for (int k = 0; k + 1 < n; ++k) {
        PolyVertex* a = &vertices[indices[k]];
        PolyVertex* b = &vertices[indices[k + 1]];
        if ((a->outcode | b->outcode) && !clip_screen_line(&a, &b)) continue;
        draw_segment(*a, *b, line_colour);
    }
}

struct FeaturePolygon {
    int mode, kind, colour, second_colour;
    const uint8_t* indices;
    int n;
};

// Through the colour remap: c1, c2, c1, c2 for a dither, the colour alone for the other modes.
uint32_t pattern_of(const FeaturePolygon& p) {
    if (p.mode == FEATURE_MODE_GOURAUD) return GOURAUD_PATTERN;
    const uint32_t c1 = colour_remap[p.colour & 0xFF];
    if (p.mode != FEATURE_MODE_DITHER) return solid(int(c1));
    return (c1 | uint32_t(colour_remap[p.second_colour & 0xFF]) << 8) * 0x00010001u;
}

void draw_feature_polygon(const FeaturePolygon& p, PolyVertex* vertices) {
    const bool gouraud = p.mode == FEATURE_MODE_GOURAUD;
    const int step = gouraud ? 2 : 1;
    int32_t all = -1, any = 0;
    uint32_t nearest = UINT32_MAX;
    for (int k = 0; k < p.n; ++k) {
        PolyVertex& v = vertices[p.indices[k * step]];
        v.next = k + 1 < p.n ? &vertices[p.indices[(k + 1) * step]] : nullptr;
        if (gouraud) v.shade = int32_t(p.indices[k * step + 1]) << SHADE_SHIFT;
        all &= v.outcode;
        any |= v.outcode;
        nearest = std::min(nearest, distance_of(v));
    }
    if (all != 0) return;
    PolyVertex* list = &vertices[p.indices[0]];
    if (any != 0) {
        PolyVertex* last = &vertices[p.indices[(p.n - 1) * step]];
        list = gouraud ? clip_polygon_shaded(any, list, last, clip_pool)
                       : plain_poly_clip_project(any, list, last, clip_pool);
        if (!list) return;
    }
    const uint32_t pattern = pattern_of(p);
    if (accelerator_flag) {
        draw_feature_outline(list, pattern);
        if (p.kind == FEATURE_RIVER || p.kind == FEATURE_LAKE)
            return draw_poly_translucent(list, int(pattern & 0xFF), WATER_ALPHA);
    }
    switch (p.mode) {
    case FEATURE_MODE_FLAT:
        // On the 8-bit screen the ground hazes with distance, and the feature with it.
        return draw_poly_flat(list, accelerator_flag ? pattern : get_distance_colour_pattern(nearest, p.colour));
    case FEATURE_MODE_DITHER: return draw_poly_flat(list, pattern);
    case FEATURE_MODE_STIPPLE: return draw_poly_stipple(list, int(pattern));
    case FEATURE_MODE_SPARSE: return draw_poly_sparse(list, int(pattern));
    default: return draw_poly_gouraud(list, pattern);
    }
}

// Every record of a polygon list in order, by its render mode.
void draw_feature(const uint8_t* polygons, PolyVertex* vertices) {
    const int count = read_offset16(polygons);
    const uint8_t* record = polygons + 2;
    for (int i = 0; i < count; ++i) {
        FeaturePolygon p{record[0], record[1], record[3], 0, nullptr, record[2]};
        const bool dither = p.mode == FEATURE_MODE_DITHER;
        if (dither) p.second_colour = record[4];
        p.indices = record + 4 + dither;
        record = p.indices + p.n * (p.mode == FEATURE_MODE_GOURAUD ? 2 : 1);
        switch (p.mode) {
        case FEATURE_MODE_POINTS:
            for (int k = 0; k < p.n; ++k) {
                const PolyVertex& v = vertices[p.indices[k]];
                if (v.outcode == 0) draw_point(v.screen_x, v.screen_y, hazed_colour(v, p.colour));
            }
            break;
        case FEATURE_MODE_LINES: draw_feature_lines(p.indices, p.n, vertices, p.colour); break;
        case FEATURE_MODE_FLAT:
        case FEATURE_MODE_DITHER:
        case FEATURE_MODE_STIPPLE:
        case FEATURE_MODE_SPARSE:
        case FEATURE_MODE_GOURAUD: draw_feature_polygon(p, vertices); break;
        default: report_fatal_error("%s", SOURCE, __LINE__, ILLEGAL_MODE);
        }
    }
}

}  // namespace

void draw_tile_features() {
    if (render_tile_x < 0 || render_tile_x >= FEATURE_TILES || render_tile_y < 0 || render_tile_y >= FEATURE_TILES) return;
    const FeatureEntry* entry = feature_layer[render_tile_x][render_tile_y];
    if (!entry || !entry->vertices) return;
    const bool far = tile_far_flag && entry->far_polygons;
    const uint8_t* polygons = far ? entry->far_polygons : entry->polygons;
    if (!polygons) return;
    PolyVertex vertices[MAX_FEATURE_VERTICES];
    transform_feature_vertices(entry->vertices, vertices, far);
    draw_feature(polygons, vertices);
}

// Super features serve the plan map and the ground query; in the 3D view the far ground shows
// through its own terrain and fog.
void draw_far_block_features() {}

}  // namespace vyr
