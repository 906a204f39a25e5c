#include "tools/vyrgen/pictures/ui_pictures.h"

namespace vyr::vyrgen {

namespace {

// The toolkit's own colours.
constexpr uint8_t UI_DARK = 246;
constexpr uint8_t UI_SHADOW = 247;
constexpr uint8_t UI_MID = 248;
constexpr uint8_t UI_FILL = 249;
constexpr uint8_t UI_LIGHT = 250;
constexpr uint8_t UI_WHITE = 251;

constexpr int LAST = UI_PICTURE_SIZE - 1;

// A button face in the toolkit's bevel: raised, or sunken with the pressed fill.
Image button_face(bool pressed) {
    Image image(UI_PICTURE_SIZE, UI_PICTURE_SIZE, pressed ? UI_SHADOW : UI_FILL);
    uint8_t near = pressed ? UI_SHADOW : UI_LIGHT, far = pressed ? UI_LIGHT : UI_SHADOW;
    for (int i = 0; i <= LAST; ++i) {
        image.at(i, 0) = image.at(0, i) = near;
        image.at(i, LAST) = image.at(LAST, i) = far;
    }
    image.at(0, 0) = pressed ? UI_DARK : UI_WHITE;
    image.at(LAST, LAST) = pressed ? UI_WHITE : UI_DARK;
    image.at(0, LAST) = image.at(LAST, 0) = UI_MID;
    return image;
}

// The face's mark moves one pixel down and right while pressed.
Image close_box(bool pressed) {
    Image image = button_face(pressed);
    double d = pressed ? 1 : 0;
    paint(image, 0, 0, UI_PICTURE_SIZE, UI_PICTURE_SIZE,
          unite({stroke(4 + d, 4 + d, 10 + d, 10 + d, 0.8), stroke(10 + d, 4 + d, 4 + d, 10 + d, 0.8)}),
          UI_DARK);
    return image;
}

// Three engraved grip lines across the lower right corner.
Image resize_box(bool pressed) {
    Image image = button_face(pressed);
    int d = pressed ? 1 : 0;
    for (int y = 1; y < LAST; ++y)
        for (int x = 1; x < LAST; ++x)
            for (int line = 14 + d; line <= 24 + d; line += 5) {
                if (x + y == line) image.at(x, y) = UI_DARK;
                if (x + y == line + 1) image.at(x, y) = UI_LIGHT;
            }
    return image;
}

}  // namespace

std::vector<UiPicture> ui_pictures() {
    return {{"uidata/closeon.bm", close_box(true)},
            {"uidata/closeoff.bm", close_box(false)},
            {"uidata/resizing.bm", resize_box(true)},
            {"uidata/resize.bm", resize_box(false)}};
}

std::vector<uint8_t> encode_ui_picture(const Image& image) {
    std::vector<uint8_t> bytes;
    for (uint8_t colour : image.pixels) bytes.push_back(uint8_t(colour - UI_PICTURE_BIAS));
    return bytes;
}

}  // namespace vyr::vyrgen
