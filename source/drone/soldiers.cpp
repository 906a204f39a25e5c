#include "source/drone/soldiers.h"

#include <new>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/maths/trig.h"
#include "library/system/memory.h"
#include "source/drone/drone.h"
#include "source/drone/drone_update.h"
#include "source/drone/drone_war.h"
#include "source/drone/formations.h"
#include "source/drone/soldier_body.h"
#include "source/drone/soldier_brain.h"
#include "source/drone/soldier_moves.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/weapons/damage.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/drone/soldiers";

constexpr int32_t DSHK_GUN = 852;
constexpr int32_t M2_GUN = 966;
constexpr int32_t DSHK_GUNNER_ANIMATION = 50;
constexpr int32_t M2_GUNNER_ANIMATION = 51;
constexpr int32_t FIRST_DEATH_ANIMATION = 23;
constexpr int32_t DEATH_ANIMATIONS = 8;
constexpr int32_t STRETCHER_TEMPLATE_ENTRIES = 3;
constexpr int32_t REAR_BEARER_DISTANCE = 0x800;  // 8 ft
constexpr int32_t CASUALTY_DISTANCE = 0x400;     // 4 ft behind the front bearer
constexpr int32_t CASUALTY_HEIGHT = 588;         // the stretcher's height
constexpr int32_t GUNNER_DISTANCE = 0x400;       // 4 ft behind the gun

int32_t soldiers_aboard = 0;

HumanFigure* figure_of(const Drone* drone) { return drone->class_record; }

bool is_gun(int32_t object_number) { return object_number == DSHK_GUN || object_number == M2_GUN; }

bool is_soldier(const Drone* drone) {
    return drone->class_record && get_soldier_set(drone->object.object_type) != SoldierSet::NONE;
}

bool is_inactive(const Drone* drone) { return drone->object.flags & INSTANCE_INACTIVE; }

ObjectInstance* sub_instance(ObjectInstance* instance, int i) {
    return instance && instance->count > i ? instance->sub_instances[i] : nullptr;
}

Matrix3* matrix_of(ObjectInstance* instance) { return instance ? &instance->offset->matrix : nullptr; }

HumanFigure* allocate_figure(Drone* drone) {
    HumanFigure* figure = new (allocate_memory(sizeof(HumanFigure), SOURCE, __LINE__)) HumanFigure{};
    drone->class_record = figure;
    figure->leader = drone;
    return figure;
}

// The item holder's first sub-object comes off: it is shown only just after a shot.
void detach_item(HumanFigure* figure) {
    figure->detached_item = sub_instance(figure->item_holder, 0);
    if (figure->detached_item) figure->item_holder->sub_instances[0] = nullptr;
}

// The leader first, then each soldier after it.
template <typename Step>
void for_each_in_group(Drone* drone, Step step) {
    for (Drone* d = drone; d; d = next_group_member(d)) step(d);
}

// An offset behind `front` along its heading, on the ground plane.
Vector3 behind(const Drone* front, int32_t distance) {
    const Vector3& p = front->pose.position;
    return {p.x - mul31(distance, lookup_sin(front->heading)), p.y - mul31(distance, lookup_cos(front->heading)), p.z};
}

void place_drone(Drone* drone, const Vector3& at, uint32_t heading) {
    place_mobile_object(&drone->object, at.x, at.y, at.z);
    drone->heading = heading;
}

void kill_uncredited(Drone* drone, int attacker) {
    if (drone) kill_drone_uncredited(&drone->object, attacker);
}

}  // namespace

SoldierSet get_soldier_set(int32_t object_number) {
    switch (object_number) {
    case 640: case 743: case 984: return SoldierSet::PLAIN;
    case 916: case 919: case 987: return SoldierSet::M;
    case 917: case 918: case 920: case 921: case 989: return SoldierSet::R;
    case 988: return SoldierSet::S;
    default: return SoldierSet::NONE;
    }
}

// Joints 1 and 2 are chain 3 (and joint 11 the hand below them), 3 to 5 chain 1, 6 and 7 chain
// 2, 8 to 10 chain 0: each chain's sub-objects nest one in the other.
void create_human_figure(Drone* drone) {
    HumanFigure* figure = allocate_figure(drone);
    ObjectInstance* chains[4];
    for (int c = 0; c < 4; ++c) chains[c] = sub_instance(&drone->object, c);
    ObjectInstance* const limbs[10] = {
        chains[3], sub_instance(chains[3], 0),
        chains[1], sub_instance(chains[1], 0), sub_instance(sub_instance(chains[1], 0), 0),
        chains[2], sub_instance(chains[2], 0),
        chains[0], sub_instance(chains[0], 0), sub_instance(sub_instance(chains[0], 0), 0)};
    for (int j = 0; j < 10; ++j) figure->joints[j] = matrix_of(limbs[j]);
    figure->item_holder = sub_instance(limbs[1], 0);
    figure->joints[10] = matrix_of(figure->item_holder);
    const SoldierSet set = get_soldier_set(drone->object.object_type);
    if (set != SoldierSet::PLAIN) figure->flags |= HUMAN_ARMED;
    if (set == SoldierSet::M) detach_item(figure);
    figure->action_state = ACTION_WAIT;
    figure->body_state = BODY_STAND;
    figure->timer = figure->move_on_time = game_clock;
    figure->animation = choose_human_animation(drone, HumanMove::STANDING);
    figure->flags |= HUMAN_GROUP_LEADER | HUMAN_POSE_CHANGED;
    const uint32_t variant = (figure->flags & HUMAN_SLOT_MASK) % 6;
    figure->flags = (figure->flags & ~HUMAN_GESTURE_MASK) | variant << HUMAN_GESTURE_SHIFT;
}

void create_gun_figure(Drone* drone) {
    HumanFigure* figure = allocate_figure(drone);
    figure->flags |= HUMAN_ARMED;
    figure->item_holder = sub_instance(&drone->object, 0);
    detach_item(figure);
    figure->gun_part_matrix = matrix_of(figure->item_holder);
}

void create_plain_figure(Drone* drone) { allocate_figure(drone); }

void free_human_figure(Drone* drone) {
    HumanFigure* figure = figure_of(drone);
    if (figure->detached_item && figure->item_holder->sub_instances[0] != figure->detached_item)
        figure->item_holder->sub_instances[0] = figure->detached_item;
    free_memory(figure, SOURCE, __LINE__);
    drone->class_record = nullptr;
}

void set_figure_alone(HumanFigure* figure) { figure->flags |= HUMAN_NO_FORMATION; }

void set_figure_leader(HumanFigure* figure, Drone* leader) {
    figure->flags &= ~HUMAN_GROUP_LEADER;
    figure->leader = leader;
}

void set_figure_formation_row(HumanFigure* figure, int row, int crew) {
    figure->flags = (figure->flags & ~HUMAN_SLOT_MASK) | (uint32_t(row) & HUMAN_SLOT_MASK);
    if (crew) figure->flags |= HUMAN_GUN_CREW;
}

// A casualty is carried, never run: only its bearers walk and choose animations.
void update_human_drone(Drone* drone) {
    if (is_gun(drone->object.object_type)) {
        update_gun_figure(drone);
        return;
    }
    if (!is_soldier(drone)) return;
    update_human_brain(drone);
    for (Drone* member = drone->first_member; member; member = next_group_member(member)) {
        if (!is_soldier(member)) continue;
        update_human_brain(member);
        if (figure_of(member)->flags & HUMAN_CARRIED) break;
    }
}

Drone* next_group_member(Drone* drone) {
    if (drone->first_member) return drone->first_member;
    Drone* next = drone->next;
    if (next && next->drone_class == DRONE_CLASS_HUMAN && next->class_record && figure_of(next)->leader != next)
        return next;
    return nullptr;
}

// The mission editor's type button can give a soldier's waypoint any type: a type soldiers do not
// use leaves the group waiting there.
void human_waypoint_reached(Drone* leader) {
    const Waypoint* waypoint = leader->current_waypoint;
    figure_of(leader)->move_on_time = game_clock + get_waypoint_wait(waypoint);
    switch (waypoint->type) {
    case WAYPOINT_HUMAN_DEFEND:
    case WAYPOINT_HUMAN_ATTACK:
    case WAYPOINT_HUMAN_AMBUSH: set_group_action(leader, ACTION_DEFEND); break;
    case WAYPOINT_HUMAN_BOARDING:
        for_each_in_group(leader, [](Drone* d) { figure_of(d)->flags |= HUMAN_BOARDING; });
        set_group_action(leader, ACTION_WAIT);
        break;
    default: set_group_action(leader, ACTION_WAIT); break;
    }
}

void advance_group_waypoint(Drone* leader) {
    Waypoint* current = leader->current_waypoint;
    leader->current_waypoint = current && current->next ? current->next : leader->first_waypoint;
    set_group_action(leader, ACTION_ADVANCE);
}

// A task's live count goes down only here: a fallen soldier stays in its group.
void kill_human_figure(Drone* drone) {
    if (is_inactive(drone)) return;
    drone->destroyed = 1;
    drone->object.flags |= INSTANCE_INACTIVE;
    if (drone->task && drone->task->live_count > 0) --drone->task->live_count;
    drone->speed = 0;
    clear_drone_attack_target(drone);
    HumanFigure* figure = figure_of(drone);
    figure->action_state = ACTION_DEAD;
    figure->body_state = BODY_DYING;
    figure->animation_time = 0;
    figure->animation = FIRST_DEATH_ANIMATION + human_death_counter;
    figure->flags |= HUMAN_POSE_CHANGED;
    human_death_counter = (human_death_counter + 1) % DEATH_ANIMATIONS;
}

// A soldier already fallen is hit no more: every step below belongs to its one death.
void damage_human_drone(Drone* drone, int attacker) {
    if (is_inactive(drone)) return;
    HumanFigure* figure = figure_of(drone);
    kill_human_figure(drone);
    if (figure->flags & HUMAN_GUN_CREW) finish_human_animation(drone);
    if (figure->flags & HUMAN_MANNING) {
        if (figure->transport) figure_of(figure->transport)->flags |= HUMAN_GUNNER_DOWN;
        return;
    }
    if (figure->flags & HUMAN_CARRIED) {
        kill_uncredited(drone->next, attacker);
        kill_uncredited(figure->leader, attacker);
    }
    if ((figure->flags & HUMAN_CARRIER) && drone->first_member) {
        Drone* rear = drone->first_member;
        kill_uncredited(rear, attacker);
        kill_uncredited(rear->next, attacker);
    }
    if (!(figure->flags & HUMAN_GROUP_LEADER)) return;
    for (Drone* d = next_group_member(drone); d; d = next_group_member(d)) {
        if (!is_soldier(d) || is_inactive(d)) continue;
        figure->flags &= ~HUMAN_GROUP_LEADER;
        figure_of(d)->flags |= HUMAN_GROUP_LEADER;
        return;
    }
}

void form_stretcher_party(Drone* drone) {
    Drone* rear = drone->first_member;
    const int32_t type = drone->formation_type;
    if (!rear || !is_soldier(rear) || figure_of(drone)->leader != drone || type <= 0 || type >= FORMATION_TYPES ||
        formation_table[type].count != STRETCHER_TEMPLATE_ENTRIES)
        return;
    figure_of(drone)->flags |= HUMAN_CARRIER;
    figure_of(rear)->flags |= HUMAN_CARRIED;
    // The casualty's figure links both bearers, for the kill that takes the party down.
    if (Drone* casualty = rear->next; casualty && casualty->class_record) figure_of(casualty)->transport = rear;
}

// Along the front bearer's heading: the figures stay upright whatever its pose leans.
void carry_stretcher(Drone* rear_bearer) {
    HumanFigure* figure = figure_of(rear_bearer);
    if (is_inactive(rear_bearer)) {
        if (!(figure->flags & HUMAN_FINISHED) && animate_human_by_time(rear_bearer) == 2) figure->flags |= HUMAN_FINISHED;
        return;
    }
    const Drone* front = figure->leader;
    const HumanFigure* front_figure = figure_of(front);
    Vector3 rear = behind(front, REAR_BEARER_DISTANCE);
    rear.z = get_ground_height(rear.x, rear.y);
    place_drone(rear_bearer, rear, front->heading);
    figure->animation = front_figure->animation;
    figure->animation_time = front_figure->animation_time;
    figure->flags |= HUMAN_POSE_CHANGED;
    Drone* casualty = rear_bearer->next;
    if (!casualty) return;
    Vector3 carried = behind(front, CASUALTY_DISTANCE);
    carried.z = front->pose.position.z + CASUALTY_HEIGHT;
    place_drone(casualty, carried, front->heading);
    build_rotation_matrix(front->heading, 0, 0, casualty->pose.matrix);
}

void put_item_away(HumanFigure* figure) {
    const uint32_t counter = (figure->flags & HUMAN_ITEM_MASK) >> HUMAN_ITEM_SHIFT;
    if (counter == 0) return;
    figure->flags = (figure->flags & ~HUMAN_ITEM_MASK) | (counter - 1) << HUMAN_ITEM_SHIFT;
    if (figure->detached_item && figure->item_holder->sub_instances[0] == figure->detached_item)
        figure->item_holder->sub_instances[0] = nullptr;
}

void get_figure_linked_drones(Drone* drone, Drone* out[2]) {
    const HumanFigure* figure = drone->drone_class == DRONE_CLASS_HUMAN ? drone->class_record : nullptr;
    out[0] = figure ? figure->leader : nullptr;
    out[1] = figure ? figure->transport : nullptr;
}

void unload_human_group(Drone* drone) {
    for_each_in_group(drone, [](Drone* d) {
        figure_of(d)->flags |= HUMAN_UNLOAD;
        d->mission_flags |= DRONE_FLAG_HIDDEN_PASSENGER;
    });
}

// The gunner takes its place behind the gun at once, where the aim keeps it: the gun is manned
// before it first has a target. A gun without a formation member has no gunner and stays unmanned.
void update_gun_figure(Drone* gun) {
    HumanFigure* figure = figure_of(gun);
    Drone* gunner = gun->first_member && is_soldier(gun->first_member) ? gun->first_member : nullptr;
    if (!(figure->flags & HUMAN_INITIALISED)) {
        build_z_rotation(0, gun->pose.matrix);
        if (figure->gun_part_matrix) build_xz_rotation(gun->heading, 0, *figure->gun_part_matrix);
        if (gunner) {
            HumanFigure* crew = figure_of(gunner);
            seat_gunner(gun, gunner);
            crew->flags |= HUMAN_MANNING;
            crew->transport = gun;
            crew->animation = gun->object.object_type == DSHK_GUN ? DSHK_GUNNER_ANIMATION : M2_GUNNER_ANIMATION;
            crew->animation_time = 0;
        }
        figure->search_time = game_clock + (gun->first_waypoint ? get_waypoint_wait(gun->first_waypoint) : 0);
        figure->flags |= HUMAN_INITIALISED;
    }
    put_item_away(figure);
    if (!gunner) return;
    if (!(figure->flags & HUMAN_GUNNER_DOWN)) {
        if (game_clock > figure->search_time) {
            figure->search_time = game_clock + 1000;
            search_human_target(gun);
        }
        if (gun->attack_target) aim_gun(gun);
    } else if (!(figure->flags & HUMAN_GUN_DONE) && animate_human_by_time(gun) == 2) {
        figure->flags |= HUMAN_GUN_DONE;
    }
}

void seat_gunner(const Drone* gun, Drone* gunner) {
    Vector3 seat = behind(gun, GUNNER_DISTANCE);
    seat.z = get_ground_height(seat.x, seat.y);
    place_drone(gunner, seat, gun->heading);
    figure_of(gunner)->flags |= HUMAN_POSE_CHANGED;
}

void set_aboard_count(int32_t count) { soldiers_aboard = count; }
int32_t get_aboard_count() { return soldiers_aboard; }

void add_soldier_aboard() {
    ++soldiers_aboard;
    add_passenger_weight();
}

void remove_soldier_aboard() {
    --soldiers_aboard;
    remove_passenger_weight();
}

}  // namespace vyr
