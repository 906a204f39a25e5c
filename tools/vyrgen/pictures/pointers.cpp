#include "tools/vyrgen/pictures/pointers.h"

#include <cmath>
#include <numbers>

namespace vyr::vyrgen {

namespace {

constexpr int SHEET_WIDTH = 640;
constexpr int SHEET_HEIGHT = 480;
constexpr double C = 15;  // the hot spot of the 32 x 32 shapes

struct Shape {
    int x;  // where the game cuts it from row 0
    int width;
    int height;
    Region region;
};

// The tip lies on the hot spot (0, 0).
Region arrow() {
    return unite({triangle(0, 0, 0, 18, 12.5, 12.5), stroke(4, 12, 8.5, 21, 1.6)});
}

Region four_way_arrow() {
    return unite({stroke(C, 6, C, 24, 1.5), stroke(6, C, 24, C, 1.5),
                  triangle(C, 1, C - 5, 7, C + 5, 7), triangle(C, 29, C - 5, 23, C + 5, 23),
                  triangle(1, C, 7, C - 5, 7, C + 5), triangle(29, C, 23, C - 5, 23, C + 5)});
}

Region cross() { return unite({stroke(8, 8, 22, 22, 2.2), stroke(22, 8, 8, 22, 2.2)}); }

Region diagonal_arrow() {
    return unite({stroke(8, 8, 22, 22, 1.5), triangle(4, 4, 4, 13, 13, 4),
                  triangle(26, 26, 26, 17, 17, 26)});
}

Region magnifier() { return unite({ring(C, C, 4.5, 8), stroke(20.5, 20.5, 28, 28, 2.2)}); }

Region sight() {
    return unite({ring(C, C, 5, 7.5), disc(C, C, 1.5), stroke(C, 1, C, 8, 1.2),
                  stroke(C, 22, C, 29, 1.2), stroke(1, C, 8, C, 1.2), stroke(22, C, 29, C, 1.2)});
}

// A circle open at the upper right; the arrow head at its clockwise end points into the gap.
Region circular_arrow() {
    const double gap_start = -70 * std::numbers::pi / 180, gap_end = -20 * std::numbers::pi / 180;
    Region arc = [=](double x, double y) {
        double angle = std::atan2(y - C, x - C);
        return (angle <= gap_start || angle >= gap_end) && ring(C, C, 6.5, 9.5)(x, y);
    };
    auto point = [](double angle, double radius, int axis) {
        return C + radius * (axis == 0 ? std::cos(angle) : std::sin(angle));
    };
    double tip = gap_start + 0.55;
    return unite({arc, triangle(point(gap_start, 3.5, 0), point(gap_start, 3.5, 1),
                                point(gap_start, 12.5, 0), point(gap_start, 12.5, 1),
                                point(tip, 8, 0), point(tip, 8, 1))});
}

Region text_beam() {
    return unite({stroke(C, 6, C, 24, 1), stroke(11, 5, 19, 5, 1), stroke(11, 25, 19, 25, 1)});
}

// The 3D view's small locator: a ring round the hot spot (7, 4) with a tail.
Region locator() { return unite({ring(7, 4, 1.5, 3.9), stroke(9.5, 7, 16, 10.5, 1.2)}); }

}  // namespace

PictureFile pointer_picture() {
    const Shape shapes[] = {
        {0, 32, 32, arrow()},           {32, 32, 32, four_way_arrow()},
        {64, 32, 32, cross()},          {96, 32, 32, diagonal_arrow()},
        {128, 32, 32, magnifier()},     {160, 32, 32, sight()},
        {192, 32, 32, circular_arrow()}, {224, 32, 32, text_beam()},
        {256, 18, 12, locator()},
    };
    Picture picture{Image(SHEET_WIDTH, SHEET_HEIGHT), {}};
    for (const Shape& shape : shapes)
        paint_outlined(picture.image, shape.x, 0, shape.width, shape.height, shape.region,
                       POINTER_OUTLINE, POINTER_FILL);
    set_colour(picture.palette, POINTER_OUTLINE, {0, 0, 0});
    set_colour(picture.palette, POINTER_FILL, {255, 255, 255});
    return {"uidata/mouse.lbm", std::move(picture), true};
}

}  // namespace vyr::vyrgen
