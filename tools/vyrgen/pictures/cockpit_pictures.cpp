#include "tools/vyrgen/pictures/cockpit_pictures.h"

#include <algorithm>

#include "tools/vyrgen/pictures/cockpit_panel.h"
#include "tools/vyrgen/pictures/lettering.h"
#include "tools/vyrgen/pictures/panel_instruments.h"
#include "tools/vyrgen/rgb_palettes.h"

namespace vyr::vyrgen {

namespace {

// Entries of cockpits.rgb: greys dark to light, greens, ambers, reds.
constexpr int COCKPIT_FIRST = 224;
constexpr uint8_t GREY_DARK = COCKPIT_FIRST + 2;
constexpr uint8_t GREY_MID = COCKPIT_FIRST + 8;
constexpr uint8_t GREY_LIGHT = COCKPIT_FIRST + 14;
constexpr uint8_t GREEN_BRIGHT = COCKPIT_FIRST + 23;
constexpr uint8_t AMBER_BRIGHT = COCKPIT_FIRST + 27;

Palette cockpit_picture_palette() {
    Palette palette{};
    const std::vector<uint8_t> colours = cockpit_palette();
    std::copy(colours.begin(), colours.end(), palette.begin() + 3 * COCKPIT_FIRST);
    return palette;
}

void letter_centred(Image& image, const char* text, int y, double height, double weight, uint8_t colour) {
    const double x = (image.width - lettering_width(text, height)) / 2;
    const int margin = int(weight) + 1;
    paint(image, 0, y - margin, image.width, int(height) + 2 * margin, lettering(text, x, margin, height, weight),
          colour);
}

// A plate with a bevelled rim, the question and the two answer keys.
Image quit_box(const char* question) {
    Image image(QUIT_BOX_WIDTH, QUIT_BOX_HEIGHT, GREY_DARK);
    const int w = QUIT_BOX_WIDTH, h = QUIT_BOX_HEIGHT;
    paint(image, 0, 0, w, h, subtract(box(0, 0, w - 1, h - 1), box(3, 3, w - 4, h - 4)), GREY_MID);
    paint(image, 0, 0, w, h, subtract(box(0, 0, w - 1, h - 1), box(1, 1, w - 2, h - 2)), GREY_LIGHT);
    letter_centred(image, question, 22, 16, 1.6, AMBER_BRIGHT);
    letter_centred(image, "Y - YES    N - NO", 62, 14, 1.4, GREEN_BRIGHT);
    return image;
}

}  // namespace

std::vector<PictureFile> cockpit_pictures() {
    const Palette palette = cockpit_picture_palette();
    std::vector<PictureFile> instruments = panel_instrument_pictures(palette);
    Image panel = cockpit_panel_picture();
    paint_unlit_lamps(panel, instruments);
    std::vector<PictureFile> files = {
        {"cockpits/endmiss3.lbm", {quit_box("END MISSION?"), palette}, true},
        {"cockpits/yankend.lbm", {quit_box("QUIT MISSION?"), palette}, true},
        {"cockpits/a_1280.lbm", {std::move(panel), palette}, true},
    };
    for (PictureFile& file : instruments) files.push_back(std::move(file));
    return files;
}

}  // namespace vyr::vyrgen
