// Stand-in for the AI vehicles and the battlefield beyond the drone records, tasks, routes, type
// table, soldiers, movers, notifications, carriers, drone weapons and the war: no battle cells,
// wingman keys, autopilot or remote drones exist yet.
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/drone/wingman.h"
#include "source/warmodel/battle_cells.h"
#include "source/warmodel/war_model.h"

namespace vyr {

void register_wingman_keys() {}

// No battle is fought in the cells yet.
void reset_war_model_flag() {}
void update_battle_cells() {}

// No engine-fire smoke or exhaust haze trails the player's aircraft yet.
void emit_user_damage_smoke() {}
void emit_user_exhaust_haze() {}

// No autopilot flies the player's aircraft and no link brings remote drones or their players.
int get_drone_autopilot(const Drone*) { return 0; }
void update_remote_drones() {}
const char* get_drone_player_name(const Drone*) { return nullptr; }

}  // namespace vyr
