// Weapon selection, modes and the weapon keys.
#pragma once

#include <cstdint>

namespace vyr {

void register_weapon_keys();

// Set by a press of the fire control; the frame loop clears it once the control is let go.
extern int32_t fire_latch;

}  // namespace vyr
