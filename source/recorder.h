// The flight event recorder: what happened in a flight, for the debrief.
#pragma once

#include <cstdint>

namespace vyr {

// The player's track: a record once the aircraft is 500 ft from the last one.
void record_player_position(int32_t x, int32_t y);

}  // namespace vyr
