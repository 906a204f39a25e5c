// The feature files of each theatre, from its layout: features.bin and feature1.lyr (the sea,
// lakes, rivers, roads, railways, runways and taxiways of each tile) and super.bin and
// super1.lyr (the sea around the world square, one block at a time).
#pragma once

#include <vector>

#include "tools/vyrgen/data_set.h"

namespace vyr::vyrgen {

std::vector<DataFile> feature_files();

}  // namespace vyr::vyrgen
