// The widgets' drawing: primitives on inclusive corner coordinates cut to the clip rectangle,
// the toolkit's bevels, segment clipping, and the inverting lines of drag outlines.
#pragma once

#include <array>
#include <cstdint>

#include "library/ui/object.h"

namespace vyr {

// Pixel p under a glass box becomes glass_remap[p]; filled by the 3D palette's loader.
extern std::array<uint8_t, 256> glass_remap;

void draw_box_pixel(int x, int y, int colour);
// 0 outside the clip rectangle.
int read_box_pixel(int x, int y);
void draw_box_outline(int x0, int y0, int x1, int y1, int colour);
void draw_hline_clipped(int x0, int x1, int y, int colour);
void draw_vline_clipped(int x, int y0, int y1, int colour);
void fill_box(int x0, int y0, int x1, int y1, uint32_t pattern);
void glass_box(int x0, int y0, int x1, int y1);
// Light top and left edges (raised) or dark ones (sunken), in the UI colours.
void draw_raised_box(int x0, int y0, int x1, int y1);
void draw_sunken_box(int x0, int y0, int x1, int y1);
// An image of the rectangle's size whose rows lie (x1 - x0 + 1) + gap bytes apart.
void copy_pixels_to_box(int x0, int y0, int x1, int y1, const uint8_t* pixels, int gap);
// The screen's pixels from the rectangle's top-left corner, never past the screen's own size.
void copy_screen_to_box(int x0, int y0, int x1, int y1, const Screen* screen);
// Paints colour 251 where the image is 0, never past the object's picture height.
void copy_pixels_to_box_masked(const UiObject* object, int x0, int y0, int x1, int y1, const uint8_t* pixels,
                               int gap);
void copy_box_to_pixels(int x0, int y0, int x1, int y1, uint8_t* pixels, int gap);
// A horizontal or vertical inverting line; a slanted one must lie inside the clip rectangle.
void draw_xor_axis_line(int x0, int y0, int x1, int y1);
// Inverts the line on the display itself; drawing it twice removes it.
void draw_ui_xor_line(int x0, int y0, int x1, int y1);
// 0 when nothing of the segment lies inside; else 1 with the ends cut and the top end first.
int clip_line_to_display(int& x0, int& y0, int& x1, int& y1);
int clip_line_to_clip(int& x0, int& y0, int& x1, int& y1);
void measure_ui_object(UiObject* object);

}  // namespace vyr
