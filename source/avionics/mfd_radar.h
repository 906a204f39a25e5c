// The MFD radar page: the air display with its scan carets or the ground map, each under an
// attitude bar, with the radar's own contact symbols, a frame of scales and labels, and the
// designated target's data. It only reads the radar's state.
#pragma once

#include <cstdint>

#include "source/avionics/mfd.h"

namespace vyr {

void draw_mfd_radar_page(const MfdRect& rect, int page);
// The attitude bar's vertical offset in a window of half-width `half_range`: the window's middle
// level, the bottom at 70 degrees nose up.
int32_t radar_attitude_offset(uint32_t pitch, int32_t half_range);
// The name of the network player nearest the designated object; "" when no slot has a drone.
const char* nearest_player_name();

}  // namespace vyr
