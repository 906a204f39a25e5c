// The sample 3D object set: 3ddata/3dobjs.bin with every object number the game uses, and the
// object textures in 3ddata/objtext.bin.
#pragma once

#include <vector>

#include "tools/vyrgen/data_set.h"

namespace vyr::vyrgen {

std::vector<DataFile> object_files();

}  // namespace vyr::vyrgen
