// The live pictures of the cockpit panel: dial faces and needle caps, digit strips, tapes,
// bezels, shades and the two-state lamps, each sized and placed by the shared cockpit layout.
#pragma once

#include <vector>

#include "tools/vyrgen/pictures/iff.h"

namespace vyr::vyrgen {

// The cockpit's colours on the panel and its pictures.
constexpr uint8_t PANEL_BLACK = 224;
constexpr uint8_t PANEL_WELL = 225;
constexpr uint8_t PANEL_DARK = 226;
constexpr uint8_t PANEL_GREY = 227;
constexpr uint8_t PANEL_EDGE = 229;
constexpr uint8_t PANEL_RIM = 231;
constexpr uint8_t PANEL_MARK = 237;
constexpr uint8_t PANEL_WHITE = 239;
constexpr uint8_t LAMP_GREEN = 247;
constexpr uint8_t LAMP_AMBER = 251;
constexpr uint8_t LAMP_RED = 255;

// A digit of the 3 x 5 instrument figures, each pixel `scale` pixels square.
void paint_digit(Image& image, int x, int y, int digit, int scale, uint8_t colour);
// The figures of `text` (digits only) 4 x `scale` pixels apart, centred on (cx, cy).
void paint_number(Image& image, double cx, double cy, const char* text, int scale, uint8_t colour);
// Block capitals `height` pixels tall centred on (cx, cy).
void paint_legend(Image& image, double cx, double cy, const char* text, double height, uint8_t colour);

// Every picture of the layout, under cockpits/ with its lower-case name.
std::vector<PictureFile> panel_instrument_pictures(const Palette& palette);

}  // namespace vyr::vyrgen
