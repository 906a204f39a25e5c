// The menu screens: each background with its controls unpressed, the pressed look of every
// button at its exact size, and the menus' glyph sheet.
#pragma once

#include <vector>

#include "tools/vyrgen/pictures/iff.h"

namespace vyr::vyrgen {

std::vector<PictureFile> menu_pictures();

// "fonts/11x15.lbm": 256 cells of 17 x 17, 32 to a row, ink in colour 2 on 0; printable ASCII
// and the tick glyphs 1 to 3.
PictureFile menu_font_sheet();

}  // namespace vyr::vyrgen
