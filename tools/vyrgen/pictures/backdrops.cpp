#include "tools/vyrgen/pictures/backdrops.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "tools/vyrgen/pictures/lettering.h"
#include "tools/vyrgen/pictures/loading.h"

namespace vyr::vyrgen {

uint8_t shade(int first, int last, double t) {
    return uint8_t(first + std::lround(std::clamp(t, 0.0, 1.0) * (last - first)));
}

Palette backdrop_palette() {
    Palette palette{};
    set_ramp(palette, SKY, SKY_LAST, {6, 10, 26}, {86, 112, 140});
    set_ramp(palette, LAND, LAND_LAST, {70, 72, 46}, {18, 22, 14});
    set_ramp(palette, STEEL, STEEL_LAST, {40, 44, 52}, {236, 240, 246});
    set_ramp(palette, AMBER, AMBER_LAST, {90, 52, 6}, {255, 210, 110});
    set_ramp(palette, HUD, HUD_LAST, {10, 60, 20}, {120, 255, 140});
    set_ramp(palette, SLATE, SLATE_LAST, {14, 18, 22}, {92, 100, 108});
    set_colour(palette, BLACK, {0, 0, 0});
    set_colour(palette, RED, {190, 30, 26});
    set_colour(palette, WHITE, {250, 250, 250});
    add_toolkit_colours(palette);
    return palette;
}


namespace {

constexpr int HORIZON = 330;

void fill(Image& image, uint8_t colour) { std::fill(image.pixels.begin(), image.pixels.end(), colour); }

void letter_centred(Image& image, const char* text, int y, double height, double weight, uint8_t outline,
                    uint8_t colour) {
    double x = (image.width - lettering_width(text, height)) / 2;
    int margin = int(weight) + 2;
    paint_outlined(image, 0, y - margin, image.width, int(height) + 2 * margin,
                   lettering(text, x, margin, height, weight), outline, colour);
}

// A delta-wing fighter seen from above, nose up, `size` pixels from nose to tail.
Region fighter(double cx, double cy, double size) {
    double s = size / 100;
    return unite({
        stroke(cx, cy - 50 * s, cx, cy + 46 * s, 5 * s),                       // fuselage
        triangle(cx, cy - 22 * s, cx - 38 * s, cy + 36 * s, cx + 38 * s, cy + 36 * s),  // wing
        triangle(cx, cy + 20 * s, cx - 14 * s, cy + 50 * s, cx + 14 * s, cy + 50 * s),  // tailplane
    });
}

// Dusk sky over dark land crossed by a glowing grid that runs to the horizon.
Image grid_landscape() {
    Image image(WIDTH, HEIGHT);
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x)
            image.at(x, y) = y < HORIZON ? shade(SKY, SKY_LAST, double(y) / HORIZON)
                                         : shade(LAND, LAND_LAST, double(y - HORIZON) / (HEIGHT - HORIZON));
    for (int y = HORIZON; y < HEIGHT; ++y) {
        double depth = double(y - HORIZON + 1) / (HEIGHT - HORIZON);
        uint8_t line = shade(HUD, HUD_LAST, depth);
        for (int k = -12; k <= 12; ++k) {
            int x = int(WIDTH / 2 + k * 60 * depth);
            if (x >= 0 && x < WIDTH) image.at(x, y) = line;
        }
        if (std::fmod(std::log(depth) * 6, 1.0) > -0.06) std::fill_n(&image.at(0, y), WIDTH, line);
    }
    return image;
}

// The publisher's badge: a ringed roundel with the fighter inside, and the house's name.
Image badge() {
    Image image(WIDTH, HEIGHT);
    fill(image, BLACK);
    const double cx = WIDTH / 2.0, cy = 190;
    paint(image, 0, 0, WIDTH, HEIGHT, disc(cx, cy, 112), SLATE + 4);
    paint(image, 0, 0, WIDTH, HEIGHT, ring(cx, cy, 100, 112), AMBER_LAST - 6);
    paint(image, 0, 0, WIDTH, HEIGHT, ring(cx, cy, 88, 92), RED);
    paint_outlined(image, 0, 0, WIDTH, HEIGHT, fighter(cx, cy, 140), STEEL, STEEL_LAST);
    letter_centred(image, "VYR SIMULATIONS", 340, 30, 3, AMBER, AMBER_LAST);
    letter_centred(image, "PRESENTS", 400, 14, 1.5, STEEL + 10, STEEL_LAST);
    return image;
}

Image title() {
    Image image = grid_landscape();
    paint_outlined(image, 0, 0, WIDTH, HEIGHT, fighter(560, 262, 80), BLACK, STEEL + 6);
    letter_centred(image, "VYR", 50, 110, 9, STEEL, STEEL_LAST);
    letter_centred(image, "COMBAT FLIGHT SIMULATOR", 190, 22, 2.2, AMBER, AMBER_LAST);
    return image;
}

}  // namespace

Image menu_board(const char* heading, const std::vector<Plate>& plates, int heading_right) {
    Image image(WIDTH, HEIGHT);
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x)
            image.at(x, y) = (x % 40 == 0 || y % 40 == 0) ? SLATE + 10 : shade(SLATE, SLATE + 6, double(y) / HEIGHT);
    paint_outlined(image, 0, 0, WIDTH, HEIGHT, fighter(200, 300, 220), SLATE + 14, SLATE + 8);
    if (*heading)
        letter_box(image, {18, 18, heading_right - 17, 42}, heading, 28, 2.5, AMBER_LAST, AMBER_LAST, false);
    for (size_t i = 0; i < plates.size(); ++i) {
        // A plate drawn later over this one's right end leaves its label the room before it.
        int label_right = plates[i].x1;
        for (size_t j = i + 1; j < plates.size(); ++j)
            if (plates[j].x0 > plates[i].x0 && plates[j].x0 <= label_right && plates[j].y0 <= plates[i].y1 &&
                plates[i].y0 <= plates[j].y1)
                label_right = plates[j].x0 - 1;
        draw_plate(image, plates[i], false, label_right);
    }
    return image;
}

// Raised steel with green lettering; pressed, sunken and lit amber with bright lettering.
void draw_plate(Image& image, const Plate& plate, bool pressed, int label_right) {
    const int w = plate.x1 - plate.x0 + 1, h = plate.y1 - plate.y0 + 1;
    const int bevel = h >= 48 ? 3 : 2;
    paint(image, plate.x0, plate.y0, w, h, box(0, 0, w - 1, h - 1), pressed ? AMBER + 4 : STEEL + 5);
    for (int y = bevel; y < h - bevel; ++y)
        for (int x = bevel; x < w - bevel; ++x)
            image.at(plate.x0 + x, plate.y0 + y) =
                pressed ? shade(AMBER + 2, AMBER + 12, double(y) / h) : shade(STEEL + 9, STEEL + 2, double(y) / h);
    const uint8_t light = pressed ? AMBER : STEEL_LAST - 4, dark = pressed ? AMBER_LAST - 4 : STEEL;
    paint(image, plate.x0, plate.y0, w, h, unite({box(0, 0, w - 1, bevel - 1), box(0, 0, bevel - 1, h - 1)}), light);
    paint(image, plate.x0, plate.y0, w, h, unite({box(0, h - bevel, w - 1, h - 1), box(w - bevel, 0, w - 1, h - 1)}),
          dark);
    if (!*plate.label) return;
    // The label fits the face inside the bevel; pressed, it moves a pixel right and down.
    const int shift = pressed ? 1 : 0;
    const int face_left = plate.x0 + bevel + shift, face_right = std::min(label_right, plate.x1) - bevel;
    const double height = std::min(16.0, h * 0.42);
    letter_box(image, {face_left, plate.y0 + bevel + shift, face_right - face_left + 1, h - 2 * bevel - shift},
               plate.label, height, height > 12 ? 1.6 : 1.2, pressed ? WHITE : HUD_LAST,
               pressed ? AMBER_LAST - 8 : BLACK, true);
}

Image pressed_plate(const Plate& plate) {
    Image image(plate.x1 - plate.x0 + 1, plate.y1 - plate.y0 + 1);
    draw_plate(image, {0, 0, image.width - 1, image.height - 1, plate.label}, true);
    return image;
}

std::vector<PictureFile> backdrop_pictures() {
    Palette palette = backdrop_palette();
    return {
        {"menuscrn/qk.lbm", {badge(), palette}, true},
        {"menuscrn/title.lbm", {title(), palette}, true},
    };
}

}  // namespace vyr::vyrgen
