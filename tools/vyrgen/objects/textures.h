// OBJTEXT.BIN: the object textures. Entries 0..42 are the accelerator's object textures 326..368
// (64 x 64 whatever their class); faces name texture 2 + 6k, which holds the picture of entry k,
// so that the software and accelerator paths draw the same picture.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/vyrgen/pictures/canvas.h"

namespace vyr::vyrgen {

constexpr int ACCEL_OBJECT_TEXTURES = 43;
constexpr int OBJECT_TEXTURE_ENTRIES = 2 + 6 * (ACCEL_OBJECT_TEXTURES - 1) + 1;

// The 64 x 64 picture of accelerator object texture k.
Image object_texture(int k);

std::vector<uint8_t> encode_object_textures();

}  // namespace vyr::vyrgen
