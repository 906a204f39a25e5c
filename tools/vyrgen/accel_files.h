// What the accelerator start-up reads: per war zone text64.raw, 3dpal.rgb and terrain.rgb; in
// 3ddata the 3D palette and the effect pictures; cockpits/cockpits.rgb.
#pragma once

#include <vector>

#include "tools/vyrgen/data_set.h"

namespace vyr::vyrgen {

std::vector<DataFile> accel_files();

}  // namespace vyr::vyrgen
