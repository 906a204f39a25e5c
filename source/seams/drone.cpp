// Stand-in for the AI vehicles and the battlefield beyond the drone records, tasks, routes, type
// table, soldiers, movers, notifications, carriers and drone weapons: no war or target search
// exists yet.
#include "source/drone/drone.h"
#include "source/drone/drone_war.h"
#include "source/drone/user_drone.h"
#include "source/warmodel/cap.h"
#include "source/warmodel/sector_search.h"
#include "source/warmodel/war_model.h"

namespace vyr {

// No war is fought yet: no air patrol, no drone or ground war.
void reset_war_model_flag() {}
void init_cap() {}
void update_drone_war() {}
void update_ground_war() {}
void fire_at_next_waypoint_sector(Drone*) {}
// No aircraft looks for targets, and the sectors list nothing to find.
void check_air_drone_target(Drone*) {}
Target* find_random_sector_aircraft(const Vector3&, int, int32_t, int32_t) { return nullptr; }
Target* find_random_live_sector_surface(const Vector3&, int, int32_t, int32_t) { return nullptr; }

// No engine-fire smoke or exhaust haze trails the player's aircraft yet.
void emit_user_damage_smoke() {}
void emit_user_exhaust_haze() {}

// No autopilot flies the player's aircraft.
int get_drone_autopilot(const Drone*) { return 0; }

}  // namespace vyr
