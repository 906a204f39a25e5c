#include "tools/vyrgen/pictures/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace vyr::vyrgen {

Region disc(double cx, double cy, double radius) {
    return [=](double x, double y) { return std::hypot(x - cx, y - cy) <= radius; };
}

Region ring(double cx, double cy, double inner, double outer) {
    return [=](double x, double y) {
        double d = std::hypot(x - cx, y - cy);
        return d >= inner && d <= outer;
    };
}

Region stroke(double ax, double ay, double bx, double by, double radius) {
    return [=](double x, double y) {
        double dx = bx - ax, dy = by - ay;
        double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        return std::hypot(x - (ax + t * dx), y - (ay + t * dy)) <= radius;
    };
}

Region triangle(double ax, double ay, double bx, double by, double cx, double cy) {
    return [=](double x, double y) {
        auto side = [&](double px, double py, double qx, double qy) {
            return (qx - px) * (y - py) - (qy - py) * (x - px);
        };
        double s0 = side(ax, ay, bx, by), s1 = side(bx, by, cx, cy), s2 = side(cx, cy, ax, ay);
        return (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
    };
}

Region box(double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
}

Region unite(std::vector<Region> parts) {
    return [parts = std::move(parts)](double x, double y) {
        return std::any_of(parts.begin(), parts.end(), [&](const Region& r) { return r(x, y); });
    };
}

Region subtract(Region base, Region hole) {
    return [=](double x, double y) { return base(x, y) && !hole(x, y); };
}

void paint(Image& image, int x, int y, int width, int height, const Region& region, uint8_t colour) {
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            if (region(column, row)) image.at(x + column, y + row) = colour;
}

void paint_outlined(Image& image, int x, int y, int width, int height, const Region& region,
                    uint8_t outline, uint8_t fill) {
    auto inside = [&](int column, int row) {
        return column >= 0 && row >= 0 && column < width && row < height && region(column, row);
    };
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) {
            if (!inside(column, row)) continue;
            bool edge = !inside(column - 1, row) || !inside(column + 1, row) ||
                        !inside(column, row - 1) || !inside(column, row + 1);
            image.at(x + column, y + row) = edge ? outline : fill;
        }
}

void set_colour(Palette& palette, int index, Colour colour) {
    std::copy(colour.begin(), colour.end(), palette.begin() + std::ptrdiff_t(index) * 3);
}

void set_ramp(Palette& palette, int first, int last, Colour from, Colour to) {
    for (int i = first; i <= last; ++i) {
        double t = last == first ? 0.0 : double(i - first) / (last - first);
        for (int c = 0; c < 3; ++c)
            palette[size_t(i) * 3 + c] = uint8_t(std::lround(from[c] + (to[c] - from[c]) * t));
    }
}

}  // namespace vyr::vyrgen
