// The soldiers' movement files of the sample data set: a natural cycle for each of the 74
// animation names, written in turn in every form of the format (12 joints with or without second
// angles, 12 joints with a body tilt, 11 joints with or without second angles).
#pragma once

#include <vector>

#include "tools/vyrgen/data_set.h"

namespace vyr::vyrgen {

// "3ddata/<name>.rot" for the 74 names, in animation number order.
std::vector<DataFile> movement_files();

}  // namespace vyr::vyrgen
