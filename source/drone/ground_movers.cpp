#include "source/drone/ground_movers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "library/3dvisual/features.h"
#include "library/3dvisual/mobile.h"
#include "library/maths/matrix.h"
#include "library/maths/trig.h"
#include "source/drone/drone.h"
#include "source/drone/drone_movers.h"
#include "source/drone/drone_update.h"
#include "source/drone/formations.h"
#include "source/frame_loop.h"

namespace vyr {

namespace {

int32_t per_step(int32_t rate) { return mul31(rate, frame_fraction); }

int32_t horizontal_distance(const Vector3& from, int32_t x, int32_t y) {
    const double dx = double(x) - from.x, dy = double(y) - from.y;
    return int32_t(std::sqrt(dx * dx + dy * dy));
}

Vector3 rotated_row(const FormationRow& row, uint32_t heading) {
    const int32_t s = lookup_sin(heading), c = lookup_cos(heading);
    return {mul31(row.x, c) + mul31(row.y, s), mul31(row.y, c) - mul31(row.x, s), row.z};
}

bool is_living(const Drone* drone) { return !drone->destroyed; }

// speed x distance / remaining, so that a member covering `distance` arrives with its leader.
int32_t matched_speed(int32_t speed, int32_t distance, int32_t remaining) {
    if (remaining == 0) return 0;
    const int64_t v = int64_t(speed) * distance / remaining;
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

void set_level_velocity(Drone* drone, int32_t speed) {
    drone->velocity = {mul31(speed, lookup_sin(drone->heading)), mul31(speed, lookup_cos(drone->heading)), 0};
}

void rebuild_matrix(Drone* drone) { build_rotation_matrix(drone->heading, drone->pitch, drone->roll, drone->pose.matrix); }

// The member stands at its row's offset from the leader and heads for its slot at the leader's
// current waypoint; the answer is the distance to that slot.
int32_t aim_member_at_slot(Drone* member, const Drone* leader, int row) {
    const FormationRow& r = formation_table[leader->formation_type].rows[row];
    const Vector3 offset = rotated_row(r, leader->heading);
    const Vector3& at = leader->pose.position;
    place_mobile_object(&member->object, at.x + offset.x, at.y + offset.y, at.z + offset.z);
    Vector3 slot;
    get_formation_slot(leader, leader->formation_type, row, slot);
    const Vector3& from = member->pose.position;
    member->heading = compute_bearing(slot.x - from.x, slot.y - from.y);
    return horizontal_distance(from, slot.x, slot.y);
}

bool is_column_country(const Waypoint* c) {
    const int kind = get_feature_kind(c->x, c->y);
    if (kind == FEATURE_ROAD || kind == FEATURE_RAILWAY || kind == FEATURE_RIVER) return true;
    const Waypoint* before = c->prev;
    const Waypoint* const around[] = {c, c->next, before, before ? before->prev : nullptr};
    for (const Waypoint* w : around)
        if (w && w->z != 0) return true;
    return false;
}

}  // namespace

void step_ground_drone(Drone* drone, const Drone* pace_setter, bool carry) {
    if (drone->destroyed || !drone->current_waypoint) return;
    if (pace_setter->speed == 0) {
        drone->speed = 0;
        return;
    }
    const int32_t travel = per_step(pace_setter->speed);
    if (travel < drone->remaining_distance) {
        advance_ground_drone(drone);
        if (carry) carry_members(drone);
        return;
    }
    const int32_t previous_remaining = drone->remaining_distance;
    arrive_at_waypoint(drone, travel);
    // Members in single file steer themselves; only a kept formation turns with its leader.
    if (carry && !(drone->mission_flags & DRONE_FLAG_COLUMN)) follow_leader_turn(drone, travel, previous_remaining);
}

void advance_ground_drone(Drone* drone) {
    drone->remaining_distance -= per_step(drone->speed);
    const Vector3& v = drone->velocity;
    move_mobile_object(&drone->object, per_step(v.x), per_step(v.y), per_step(v.z));
}

void carry_members(Drone* leader) {
    for (Drone* member = leader->first_member; member; member = member->next) {
        if (!is_living(member)) continue;
        const Vector3& v = member->velocity;
        move_mobile_object(&member->object, per_step(v.x), per_step(v.y), per_step(v.z));
    }
}

void arrive_at_waypoint(Drone* drone, int32_t travel) {
    if (drone->destroyed) return;
    Waypoint* c = drone->current_waypoint;
    place_mobile_object(&drone->object, c->x, c->y, c->z);
    // The battle takes over at its target.
    if (drone->task->battle_cell && c->type == WAYPOINT_TARGET) {
        drone->mission_flags &= ~(DRONE_FLAG_RETREAT | DRONE_FLAG_ADVANCE);
        set_drone_moving_state(drone, 1);
        return;
    }
    const int32_t old_speed = drone->speed;
    Waypoint* next;
    if (drone->mission_flags & DRONE_FLAG_RETREAT) {
        next = c->prev;
    } else {
        drone->activation_time = game_clock + c->wait;
        next = c->next;
        if (!next && drone->task->type == TASK_GROUND_VEHICLE_LOOPING) next = drone->first_waypoint;
    }
    if (next) {
        drone->current_waypoint = next;
        drone->speed = next->speed;
        const Vector3& at = drone->pose.position;
        const int32_t dx = next->x - at.x, dy = next->y - at.y, dz = next->z - at.z;
        drone->heading = compute_bearing(dx, dy);
        drone->pitch = dz == 0 ? 0 : compute_bearing(dz, estimate_distance_2d(dx, dy));
        const int32_t overshoot = travel - drone->remaining_distance;
        move_mobile_object(&drone->object, mul31(overshoot, lookup_sin(drone->heading)),
                           mul31(overshoot, lookup_cos(drone->heading)), mul31(overshoot, lookup_sin(drone->pitch)));
        drone->remaining_distance = horizontal_distance(drone->pose.position, next->x, next->y);
    } else {
        drone->remaining_distance = 0;
        drone->speed = 0;
    }
    const int32_t speed = drone->speed;
    drone->velocity = {mul31(speed, lookup_sin(drone->heading)), mul31(speed, lookup_cos(drone->heading)),
                       mul31(speed, lookup_sin(drone->pitch))};
    rebuild_matrix(drone);
    if (speed != old_speed && old_speed != 0) {
        for (Drone* member = drone->first_member; member; member = member->next) {
            if (!is_living(member)) continue;
            Vector3& v = member->velocity;
            v = {int32_t(int64_t(v.x) * speed / old_speed), int32_t(int64_t(v.y) * speed / old_speed),
                 int32_t(int64_t(v.z) * speed / old_speed)};
            member->speed = speed;
        }
    }
    update_formation_mode(drone);
}

void follow_leader_turn(Drone* leader, int32_t travel, int32_t previous_remaining) {
    if (leader->formation_type <= 0 || leader->formation_type >= FORMATION_TYPES) return;
    int row = formation_table[leader->formation_type].count - 1;
    for (Drone* member = leader->first_member; member; member = member->next, --row) {
        if (!is_living(member) || row < 1) continue;
        int32_t distance;
        if (leader->speed != 0) {
            distance = aim_member_at_slot(member, leader, row);
            set_level_velocity(member, matched_speed(leader->speed, distance, leader->remaining_distance));
            // A step that arrived with no way to spare (travel 0) leaves nothing to move on by.
            if (travel != 0) {
                const int64_t part = int64_t(travel) - previous_remaining;
                move_mobile_object(&member->object, int32_t(per_step(member->velocity.x) * part / travel),
                                   int32_t(per_step(member->velocity.y) * part / travel), 0);
            }
            rebuild_matrix(member);
        } else {
            Vector3 slot;
            get_formation_slot(leader, leader->formation_type, row, slot);
            distance = horizontal_distance(member->pose.position, slot.x, slot.y);
        }
        member->remaining_distance = distance;
        member->speed = leader->speed;
    }
}

void update_formation_mode(Drone* leader) {
    const Waypoint* c = leader->current_waypoint;
    if (!leader->first_member || !c) {
        leader->mission_flags &= ~DRONE_FLAG_COLUMN;
        return;
    }
    const bool column = leader->mission_flags & DRONE_FLAG_COLUMN;
    if (is_column_country(c)) {
        if (column) return;
        for (Drone* member = leader->first_member; member; member = member->next) {
            if (!is_living(member)) continue;
            member->current_waypoint = leader->current_waypoint;
            member->first_waypoint = leader->first_waypoint;
            member->remaining_distance = horizontal_distance(member->pose.position, c->x, c->y);
            member->speed = leader->speed;
            member->heading = compute_bearing(c->x - member->pose.position.x, c->y - member->pose.position.y);
            // Heading for the waypoint, not for the slot it aimed at before.
            set_level_velocity(member, member->speed);
            rebuild_matrix(member);
        }
        leader->mission_flags |= DRONE_FLAG_COLUMN;
        return;
    }
    if (!column || leader->formation_type <= 0 || leader->formation_type >= FORMATION_TYPES) {
        leader->mission_flags &= ~DRONE_FLAG_COLUMN;
        return;
    }
    int row = formation_table[leader->formation_type].count - 1;
    for (Drone* member = leader->first_member; member; member = member->next, --row) {
        if (!is_living(member) || row < 1) continue;
        const int32_t distance = aim_member_at_slot(member, leader, row);
        set_level_velocity(member, matched_speed(leader->speed, distance, leader->remaining_distance));
        member->speed = leader->speed;
        rebuild_matrix(member);
    }
    leader->mission_flags &= ~DRONE_FLAG_COLUMN;
}

void get_formation_slot(const Drone* leader, int formation_type, int row, Vector3& point) {
    const Waypoint* c = leader->current_waypoint;
    point = c ? Vector3{c->x, c->y, c->z} : leader->pose.position;
    if (formation_type == 0) return;
    const Vector3 offset = rotated_row(formation_table[formation_type].rows[row], leader->heading);
    point = {point.x + offset.x, point.y + offset.y, point.z + offset.z};
}

void update_ground_drone(Drone* leader) {
    if (!(leader->mission_flags & DRONE_FLAG_COLUMN)) {
        step_ground_drone(leader, leader, true);
        return;
    }
    step_ground_drone(leader, leader, false);
    // Leaving the road the leader has already put its members back in their slots.
    if (!(leader->mission_flags & DRONE_FLAG_COLUMN)) return;
    for (Drone* member = leader->first_member; member; member = member->next) step_ground_drone(member, leader, false);
}

void update_train_drone(Drone* locomotive) {
    if (locomotive->destroyed) return;
    step_ground_drone(locomotive, locomotive, false);
    Drone* last = locomotive->first_member;
    while (last && last->next) last = last->next;
    for (Drone* wagon = last; wagon && !wagon->destroyed; wagon = wagon->prev) step_ground_drone(wagon, locomotive, false);
}

}  // namespace vyr
