// Soldier body states: walking, aiming, and getting in and out of transports.
#pragma once

namespace vyr {

struct Drone;

// A transport carrying or awaiting the soldier has landed: it gets out or boards.
void board_transport(Drone* soldier, Drone* transport);

}  // namespace vyr
