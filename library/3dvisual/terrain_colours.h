// The terrain's colours in the 3D palette: the five ramps of TERRAIN.RGB, their shade rows, the
// rows of the software fade, the backdrop's ground colours and the four hazed colour tables.
#pragma once

#include <cstdint>

#include "library/graphics/palette.h"

namespace vyr {

constexpr int FIRST_TERRAIN_COLOUR = 71;
constexpr int TERRAIN_COLOURS = 64;

// The hazed tables themselves, terrain_haze_tables, stand beside the shade table.
// The backdrop's ground colour (always 167), then the theatre's own ground colour.
extern uint8_t terrain_ground_colours[2];

// Splits the installed visual range into the terrain's near and far tiles, loads TERRAIN.RGB and
// TERRCOLS.BIN of the current war zone and builds the shade rows and hazed tables.
void load_terrain_colours();
// Writes rows 71..134 of the table `set_remap_ramp` fills, each ramp closed in on its haze colour
// by `fraction` (0: the whole ramp).
void build_terrain_ramps(float fraction);

}  // namespace vyr
