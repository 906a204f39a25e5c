#include "library/graphics/plot_draw.h"

#include <initializer_list>

#include "library/graphics/circle.h"
#include "library/graphics/font.h"
#include "library/graphics/line.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_recorder.h"
#include "library/graphics/poly.h"
#include "library/graphics/poly_accel.h"
#include "library/graphics/screen.h"
#include "library/system/escape.h"

namespace vyr {

namespace {

EscapePoint line_escape;

[[noreturn]] void abandon_line() { jump_to_escape_point(line_escape, 1); }

// Moves the end (x, y) with outcode `code` along the line to the other end until it lies on the
// window, edges in the order above, below, right, left; abandons the line when it misses.
void clip_plot_end(int32_t& x, int32_t& y, int32_t code, int32_t other_x, int32_t other_y,
                   int32_t other_code) {
    for (int32_t bit : {PLOT_ABOVE, PLOT_BELOW, PLOT_RIGHT, PLOT_LEFT}) {
        if (!(code & bit)) continue;
        bool across_y = bit & (PLOT_ABOVE | PLOT_BELOW);  // the edge is a line of constant y
        int32_t& fixed = across_y ? y : x;
        int32_t& along = across_y ? x : y;
        int32_t other_fixed = across_y ? other_y : other_x;
        if (other_fixed == fixed) abandon_line();
        int32_t edge = plot_edge(bit);
        along = cut_at_edge(along, across_y ? other_x : other_y, fixed, other_fixed, edge);
        fixed = edge;
        code = plot_outcode(x, y);
        if (code & (bit | other_code)) abandon_line();
    }
    if (code != 0) abandon_line();
}

// Clips both ends in window coordinates and converts them to pixels; 0 when nothing is left.
// Ends beyond one edge are rejected first: cutting them would find the line's crossing outside
// the segment.
int clip_and_convert(int32_t& x0, int32_t& y0, int32_t code0, int32_t& x1, int32_t& y1, int32_t code1) {
    if (code0 & code1) return 0;
    return !set_escape_point(line_escape, [&] {
        if (code0 != 0) {
            clip_plot_end(x0, y0, code0, x1, y1, code1);
            code0 = 0;
        }
        if (code1 != 0) clip_plot_end(x1, y1, code1, x0, y0, code0);
        x0 = plot_screen_x(x0);
        y0 = plot_screen_y(y0);
        x1 = plot_screen_x(x1);
        y1 = plot_screen_y(y1);
    });
}

}  // namespace

int clip_plot_line(int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1) {
    rotate_into_plot(x0, y0, x0, y0);
    rotate_into_plot(x1, y1, x1, y1);
    return clip_and_convert(x0, y0, plot_outcode(x0, y0), x1, y1, plot_outcode(x1, y1));
}

int project_plot_line(int32_t& x0, int32_t& y0, int32_t outcode0, int32_t& x1, int32_t& y1,
                      int32_t outcode1) {
    return clip_and_convert(x0, y0, outcode0, x1, y1, outcode1);
}

void draw_plot_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int colour) {
    if (PlotRecorder* r = plot_recorder()) return r->line(x0, y0, x1, y1, colour, false);
    if (clip_plot_line(x0, y0, x1, y1)) draw_plot_pixel_line(x0, y0, x1, y1, colour);
}

void draw_plot_pixel_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int colour) {
    if (!accelerator_flag) {
        draw_line(colour, x0, y0, x1, y1);
        return;
    }
    if (!accel_lock_frame_buffer()) return;
    draw_line32(colour, x0, y0, x1, y1);
    accel_unlock_frame_buffer();
}

void draw_plot_line_dashed(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int colour) {
    if (PlotRecorder* r = plot_recorder()) return r->line(x0, y0, x1, y1, colour, true);
    if (clip_plot_line(x0, y0, x1, y1)) line_dashed(colour, x0, y0, x1, y1);
}

void draw_plot_line_dashed32(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int colour) {
    if (PlotRecorder* r = plot_recorder()) return r->line(x0, y0, x1, y1, colour, true);
    if (clip_plot_line(x0, y0, x1, y1)) draw_line32_dashed(colour, x0, y0, x1, y1);
}

void draw_plot_point(int32_t x, int32_t y, int colour) {
    if (PlotRecorder* r = plot_recorder()) return r->point(x, y, colour);
    const PlotWindow& p = current_plot;
    int32_t sx, sy;
    project_plot_point(x, y, sx, sy);
    if (sx >= p.screen_x0 && sx <= p.screen_x1 && sy >= p.screen_y0 && sy <= p.screen_y1)
        draw_point(sx, sy, colour);
}

void place_text_at_plot_point(int32_t x, int32_t y) {
    note_plot_text_point(x, y);
    project_plot_point(x, y, text_x, text_y);
}

namespace {

// The centre in pixels; the radius in pixels by the x scale alone.
int32_t project_circle(int32_t x, int32_t y, int32_t radius, int32_t& centre_x, int32_t& centre_y) {
    project_plot_point(x, y, centre_x, centre_y);
    return mul31(radius, current_plot.x_scale);
}

}  // namespace

void draw_plot_circle(int32_t x, int32_t y, int32_t radius, int colour) {
    if (PlotRecorder* r = plot_recorder()) return r->circle(x, y, radius, uint32_t(colour), PlotFill::OUTLINE);
    int32_t sx, sy;
    int32_t r = project_circle(x, y, radius, sx, sy);
    draw_circle(sx, sy, r, colour);
}

void fill_plot_circle(int32_t x, int32_t y, int32_t radius, uint32_t pattern) {
    if (PlotRecorder* r = plot_recorder()) return r->circle(x, y, radius, uint32_t(pattern), PlotFill::PATTERN);
    int32_t sx, sy;
    int32_t r = project_circle(x, y, radius, sx, sy);
    fill_circle(sx, sy, r, pattern);
}

void fill_plot_circle_sparse(int32_t x, int32_t y, int32_t radius, int colour) {
    if (PlotRecorder* r = plot_recorder()) return r->circle(x, y, radius, uint32_t(colour), PlotFill::SPARSE);
    int32_t sx, sy;
    int32_t r = project_circle(x, y, radius, sx, sy);
    fill_circle_sparse(sx, sy, r, colour);
}

}  // namespace vyr
