// The 3D palette, its colour remaps and the sky colours.
#pragma once

#include <cstdint>

namespace vyr {

// The remap every face, feature, backdrop and star drawer reads its colours through.
extern uint8_t colour_remap[256];

void build_world_palette();
// Every palette effect of the world back to level 0.
void restore_world_palette();
// The remap of the installed night-vision mode.
void select_colour_remap();
// Sky colours, night vision, darkness, sun glare and haze for the render in progress.
void update_sky_palette();

}  // namespace vyr
