// World-coordinate lines, points, circles and text positions in the current plot window: each
// is turned and offset into the window, clipped in world units where it can cross the window's
// edge, converted to pixels and handed to the raster routines.
#pragma once

#include <cstdint>

namespace vyr {

// Solid: the 8-bit target, or with accelerator_flag set the accelerator's back buffer.
void draw_plot_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int colour);
// Between pixels already converted, on the same target as draw_plot_line.
void draw_plot_pixel_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int colour);
// With the shared dash_mask, always on the 8-bit target.
void draw_plot_line_dashed(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int colour);
// With the shared dash_mask, into the locked frame buffer (the head-up display's dashed bars).
void draw_plot_line_dashed32(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int colour);

// Turns, clips and converts world end points to pixels in place; 0 when nothing is visible
// (the ends then mean nothing).
int clip_plot_line(int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1);
// The same for ends already in window coordinates with their outcodes (no offset or rotation).
int project_plot_line(int32_t& x0, int32_t& y0, int32_t outcode0, int32_t& x1, int32_t& y1,
                      int32_t outcode1);

// Drawn when its pixel lies inside the plot window's screen rectangle.
void draw_plot_point(int32_t x, int32_t y, int colour);
// Sets text_x and text_y to the point's pixel; the font code clips what is drawn there.
void place_text_at_plot_point(int32_t x, int32_t y);

// The radius is in world units, turned into pixels by the x scale alone.
void draw_plot_circle(int32_t x, int32_t y, int32_t radius, int colour);
void fill_plot_circle(int32_t x, int32_t y, int32_t radius, uint32_t pattern);
void fill_plot_circle_sparse(int32_t x, int32_t y, int32_t radius, int colour);

}  // namespace vyr
