// The plot window: a rectangle of the drawing target showing a window of a world plane, with an
// offset the window follows, a rotation about the window's centre and 1.31 scales. Instruments
// and maps draw world-coordinate shapes through it (plot_draw, plot_poly).
#pragma once

#include <cstdint>

#include "library/graphics/rect.h"
#include "library/maths/vector.h"

namespace vyr {

struct PlotWindow {
    int32_t screen_x0, screen_y0, screen_x1, screen_y1;  // inclusive
    int32_t centre_x, centre_y;
    int32_t world_x0, world_y0, world_x1, world_y1;
    int32_t offset_x, offset_y;
    int32_t offset_less_centre_x, offset_less_centre_y;
    int32_t centre_less_world_x, centre_less_world_y;
    int32_t x_scale, y_scale;  // pixels per world unit, 1.31; the y scale is negative
    int32_t angle;             // binary
    int32_t sine, cosine;      // 1.31
};

// The current window; each cooperative thread has its own copy, swapped at thread switches.
extern PlotWindow current_plot;

// Outcode bits against the world window (8 and 4, 2 and 1 exclusive).
constexpr int32_t PLOT_ABOVE = 8;  // y > world y1
constexpr int32_t PLOT_BELOW = 4;  // y < world y0
constexpr int32_t PLOT_RIGHT = 2;  // x > world x1
constexpr int32_t PLOT_LEFT = 1;   // x < world x0

// classify_plot_points results.
constexpr int PLOT_ALL_OUTSIDE = 0;  // all beyond one edge
constexpr int PLOT_PARTLY_INSIDE = 1;
constexpr int PLOT_ALL_INSIDE = 2;

// Screen rectangle, clip rectangle, world window, centre and scales in one go.
void set_plot(int x, int y, int width, int height, int world_x0, int world_y0, int world_x1,
              int world_y1);
void set_plot_screen_rect(int x, int y, int width, int height);
void set_plot_world_window(int x0, int y0, int x1, int y1);
void set_plot_offset(int x, int y);
// Sets the centre and zeroes the offset and window terms: shapes drawn then turn about the
// centre with no offset.
void set_plot_centre(int x, int y);
// The angle takes the nearest of 8192 steps; the trig tables must be loaded.
void set_plot_rotation(uint32_t angle);

// The world point a screen pixel shows (for mouse picks on maps).
void map_screen_to_plot(int screen_x, int screen_y, int32_t& world_x, int32_t& world_y);

void save_plot(PlotWindow& record);
// Also sets the clip rectangle to the restored screen rectangle.
void restore_plot(const PlotWindow& record);

// Fills the screen rectangle with a four-byte colour pattern.
void fill_plot(uint32_t pattern);

// PLOT_ALL_OUTSIDE, PLOT_PARTLY_INSIDE or PLOT_ALL_INSIDE for n points already in window
// coordinates (no offset or rotation); no points at all count as outside.
int classify_plot_points(const int32_t* x, const int32_t* y, int n);

// Adds each non-zero sprite byte to the 8-bit target byte beneath it (mod 256) except where the
// target holds the key colour; the sprite's top-left lands at (x, y), its hot spot is ignored.
// Clipped to the clip rectangle and the target.
void blit_additive(int key_colour, int x, int y, const Sprite* sprite);

// Shared by the plot primitives.

// 32-bit sums as the window's words wrap; sane coordinates never do.
inline int32_t plot_add(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }
inline int32_t plot_subtract(int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); }

// A world point in window coordinates: offset, rotated about the centre.
void rotate_into_plot(int32_t x, int32_t y, int32_t& window_x, int32_t& window_y);

inline int32_t plot_outcode(int32_t x, int32_t y) {
    const PlotWindow& p = current_plot;
    int32_t code = y > p.world_y1 ? PLOT_ABOVE : y < p.world_y0 ? PLOT_BELOW : 0;
    return code | (x > p.world_x1 ? PLOT_RIGHT : x < p.world_x0 ? PLOT_LEFT : 0);
}

// Where the window edge of an outcode bit lies.
inline int32_t plot_edge(int32_t bit) {
    const PlotWindow& p = current_plot;
    if (bit == PLOT_ABOVE || bit == PLOT_BELOW) return bit == PLOT_ABOVE ? p.world_y1 : p.world_y0;
    return bit == PLOT_RIGHT ? p.world_x1 : p.world_x0;
}

// A point in window coordinates to screen pixels.
inline int32_t plot_screen_x(int32_t x) {
    return plot_add(mul31(plot_subtract(x, current_plot.world_x0), current_plot.x_scale), current_plot.screen_x0);
}
inline int32_t plot_screen_y(int32_t y) {
    return plot_add(mul31(plot_subtract(y, current_plot.world_y0), current_plot.y_scale), current_plot.screen_y1);
}

// A world point straight to screen pixels, unclipped (points, text, circle centres).
void project_plot_point(int32_t x, int32_t y, int32_t& screen_x, int32_t& screen_y);

// Where the segment a-b crosses the line v = edge, along u: a_u + (b_u - a_u) x (edge - a_v) /
// (b_v - a_v), truncated; b_v must differ from a_v.
inline int32_t cut_at_edge(int32_t a_u, int32_t b_u, int32_t a_v, int32_t b_v, int32_t edge) {
    int64_t product = int64_t(plot_subtract(b_u, a_u)) * plot_subtract(edge, a_v);
    return plot_add(a_u, int32_t(product / plot_subtract(b_v, a_v)));
}

}  // namespace vyr
