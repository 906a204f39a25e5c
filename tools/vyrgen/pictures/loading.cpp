#include "tools/vyrgen/pictures/loading.h"

#include <algorithm>
#include <cmath>

#include "tools/vyrgen/pictures/lettering.h"

namespace vyr::vyrgen {

namespace {

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;
constexpr int HORIZON = 300;

// Colour ranges of the loading palette.
constexpr int SKY = 1, SKY_LAST = 96;
constexpr int SUN = 97, SUN_LAST = 128;
constexpr int HILLS = 129, HILLS_LAST = 160;
constexpr int GROUND = 161, GROUND_LAST = 192;
constexpr int GREY = 193, GREY_LAST = 224;
constexpr int LAMP_OFF = 225, LAMP_ON = 226, LAMP_RIM = 227;
constexpr int METAL = 233, METAL_LAST = 245;
constexpr int OVERLAY_LAMPS = 4;

}  // namespace

void add_toolkit_colours(Palette& palette) {
    const Colour toolkit[] = {{66, 97, 100},   {76, 112, 116}, {135, 169, 171}, {102, 151, 154},
                              {178, 203, 204}, {255, 255, 255}, {0, 127, 127}};
    for (int i = 0; i < 7; ++i) set_colour(palette, 246 + i, toolkit[i]);
    set_colour(palette, 254, {255, 255, 255});
    set_colour(palette, 255, {255, 255, 255});
}

namespace {

Palette loading_palette() {
    Palette palette{};
    set_ramp(palette, SKY, 64, {8, 12, 40}, {92, 62, 122});
    set_ramp(palette, 65, SKY_LAST, {96, 62, 120}, {240, 150, 70});
    set_ramp(palette, SUN, SUN_LAST, {255, 196, 110}, {255, 250, 225});
    set_ramp(palette, HILLS, HILLS_LAST, {24, 22, 48}, {74, 60, 92});
    set_ramp(palette, GROUND, GROUND_LAST, {56, 84, 40}, {14, 30, 16});
    set_ramp(palette, GREY, GREY_LAST, {20, 20, 24}, {222, 222, 232});
    set_colour(palette, LAMP_OFF, {20, 60, 30});
    set_colour(palette, LAMP_ON, {100, 245, 130});
    set_colour(palette, LAMP_RIM, {36, 130, 64});
    set_ramp(palette, METAL, METAL_LAST, {110, 120, 142}, {250, 250, 255});
    add_toolkit_colours(palette);
    return palette;
}

uint8_t shade(int first, int last, double t) {
    return uint8_t(first + std::lround(std::clamp(t, 0.0, 1.0) * (last - first)));
}

double hill_top(int x) {
    return HORIZON - 46 - 26 * std::sin(x / 53.0) - 14 * std::sin(x / 21.0 + 1.3);
}

// Dusk over hills, the sun setting behind them, a runway running to the horizon and the name.
Image background() {
    Image image(WIDTH, HEIGHT);
    const double sun_x = 452, sun_y = HORIZON - 52, sun_r = 40;
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            uint8_t& pixel = image.at(x, y);
            double sun = std::hypot(x - sun_x, y - sun_y);
            if (y >= HORIZON)
                pixel = shade(GROUND, GROUND_LAST, double(y - HORIZON) / (HEIGHT - HORIZON));
            else if (y >= hill_top(x))
                pixel = shade(HILLS, HILLS_LAST, (y - hill_top(x)) / 80.0);
            else if (sun <= sun_r)
                pixel = shade(SUN, SUN_LAST, 1 - sun / sun_r);
            else
                pixel = shade(SKY, SKY_LAST, double(y) / HORIZON);
        }
    // The runway narrows toward a vanishing point on the horizon; dashes mark its centre.
    for (int y = HORIZON + 2; y < HEIGHT; ++y) {
        double depth = double(y - HORIZON) / (HEIGHT - HORIZON);
        int half = int(8 + depth * 190), centre = WIDTH / 2;
        for (int x = centre - half; x <= centre + half; ++x)
            image.at(x, y) = shade(GREY, GREY_LAST, 0.25 + depth * 0.2);
        if (int(std::log(depth) * 9) % 2 == 0)
            for (int x = centre - int(1 + depth * 4); x <= centre + int(1 + depth * 4); ++x)
                image.at(x, y) = GREY_LAST;
    }
    const double s = 6;  // stroke radius of the letters
    Region name = unite({
        stroke(0, 0, 30, 80, s), stroke(30, 80, 60, 0, s),                              // V
        stroke(80, 0, 110, 40, s), stroke(140, 0, 110, 40, s), stroke(110, 40, 110, 80, s),  // Y
        stroke(160, 0, 160, 80, s), stroke(160, 0, 185, 0, s), stroke(160, 40, 185, 40, s),
        subtract(ring(185, 20, 14, 26), box(140, -10, 184, 60)), stroke(180, 40, 215, 80, s),  // R
    });
    paint_outlined(image, 204, 40, 232, 100, [&](double x, double y) { return name(x - 8, y - 8); },
                   METAL, METAL_LAST);
    const char* subtitle = "COMBAT FLIGHT SIMULATOR";
    const double sub_height = 14, sub_width = lettering_width(subtitle, sub_height);
    paint(image, 0, 150, WIDTH, 24, lettering(subtitle, (WIDTH - sub_width) / 2, 4, sub_height, 1.6),
          METAL_LAST);
    return image;
}

void paint_centred(Image& image, const char* text, int y, double height, uint8_t colour) {
    double x = (image.width - lettering_width(text, height)) / 2;
    paint(image, 0, y, image.width, int(height) + 4, lettering(text, x, 2, height, 1.3), colour);
}

// A bevelled panel with one lamp per start-up phase, the first `lit` of them on, each named.
Image overlay(int lit) {
    Image image(LOADING_OVERLAY_WIDTH, LOADING_OVERLAY_HEIGHT);
    const int w = LOADING_OVERLAY_WIDTH - 1, h = LOADING_OVERLAY_HEIGHT - 1;
    paint(image, 0, 0, w + 1, h + 1, box(0, 0, w, h), GREY + 8);
    paint(image, 0, 0, w + 1, h + 1, unite({box(0, 0, w, 1), box(0, 0, 1, h)}), GREY_LAST - 4);
    paint(image, 0, 0, w + 1, h + 1, unite({box(0, h - 1, w, h), box(w - 1, 0, w, h)}), GREY + 2);
    const int spacing = LOADING_OVERLAY_WIDTH / OVERLAY_LAMPS;
    for (int i = 0; i < OVERLAY_LAMPS; ++i) {
        double cx = spacing / 2.0 + i * spacing, cy = LOADING_OVERLAY_HEIGHT / 2.0;
        paint_outlined(image, 0, 0, w + 1, h + 1, disc(cx, cy, 18), i < lit ? LAMP_RIM : GREY,
                       i < lit ? LAMP_ON : LAMP_OFF);
    }
    paint_centred(image, "LOADING", 14, 16, GREY_LAST);
    const char* const steps[OVERLAY_LAMPS] = {"SYSTEM", "SOUND", "MISSIONS", "MAP DATA"};
    paint_centred(image, steps[lit - 1], 128, 14, LAMP_ON);
    return image;
}

}  // namespace

std::vector<PictureFile> loading_pictures() {
    Palette palette = loading_palette();
    Picture scene{background(), palette};
    std::vector<PictureFile> files = {{"menuscrn/newintro.lbm", scene, true},
                                      {"menuscrn/tit-us.lbm", scene, true}};
    const char* const phases[] = {"menuscrn/ni_sys.bbm", "menuscrn/ni_sound.bbm",
                                  "menuscrn/ni_miss.bbm", "menuscrn/ni_mapd.bbm"};
    for (int phase = 0; phase < OVERLAY_LAMPS; ++phase)
        files.push_back({phases[phase], {overlay(phase + 1), palette}, false});
    return files;
}

}  // namespace vyr::vyrgen
