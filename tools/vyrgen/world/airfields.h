// airfield.bin of each theatre: one 32-byte record per airfield of its layout (name, the landing
// aid's frequency as shown, and the runway's middle in world units), after an int32 count.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/vyrgen/data_set.h"

namespace vyr::vyrgen {

std::vector<uint8_t> encode_airfields(int zone);
std::vector<DataFile> airfield_files();

}  // namespace vyr::vyrgen
