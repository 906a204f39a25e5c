// Autoland: Alt+A flies the aircraft down the current beacon's approach on a temporary route,
// through the airframe and runway cameras, to touchdown, and hands it back after the roll-out.
#pragma once

#include <cstdint>

namespace vyr {

// The engaged flag and the model's flag (read by the frame loop, the drones and the avionics
// tick): both set and cleared together.
extern int32_t autoland_on;
extern int32_t autoland_engaged;
// 0..6: 1 near the airfield, 2 to 4 the runway camera's stages, 5 after touchdown (the drone's
// movement sets it), 6 the roll-out.
extern int32_t autoland_stage;

// Avionics start-up: off.
void reset_autoland();
// Alt+A: engages, or disengages when engaged; refused with two messages, silent in a deathmatch.
int toggle_autoland(int key_code);
// Why an engage would be refused now ("gear failure" ... "roll too extreme"), or null.
const char* check_autoland();
// Each acceleration step while engaged, in place of the flight controls.
void update_autoland();

}  // namespace vyr
