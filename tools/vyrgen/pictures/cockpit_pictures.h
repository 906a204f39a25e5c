// The cockpit's pictures, in the cockpit colours 224..255: the quit box shown over the flight when
// the player asks to leave it, the panel picture and the panel's live instrument pictures.
#pragma once

#include <vector>

#include "tools/vyrgen/pictures/iff.h"

namespace vyr::vyrgen {

constexpr int QUIT_BOX_WIDTH = 252;
constexpr int QUIT_BOX_HEIGHT = 100;

std::vector<PictureFile> cockpit_pictures();

}  // namespace vyr::vyrgen
