#include "source/sknet/kill_reports.h"

#include "source/drone/drone.h"
#include "source/drone/remote_drones.h"
#include "source/drone/task.h"
#include "source/sknet/game_rules.h"

namespace vyr {

// Only a drone another player flies is killed on every machine, and that player is scored.
void kill_networked_drone(Drone* drone) {
    if (connection_mode == CONNECTION_NONE || drone->destroyed || !drone->task) return;
    const int player = find_player_by_aircraft_id(drone->task->id, drone->index);
    if (player < 0) return;
    remove_remote_drone(drone);
    send_score(player);
}

}  // namespace vyr
