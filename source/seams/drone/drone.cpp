// Stand-in for the player's autopilot: none flies the aircraft.
#include "source/drone/drone.h"

namespace vyr {

int get_drone_autopilot(const Drone*) { return 0; }

}  // namespace vyr
