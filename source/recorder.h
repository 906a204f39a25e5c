// The flight event recorder: what happened in a flight, for the debrief.
#pragma once

#include <cstdint>

namespace vyr {

// The player's track: a record once the aircraft is 500 ft from the last one.
void record_player_position(int32_t x, int32_t y);
// Grade 1 to 6 of the landing check (6: on water), at world position x, y.
void record_player_landed(int32_t grade, int32_t x, int32_t y);

}  // namespace vyr
