// Stand-in for the AI vehicles and the battlefield beyond the drone records, tasks, routes, type
// table, soldiers, movers, notifications and carriers: no drone weapon, war or target search
// exists yet.
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/maths/matrix.h"
#include "source/drone/drone.h"
#include "source/drone/drone_war.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/ships.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/drone/wingman.h"
#include "source/warmodel/battle_cells.h"
#include "source/warmodel/cap.h"
#include "source/warmodel/sector_search.h"
#include "source/warmodel/war_model.h"
#include "source/weapons/object_types.h"

namespace vyr {

void register_wingman_keys() {}
void arm_user_wingmen() {}

// No war is fought yet: no air patrol, no drone or ground war, no battle in the cells.
void reset_war_model_flag() {}
void init_cap() {}
void update_drone_war() {}
void update_ground_war() {}
void update_battle_cells() {}
void fire_at_next_waypoint_sector(Drone*) {}
// No aircraft looks for targets, and the sectors list nothing to find.
void check_air_drone_target(Drone*) {}
Target* find_random_sector_aircraft(const Vector3&, int, int32_t, int32_t) { return nullptr; }
Target* find_random_live_sector_surface(const Vector3&, int, int32_t, int32_t) { return nullptr; }


// No engine-fire smoke or exhaust haze trails the player's aircraft yet.
void emit_user_damage_smoke() {}
void emit_user_exhaust_haze() {}
void reset_drone_weapons(Drone* drone) {
    drone->cap_index = 255;
    drone->weapon_slot = 255;
    drone->target = {};
    drone->target.kind = TARGET_MOBILE;
    drone->target.object = &drone->object;
}
void set_drone_loadout(Drone*) {}
// A killed drone leaves the world's lists and is marked: no score, message or change to its
// task and formation yet.
// A drone fires the weapon its type was given, at whatever it has been set to attack; the
// current slot keeps its own rounds and shot time; no drone reacts to an attacker.
int choose_drone_weapon(Drone* drone) { return drone->attack_target ? drone->weapon_id : 0; }
void rearm_weapon_selection(Drone*) {}
int32_t get_weapon_rounds(Drone* drone) {
    return drone->weapon_slot < DRONE_WEAPON_SLOTS ? drone->weapon_slots[drone->weapon_slot].rounds : 0;
}
int use_weapon_round(Drone* drone) {
    if (get_weapon_rounds(drone) <= 0) return 0;
    return --drone->weapon_slots[drone->weapon_slot].rounds, 1;
}
int32_t get_next_shot_time(Drone* drone) {
    return drone->weapon_slot < DRONE_WEAPON_SLOTS ? drone->weapon_slots[drone->weapon_slot].next_shot_time : INT32_MAX;
}
void set_next_shot_time(Drone* drone, int32_t tick) {
    if (drone->weapon_slot < DRONE_WEAPON_SLOTS) drone->weapon_slots[drone->weapon_slot].next_shot_time = tick;
}
void alert_drone_under_attack(Drone*, Target*) {}
void notice_attacker(Drone*, Target*) {}
void kill_drone(Drone* drone) {
    if (drone->destroyed) return;
    if (!(drone->object.flags & INSTANCE_INACTIVE)) unlink_mobile_object(&drone->object);
    drone->destroyed = 1;
    drone->object.flags |= INSTANCE_INACTIVE;
}
void clear_drone_attack_target(Drone* drone) { drone->attack_target = nullptr; }
// No drone carries decoys or is flown from another machine; flying drones and radar sites
// standing are targetable.
int is_drone_targetable(const Drone* drone) {
    return drone->drone_class == DRONE_CLASS_HELICOPTER || drone->drone_class == DRONE_CLASS_AIRCRAFT ||
           (is_radar_object(drone->object.object_type) && !drone->destroyed);
}
int is_drone_chaff_active(const Drone*) { return 0; }
int is_drone_flare_active(const Drone*) { return 0; }
const char* get_drone_player_name(const Drone*) { return nullptr; }
// No drone drops decoys yet, so none has one to drop at a missile; an ended last round no longer
// holds its fire.
void release_drone_round(Drone* drone, WeaponRound* round) {
    if (drone->last_round == round) drone->last_round = nullptr;
}
void warn_drone_of_missile(Drone*, WeaponRound*) {}

// No autopilot flies the player's aircraft and no link brings remote drones; no bombing run to
// reset.
int get_drone_autopilot(const Drone*) { return 0; }
void reset_drone_bomb_run() {}
void update_remote_drones() {}


}  // namespace vyr
