// Stand-in for the smoke and haze trailing the player's aircraft.
#include "source/drone/user_drone.h"

namespace vyr {

// No engine-fire smoke or exhaust haze trails the player's aircraft yet.
void emit_user_damage_smoke() {}
void emit_user_exhaust_haze() {}

}  // namespace vyr
