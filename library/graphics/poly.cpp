#include "library/graphics/poly.h"

#include <algorithm>
#include <cmath>

#include "library/graphics/display.h"
#include "library/graphics/line.h"
#include "library/graphics/palette.h"
#include "library/graphics/persp.h"
#include "library/graphics/poly_accel.h"
#include "library/graphics/scan.h"
#include "library/graphics/screen.h"
#include "library/graphics/spans.h"
#include "platform/accel/framebuffer.h"

namespace vyr {

int poly_count = 0;

namespace {

constexpr float DEPTH_UNIT = 4194304.0f;  // 2^22
// Luminance weights 0.30, 0.59 and 0.11 as 1.31 fractions.
constexpr int64_t LUMINANCE_RED = 0x26666666;
constexpr int64_t LUMINANCE_GREEN = 0x4B851EB7;
constexpr int64_t LUMINANCE_BLUE = 0x0E147AE1;

float depth_factor = 0.0f;

// Counts a polygon about to be drawn; false when there is none.
bool count_polygon(const PolyVertex* vertices) {
    if (!vertices) return false;
    ++poly_count;
    return true;
}

bool is_tinting_class(int32_t effect_class) {
    return effect_class == 1 || effect_class == 3 || effect_class == 5 || effect_class == 7 || effect_class == 8;
}

// Cuts the line to the columns 0..width-1 and rows 0..height-1; false when none of it is there.
bool clip_to_target(double& x1, double& y1, double& x2, double& y2, int width, int height) {
    double t0 = 0.0, t1 = 1.0;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1, width - 1 - x1, y1, height - 1 - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
    const double ax = x1, ay = y1;
    x1 = ax + t0 * dx;
    y1 = ay + t0 * dy;
    x2 = ax + t1 * dx;
    y2 = ay + t1 * dy;
    return true;
}

using LineFunction = void (*)(int colour, int x1, int y1, int x2, int y2);

void draw_outline_edges(const PolyVertex* first, int colour, int width, int height, LineFunction line) {
    const PolyVertex* a = first;
    for (int count = 1;; ++count) {
        const PolyVertex* b = a->next && count < MAX_POLY_VERTICES ? a->next : first;
        double x1 = a->screen_x, y1 = a->screen_y, x2 = b->screen_x, y2 = b->screen_y;
        if (clip_to_target(x1, y1, x2, y2, width, height)) {
            auto at = [](double value, int limit) { return std::clamp(int(std::lround(value)), 0, limit - 1); };
            line(colour, at(x1, width), at(y1, height), at(x2, width), at(y2, height));
        }
        if (b == first) return;
        a = b;
    }
}

bool has_texels(const TextureRecord* texture) { return texture && texture->texels; }

void draw_flat(const PolyVertex* vertices, uint32_t pattern, PolyDepth depth) {
    if (!count_polygon(vertices)) return;
    if (accelerator_flag) return accel_poly_flat(vertices, int(pattern), depth);
    scan_edges_flat(vertices);
    draw_spans_flat(pattern);
}

void draw_gouraud(const PolyVertex* vertices, uint32_t pattern, PolyDepth depth) {
    if (!count_polygon(vertices)) return;
    if (accelerator_flag) return accel_poly_gouraud(vertices, int(pattern), depth);
    edges_shade(vertices);
    draw_spans_gouraud(pattern);
}

// The textured primitives share one road: counted; drawn by the accelerator while it is on;
// otherwise scan-converted by `edges` and filled by `fill` when the texture has texels.
template <class Fill>
void draw_textured(const PolyVertex* vertices, const TextureRecord* texture, void (*edges)(const PolyVertex*),
                   Fill fill) {
    if (!count_polygon(vertices)) return;
    if (accelerator_flag) return accel_poly_textured(vertices);
    if (!has_texels(texture)) return;
    edges(vertices);
    fill();
}

// The patterned flat fills become plain flat polygons on the accelerator.
void draw_flat_pattern(const PolyVertex* vertices, int colour, void (*fill)(uint32_t)) {
    if (accelerator_flag) return draw_flat(vertices, uint32_t(colour), PolyDepth::DEPTH);
    if (!vertices) return;
    scan_edges_flat(vertices);
    fill(uint32_t(colour));
}

}  // namespace

void set_depth_scale(int n) {
    if (n >= 1) depth_factor = 1.0f / (float(n) * DEPTH_UNIT);
}

float get_depth_scale() { return depth_factor; }

void draw_poly_flat(const PolyVertex* vertices, uint32_t pattern) { draw_flat(vertices, pattern, PolyDepth::DEPTH); }

void draw_poly_flat_overlay(const PolyVertex* vertices, uint32_t pattern) {
    draw_flat(vertices, pattern, PolyDepth::OVERLAY);
}

void draw_poly_gouraud(const PolyVertex* vertices, uint32_t pattern) {
    draw_gouraud(vertices, pattern, PolyDepth::DEPTH);
}

void draw_poly_gouraud_overlay(const PolyVertex* vertices, uint32_t pattern) {
    draw_gouraud(vertices, pattern, PolyDepth::OVERLAY);
}

void draw_poly_textured(const PolyVertex* vertices, const TextureRecord* texture) {
    draw_textured(vertices, texture, edges_tex, [&] { draw_spans_tex_plain(texture); });
}

void draw_poly_textured_shaded(const PolyVertex* vertices, int32_t shade, const TextureRecord* texture) {
    draw_textured(vertices, texture, edges_tex, [&] { draw_spans_tex_lit(shade, texture); });
}

void draw_poly_textured_gouraud(const PolyVertex* vertices, const TextureRecord* texture) {
    draw_textured(vertices, texture, edges_tex_shade, [&] { draw_spans_tex_gouraud(texture); });
}

void draw_poly_textured_accel(const PolyVertex* vertices) {
    if (count_polygon(vertices) && accelerator_flag) accel_poly_textured(vertices);
}

void draw_poly_textured_persp(const PolyVertex* vertices, const TextureRecord* texture) {
    draw_textured(vertices, texture, scan_edges_persp, [&] { draw_spans_persp(texture); });
}

void draw_poly_masked(const PolyVertex* vertices, const TextureRecord* texture) {
    draw_textured(vertices, texture, edges_tex, [&] { draw_spans_tex_transparent_plain(texture); });
}

void draw_poly_masked_shaded(const PolyVertex* vertices, int32_t shade, const TextureRecord* texture) {
    draw_textured(vertices, texture, edges_tex, [&] { draw_spans_tex_transparent(shade, texture); });
}

void draw_poly_masked_gouraud(const PolyVertex* vertices, const TextureRecord* texture) {
    draw_textured(vertices, texture, edges_tex_shade, [&] { draw_spans_tex_transparent_gouraud(texture); });
}

void draw_poly_textured_remap(const PolyVertex* vertices, const TextureRecord* texture, const uint8_t* table_a,
                              const uint8_t* table_b) {
    if (!table_a || !table_b) texture = nullptr;  // nothing to remap through: counted, not drawn
    draw_textured(vertices, texture, edges_tex, [&] { draw_spans_tex_special(table_a, table_b, texture); });
}

void draw_poly_stipple(const PolyVertex* vertices, int colour) { draw_flat_pattern(vertices, colour, draw_spans_stipple); }

void draw_poly_columns(const PolyVertex* vertices, int colour) {
    draw_flat_pattern(vertices, colour, draw_spans_alternate);
}

void draw_poly_sparse(const PolyVertex* vertices, int colour) {
    draw_flat_pattern(vertices, colour, draw_spans_stipple_quarter);
}

void draw_poly_remap(const PolyVertex* vertices, const uint8_t* table) {
    if (!count_polygon(vertices)) return;
    if (accelerator_flag) return accel_poly_remap(vertices);
    if (!table) return;
    scan_edges_flat(vertices);
    draw_spans_remap(table);
}

void draw_poly_shimmer(const PolyVertex* vertices) {
    if (accelerator_flag || !count_polygon(vertices)) return;
    scan_edges_flat(vertices);
    draw_spans_shimmer(SHIMMER_PATTERNS[frame_phase & 3]);
}

void draw_point(int x, int y, int colour) {
    if (accelerator_flag) return accel_point(x, y, colour);
    if (current_screen && x >= 0 && x < screen_width && y >= 0 && y < screen_height) row_table[y][x] = uint8_t(colour);
}

void draw_poly_outline(const PolyVertex* vertices, int colour) {
    if (!vertices) return;
    if (!accelerator_flag) {
        if (current_screen) draw_outline_edges(vertices, colour, screen_width, screen_height, draw_line);
        return;
    }
    if (!accel_lock_frame_buffer()) return;
    draw_outline_edges(vertices, colour, platform::accel::SCREEN_WIDTH, platform::accel::SCREEN_HEIGHT, draw_line32);
    accel_unlock_frame_buffer();
}

void tint_by_palette_effects(float intensity, float& red, float& green, float& blue) {
    float c[3] = {intensity, intensity, intensity};
    float fraction = 0.0f;
    for (const PaletteEffect* effect = get_palette_effect_list(); effect; effect = effect->next) {
        if (effect->level <= 0 || !is_tinting_class(effect->effect_class)) continue;
        fraction = float(effect->level) / 2147483648.0f;
        const int32_t target[3] = {effect->red, effect->green, effect->blue};
        if (effect->kind == EFFECT_BLEND) {
            for (int k = 0; k < 3; ++k) c[k] += (float(target[k] >> 16) - c[k]) * fraction;
        } else {
            const int64_t lum = (int64_t(c[0]) * LUMINANCE_RED + int64_t(c[1]) * LUMINANCE_GREEN +
                                 int64_t(c[2]) * LUMINANCE_BLUE + (int64_t(1) << 30)) >> 31;
            for (int k = 0; k < 3; ++k) c[k] = target[k] ? float(lum) : 0.0f;
        }
    }
    for (float& component : c) component = std::min(255.0f - (255.0f - component) * (1.0f - fraction), 255.0f);
    red = c[0];
    green = c[1];
    blue = c[2];
}

int is_point_in_poly(const PolyVertex* vertices, int x, int y) {
    if (!vertices) return 0;
    const PolyVertex* a = vertices;
    for (int count = 1;; ++count) {
        const PolyVertex* b = a->next && count < MAX_POLY_VERTICES ? a->next : vertices;
        // Differences of 33 bits: their products need more than 64.
        using Wide = __int128;
        const Wide side = Wide(int64_t(b->x) - x) * (int64_t(a->y) - b->y) - Wide(int64_t(a->x) - b->x) * (int64_t(b->y) - y);
        if (side < 0) return 0;
        if (b == vertices) return 1;
        a = b;
    }
}

}  // namespace vyr
