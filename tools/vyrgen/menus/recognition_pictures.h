// The Vehicle Recognition Screen: its board with the view window on the left and the category
// and step buttons on the right, the pressed look of its buttons, and the backdrop the models
// turn against. All are drawn in the 3D palette, which the screen's models are lit in.
#pragma once

#include <vector>

#include "tools/vyrgen/pictures/iff.h"

namespace vyr::vyrgen {

constexpr int RECOGNITION_BACKDROP_SIZE = 399;

// The view window: the backdrop fills it from its top-left corner.
constexpr int VIEW_X0 = 0, VIEW_Y0 = 40, VIEW_X1 = 398, VIEW_Y1 = 439;

// The 3D palette, with colour 0 black and 1 white (the caption's shadow and letters) and the
// menus' own colours from 224.
Palette recognition_palette();

std::vector<PictureFile> recognition_pictures();

}  // namespace vyr::vyrgen
