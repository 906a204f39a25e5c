// The 3D palette, its colour remaps and the sky colours.
#pragma once

namespace vyr {

void build_world_palette();
// Every palette effect of the world back to level 0.
void restore_world_palette();
// The remap of the installed night-vision mode.
void select_colour_remap();
// Sky colours, night vision, darkness, sun glare and haze for the render in progress.
void update_sky_palette();

}  // namespace vyr
