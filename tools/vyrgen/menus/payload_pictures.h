// The payload screen's pictures: the aircraft from the front with its hardpoints, the salvo
// window, the hardpoint highlight, the screen's buttons and the 26 store pictures, each store
// hanging nose down on colour 0.
#pragma once

#include <vector>

#include "tools/vyrgen/pictures/iff.h"

namespace vyr::vyrgen {

std::vector<PictureFile> payload_pictures();

}  // namespace vyr::vyrgen
