// Stand-in for the AI vehicles and the battlefield beyond the drone records, tasks, routes, type
// table, soldier figures, movers, notifications and carriers: no soldier brain or body, drone
// weapon, war, manoeuvre or target search exists yet.
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/maths/matrix.h"
#include "source/drone/air_manoeuvre.h"
#include "source/drone/drone.h"
#include "source/drone/drone_war.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/ships.h"
#include "source/drone/soldier_body.h"
#include "source/drone/soldier_brain.h"
#include "source/drone/soldiers.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/drone/wingman.h"
#include "source/warmodel/battle_cells.h"
#include "source/warmodel/cap.h"
#include "source/warmodel/sector_search.h"
#include "source/warmodel/war_model.h"

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
// No aircraft looks for targets.
void check_air_drone_target(Drone*) {}

// Until the soldiers' brain and body are built a soldier keeps its place and its pose: a
// stretcher party forms and its rear bearer and casualty keep behind the front bearer; actions
// are only stored; nobody searches, walks or aims. Ships get no set-up and drones no weapons; the
// reset leaves the "none" marks a record needs.
void update_human_brain(Drone* drone) {
    HumanFigure* figure = drone->class_record;
    if (!(figure->flags & HUMAN_INITIALISED)) {
        form_stretcher_party(drone);
        figure->flags |= HUMAN_INITIALISED;
    }
    if (figure->flags & HUMAN_CARRIED) carry_stretcher(drone);
}
void set_group_action(Drone* drone, int32_t action) {
    for (Drone* d = drone; d; d = next_group_member(d))
        if (d->class_record) d->class_record->action_state = action;
}
void search_human_target(Drone*) {}
void aim_gun(Drone*) {}

// No manoeuvre flies an aircraft: jets are steered like helicopters, and no Cap Start loops a
// route.
int update_air_manoeuvre(Drone*) { return 0; }
int advance_cap_waypoint(Drone*) { return 0; }

// A soldier only notes the transport it gets out of or into, in the figure it has.
void board_transport(Drone* soldier, Drone* transport) {
    if (soldier->drone_class == DRONE_CLASS_HUMAN && soldier->class_record) soldier->class_record->transport = transport;
}

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
int choose_drone_weapon(Drone*) { return 0; }
void kill_drone(Drone* drone) {
    if (drone->destroyed) return;
    if (!(drone->object.flags & INSTANCE_INACTIVE)) unlink_mobile_object(&drone->object);
    drone->destroyed = 1;
    drone->object.flags |= INSTANCE_INACTIVE;
}
void clear_drone_attack_target(Drone* drone) { drone->attack_target = nullptr; }
// No drone carries decoys or is flown from another machine; only flying drones are targetable.
int is_drone_targetable(const Drone* drone) {
    return drone->drone_class == DRONE_CLASS_HELICOPTER || drone->drone_class == DRONE_CLASS_AIRCRAFT;
}
void alert_drone_under_attack(Drone*, Target*) {}
void launch_drone_chaff(Drone*) {}
void launch_drone_flare(Drone*) {}
int is_drone_chaff_active(const Drone*) { return 0; }
int is_drone_flare_active(const Drone*) { return 0; }
const char* get_drone_player_name(const Drone*) { return nullptr; }
// No drone fires or drops decoys yet, so none has a round to forget.
void release_drone_round(Drone*, WeaponRound*) {}

// No autopilot flies the player's aircraft and no link brings remote drones; no bombing run to
// reset.
int get_drone_autopilot(const Drone*) { return 0; }
void reset_drone_bomb_run() {}
void update_remote_drones() {}


}  // namespace vyr
