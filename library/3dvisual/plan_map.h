// The top-down plan map of the theatre.
#pragma once

#include <cstdint>

namespace vyr {

// The palette index behind the map's alternative colouring.
extern int32_t map_background_colour;

}  // namespace vyr
