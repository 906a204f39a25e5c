#include "source/drone/drone.h"

#include <algorithm>
#include <iterator>

#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/debug/fatal.h"
#include "library/maths/random.h"
#include "source/avionics/views.h"
#include "source/drone/drone_types.h"
#include "source/drone/drone_war.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/formations.h"
#include "source/drone/ships.h"
#include "source/drone/soldiers.h"
#include "source/frame_loop.h"
#include "source/mission/selection.h"
#include "source/models/flight_model.h"
#include "source/skill.h"
#include "source/sknet/game_rules.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/drone/drone";
constexpr int32_t PLACEHOLDER_OBJECT = 34;
constexpr int32_t KNOTS_TO_SPEED = 432;  // world units per second in a knot

constexpr int32_t ATTENTION_4_MILES = 0x528000;
constexpr int32_t ATTENTION_7_MILES = 0x906000;
constexpr int32_t ATTENTION_10_MILES = 0xce4000;

Drone drone_pool[MAX_DRONES];
int32_t drone_used[MAX_DRONES];

enum class Gear : uint8_t {
    NONE,     // no gear models
    REBUILT,  // the gear-down and gear-up lists swap in flight
    BIT_ONLY  // shows gear, but its object is not rebuilt in flight
};

struct DronePartList {
    int32_t object_number;
    Gear gear;
    int32_t down[DRONE_PART_LIST_SIZE];
    int32_t up[DRONE_PART_LIST_SIZE];
};

// The variable sub-objects of the drone types that have any: as set_drone_type builds them (gear
// down) and with the gear up.
const DronePartList PART_LISTS[] = {
    {3, Gear::REBUILT, {1217, 1214, 1219}, {}},
    {225, Gear::REBUILT, {1228, 1231, 1229}, {}},
    {228, Gear::REBUILT, {1192, 1195, 1194}, {}},
    {231, Gear::REBUILT, {0, 0, 1215}, {0, 0, 1209}},
    {1232, Gear::REBUILT, {0, 0, 1215}, {0, 0, 1209}},
    {234, Gear::REBUILT, {1199, 1197, 1198}, {}},
    {237, Gear::REBUILT, {858}, {}},
    {453, Gear::REBUILT, {1226, 1224, 1225}, {}},
    {932, Gear::REBUILT, {958, 964}, {944, 947}},
    {222, Gear::BIT_ONLY, {859}, {}},
    {990, Gear::REBUILT, {859}, {1009}},
    {1038, Gear::REBUILT, {1042, 1044, 1043}, {}},
    {1085, Gear::REBUILT, {1042, 1044, 1043}, {}},
    {1056, Gear::REBUILT, {1061, 1063, 1064, 1062, 1065}, {}},
    {1066, Gear::REBUILT, {1069, 1068, 1072}, {}},
    {1145, Gear::REBUILT, {1156, 1153}, {0, 1152}},
    {99, Gear::NONE, {862}, {}},
    {606, Gear::NONE, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1034}, {}},
    {607, Gear::NONE, {614, 0, 620}, {}},
    {852, Gear::NONE, {981}, {}},
    {966, Gear::NONE, {981}, {}},
    {916, Gear::NONE, {707, 979}, {}},
    {919, Gear::NONE, {707, 979}, {}},
    {917, Gear::NONE, {869, 870}, {}},
    {920, Gear::NONE, {869, 870}, {}},
    {918, Gear::NONE, {787}, {}},
    {921, Gear::NONE, {787}, {}},
    {987, Gear::NONE, {929, 979}, {}},
    {988, Gear::NONE, {974}, {}},
    {989, Gear::NONE, {971}, {}},
};

// The wingman's third part is left off in a two-player mission when the type is set.
constexpr int32_t TWO_PLAYER_BARE_TYPES[] = {231, 1232};

const DronePartList* find_part_list(int object_number) {
    for (const DronePartList& list : PART_LISTS)
        if (list.object_number == object_number) return &list;
    return nullptr;
}

enum class Figure { NONE, HUMAN, GUN, PLAIN };

Figure figure_of(int object_number) {
    if (get_soldier_set(object_number) != SoldierSet::NONE) return Figure::HUMAN;
    switch (object_number) {
    case 852:
    case 966:
        return Figure::GUN;
    case 1013:
        return Figure::PLAIN;
    default:
        return Figure::NONE;
    }
}

// Only soldier and crew types hold a record in the word; for the others it is the chaff timer.
// The record goes before the object's tree, which takes back the item a figure holds off it.
void release_class_record(Drone* drone) {
    if (figure_of(drone->object.object_type) == Figure::NONE || !drone->class_record) return;
    free_human_figure(drone);
}

void set_side_variant(Drone* drone) {
    drone->object.flags &= ~INSTANCE_SIDE_VARIANT;
    if (get_drone_type_side_flag(drone->object.object_type, drone->task->side))
        drone->object.flags |= INSTANCE_SIDE_VARIANT;
}

void copy_side(Drone* to, const Drone* from_flags_of) {
    constexpr int32_t SIDE_BITS = 3 << INSTANCE_SIDE_SHIFT;
    to->object.flags = (to->object.flags & ~SIDE_BITS) | (from_flags_of->object.flags & SIDE_BITS);
}

// Nothing may keep pointing at a drone whose record goes back to the pool.
void forget_drone(const Drone* drone) {
    if (view_cycle_drone == drone || view_cycle_leader == drone) view_cycle_drone = view_cycle_leader = nullptr;
    if (user_drone == drone) user_drone = nullptr;
    forget_carrier_drone(drone);
}

void free_drone_object(Drone* drone) {
    if (drone->object.tile_list) {
        drone->object.flags |= INSTANCE_INACTIVE;  // so that it leaves the list it is filed in
        unlink_mobile_object(&drone->object);
    }
    free_object_instance(&drone->object);
}

void free_members(Drone* leader) {
    while (Drone* member = leader->first_member) {
        leader->first_member = member->next;
        if (member->next) member->next->prev = nullptr;
        member->next = nullptr;
        free_formation_member(member);
    }
}

void set_flag_on_group(Drone* drone, uint32_t flag, int on) {
    for (Drone* d = drone; d; d = d == drone ? drone->first_member : d->next) {
        if (on & 1) d->mission_flags |= flag;
        else d->mission_flags &= ~flag;
    }
}

bool is_viewable(const Drone* d) {
    if (d->drone_class == DRONE_CLASS_VEHICLE || d->drone_class == DRONE_CLASS_STRUCTURE ||
        d->drone_class == DRONE_CLASS_TRAIN)
        return false;
    return !(d->object.flags & INSTANCE_INACTIVE) && game_clock >= d->activation_time;
}

Drone* last_of_group(Drone* leader) {
    Drone* d = leader->first_member;
    while (d && d->next) d = d->next;
    return d ? d : leader;
}

Drone* last_leader(Task* task) {
    Drone* d = task->first_drone;
    while (d && d->next) d = d->next;
    return d;
}

// One step of the drone view's cycle: leader, its members, next leader, ..., next task's leader.
void step_view_forward() {
    Drone*& leader = view_cycle_leader;
    Drone*& drone = view_cycle_drone;
    if (drone == leader && leader->first_member) {
        drone = leader->first_member;
        return;
    }
    if (drone != leader && drone->next) {
        drone = drone->next;
        return;
    }
    if (leader->next) {
        leader = drone = leader->next;
        return;
    }
    Task* task = leader->task->next ? leader->task->next : task_list;
    leader = drone = task->first_drone ? task->first_drone : user_drone;
}

void step_view_backward() {
    Drone*& leader = view_cycle_leader;
    Drone*& drone = view_cycle_drone;
    if (drone != leader) {
        drone = drone->prev ? drone->prev : leader;
        return;
    }
    if (leader->prev) {
        leader = leader->prev;
        drone = last_of_group(leader);
        return;
    }
    Task* task = leader->task->prev ? leader->task->prev : get_last_task();
    leader = task->first_drone ? last_leader(task) : user_drone;
    drone = task->first_drone ? last_of_group(leader) : user_drone;
}

int view_step(void (*step)()) {
    if (!user_drone) return 0;
    if (!view_cycle_drone) view_cycle_leader = view_cycle_drone = user_drone;
    int32_t size;
    int steps = count_drones(&size) + 1;
    for (Task* t = task_list; t; t = t->next) ++steps;
    while (steps-- > 0) {
        step();
        Drone* d = view_cycle_drone;
        if (d->first_waypoint && d->current_waypoint) watched_drone = d;
        if (!is_viewable(d)) continue;
        set_drone_view_object(&d->object);
        enter_drone_view();
        break;
    }
    return 1;
}

}  // namespace

void build_drone_object(Drone* drone, int32_t object_number, const int32_t* parts) {
    std::copy_n(parts, DRONE_PART_LIST_SIZE, drone_part_list);
    const VariableList list{drone_part_list, DRONE_PART_LIST_SIZE};
    free_object_instance(&drone->object);
    create_object_instance(object_number, &drone->object, &drone->pose, &list);
}

int is_human_figure_type(int object_number) { return figure_of(object_number) == Figure::HUMAN; }

Drone* user_drone = nullptr;
Drone* watched_drone = nullptr;
Drone* view_cycle_leader = nullptr;
Drone* view_cycle_drone = nullptr;
int32_t drone_part_list[DRONE_PART_LIST_SIZE];

Drone* allocate_drone() {
    for (int i = 0; i < MAX_DRONES; ++i) {
        if (drone_used[i]) continue;
        drone_used[i] = 1;
        return &drone_pool[i];
    }
    report_fatal_error("Allocate Drone - too many drones used (MAX %d (%dk))", SOURCE, __LINE__, MAX_DRONES, 262);
    return nullptr;
}

void free_drone(Drone* drone) {
    for (int i = 0; i < MAX_DRONES; ++i)
        if (&drone_pool[i] == drone) drone_used[i] = 0;
}

int count_drones(int32_t* size) {
    *size = MAX_DRONES;
    int n = 0;
    for (int32_t used : drone_used) n += used;
    return n;
}

Drone* create_drone(Task* task) {
    Drone* drone = allocate_drone();
    *drone = Drone{};
    Drone* last = last_leader(task);
    if (last) {
        last->next = drone;
        drone->prev = last;
    } else {
        task->first_drone = drone;
    }
    drone->index = task->drone_count++;
    drone->task = task;
    reset_drone(drone);
    drone->object.flags |= (task->side & 3) << INSTANCE_SIDE_SHIFT;
    watched_drone = drone;
    set_drone_view_object(&drone->object);
    clear_drone_notify(drone);
    return drone;
}

void reset_drone(Drone* drone) {
    drone->player = -1;
    drone->first_member = nullptr;
    drone->formation_type = 0;
    drone->drone_class = DRONE_CLASS_AIRCRAFT;
    const int32_t no_parts[DRONE_PART_LIST_SIZE] = {};
    build_drone_object(drone, PLACEHOLDER_OBJECT, no_parts);
    drone->object.owner_kind = OWNER_DRONE;
    drone->object.owner = drone;
    drone->object.prev = drone->object.next = nullptr;
    drone->object.tile_list = nullptr;
    drone->object.state_mask = 0;
    drone->object.flags &= ~INSTANCE_INACTIVE;
    ++drone->task->live_count;
    drone->pose.position = {};
    drone->heading = drone->pitch = drone->roll = 0;
    drone->speed = 0;
    drone->ease_start_speed = drone->ease_target_speed = 0;
    drone->lag_target_position = drone->lag_target_direction = {};
    drone->lag_target_speed = drone->lag_pursuit = 0;
    drone->last_bomb_time = 0.0;
    drone->first_waypoint = drone->current_waypoint = drone->previous_waypoint = nullptr;
    drone->waypoint_count = drone->start_waypoint = 0;
    drone->activation_time = 0;
    drone->flare_timer = 0;
    drone->class_record = nullptr;
    drone->manoeuvre = drone->landing_committed = 0;
    drone->destroyed = 0;
    drone->carrier = drone->deck_slot = 255;
    drone->mission_flags |= DRONE_FLAG_ADVANCE;
    drone->mission_flags &= ~(DRONE_FLAG_RETREAT | DRONE_FLAG_COLUMN | DRONE_FLAG_ON_CARRIER | DRONE_FLAG_BOMBING_START |
                              DRONE_FLAG_KILL_FAILURE | DRONE_FLAG_KILL_SUCCESS | DRONE_FLAG_KILL_OUTSTANDING);
    reset_drone_weapons(drone);
    set_drone_attention(drone);
}

void destroy_drone(Drone* drone) {
    Task* task = drone->task;
    Drone* const next = drone->next;
    Drone* const prev = drone->prev;
    --task->drone_count;
    if (task->first_drone == drone) task->first_drone = next;
    if (prev) prev->next = next;
    if (next) next->prev = prev;
    // The watched drone is chosen once this one is off its list: it may be the first of the task.
    if (watched_drone == drone) watched_drone = task_list ? get_task_first_drone(task_list) : nullptr;
    free_members(drone);
    drone->current_waypoint = nullptr;
    while (drone->first_waypoint) delete_waypoint(drone->first_waypoint);
    if (selected_drone == drone) select_drone(next ? next : prev);
    forget_drone(drone);
    release_class_record(drone);
    free_drone_object(drone);
    clear_drone_attack_target(drone);
    free_drone(drone);
}

void set_drone_type(Drone* drone, int object_number) {
    release_class_record(drone);
    const DronePartList* parts = find_part_list(object_number);
    int32_t list[DRONE_PART_LIST_SIZE] = {};
    if (parts) std::copy_n(parts->down, DRONE_PART_LIST_SIZE, list);
    if (game_mode == GAME_TWO_PLAYER_MISSION && std::ranges::find(TWO_PLAYER_BARE_TYPES, object_number) !=
                                                    std::end(TWO_PLAYER_BARE_TYPES))
        list[2] = 0;
    if (parts && parts->gear != Gear::NONE) drone->mission_flags |= DRONE_FLAG_GEAR_SHOWN;
    build_drone_object(drone, object_number, list);
    switch (figure_of(object_number)) {
    case Figure::HUMAN:
        create_human_figure(drone);
        break;
    case Figure::GUN:
        create_gun_figure(drone);
        break;
    case Figure::PLAIN:
        create_plain_figure(drone);
        break;
    case Figure::NONE:
        break;
    }
    set_side_variant(drone);
    drone->drone_class = get_drone_type_class(object_number);
    if (drone->drone_class == DRONE_CLASS_SHIP) init_ship_drone(drone);
    set_drone_loadout(drone);
}

void set_drone_formation(Drone* drone, int formation_type) {
    // The mission files are the program's own: a type beyond the table is a fault in them.
    if (formation_type < 0 || formation_type >= FORMATION_TYPES)
        report_fatal_error("Drone has illegal formation type %d", SOURCE, __LINE__, formation_type);
    drone->formation_type = formation_type;
    free_members(drone);
    const bool has_figure = figure_of(drone->object.object_type) != Figure::NONE && drone->class_record;
    if (formation_type == 0) {
        if (has_figure) set_figure_alone(drone->class_record);
        return;
    }
    const FormationTemplate& formation = formation_table[formation_type];
    for (int i = 0; i < formation.count; ++i) {
        if (i == 0) {
            set_drone_type(drone, formation.rows[0].object_number);
            continue;
        }
        Drone* member = create_formation_member(drone);
        set_drone_type(member, formation.rows[i].object_number);
        if (figure_of(member->object.object_type) != Figure::NONE && member->class_record)
            set_figure_leader(member->class_record, drone);
    }
}

Drone* create_formation_member(Drone* leader) {
    Drone* member = allocate_drone();
    *member = Drone{};
    Drone* head = leader->first_member;
    member->next = head;
    if (head) head->prev = member;
    leader->first_member = member;
    member->task = leader->task;
    member->index = head ? head->index + 1 : leader->index * 100 + 100;
    reset_drone(member);
    copy_side(member, leader);
    member->pose.position = leader->pose.position;
    return member;
}

void free_formation_member(Drone* member) {
    if (member->prev) {
        member->prev->next = member->next;
    } else {
        for (Drone* d = member->task->first_drone; d; d = d->next)
            if (d->first_member == member) d->first_member = member->next;
    }
    if (member->next) member->next->prev = member->prev;
    forget_drone(member);
    if (watched_drone == member) watched_drone = nullptr;
    release_class_record(member);
    free_drone_object(member);
    free_drone(member);
}

void set_drone_position(Drone* drone, int32_t x, int32_t y, int32_t z) { drone->pose.position = {x, y, z}; }

void set_drone_angles(Drone* drone, uint32_t heading, uint32_t pitch, uint32_t roll) {
    drone->heading = heading;
    drone->pitch = pitch;
    drone->roll = roll;
}

void set_drone_speed(Drone* drone, int32_t speed) { drone->speed = speed; }
void set_drone_start_waypoint(Drone* drone, int n) { drone->start_waypoint = n; }
void set_drone_cargo(Drone* drone, int cargo) { drone->cargo = cargo; }

void set_drone_onboard(Drone* drone, int onboard) {
    drone->onboard = onboard;
    if (onboard && drone->drone_class != DRONE_CLASS_HUMAN) drone->mission_flags |= DRONE_FLAG_HIDDEN_PASSENGER;
}

void set_drone_notify(Drone* drone, int event) { drone->awaited_event = event; }

void set_drone_explode(Drone* drone, int on) {
    if (on) drone->mission_flags |= DRONE_FLAG_EXPLODE;
    else drone->mission_flags &= ~DRONE_FLAG_EXPLODE;
}

void set_drone_unarmed(Drone* drone, int on) {
    if (!on) {
        drone->mission_flags &= ~DRONE_FLAG_UNARMED;
        return;
    }
    drone->mission_flags |= DRONE_FLAG_UNARMED;
    drone->mission_flags &= ~(DRONE_FLAG_ARMED | DRONE_FLAG_SINGLE_WEAPON);
    drone->weapon_id = 0;
    drone->weapon_slot = 255;
    std::fill(std::begin(drone->weapon_slots), std::end(drone->weapon_slots), DroneWeaponSlot{});
}

void set_drone_kill_failure(Drone* drone, int on) { set_flag_on_group(drone, DRONE_FLAG_KILL_FAILURE, on); }
void set_drone_kill_success(Drone* drone, int on) { set_flag_on_group(drone, DRONE_FLAG_KILL_SUCCESS, on); }
void set_drone_kill_outstanding(Drone* drone, int on) { set_flag_on_group(drone, DRONE_FLAG_KILL_OUTSTANDING, on); }
void set_drone_laser_designated(Drone* drone, int on) { set_flag_on_group(drone, DRONE_FLAG_LASER_DESIGNATED, on); }

Drone* get_next_drone(Drone* drone) { return drone->next; }
Drone* get_next_member(Drone* drone) { return drone->next; }

int32_t get_drone_speed(const Drone* drone) {
    if (drone == user_drone) return player_flight_data.airspeed * KNOTS_TO_SPEED;
    return drone->speed;
}

void make_drone_leader(Drone* drone) {
    Task* task = drone->task;
    if (task->first_drone == drone) return;
    drone->prev->next = drone->next;
    if (drone->next) drone->next->prev = drone->prev;
    drone->prev = nullptr;
    drone->next = task->first_drone;
    task->first_drone->prev = drone;
    task->first_drone = drone;
}

int get_drone_object_number(const Drone* drone) { return drone->object.object_type; }
Vector3 get_drone_position(const Drone* drone) { return drone->pose.position; }
Waypoint* get_drone_current_waypoint(const Drone* drone) { return drone->current_waypoint; }

void link_drone_passengers() {
    for (Task* ct = task_list; ct; ct = ct->next) {
        for (Drone* carrier = ct->first_drone; carrier; carrier = carrier->next) {
            if (!carrier->cargo) continue;
            for (Task* pt = task_list; pt; pt = pt->next)
                for (Drone* p = pt->first_drone; p; p = p->next)
                    if (p != carrier && p->onboard == carrier->cargo) subscribe_drone_notify(p, carrier, p->awaited_event);
        }
    }
}

int32_t next_drone_random(Drone* drone) {
    const int32_t old = drone->random_seed;
    int32_t s1 = old;
    next_random(s1);
    int32_t s2 = s1;
    next_random(s2);
    drone->random_seed = int32_t((uint32_t(s1) & 0x7fff0000u) | ((uint32_t(s2) >> 16) & 0x7fffu));
    random_seed = s2;
    return int32_t(0u - uint32_t(old));
}

void set_drone_attention(Drone* drone) {
    const Task* task = drone->task;
    int32_t range;
    switch (task->type) {
    case TASK_UNKNOWN:
    case TASK_ARTILLERY_FIXED_POINT:
    case TASK_ARTILLERY_RECON:
    case TASK_ARTILLERY_LINE_OF_SIGHT:
    case TASK_FORTIFICATIONS:
    case TASK_EVACUATION_AIR_DEFENCE:
        range = 0;
        break;
    case TASK_COUNTER_AIR:
    case TASK_ARTILLERY_AIR_DEFENCE:
        range = ATTENTION_7_MILES;
        break;
    case TASK_OFFENSIVE_SWEEP:
    case TASK_COMBAT_AIR_PATROL:
        range = ATTENTION_10_MILES;
        break;
    default:
        if (task->type < 0 || task->type >= TASK_END)
            report_fatal_error("Can't set attention level for unknown task type", SOURCE, __LINE__);
        range = ATTENTION_4_MILES;
    }
    if (task->side == SIDE_ENEMY) range = int32_t(int64_t(range) * get_skill_range_percent() / 100);
    drone->attention_range = range;
}

void update_drone_gear_models(Drone* drone) {
    const int32_t speed_limit =
        drone->drone_class == DRONE_CLASS_AIRCRAFT ? GEAR_DOWN_SPEED_AIRCRAFT : GEAR_DOWN_SPEED_HELICOPTER;
    const bool wanted = drone->pose.position.z <= GEAR_DOWN_ALTITUDE && drone->speed <= speed_limit;
    const bool shown = drone->mission_flags & DRONE_FLAG_GEAR_SHOWN;
    if (wanted != shown) {
        const DronePartList* parts = find_part_list(drone->object.object_type);
        if (parts && parts->gear == Gear::REBUILT)
            build_drone_object(drone, drone->object.object_type, wanted ? parts->down : parts->up);
        drone->mission_flags ^= DRONE_FLAG_GEAR_SHOWN;
    }
    set_side_variant(drone);
}

int view_next_drone() { return view_step(step_view_forward); }
int view_previous_drone() { return view_step(step_view_backward); }

}  // namespace vyr
