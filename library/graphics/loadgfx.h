// Pictures: IFF "FORM" files of type "PBM " (one byte per pixel, an optional 256-colour map).
// A file that cannot be read whole, is not such a picture, or whose lengths run past its end is
// fatal, and the message names it.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int PICTURE_PALETTE_SIZE = 768;  // 256 RGB triples

// Decodes `name` into `*pixels`, `dest_width` bytes a row, at most `dest_rows` rows; columns and
// rows the picture does not cover keep what they held. When `*pixels` is null a zeroed block of
// the picture's size is allocated, stored there and used as the destination. `palette` (768
// bytes) receives the colour map and the outs the picture's size, each only when given.
// 1 when decoded; 0 for a null name or pointer, or a file without a header or pixels.
int read_picture(const char* name, uint8_t** pixels, int dest_width, int dest_rows,
                 uint8_t* palette, int* width, int* height);

// The picture in a new block of its own size; `*pixels` must be null.
int load_picture(const char* name, uint8_t** pixels, int* width, int* height);

// The picture into the caller's buffer with its colour map; nothing without a buffer.
int load_picture_palette(const char* name, uint8_t* pixels, int dest_width, int dest_rows,
                         uint8_t* palette);

}  // namespace vyr
