// The night stars of the theatre's star map, the sun by day and the moon by night, drawn by the
// sky pass in the direction the installed view gives them.
#pragma once

#include <cstdint>

namespace vyr {

// Star records: brightness class 0..4, then a direction of -32..32 coarse grid steps per world
// axis stored as 0..64.
constexpr int STAR_RECORD_BYTES = 4;
constexpr int STAR_CLASSES = 5;
constexpr int STAR_DIRECTION_LIMIT = 64;

// The level of the sun-glare palette effect that the sky pass leaves for the next palette update.
extern int32_t sun_glare;
extern int32_t star_count;

// STARMAP.BIN of the war-zone directory of the world settings; a file that is not whole records
// of those ranges is fatal.
void load_star_map();
// Stars and the moon on a dark sky, else the sun, for the installed view.
void draw_stars();

}  // namespace vyr
