// The players of a linked game.
#pragma once

#include <cstdint>

namespace vyr {

// This machine's player number in a linked game, -1 until known; its drone is the user task's
// drone of that index.
extern int32_t own_player_number;
struct Drone;
// The other player's aircraft in a two-player game; null when there is none.
extern Drone* other_player_drone;

}  // namespace vyr
