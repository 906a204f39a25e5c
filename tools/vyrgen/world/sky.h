// The sky of the 3D views: in 3ddata the sky colour sets clear.rgb, overcast.rgb and above.rgb;
// per war zone the fog ramps fog.rgb and fogdull.rgb, the canopy glass remap glass.cmp and the
// star map starmap.bin.
#pragma once

#include <vector>

#include "tools/vyrgen/data_set.h"

namespace vyr::vyrgen {

constexpr int SKY_COLOURS = 13;  // 155, then the ramp 156 (top of the sky) to 167 (horizon)
constexpr int FOG_COLOURS = 20;  // 135..154

// Stars per brightness class 0..4; each class shows from a darker sky than the one before.
constexpr int STARS_BY_CLASS[5] = {500, 700, 900, 700, 400};

std::vector<DataFile> sky_files();

}  // namespace vyr::vyrgen
