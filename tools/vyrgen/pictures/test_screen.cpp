#include "tools/vyrgen/pictures/test_screen.h"

#include "tools/vyrgen/pictures/lettering.h"
#include "tools/vyrgen/pictures/loading.h"

namespace vyr::vyrgen {

namespace {

constexpr int WIDTH = 640, HEIGHT = 480;
constexpr uint8_t BACK = 1, BACK_LAST = 63;  // a vertical ramp
constexpr uint8_t FACE = 70, LIGHT = 71, SHADE = 72, INK = 73, PRESSED_FACE = 74, PRESSED_INK = 75;

Palette test_palette() {
    Palette palette{};
    set_ramp(palette, BACK, BACK_LAST, {16, 40, 72}, {96, 140, 180});
    set_colour(palette, FACE, {150, 150, 140});
    set_colour(palette, LIGHT, {220, 220, 210});
    set_colour(palette, SHADE, {70, 70, 64});
    set_colour(palette, INK, {20, 20, 20});
    set_colour(palette, PRESSED_FACE, {200, 120, 40});
    set_colour(palette, PRESSED_INK, {255, 240, 200});
    add_toolkit_colours(palette);
    return palette;
}

// A bevelled face with a word on it; the pressed look swaps the bevel and the colours.
void paint_button(Image& image, int x, int y, bool pressed) {
    const int w = TEST_BUTTON_WIDTH - 1, h = TEST_BUTTON_HEIGHT - 1;
    paint(image, x, y, w + 1, h + 1, box(0, 0, w, h), pressed ? PRESSED_FACE : FACE);
    paint(image, x, y, w + 1, h + 1, unite({box(0, 0, w, 1), box(0, 0, 1, h)}), pressed ? SHADE : LIGHT);
    paint(image, x, y, w + 1, h + 1, unite({box(0, h - 1, w, h), box(w - 1, 0, w, h)}), pressed ? LIGHT : SHADE);
    const double height = 16, text_x = (TEST_BUTTON_WIDTH - lettering_width("PRESS", height)) / 2;
    paint(image, x, y, w + 1, h + 1, lettering("PRESS", text_x, (TEST_BUTTON_HEIGHT - height) / 2, height, 1.4),
          pressed ? PRESSED_INK : INK);
}

Image background() {
    Image image(WIDTH, HEIGHT);
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) image.at(x, y) = uint8_t(BACK + y * (BACK_LAST - BACK) / (HEIGHT - 1));
    const double title = 28;
    paint(image, 0, 60, WIDTH, 40, lettering("TEST SCREEN", (WIDTH - lettering_width("TEST SCREEN", title)) / 2, 4, title, 2),
          LIGHT);
    paint_button(image, TEST_BUTTON_X, TEST_BUTTON_Y, false);
    return image;
}

Image pressed_button() {
    Image image(TEST_BUTTON_WIDTH, TEST_BUTTON_HEIGHT);
    paint_button(image, 0, 0, true);
    return image;
}

}  // namespace

std::vector<PictureFile> test_screen_pictures() {
    Palette palette = test_palette();
    return {{TEST_SCREEN_NAME, {background(), palette}, true}, {TEST_BUTTON_NAME, {pressed_button(), palette}, true}};
}

}  // namespace vyr::vyrgen
