// IFF "FORM" pictures of type "PBM ": a bitmap header, the 256-colour map and the pixels, stored
// plain or ByteRun1-compressed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/vyrgen/pictures/canvas.h"

namespace vyr::vyrgen {

struct Picture {
    Image image;
    Palette palette{};
};

// A picture of the data set under its file name.
struct PictureFile {
    std::string name;
    Picture picture;
    bool compressed;
};

// Appends the ByteRun1 packets of one row. No packet crosses the row's end, and the control byte
// 0x80 is never written (readers disagree on it).
void encode_byterun1_row(const uint8_t* row, size_t length, std::vector<uint8_t>& out);

// The whole file. Rows are stored padded to an even length with a zero byte.
std::vector<uint8_t> encode_pbm(const Picture& picture, bool compressed);

}  // namespace vyr::vyrgen
