// Stand-in for the AI vehicles and the battlefield beyond the drone records, tasks, routes, type
// table, movers, notifications and carriers: no soldier figure, drone weapon, war, manoeuvre or
// target search exists yet.
#include "library/3dvisual/instance.h"
#include "library/maths/matrix.h"
#include "source/drone/air_manoeuvre.h"
#include "source/drone/drone.h"
#include "source/drone/drone_war.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/soldier_states.h"
#include "source/drone/soldiers.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/drone/wingman.h"
#include "source/warmodel/sector_search.h"
#include "source/warmodel/war_model.h"

namespace vyr {

void register_wingman_keys() {}
void arm_user_wingmen() {}

// No war is fought yet, and its generator always draws 0.
void init_war_model() {}
void update_war_model() {}
void release_war_model() {}
void reset_war_model_flag() {}
int32_t war_random() { return 0; }
void fire_at_next_waypoint_sector(Drone*) {}
// No aircraft looks for targets.
void check_air_drone_target(Drone*) {}

// No manoeuvre flies an aircraft: jets are steered like helicopters, and no Cap Start loops a
// route.
int update_air_manoeuvre(Drone*) { return 0; }
int advance_cap_waypoint(Drone*) { return 0; }

// Soldiers get no figure record and drones no weapons; the reset leaves the "none" marks a
// record needs.
void create_human_figure(Drone*) {}
void create_gun_figure(Drone*) {}
void create_plain_figure(Drone*) {}
void set_figure_alone(HumanFigure*) {}
void set_figure_leader(HumanFigure*, Drone*) {}
void set_figure_formation_row(HumanFigure*, int, int) {}
void unload_human_group(Drone*) {}
void update_human_drone(Drone*) {}
// Without figure records the group is the soldier's members and the soldiers after it.
Drone* next_group_member(Drone* drone) {
    if (drone->first_member) return drone->first_member;
    Drone* next = drone->next;
    return next && next->drone_class == DRONE_CLASS_HUMAN ? next : nullptr;
}
// A soldier only notes the transport it gets out of or into, in the figure it has.
void board_transport(Drone* soldier, Drone* transport) {
    if (soldier->drone_class == DRONE_CLASS_HUMAN && soldier->class_record) soldier->class_record->transport = transport;
}

void reset_drone_weapons(Drone* drone) {
    drone->cap_index = 255;
    drone->weapon_slot = 255;
    drone->target = {};
    drone->target.kind = TARGET_MOBILE;
    drone->target.object = &drone->object;
}
void set_drone_loadout(Drone*) {}
int choose_drone_weapon(Drone*) { return 0; }
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

// No autopilot flies the player's aircraft and no link brings remote drones; no bombing run to
// reset.
int get_drone_autopilot(const Drone*) { return 0; }
void reset_drone_bomb_run() {}
void update_remote_drones() {}

// The player's aircraft has no route to follow.
bool get_current_waypoint_position(int32_t&, int32_t&) { return false; }

}  // namespace vyr
