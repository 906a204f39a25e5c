// The loading screen: the background under menuscrn and the overlay that each start-up phase
// shows on it, in the background's colours.
#pragma once

#include <vector>

#include "tools/vyrgen/pictures/iff.h"

namespace vyr::vyrgen {

constexpr int LOADING_OVERLAY_WIDTH = 240;
constexpr int LOADING_OVERLAY_HEIGHT = 170;

std::vector<PictureFile> loading_pictures();

// The toolkit's default colours and the pointer's, so that installing a picture's whole colour map
// is safe.
void add_toolkit_colours(Palette& palette);

}  // namespace vyr::vyrgen
