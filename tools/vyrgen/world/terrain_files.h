// The terrain files of each theatre, from its layout: fxgrdpst.bin (257 x 257 posts of 18 bytes),
// terrtext.bmp (the 32 x 32 textures), text64sp.raw (the special textures: shores) and
// terrcols.bin (the ground colour); and 3ddata/terrtext.cmp, the sub-triangle colours of every
// texture.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/vyrgen/data_set.h"

namespace vyr::vyrgen {

constexpr size_t POST_FILE_SIZE = 257 * 257 * 18;
constexpr size_t SMALL_TEXTURES_SIZE = 2 * 97 * 32 * 32;
constexpr size_t SPECIAL_TEXTURES_SIZE = 2 * 31 * 64 * 64;
constexpr size_t DETAIL_COLOURS_SIZE = 4 * 97 * 64;

std::vector<DataFile> terrain_files();

}  // namespace vyr::vyrgen
