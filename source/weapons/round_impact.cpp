#include "source/weapons/round_impact.h"

#include <algorithm>

#include "library/3dvisual/features.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/maths/random.h"
#include "source/avionics/messages.h"
#include "source/drone/drone.h"
#include "source/drone/task.h"
#include "source/frame_loop.h"
#include "source/mission/goals.h"
#include "source/skill.h"
#include "source/weapons/damage.h"
#include "source/weapons/effects.h"
#include "source/weapons/object_types.h"
#include "source/weapons/rounds.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

Vector3 round_impact_start = {};
Vector3 round_impact_point = {};
Vector3 round_impact_offset = {};
int32_t runway_damage = 0;
int32_t runway_destroyed = 0;
int32_t mine_target_count = 0;
int32_t mined_target_count = 0;

namespace {

constexpr int32_t WORLD_MAX = 0x0FFFFFFF;
constexpr int32_t AIR_FUSE_HEIGHT = 12800;  // 50 ft
constexpr int32_t MINEFIELD_RISE = 2560;    // 10 ft
constexpr int32_t MINE_OBJECT = 1201;
constexpr int64_t RUNWAY_REACH = 4055040;  // 3 miles
constexpr int32_t RUNWAY_KILL_HITS = 18;
constexpr int32_t MINE_REACH = 1260000, MINE_REACH_PER_FORCES = 84000;
constexpr int SUB_STEPS = 8;
constexpr int MESSAGE_TICKS = 200;

Vector3 add(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

// The route of the first drone of the player's task, or null.
Waypoint* user_task_route() {
    Task* task = get_user_task();
    Drone* first = task ? get_task_first_drone(task) : nullptr;
    return first ? first->first_waypoint : nullptr;
}

// Walks from `from` towards `to` in eight sub-steps to the first point at or below the ground.
int segment_ground_contact(const Vector3& from, const Vector3& to, const WeaponRound* round, Vector3& before,
                           Vector3& after) {
    const int32_t fuse = round->weapon_id == WEAPON_OFAB250 || round->weapon_id == WEAPON_FAE500 ? AIR_FUSE_HEIGHT : 0;
    before = from;
    after = to;
    if (to.z >= get_ground_height(to.x, to.y) + fuse) return 0;
    const Vector3 sub = {(to.x - from.x) / SUB_STEPS, (to.y - from.y) / SUB_STEPS, (to.z - from.z) / SUB_STEPS};
    Vector3 p = from;
    for (int i = 0; i < SUB_STEPS; ++i) {
        before = p;
        p = add(p, sub);
        if (p.z <= get_ground_height(p.x, p.y)) break;
    }
    after = p;
    return 1;
}

bool is_destroyed(const ObjectInstance* instance) { return instance->flags & INSTANCE_INACTIVE; }

const ObjectInstance* shooter_instance(const WeaponRound* round) {
    const Target* shooter = round->shooter;
    return shooter && shooter->kind == TARGET_MOBILE ? static_cast<const ObjectInstance*>(shooter->object) : nullptr;
}

const ground_object* shooter_record(const WeaponRound* round) {
    const Target* shooter = round->shooter;
    return shooter && shooter->kind == TARGET_GROUND_OBJECT ? static_cast<const ground_object*>(shooter->object)
                                                           : nullptr;
}

// At most one object a frame is tried; the fewer mines left, the likelier a strike.
void strike_from_minefield(WeaponRound* round) {
    DroppedRoundBlock& field = round->dropped;
    for (ObjectInstance* found = search_mobile_objects(round_impact_start, field.mine_radius, 0); found;
         found = search_mobile_objects(round_impact_start, 0, 1)) {
        if (is_destroyed(found) || found->object_type == MINE_OBJECT || found->object_type == OBJ_MI24_VORN_607) continue;
        const int64_t r = field.mine_radius / 1024;
        const int64_t n = std::clamp<int64_t>(r * r / std::max(field.mines_left, 1), 1, 0x7FFFFFFE);
        if ((draw_rand() % n) % 10 == 1) {
            hit_mobile_object(found, round, found->pose->position);
            if (--field.mines_left <= 0) free_round(round);
        }
        return;
    }
}

bool hits_ground_object(WeaponRound* round, const Vector3& end) {
    Vector3 at;
    ground_object* record = find_ground_object_on_segment(round->pose.position, end, at, shooter_record(round));
    if (!record || (record->flags & GROUND_DESTROYED)) return false;
    hit_ground_object(record, at, round);
    return true;
}

bool outside_world(const Vector3& p) { return p.x < 0 || p.x > WORLD_MAX || p.y < 0 || p.y > WORLD_MAX; }

int32_t runway_points(const WeaponRound* round) {
    const WeaponInfo& weapon = weapon_info[round->weapon_id];
    const int32_t points = weapon.damage * weapon.penetration;
    switch (round->weapon_id) {
    case WEAPON_CBU15: return points * 6;
    case WEAPON_CBU_87B: case WEAPON_CBU_89B: return int32_t(points * 0.5);
    case WEAPON_GUN: case WEAPON_GEPOD: return 0;
    default: return points;
    }
}

// The player's hits on a runway near one of the route's Target waypoints wear it down.
void score_runway_hit(const WeaponRound* round) {
    if (!user_drone || round->shooter != &user_drone->target) return;
    const Vector3& p = round_impact_point;
    for (const Waypoint* w = user_drone->first_waypoint; w; w = w->next) {
        if (w->type != WAYPOINT_TARGET) continue;
        const int64_t dx = w->x - p.x, dy = w->y - p.y;
        if (int64_t(isqrt64(uint64_t(dx * dx + dy * dy))) >= RUNWAY_REACH) continue;
        if (get_feature_kind(p.x, p.y) != FEATURE_RUNWAY) continue;
        runway_damage += runway_points(round);
        const WeaponInfo& cbu15 = weapon_info[WEAPON_CBU15];
        if (runway_damage > RUNWAY_KILL_HITS * cbu15.damage * cbu15.penetration) {
            runway_destroyed = 1;
            check_mission_accomplished();
        }
        return;
    }
}

}  // namespace

int find_ground_contact(const Vector3& step, const WeaponRound* round) {
    Vector3 to = add(round_impact_start, step);
    if (round->weapon_id == WEAPON_MINEFIELD) to.z += MINEFIELD_RISE;
    Vector3 before, after;
    if (!segment_ground_contact(round_impact_start, to, round, before, after)) {
        round_impact_offset = step;
        return 0;
    }
    for (int level = 0; level < 2; ++level) {
        const Vector3 from = before;
        segment_ground_contact(from, after, round, before, after);
    }
    round_impact_point = after;
    round_impact_offset = {after.x - round_impact_start.x, after.y - round_impact_start.y, 0};
    return 1;
}

int test_round_impact(WeaponRound* round, const Vector3& step) {
    round_impact_start = round->pose.position;
    round_impact_offset = {0, 0, 0};
    const int contact = find_ground_contact(step, round);
    if (round->weapon_id == WEAPON_MINEFIELD) {
        if (contact) strike_from_minefield(round);
        return 0;
    }
    const WeaponInfo& weapon = weapon_info[round->weapon_id];
    const Vector3 end = add(round->pose.position, step);
    bool ended = false;
    if (!(round->flags & ROUND_LIVE)) {
        ended = true;
    } else if (outside_world(end)) {
        impact_effects(round, 0, 0, nullptr);
        ended = true;
    } else if (ObjectInstance* mover = find_mobile_object_on_segment(round->pose.position, end, shooter_instance(round),
                                                                     &round->instance);
               mover && !is_destroyed(mover)) {
        hit_mobile_object(mover, round, mover->pose->position);
        ended = true;
    } else if (hits_ground_object(round, end)) {
        ended = true;
    } else if ((round->speed < weapon.min_flight_speed && !(round->flags & ROUND_MOTOR)) ||
               int64_t(round->distance_flown) * 2 > int64_t(weapon.max_range) * 3) {
        impact_effects(round, 0, 0, nullptr);
        ended = true;
    } else if (contact) {
        score_runway_hit(round);
        hit_point(round_impact_point, round);
        ended = true;
    }
    if (ended) free_round(round);
    return ended ? 1 : 0;
}

int resolve_shell(WeaponRound* round) {
    if (game_clock < round->shell.impact_time) return 0;
    hit_point(round->shell.impact_point, round);
    free_round(round);
    return 1;
}

void score_mine_drop(const WeaponRound* round) {
    const int32_t reach = MINE_REACH - forces_type * MINE_REACH_PER_FORCES;
    const Vector3& p = round->pose.position;
    bool in_reach = false;
    for (Waypoint* w = user_task_route(); w; w = w->next) {
        if (w->type != WAYPOINT_MINE_LAY || estimate_distance_2d(w->x - p.x, w->y - p.y) >= reach) continue;
        in_reach = true;
        if (w->mined) continue;
        w->mined = 1;
        ++mined_target_count;
        check_mission_accomplished();
        post_message("GOOD MINES  ", 1, MESSAGE_TICKS);
    }
    if (!in_reach) post_message("OFF TARGET  ", 1, MESSAGE_TICKS);
}

void init_mine_targets() {
    mined_target_count = 0;
    mine_target_count = 0;
    for (Waypoint* w = user_task_route(); w; w = w->next) {
        if (w->type != WAYPOINT_MINE_LAY) continue;
        w->mined = 0;
        ++mine_target_count;
    }
}

}  // namespace vyr
