// The texture source's texels as 0xAARRGGBB colours, row by row: what the specialised span
// routines read, so that a texel costs one load and no palette lookup.
#pragma once

#include <cstdint>

#include "platform/accel/textures.h"

namespace vyr::platform::accel {

// The colours are made when a texture is first drawn with and kept until texture memory or the
// palette changes; null when there is no source.
const uint32_t* texel_colours(const TextureSource& source);

}  // namespace vyr::platform::accel
