#include "library/graphics/plot.h"

#include <algorithm>
#include <limits>

#include "library/graphics/screen.h"
#include "library/maths/trig.h"

namespace vyr {

PlotWindow current_plot = {
    .screen_x0 = 0, .screen_y0 = 0, .screen_x1 = 319, .screen_y1 = 239,
    .centre_x = 0, .centre_y = 0,
    .world_x0 = -10000, .world_y0 = -10000, .world_x1 = 10000, .world_y1 = 10000,
    .offset_x = 0, .offset_y = 0,
    .offset_less_centre_x = 0, .offset_less_centre_y = 0,
    .centre_less_world_x = 0, .centre_less_world_y = 0,
    .x_scale = 0, .y_scale = 0,
    .angle = 0, .sine = 0, .cosine = FIXED_ONE,
};

namespace {

// n x 2^31 / d, truncated; 0 for a window of no size, and held to 32 bits where a tiny window
// would overflow them.
int32_t ratio31(int32_t n, int32_t d, bool negate) {
    if (d == 0) return 0;
    int64_t quotient = (int64_t(n) << 31) / d;
    if (negate) quotient = -quotient;
    return int32_t(std::clamp<int64_t>(quotient, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

void derive_scales() {
    PlotWindow& p = current_plot;
    p.x_scale = ratio31(plot_subtract(p.screen_x1, p.screen_x0), plot_subtract(p.world_x1, p.world_x0), false);
    p.y_scale = ratio31(plot_subtract(p.screen_y1, p.screen_y0), plot_subtract(p.world_y1, p.world_y0), true);
}

void derive_offset_words() {
    PlotWindow& p = current_plot;
    p.offset_less_centre_x = plot_subtract(p.offset_x, p.centre_x);
    p.offset_less_centre_y = plot_subtract(p.offset_y, p.centre_y);
    p.centre_less_world_x = plot_subtract(p.centre_x, p.world_x0);
    p.centre_less_world_y = plot_subtract(p.centre_y, p.world_y0);
}

void store_screen_rect(int x, int y, int width, int height) {
    PlotWindow& p = current_plot;
    p.screen_x0 = x;
    p.screen_y0 = y;
    p.screen_x1 = plot_subtract(plot_add(x, width), 1);
    p.screen_y1 = plot_subtract(plot_add(y, height), 1);
    set_clip_rect(p.screen_x0, p.screen_y0, p.screen_x1, p.screen_y1);
}

void store_world_window(int x0, int y0, int x1, int y1) {
    PlotWindow& p = current_plot;
    p.world_x0 = x0;
    p.world_y0 = y0;
    p.world_x1 = x1;
    p.world_y1 = y1;
    p.centre_x = int32_t((int64_t(x0) + x1) / 2);
    p.centre_y = int32_t((int64_t(y0) + y1) / 2);
    derive_offset_words();
}

// Offset, then turned about the origin; each result rounded once from its 64-bit sum.
void rotate_offset_point(int32_t x, int32_t y, int32_t& rx, int32_t& ry) {
    const PlotWindow& p = current_plot;
    x = plot_add(x, p.offset_less_centre_x);
    y = plot_add(y, p.offset_less_centre_y);
    rx = round31(mul64(x, p.cosine) - mul64(y, p.sine));
    ry = round31(mul64(x, p.sine) + mul64(y, p.cosine));
}

}  // namespace

void set_plot(int x, int y, int width, int height, int world_x0, int world_y0, int world_x1,
              int world_y1) {
    store_screen_rect(x, y, width, height);
    store_world_window(world_x0, world_y0, world_x1, world_y1);
    derive_scales();
}

void set_plot_screen_rect(int x, int y, int width, int height) {
    store_screen_rect(x, y, width, height);
    derive_scales();
}

void set_plot_world_window(int x0, int y0, int x1, int y1) {
    store_world_window(x0, y0, x1, y1);
    derive_scales();
}

void set_plot_offset(int x, int y) {
    current_plot.offset_x = x;
    current_plot.offset_y = y;
    derive_offset_words();
}

void set_plot_centre(int x, int y) {
    PlotWindow& p = current_plot;
    p.centre_x = x;
    p.centre_y = y;
    p.offset_less_centre_x = p.offset_less_centre_y = 0;
    p.centre_less_world_x = p.centre_less_world_y = 0;
}

void set_plot_rotation(uint32_t angle) {
    current_plot.angle = int32_t(angle);
    current_plot.sine = lookup_sin(angle);
    current_plot.cosine = lookup_cos(angle);
}

void map_screen_to_plot(int screen_x, int screen_y, int32_t& world_x, int32_t& world_y) {
    const PlotWindow& p = current_plot;
    int32_t a = plot_subtract(ratio31(plot_subtract(screen_x, p.screen_x0), p.x_scale, false),
                              p.centre_less_world_x);
    int32_t b = plot_subtract(ratio31(plot_subtract(screen_y, p.screen_y1), p.y_scale, false),
                              p.centre_less_world_y);
    int32_t minus_sine = plot_subtract(0, p.sine);
    world_x = plot_subtract(plot_subtract(mul31(a, p.cosine), mul31(b, minus_sine)), p.offset_less_centre_x);
    world_y = plot_subtract(plot_add(mul31(a, minus_sine), mul31(b, p.cosine)), p.offset_less_centre_y);
}

void save_plot(PlotWindow& record) { record = current_plot; }

void restore_plot(const PlotWindow& record) {
    current_plot = record;
    set_clip_rect(record.screen_x0, record.screen_y0, record.screen_x1, record.screen_y1);
}

void fill_plot(uint32_t pattern) {
    const PlotWindow& p = current_plot;
    fill_rect(pattern, p.screen_x0, p.screen_y0, plot_subtract(p.screen_x1, p.screen_x0) + 1,
              plot_subtract(p.screen_y1, p.screen_y0) + 1);
}

int classify_plot_points(const int32_t* x, const int32_t* y, int n) {
    int32_t all = ~0, any = 0;
    for (int i = 0; i < n; ++i) {
        int32_t code = plot_outcode(x[i], y[i]);
        all &= code;
        any |= code;
    }
    if (all != 0) return PLOT_ALL_OUTSIDE;
    return any == 0 ? PLOT_ALL_INSIDE : PLOT_PARTLY_INSIDE;
}

void blit_additive(int key_colour, int x, int y, const Sprite* sprite) {
    if (!current_screen) return;
    int64_t left = std::max<int64_t>({x, clip_x0, 0});
    int64_t top = std::max<int64_t>({y, clip_y0, 0});
    int64_t right = std::min<int64_t>({int64_t(x) + sprite->width - 1, clip_x1, screen_width - 1});
    int64_t bottom = std::min<int64_t>({int64_t(y) + sprite->height - 1, clip_y1, screen_height - 1});
    for (int64_t row = top; row <= bottom; ++row) {
        const uint8_t* source = sprite->pixels + (row - y) * sprite->width + (left - x);
        uint8_t* target = row_table[row];
        for (int64_t column = left; column <= right; ++column, ++source) {
            if (*source != 0 && target[column] != key_colour) target[column] = uint8_t(target[column] + *source);
        }
    }
}

void rotate_into_plot(int32_t x, int32_t y, int32_t& window_x, int32_t& window_y) {
    int32_t rx, ry;
    rotate_offset_point(x, y, rx, ry);
    window_x = plot_add(rx, current_plot.centre_x);
    window_y = plot_add(ry, current_plot.centre_y);
}

void project_plot_point(int32_t x, int32_t y, int32_t& screen_x, int32_t& screen_y) {
    const PlotWindow& p = current_plot;
    int32_t rx, ry;
    rotate_offset_point(x, y, rx, ry);
    screen_x = plot_add(mul31(plot_add(rx, p.centre_less_world_x), p.x_scale), p.screen_x0);
    screen_y = plot_add(mul31(plot_add(ry, p.centre_less_world_y), p.y_scale), p.screen_y1);
}

}  // namespace vyr
