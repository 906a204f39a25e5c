#include "source/drone/drone_update.h"

#include <cmath>

#include "library/3dvisual/features.h"
#include "library/3dvisual/fragments.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/debug/fatal.h"
#include "library/maths/random.h"
#include "library/maths/trig.h"
#include "source/avionics/avionics.h"
#include "source/drone/drone.h"
#include "source/drone/drone_movers.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/formations.h"
#include "source/drone/ships.h"
#include "source/drone/soldiers.h"
#include "source/frame_loop.h"

namespace vyr {

int32_t human_death_counter = 0;

namespace {

constexpr const char* SOURCE = "source/drone/drone_update";

bool is_static_task(const Task* task) {
    switch (task->type) {
    case TASK_ARTILLERY_FIXED_POINT:
    case TASK_ARTILLERY_RECON:
    case TASK_ARTILLERY_LINE_OF_SIGHT:
    case TASK_FORTIFICATIONS: return true;
    default: return false;
    }
}

bool is_flying(const Drone* drone) {
    return drone->drone_class == DRONE_CLASS_AIRCRAFT || drone->drone_class == DRONE_CLASS_HELICOPTER;
}

// The waypoint a drone heads for from `waypoint`.
Waypoint* next_waypoint_of(Waypoint* waypoint) {
    if (!waypoint || !waypoint->next)
        report_fatal_error("OK, now then, all drones must have two, (thats 2, II) waypoints each, otherwise they will "
                           "lose they're way won't they? So be a good girl and give that nice drone another waypoint.",
                           SOURCE, __LINE__);
    return waypoint->next;
}

bool is_over_sea_at_zero(const Waypoint* waypoint) {
    return waypoint->z == 0 && get_feature_kind(waypoint->x, waypoint->y) == FEATURE_OCEAN;
}

// A formation row's offset turned to `heading`: x to the right, y forward.
Vector3 rotate_offset(const FormationRow& row, uint32_t heading) {
    const int32_t s = lookup_sin(heading), c = lookup_cos(heading);
    return {mul31(row.x, c) + mul31(row.y, s), mul31(row.y, c) - mul31(row.x, s), row.z};
}

Vector3 point_of(const Waypoint* waypoint) { return {waypoint->x, waypoint->y, waypoint->z}; }
Vector3 plus(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

Vector3 velocity_along(int32_t speed, uint32_t heading) {
    return {mul31(speed, lookup_sin(heading)), mul31(speed, lookup_cos(heading)), 0};
}

// Two steps of the shared seed make one drone seed.
int32_t draw_drone_seed() {
    next_random(random_seed);
    const int32_t first = random_seed;
    next_random(random_seed);
    return (first & 0x7fff0000) | ((random_seed >> 16) & 0x7fff);
}

bool has_formation(const Drone* leader) {
    return leader->first_member && leader->formation_type > 0 && leader->formation_type < FORMATION_TYPES;
}

void place_drone_at_waypoint(Drone* leader) {
    Waypoint* current = leader->current_waypoint;
    if (leader->drone_class == DRONE_CLASS_HELICOPTER) {
        if (is_over_sea_at_zero(current) && add_carrier_aircraft(leader)) {
            leader->pose.position = point_of(current);
            return;
        }
        if (is_over_sea_at_zero(get_last_waypoint(current)) && add_carrier_aircraft(leader)) leave_carrier_deck(leader);
    }
    const Waypoint* next = next_waypoint_of(current);
    leader->heading = compute_bearing(next->x - current->x, next->y - current->y);
    Vector3 at = point_of(current);
    if (has_formation(leader)) at = plus(at, rotate_offset(formation_table[leader->formation_type].rows[0], leader->heading));
    leader->pose.position = at;
}

void start_drone_leg(Drone* leader) {
    Waypoint* current = leader->current_waypoint;
    leader->pitch = leader->roll = 0;
    leader->speed = is_static_task(leader->task) ? 0 : current->speed;
    Vector3& at = leader->pose.position;
    const int32_t ground = get_ground_height(at.x, at.y);
    if (!(is_flying(leader) && at.z > ground)) at.z = ground;
    leader->activation_time = current->wait;
    leader->previous_waypoint = current;
    Waypoint* next = next_waypoint_of(current);
    leader->current_waypoint = next;
    const double dx = double(next->x) - at.x, dy = double(next->y) - at.y;
    leader->remaining_distance = int32_t(std::sqrt(dx * dx + dy * dy));
    if (leader->drone_class == DRONE_CLASS_HELICOPTER) {
        if (at.z == 0 || (leader->mission_flags & DRONE_FLAG_ON_CARRIER))
            leader->speed = 0;
        else
            leader->ease_start_speed = leader->speed;
    }
    leader->velocity = velocity_along(leader->speed, leader->heading);
    build_rotation_matrix(leader->heading, 0, 0, leader->pose.matrix);
}

void form_up_members(Drone* leader) {
    const FormationTemplate& formation = formation_table[leader->formation_type];
    const Waypoint* current = leader->current_waypoint;
    // A tank formation held at its first waypoint has none before it; its members start there.
    const Waypoint* before = current->prev ? current->prev : current;
    int row = formation.count - 1;
    for (Drone* member = leader->first_member; member && row >= 1; member = member->next, --row) {
        const Vector3 offset = rotate_offset(formation.rows[row], leader->heading);
        member->destroyed = 0;
        member->object.flags &= ~INSTANCE_INACTIVE;
        member->pitch = member->roll = 0;
        member->pose.position = plus(point_of(before), offset);
        const Vector3 slot = plus(point_of(current), offset);
        member->heading = compute_bearing(slot.x - member->pose.position.x, slot.y - member->pose.position.y);
        member->velocity = velocity_along(leader->speed, member->heading);
        build_rotation_matrix(member->heading, 0, 0, member->pose.matrix);
        if (!(member->mission_flags & DRONE_FLAG_HIDDEN_PASSENGER)) link_mobile_object(&member->object);
        if (member->drone_class == DRONE_CLASS_ARTILLERY && leader->first_waypoint)
            member->current_waypoint = leader->first_waypoint->next;
        member->random_seed = draw_drone_seed();
        if (member->drone_class == DRONE_CLASS_HUMAN && member->class_record)
            set_figure_formation_row(member->class_record, row & 15, leader->drone_class == DRONE_CLASS_ARTILLERY);
    }
}

void place_leader(Drone* leader) {
    leader->object.flags &= ~INSTANCE_INACTIVE;
    leader->destroyed = 0;
    place_drone_at_waypoint(leader);
    start_drone_leg(leader);
    if (!(leader->mission_flags & DRONE_FLAG_ON_CARRIER)) {
        if (leader->first_waypoint && leader->first_waypoint->type == WAYPOINT_DEPLOY) unload_human_group(leader);
        if (!(leader->mission_flags & DRONE_FLAG_HIDDEN_PASSENGER)) link_mobile_object(&leader->object);
    }
    // It holds at its battle point until the battle moves it.
    if (leader->task->type == TASK_TANK_FORMATION && leader->first_waypoint &&
        leader->first_waypoint->type == WAYPOINT_TARGET) {
        leader->current_waypoint = leader->first_waypoint;
        leader->mission_flags &= ~DRONE_FLAG_ADVANCE;
    }
    leader->random_seed = draw_drone_seed();
    if (has_formation(leader)) form_up_members(leader);
    update_formation_mode(leader);
    set_drone_moving_state(leader, is_static_task(leader->task) ? 1 : 0);
    if (leader->mission_flags & DRONE_FLAG_EXPLODE) {
        place_sub_instances(&leader->object);
        kill_drone(leader);
        spawn_fragments(&leader->object);
    }
}

void dispatch_drone(Drone* drone) {
    switch (drone->drone_class) {
    case DRONE_CLASS_NONE: report_fatal_error("Drone has not had its class defined", SOURCE, __LINE__); break;
    case DRONE_CLASS_HELICOPTER:
    case DRONE_CLASS_AIRCRAFT: update_air_drone(drone); break;
    case DRONE_CLASS_TANK:
    case DRONE_CLASS_VEHICLE:
        if (!drone->task->battle_cell || (drone->mission_flags & (DRONE_FLAG_ADVANCE | DRONE_FLAG_RETREAT)))
            update_ground_drone(drone);
        break;
    case DRONE_CLASS_ARTILLERY:
    case DRONE_CLASS_STRUCTURE: break;
    case DRONE_CLASS_SHIP: update_water_drone(drone); break;
    case DRONE_CLASS_TRAIN: update_train_drone(drone); break;
    case DRONE_CLASS_HUMAN: update_human_drone(drone); break;
    default: report_fatal_error("Drone has illegal class", SOURCE, __LINE__);
    }
}

bool is_due(const Drone* drone) {
    if (drone->drone_class == DRONE_CLASS_HUMAN) return true;
    return !(drone->object.flags & INSTANCE_INACTIVE) && game_clock >= drone->activation_time;
}

}  // namespace

void place_drones_at_start() {
    for (Task* task = task_list; task; task = task->next) {
        for (Drone* leader = task->first_drone; leader; leader = leader->next) {
            Waypoint* waypoint = leader->first_waypoint;
            for (int i = 0; i < leader->start_waypoint && waypoint; ++i) waypoint = waypoint->next;
            if (!waypoint)
                report_fatal_error("Drone does not have enough waypoints for start waypoint number", SOURCE, __LINE__);
            leader->current_waypoint = waypoint;
        }
    }
    user_drone = nullptr;
    for (Task* task = task_list; task; task = task->next)
        for (Drone* leader = task->first_drone; leader; leader = leader->next) place_leader(leader);
}

void update_drones() {
    for (Task* task = task_list; task; task = task->next) {
        if (is_static_task(task)) continue;
        for (Drone* drone = task->first_drone; drone; drone = drone->next) {
            if (!is_due(drone)) continue;
            if (drone == user_drone && !autoland_engaged) continue;
            // Remote drones move by their own machines' messages; the player's own drone carries
            // a player number too, yet autoland must fly it here.
            if (drone->player != -1 && drone != user_drone) continue;
            if (!(drone->mission_flags & DRONE_FLAG_MOVING)) {
                start_drone_moving(drone);
                if (task->type == TASK_TANK_FORMATION) {
                    drone->velocity = {mul31(drone->speed, lookup_sin(drone->heading)),
                                       mul31(drone->speed, lookup_cos(drone->heading)),
                                       mul31(drone->speed, lookup_sin(drone->pitch))};
                    for (Drone* member = drone->first_member; member; member = member->next)
                        member->velocity = drone->velocity;
                }
            }
            dispatch_drone(drone);
        }
    }
}

void start_drone_moving(Drone* drone) {
    drone->mission_flags |= DRONE_FLAG_MOVING;
    const Waypoint* current = drone->current_waypoint;
    if (is_flying(drone)) {
        const Waypoint* before = current ? current->prev : nullptr;
        drone->speed = drone->pose.position.z == 0 || !before ? 0 : before->speed;
        return;
    }
    drone->speed = current ? current->speed : 0;
    for (Drone* member = drone->first_member; member; member = member->next) {
        member->mission_flags |= DRONE_FLAG_MOVING;
        member->speed = drone->speed;
    }
}

void set_drone_moving_state(Drone* drone, int moving) {
    for (Drone* d = drone; d; d = d == drone ? drone->first_member : d->next) {
        if (moving & 1)
            d->mission_flags |= DRONE_FLAG_MOVING;
        else
            d->mission_flags &= ~DRONE_FLAG_MOVING;
        d->speed = 0;
    }
}

int is_soldier_drone(const Drone* drone) { return drone->drone_class == DRONE_CLASS_HUMAN; }

void reset_human_death_counter() { human_death_counter = 0; }

}  // namespace vyr
