// Stand-in for the AI vehicles and the battlefield beyond the drone records, tasks, routes and
// type table: no soldier figure, ship set-up, drone weapon, war or notification exists yet.
#include "library/3dvisual/instance.h"
#include "library/maths/matrix.h"
#include "source/drone/drone.h"
#include "source/drone/drone_movers.h"
#include "source/drone/drone_war.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/ships.h"
#include "source/drone/soldiers.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/drone/wingman.h"
#include "source/warmodel/war_model.h"

namespace vyr {

void register_wingman_keys() {}
void arm_user_wingmen() {}

// No war is fought yet.
void init_war_model() {}
void update_war_model() {}
void release_war_model() {}
void reset_war_model_flag() {}

// Soldiers get no figure record, ships no set-up and drones no weapons; the reset leaves the
// "none" marks a record needs.
void create_human_figure(Drone*) {}
void create_gun_figure(Drone*) {}
void create_plain_figure(Drone*) {}
void set_figure_alone(HumanFigure*) {}
void set_figure_leader(HumanFigure*, Drone*) {}
void set_figure_formation_row(HumanFigure*, int, int) {}
void unload_human_group(Drone*) {}

// Drones are placed but nothing moves them yet; no formation changes its mode.
void update_air_drone(Drone*) {}
int advance_cap_waypoint(Drone*) { return 0; }
// No engine-fire smoke or exhaust haze trails the player's aircraft yet.
void emit_user_damage_smoke() {}
void emit_user_exhaust_haze() {}
void update_water_drone(Drone*) {}
void update_ground_drone(Drone*) {}
void update_train_drone(Drone*) {}
void update_human_drone(Drone*) {}
void update_formation_mode(Drone*) {}
void init_ship_drone(Drone*) {}
// Without ship set-up no carrier is ever recorded, so there is none to clear.
void reset_carriers() {}
// No carrier takes a helicopter aboard.
int add_carrier_aircraft(Drone*) { return 0; }
void leave_carrier_deck(Drone*) {}
void reset_drone_weapons(Drone* drone) {
    drone->cap_index = 255;
    drone->weapon_slot = 255;
    drone->target = {};
    drone->target.kind = TARGET_MOBILE;
    drone->target.object = &drone->object;
}
void set_drone_loadout(Drone*) {}
// A killed drone is only marked: no wreck, score or message yet.
void kill_drone(Drone* drone) {
    drone->destroyed = 1;
    drone->object.flags |= INSTANCE_INACTIVE;
}
void clear_drone_attack_target(Drone* drone) { drone->attack_target = nullptr; }
// No drone carries decoys or is flown from another machine; only flying drones are targetable.
int is_drone_targetable(const Drone* drone) {
    return drone->drone_class == DRONE_CLASS_HELICOPTER || drone->drone_class == DRONE_CLASS_AIRCRAFT;
}
int is_drone_chaff_active(const Drone*) { return 0; }
int is_drone_flare_active(const Drone*) { return 0; }
const char* get_drone_player_name(const Drone*) { return nullptr; }

// No drone hears a notification: every subscription is refused.
void clear_drone_notify(Drone*) {}
int subscribe_drone_notify(Drone*, Drone*, int) { return 0; }
void raise_drone_notify(Drone*, int) {}

// No autopilot flies the player's aircraft and no link brings remote drones; no bombing run to
// reset.
int get_drone_autopilot(const Drone*) { return 0; }
void reset_drone_bomb_run() {}
void update_remote_drones() {}

// No carrier, and the player's aircraft has no route to follow.
int is_landing_on_carrier_deck(Drone*, ObjectInstance*, const Vector3&) { return 0; }
void land_user_on_carrier(ObjectInstance*) {}
bool get_current_waypoint_position(int32_t&, int32_t&) { return false; }
const Pose* get_user_carrier_pose() { return nullptr; }

}  // namespace vyr
