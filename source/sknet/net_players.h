// The players of a linked game.
#pragma once

#include <cstdint>

namespace vyr {

// This machine's player number in a linked game, -1 until known; its drone is the user task's
// drone of that index.
extern int32_t own_player_number;

}  // namespace vyr
