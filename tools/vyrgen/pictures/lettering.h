// Block capitals drawn as strokes, for the lettering of title and menu pictures.
#pragma once

#include <string_view>

#include "tools/vyrgen/pictures/canvas.h"

namespace vyr::vyrgen {

// The text's strokes with its top-left corner at (x, y), letters `height` pixels tall; capitals,
// digits, space, '-', '.' and '?' (anything else is left blank).
Region lettering(std::string_view text, double x, double y, double height, double weight);
// The width such a text takes.
double lettering_width(std::string_view text, double height);

}  // namespace vyr::vyrgen
