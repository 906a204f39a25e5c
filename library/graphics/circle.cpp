#include "library/graphics/circle.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "library/graphics/poly.h"
#include "library/graphics/scan.h"
#include "library/graphics/screen.h"
#include "library/graphics/spans.h"

namespace vyr {

namespace {

// The eight octant points of each midpoint step; points that coincide come twice.
template <class Plot>
void walk_outline(int64_t cx, int64_t cy, int64_t r, Plot plot) {
    int64_t x = 0, y = r, d = 3 - 2 * r;
    while (x <= y) {
        plot(cx + x, cy + y);
        plot(cx - x, cy + y);
        plot(cx + x, cy - y);
        plot(cx - x, cy - y);
        plot(cx + y, cy + x);
        plot(cx - y, cy + x);
        plot(cx + y, cy - x);
        plot(cx - y, cy - x);
        if (d < 0) {
            d += 4 * x + 6;
        } else {
            d += 4 * (x - y) + 10;
            --y;
        }
        ++x;
    }
}

// Plots the outline inside x0..x1, y0..y1; only a circle that crosses the limits tests its points.
template <class Put>
void draw_outline(int64_t cx, int64_t cy, int64_t r, int64_t x0, int64_t y0, int64_t x1, int64_t y1, Put put) {
    if (cx - r > x1 || cx + r < x0 || cy - r > y1 || cy + r < y0) return;
    if (cx - r >= x0 && cx + r <= x1 && cy - r >= y0 && cy + r <= y1) {
        walk_outline(cx, cy, r, put);
        return;
    }
    walk_outline(cx, cy, r, [&](int64_t x, int64_t y) {
        if (x >= x0 && x <= x1 && y >= y0 && y <= y1) put(x, y);
    });
}

constexpr double RADIANS_PER_DEGREE = 0.01745329252222222;
constexpr int TRANSLUCENT_COLOUR = 224;
constexpr uint32_t TRANSLUCENT_CONSTANT = 0x00000026;
// Far beyond any screen, and well inside the vertices' 32 bits.
constexpr double NO_LIMIT = 1 << 30;

// A polygon round the centre, corner k at `first_degree` + k x `step_degree`, each coordinate
// held to its limits and cut toward zero.
template <int SIDES>
struct CirclePolygon {
    PolyVertex vertices[SIDES] = {};

    CirclePolygon(int cx, int cy, int radius, int first_degree, int step_degree, double x0, double x1, double y0,
                  double y1) {
        for (int k = 0; k < SIDES; ++k) {
            const double angle = (first_degree + k * step_degree) * RADIANS_PER_DEGREE;
            vertices[k].screen_x = int32_t(std::clamp(cx + radius * std::cos(angle), x0, x1));
            vertices[k].screen_y = int32_t(std::clamp(cy + radius * std::sin(angle), y0, y1));
            vertices[k].next = k + 1 < SIDES ? &vertices[k + 1] : nullptr;
        }
    }
};

}  // namespace

void draw_circle(int centre_x, int centre_y, int radius, int colour) {
    if (radius <= 0) return;
    if (accelerator_flag) {
        const uint32_t word = display_colours[colour & 0xFF];
        draw_outline(centre_x, centre_y, radius, clip_x0, clip_y0, clip_x1, clip_y1, [&](int64_t x, int64_t y) {
            std::memcpy(frame_buffer + y * frame_buffer_stride + x * 4, &word, 4);
        });
        return;
    }
    if (!current_screen) return;
    // The target bounds the clip rectangle too, so a stale or oversized one cannot write past it.
    draw_outline(centre_x, centre_y, radius, std::max(clip_x0, 0), std::max(clip_y0, 0),
                 std::min(clip_x1, screen_width - 1), std::min(clip_y1, screen_height - 1),
                 [&](int64_t x, int64_t y) { row_table[y][x] = uint8_t(colour); });
}

void fill_circle(int centre_x, int centre_y, int radius, uint32_t pattern) {
    if (accelerator_flag) {
        const CirclePolygon<18> circle(centre_x, centre_y, radius, 360, -20, -NO_LIMIT, NO_LIMIT, -NO_LIMIT, NO_LIMIT);
        draw_poly_flat_overlay(circle.vertices, pattern);
        return;
    }
    if (scan_circle(centre_x, centre_y, radius)) draw_spans_flat(pattern);
}

void fill_circle_stipple(int centre_x, int centre_y, int radius, int colour) {
    if (scan_circle(centre_x, centre_y, radius)) draw_spans_stipple(uint32_t(colour));
}

void fill_circle_sparse(int centre_x, int centre_y, int radius, int colour) {
    if (scan_circle(centre_x, centre_y, radius)) draw_spans_stipple_quarter(uint32_t(colour));
}

void fill_circle_translucent(int centre_x, int centre_y, int radius, int) {
    if (!accelerator_flag) return;
    const CirclePolygon<36> circle(centre_x, centre_y, radius, 1, 10, clip_x0, clip_x1, clip_y0, clip_y1);
    draw_poly_translucent_overlay(circle.vertices, TRANSLUCENT_COLOUR, TRANSLUCENT_CONSTANT);
}

}  // namespace vyr
