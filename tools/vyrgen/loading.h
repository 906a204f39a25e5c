// The loading screen: the background under menuscrn and the overlay that each start-up phase
// shows on it, in the background's colours.
#pragma once

#include <vector>

#include "tools/vyrgen/iff.h"

namespace vyr::vyrgen {

constexpr int LOADING_OVERLAY_WIDTH = 240;
constexpr int LOADING_OVERLAY_HEIGHT = 170;

std::vector<PictureFile> loading_pictures();

}  // namespace vyr::vyrgen
