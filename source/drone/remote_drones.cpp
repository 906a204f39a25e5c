#include "source/drone/remote_drones.h"

#include <algorithm>
#include <cstdint>

#include "library/3dvisual/fragments.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/debug/fatal.h"
#include "library/maths/matrix.h"
#include "library/maths/units.h"
#include "library/maths/vector.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/ships.h"
#include "source/drone/task.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/net_players.h"
#include "source/warmodel/war_model.h"
#include "source/weapons/launch.h"
#include "source/weapons/object_types.h"
#include "source/weapons/rounds.h"
#include "source/weapons/target.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

int32_t remote_shots_dropped = 0;

namespace {

constexpr const char* SOURCE = "source/drone/remote_drones";
// A slot's speed is taken up to this many knots, so that it stays a speed once in world units.
constexpr int32_t MAX_REMOTE_KNOTS = 4000;
constexpr int32_t TARGET_SENT_GROUND_OBJECT = 1, TARGET_SENT_DRONE = 2;
// The dumps and flags stay in a deathmatch, for either side to fight over.
constexpr int32_t KEPT_OBJECTS[] = {OBJ_SUPPLY_PALLETS, OBJ_RED_FLAG, OBJ_BLUE_FLAG};
constexpr int DISPENSER_DROPS = 35;

bool linked() { return connection_mode != CONNECTION_NONE; }

NetPlayer* slot_of(const Drone* drone) {
    return drone->player >= 0 && drone->player < MAX_NET_PLAYERS ? &net_players[drone->player] : nullptr;
}

Task* nth_task(int n) {
    Task* task = task_list;
    while (task && n-- > 0) task = task->next;
    return task;
}

template <typename Visit>
void for_each_drone(Visit visit) {
    for (Task* task = task_list; task; task = task->next)
        for (Drone* leader = task->first_drone; leader; leader = leader->next) {
            visit(leader);
            for (Drone* member = leader->first_member; member; member = member->next) visit(member);
        }
}

// Out of the war model's sectors and back, so that it is filed under its new side.
void change_side(Drone* drone, int side) {
    constexpr int32_t SIDE_BITS = 3 << INSTANCE_SIDE_SHIFT;
    war_drone_leave_sector(&drone->object);
    drone->object.flags = (drone->object.flags & ~SIDE_BITS) | ((side & 3) << INSTANCE_SIDE_SHIFT);
    war_drone_enter_sector(&drone->object);
}

int side_for_game_mode(int task_number) {
    switch (game_mode) {
    case GAME_SINGLE: report_fatal_error("GAME SINGLE PLAYER IN ALLOCATE DRONES", SOURCE, __LINE__); break;
    case GAME_COMBAT:
    case GAME_MULTI_PLAYER:
    case GAME_LINKED_MISSION: return SIDE_ENEMY;
    case GAME_TWO_PLAYER_MISSION:
    case GAME_PILOT_GUNNER: return SIDE_ALLIED;
    case GAME_CAPTURE_FLAG: return task_number == 1 ? SIDE_ENEMY : SIDE_ALLIED;
    default: break;
    }
    return SIDE_ENEMY;
}

bool is_flying_type(int object_number) {
    const int c = get_drone_type_class(object_number);
    return c == DRONE_CLASS_AIRCRAFT || c == DRONE_CLASS_HELICOPTER;
}

// The object number and task (0 first, 1 second) of a slot's aircraft.
void choose_player_aircraft(const NetPlayer& slot, int& object_number, int& task_number) {
    const bool blue = slot.status_bits & NET_STATUS_BLUE_TEAM;
    switch (slot.aircraft_object) {
    case OBJ_AH64C_SKEREL:
    case OBJ_AH64D_SKEREL_TARNVEL: object_number = OBJ_AH64C_SKEREL, task_number = 1; return;
    case OBJ_MI24_VORN_222:
    case OBJ_MI24_VORN_607: object_number = OBJ_MI24_VORN_990, task_number = 1; return;
    case OBJ_VYR_HOVREN_TALSWEEP: object_number = OBJ_VYR_HOVREN_TALSWEEP, task_number = blue ? 0 : 1; return;
    case 0: object_number = 231, task_number = blue ? 0 : 1; return;
    default: break;
    }
    // Another machine's number for an aircraft this program does not fly is flown as the fighter.
    object_number = is_flying_type(slot.aircraft_object) ? slot.aircraft_object : OBJ_VYR_HOVREN_TALSWEEP;
    task_number = 0;
}

enum class RemoteFire { GUN, GUIDED_DESIGNATED, GUIDED, UNGUIDED, FLARE, CHAFF, DROPPED, NOTHING, UNKNOWN };

RemoteFire remote_fire_of(int w) {
    switch (w) {
    case 1: case 19: case 21: case 22: return RemoteFire::GUN;
    case 2: case 18: case 27: case 36: case 37: case 38: return RemoteFire::GUIDED_DESIGNATED;
    case 3: case 6: case 9: case 10: case 23: case 24: case 28: case 41: return RemoteFire::GUIDED;
    case 4: case 5: case 16: case 17: case 25: case 26: case 43: case 44: case 49: return RemoteFire::UNGUIDED;
    case 7: return RemoteFire::FLARE;
    case 8: return RemoteFire::CHAFF;
    case 11: case 12: case 13: case 14: case 15: case 20: case 29: case 30: case 31: case 32: case 33: case 34:
    case 35: case 39: case 40: case 42: case 58: case 59: return RemoteFire::DROPPED;
    default: break;
    }
    return w >= 84 && w <= 108 ? RemoteFire::NOTHING : RemoteFire::UNKNOWN;
}

void drop_shot(NetPlayer& slot) {
    ++remote_shots_dropped;
    slot.weapon = 0;
}

WeaponRound* started(WeaponRound* round, const NetPlayer& slot) {
    if (round) round->random_state = slot.weapon_random_state;
    return round;
}

// Four rounds from points stepped along the sent direction, a weapon interval's flight apart;
// a step into the ground is taken back.
void fire_remote_gun(Drone* drone, const NetPlayer& slot, int w) {
    const WeaponInfo& info = weapon_info[w];
    const int32_t reach = info.fire_interval > 0 ? info.launch_speed / info.fire_interval : 0;
    const Vector3 step = {mul31(reach, slot.target_data[0]), mul31(reach, slot.target_data[1]),
                          mul31(reach, slot.target_data[2])};
    Pose pose = drone->pose;
    for (int i = 0; i < 4; ++i) {
        Vector3& p = pose.position;
        p = {p.x + step.x, p.y + step.y, p.z + step.z};
        if (p.z < get_ground_height(p.x, p.y)) p = {p.x - step.x, p.y - step.y, p.z - step.z};
        activate_round(started(launch_unguided_round(w, pose, &drone->target, drone), slot));
    }
}

}  // namespace

void clear_player_scores() { std::fill(std::begin(player_scores), std::end(player_scores), 0); }

int attach_player_drone(int player, int object_number, int task_number) {
    if (!linked() || player < 0 || player >= MAX_NET_PLAYERS) return 0;
    Task* task = nth_task(task_number);
    if (!task) return 0;
    Drone* drone = task->first_drone;
    while (drone && drone->index != player) drone = drone->next;
    if (!drone) return 0;
    change_side(drone, side_for_game_mode(task_number));
    drone->player = player;
    NetPlayer& slot = net_players[player];
    slot.slot_state = uint8_t(player);
    slot.aircraft_id = (task->id << 16) | drone->index;
    slot.drone = drone;
    leave_carrier_deck(drone);
    set_drone_type(drone, object_number);
    return 1;
}

void allocate_player_drones() {
    if (!linked() || game_mode == GAME_PILOT_GUNNER) return;
    for (int p = 0; p < MAX_NET_PLAYERS; ++p) {
        NetPlayer& slot = net_players[p];
        if (slot.slot_state == NET_SLOT_EMPTY || p == own_player_number) continue;
        int object_number = 0, task_number = 0;
        choose_player_aircraft(slot, object_number, task_number);
        if (attach_player_drone(p, object_number, task_number)) set_identity_matrix(slot.pose.matrix);
    }
    if (connection_mode == CONNECTION_NETWORK) clear_player_scores();
    if (game_mode == GAME_COMBAT || game_mode == GAME_MULTI_PLAYER || game_mode == GAME_CAPTURE_FLAG)
        clear_non_player_drones();
}

void clear_non_player_drones() {
    for_each_drone([](Drone* drone) {
        // The player's own drone is this machine's too, and stays.
        if (drone->player != -1 || drone == user_drone) return;
        if (std::ranges::find(KEPT_OBJECTS, get_drone_object_number(drone)) != std::end(KEPT_OBJECTS)) {
            change_side(drone, SIDE_ENEMY);
            return;
        }
        drone->object.flags |= INSTANCE_INACTIVE;
        unlink_mobile_object(&drone->object);
    });
}

void update_remote_drones() {
    if (!linked()) return;
    for (Task* task = task_list; task; task = task->next)
        for (Drone* drone = task->first_drone; drone; drone = drone->next) {
            NetPlayer* slot = slot_of(drone);
            if (drone == user_drone || !slot || drone->destroyed) continue;
            drone->speed = std::clamp(slot->speed, 0, MAX_REMOTE_KNOTS) * KNOT;
            drone->pose.matrix = slot->pose.matrix;
            const Vector3 at = slot->pose.position;
            place_mobile_object(&drone->object, at.x, at.y, at.z);
            if (at.x != 0 && at.y != 0 && at.z != 0) fire_remote_weapon(drone);
        }
}

void fire_remote_weapon(Drone* drone) {
    NetPlayer* slot_pointer = slot_of(drone);
    if (!linked() || !slot_pointer || slot_pointer->weapon == 0) return;
    NetPlayer& slot = *slot_pointer;
    const int w = slot.weapon;
    const RemoteFire fire = remote_fire_of(w);
    if (fire == RemoteFire::UNKNOWN) return drop_shot(slot);
    Target* target = nullptr;
    Target* pooled = nullptr;
    if (fire != RemoteFire::GUN) {
        const Vector3 sent = {slot.target_data[0], slot.target_data[1], slot.target_data[2]};
        if (slot.target_kind == TARGET_SENT_GROUND_OBJECT) {
            if (ground_object* record = find_ground_object_exact(sent))
                target = pooled = new_ground_object_target(record, sent);
        } else if (slot.target_kind == TARGET_SENT_DRONE) {
            if (Drone* victim = find_drone_by_net_id(sent.x, sent.y)) target = get_drone_target(victim);
        } else if (slot.target_kind != 0) {
            return drop_shot(slot);
        }
    }
    const Pose& pose = drone->pose;
    Target* shooter = &drone->target;
    switch (fire) {
    case RemoteFire::GUN: fire_remote_gun(drone, slot, w); break;
    case RemoteFire::GUIDED_DESIGNATED:
        activate_round(started(launch_guided_round(w, pose, shooter, shooter, target, drone), slot));
        break;
    case RemoteFire::GUIDED:
        activate_round(started(launch_guided_round(w, pose, shooter, nullptr, target, drone), slot));
        break;
    case RemoteFire::UNGUIDED: activate_round(started(launch_unguided_round(w, pose, shooter, drone), slot)); break;
    case RemoteFire::FLARE: launch_drone_flare(drone); break;
    case RemoteFire::CHAFF: launch_drone_chaff(drone); break;
    case RemoteFire::DROPPED: {
        const int32_t extra = weapon_info[w].round_class == ROUND_CLASS_DECOY ? weapon_info[w].spread : 0;
        const int drops = w == WEAPON_KMGU ? DISPENSER_DROPS : 1;
        WeaponRound* last = nullptr;
        for (int i = 0; i < drops; ++i) last = started(launch_dropped_round(w, pose, shooter, extra, drone), slot);
        activate_round(last);
        break;
    }
    case RemoteFire::NOTHING:
    case RemoteFire::UNKNOWN: break;
    }
    // The rounds keep copies of the target.
    release_target(pooled);
    slot.weapon = 0;
}

int find_player_by_aircraft_id(int32_t task_id, int32_t index) {
    if (!linked()) return -1;
    const int32_t id = (task_id << 16) | index;
    for (int p = 0; p < MAX_NET_PLAYERS; ++p)
        if (net_players[p].slot_state != NET_SLOT_EMPTY && net_players[p].aircraft_id == id) return p;
    return -1;
}

Drone* find_drone_by_net_id(int32_t task_id, int32_t index) {
    Task* task = task_list;
    while (task && task->id != task_id) task = task->next;
    if (!task) return nullptr;
    for (Drone* leader = task->first_drone; leader; leader = leader->next) {
        if (leader->index == index) return leader;
        for (Drone* member = leader->first_member; member; member = member->next)
            if (member->index == index) return member;
    }
    return nullptr;
}

const char* get_drone_player_name(const Drone* drone) {
    NetPlayer* slot = slot_of(drone);
    if (!linked() || !slot) return nullptr;
    slot->name[NET_NAME_LENGTH] = 0;  // the other machine's 8 characters, ended here
    return slot->name;
}

void remove_remote_drone(Drone* drone) {
    kill_drone(drone);
    spawn_fragments(&drone->object);
}

void set_player_drone_type(Drone* drone, int aircraft_object) {
    int32_t parts[DRONE_PART_LIST_SIZE] = {};
    int object_number = OBJ_VYR_HOVREN_TALSWEEP;
    if (aircraft_object == OBJ_AH64C_SKEREL || aircraft_object == OBJ_AH64D_SKEREL_TARNVEL) {
        object_number = OBJ_AH64C_SKEREL;
    } else if (aircraft_object == OBJ_MI24_VORN_222 || aircraft_object == OBJ_MI24_VORN_607 || aircraft_object == OBJ_MI24_VORN_990) {
        object_number = OBJ_MI24_VORN_990;
        parts[0] = 1009;
    } else {
        parts[0] = 1209;
        parts[16] = 1034;
    }
    build_drone_object(drone, object_number, parts);
    drone->destroyed = 0;
    drone->damage = drone->previous_damage = 0;
    drone->object.flags &= ~INSTANCE_INACTIVE;
    link_mobile_object(&drone->object);
}

}  // namespace vyr
