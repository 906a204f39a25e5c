// Stand-in for the AI vehicles and the battlefield beyond the drone records, tasks, routes and
// type table: no soldier figure, ship set-up, drone weapon, war or notification exists yet.
#include "library/3dvisual/instance.h"
#include "library/maths/matrix.h"
#include "source/drone/drone.h"
#include "source/drone/drone_war.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/ships.h"
#include "source/drone/soldier_moves.h"
#include "source/drone/soldiers.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/drone/wingman.h"
#include "source/warmodel/war_model.h"

namespace vyr {

// With no soldiers there is nothing to load or pose.
void load_human_movements() {}
void pose_human_figure(void*) {}
void register_user_drone_keys() {}
void register_wingman_keys() {}
void reset_human_death_counter() {}
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
void init_ship_drone(Drone*) {}
// Without ship set-up no carrier is ever recorded, so there is none to clear.
void reset_carriers() {}
void reset_drone_weapons(Drone* drone) {
    drone->cap_index = 255;
    drone->weapon_slot = 255;
    drone->target = {};
    drone->target.kind = TARGET_MOBILE;
    drone->target.object = &drone->object;
}
void set_drone_loadout(Drone*) {}
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

namespace {

// The player's aircraft has the flight model's pose and no route, carrier or air brake.
Pose own_pose = {};

ObjectInstance make_own_object() {
    ObjectInstance instance{};
    instance.object_type = 606;  // the player's aircraft
    instance.pose = &own_pose;
    return instance;
}

ObjectInstance own_object = make_own_object();
int gear_state = GEAR_DOWN;

constexpr int32_t START_HEIGHT = 3000 * 256;  // world units

}  // namespace

void set_user_drone(Drone*) {}
int get_drone_autopilot(const Drone*) { return 0; }

// Nothing to place, arm or move but the player's aircraft, which starts over the middle of
// the theatre heading north.
void place_drones_at_start() {}
void reset_drone_bomb_run() {}
void update_drones() {}
void update_remote_drones() {}
void emit_touchdown_smoke() {}
void create_user_drone() {
    own_pose.position = {1 << 27, 1 << 27, START_HEIGHT};
    set_identity_matrix(own_pose.matrix);
}
int is_landing_on_carrier_deck(Drone*, ObjectInstance*, const Vector3&) { return 0; }
void land_user_on_carrier(ObjectInstance*) {}

ObjectInstance* player_object = &own_object;
Pose* player_position = &own_pose;
int32_t air_brake_state = 0;
int32_t wheel_brake_state = 0;

bool get_current_waypoint_position(int32_t&, int32_t&) { return false; }
const Pose* get_user_carrier_pose() { return nullptr; }
int get_gear_state() { return gear_state; }
void set_gear_state(int state) { gear_state = state; }
uint32_t get_air_brake_angle() { return 0; }

}  // namespace vyr
