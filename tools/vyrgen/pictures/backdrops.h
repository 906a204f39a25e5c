// The full-screen pictures of the intro (the publisher's badge and the title), and the slate
// boards with steel plates that the menu screens are drawn on.
#pragma once

#include <vector>

#include "tools/vyrgen/pictures/iff.h"

namespace vyr::vyrgen {

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;

// Colour ranges shared by the backdrops and the menus.
constexpr int SKY = 1, SKY_LAST = 64;
constexpr int LAND = 65, LAND_LAST = 96;
constexpr int STEEL = 97, STEEL_LAST = 128;
constexpr int AMBER = 129, AMBER_LAST = 160;
constexpr int HUD = 161, HUD_LAST = 192;
constexpr int SLATE = 193, SLATE_LAST = 224;
constexpr int BLACK = 225, RED = 226, WHITE = 227;

Palette backdrop_palette();
// first + t of the way to last, t cut to 0..1.
uint8_t shade(int first, int last, double t);

// A control's place on a screen (inclusive corners) and its lettering.
struct Plate {
    int x0, y0, x1, y1;
    const char* label;
};
// A dark slate board with a heading and the plates of the screen's controls, unpressed.
// Where a board's heading may reach unless something stands in its way.
constexpr int HEADING_RIGHT = 384;
Image menu_board(const char* heading, const std::vector<Plate>& plates, int heading_right = HEADING_RIGHT);
// The label keeps to the plate's face left of `label_right`.
void draw_plate(Image& image, const Plate& plate, bool pressed, int label_right = WIDTH);
// The pressed look of a plate, at the plate's own size.
Image pressed_plate(const Plate& plate);

std::vector<PictureFile> backdrop_pictures();

}  // namespace vyr::vyrgen
