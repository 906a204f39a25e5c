// The payload screen's two description files: "menuscrn/pylon.dat" (the eleven hardpoints) and
// "menuscrn/wpn.dat" (the 26 stores), in the payload scanner's plain text.
#pragma once

#include <vector>

#include "tools/vyrgen/data_set.h"

namespace vyr::vyrgen {

std::vector<DataFile> payload_files();

}  // namespace vyr::vyrgen
