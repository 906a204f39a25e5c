// Block capitals drawn as strokes, for the lettering of title and menu pictures.
#pragma once

#include <string_view>

#include "tools/vyrgen/pictures/canvas.h"

namespace vyr::vyrgen {

// The text's strokes with its top-left corner at (x, y), letters `height` pixels tall; capitals,
// digits, space, '-', '.' and '?' (anything else is left blank).
Region lettering(std::string_view text, double x, double y, double height, double weight);
// One character of a font: as `lettering`, but lower-case letters are drawn as lower case, their
// x-height two thirds of `height` and descenders below the baseline at y + height.
Region letter(char c, double x, double y, double height, double weight);
// The width such a text takes.
double lettering_width(std::string_view text, double height);

// Clear pixels kept between fitted lettering and its box's edges.
constexpr int LETTERING_MARGIN = 3;

struct TextBox {
    int x, y, width, height;
};

// Paints `text` into the box, letters at most `height` tall and smaller where the text would
// come closer than LETTERING_MARGIN to an edge; centred, or from the left; outlined when
// `outline` differs from `ink`. The box is noted in the image's `lettered`.
void letter_box(Image& image, const TextBox& box, std::string_view text, double height, double weight, uint8_t ink,
                uint8_t outline, bool centred);

}  // namespace vyr::vyrgen
