// The full-screen pictures of the intro (the publisher's badge and the title) and the
// backgrounds of the first two menu screens.
#pragma once

#include <vector>

#include "tools/vyrgen/pictures/iff.h"

namespace vyr::vyrgen {

std::vector<PictureFile> backdrop_pictures();

}  // namespace vyr::vyrgen
