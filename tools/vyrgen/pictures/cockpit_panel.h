// The cockpit's panel picture (a_1280.lbm): canopy frame, head-up display glass, glare shield,
// instrument panels with the wells the live instruments are drawn into, MFD bezels and side
// consoles, in the cockpit colours; colour 0 wherever the world shows through.
#pragma once

#include <vector>

#include "tools/vyrgen/pictures/iff.h"

namespace vyr::vyrgen {

Image cockpit_panel_picture();
// Every lamp's unlit image at its place: the panel draws a lamp only when it changes, so the
// picture starts with them all out. `instruments` are the panel's pictures in layout order.
void paint_unlit_lamps(Image& panel, const std::vector<PictureFile>& instruments);

}  // namespace vyr::vyrgen
