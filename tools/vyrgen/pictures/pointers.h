// uidata/mouse.lbm: the pointer shapes, side by side along the top of a 640 x 480 picture.
#pragma once

#include "tools/vyrgen/pictures/iff.h"

namespace vyr::vyrgen {

// Every shape is drawn in these two colours on colour 0. The game takes the first colour met
// row by row as the outline and the second as the fill, so each shape begins with an outline.
constexpr uint8_t POINTER_OUTLINE = 2;
constexpr uint8_t POINTER_FILL = 3;

PictureFile pointer_picture();

}  // namespace vyr::vyrgen
