// 8-bit images drawn in code: regions described by predicates over pixel positions, painted
// plain or with a one-pixel outline.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace vyr::vyrgen {

using Palette = std::array<uint8_t, 768>;  // 256 RGB triples

// A box that lettering was fitted into, and the colours it was drawn in: what the picture's
// checks look for.
struct LetteredBox {
    int x0, y0, x1, y1;  // inclusive
    uint8_t ink, outline;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // row by row, no padding
    std::vector<LetteredBox> lettered;

    Image() = default;
    Image(int w, int h, uint8_t colour = 0) : width(w), height(h), pixels(size_t(w) * h, colour) {}
    uint8_t& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    uint8_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// Whether the pixel at (x, y) belongs to a shape.
using Region = std::function<bool(double x, double y)>;

Region disc(double cx, double cy, double radius);
Region ring(double cx, double cy, double inner, double outer);
// Every point within `radius` of the segment from (ax, ay) to (bx, by).
Region stroke(double ax, double ay, double bx, double by, double radius);
Region triangle(double ax, double ay, double bx, double by, double cx, double cy);
Region box(double x0, double y0, double x1, double y1);  // inclusive
Region unite(std::vector<Region> parts);
Region subtract(Region base, Region hole);

// Sets every pixel of the region inside the rectangle (x, y, width, height) to `colour`; the
// region is evaluated relative to the rectangle's corner.
void paint(Image& image, int x, int y, int width, int height, const Region& region, uint8_t colour);
// As `paint`, but pixels of the region next to a pixel outside it (or to the rectangle's edge)
// take `outline` and the others `fill`.
void paint_outlined(Image& image, int x, int y, int width, int height, const Region& region,
                    uint8_t outline, uint8_t fill);

using Colour = std::array<uint8_t, 3>;

void set_colour(Palette& palette, int index, Colour colour);
// Entries first..last of the palette run evenly from one colour to another.
void set_ramp(Palette& palette, int first, int last, Colour from, Colour to);

}  // namespace vyr::vyrgen
