// Stand-in for what is left of the AI vehicles and the battlefield: the war model's reset flag and
// the player's aircraft's autopilot.
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/warmodel/war_model.h"

namespace vyr {

// The war model's flag has nothing to reset yet.
void reset_war_model_flag() {}

// No autopilot flies the player's aircraft.
int get_drone_autopilot(const Drone*) { return 0; }

}  // namespace vyr
