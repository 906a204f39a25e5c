// The toolkit's raw 16 x 16 pictures in uidata: the close box and the resize box, each pressed
// and released.
#pragma once

#include <string>
#include <vector>

#include "tools/vyrgen/pictures/canvas.h"

namespace vyr::vyrgen {

// The toolkit adds this to every byte it loads, so the files hold each colour less it.
constexpr int UI_PICTURE_BIAS = 4;
constexpr int UI_PICTURE_SIZE = 16;

struct UiPicture {
    std::string name;
    Image image;  // the colours shown
};

std::vector<UiPicture> ui_pictures();

// The file: 256 bytes, row by row.
std::vector<uint8_t> encode_ui_picture(const Image& image);

}  // namespace vyr::vyrgen
