#include "source/drone/drone_war.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "library/3dvisual/ground_objects.h"
#include "library/debug/fatal.h"
#include "library/maths/matrix.h"
#include "library/maths/vector.h"
#include "source/avionics/threat_warning.h"
#include "source/drone/drone.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/drone_types.h"
#include "source/drone/user_drone.h"
#include "source/drone/task.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/warmodel/sector_search.h"
#include "source/warmodel/war_model.h"
#include "source/weapons/drone_fire.h"
#include "source/weapons/launch.h"
#include "source/weapons/object_types.h"
#include "source/weapons/target.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/drone/drone_war";
constexpr int32_t SITE_RANGE_LIMIT = 0x528000;
constexpr double BOMB_RELEASE_WINDOW = 0.1;  // seconds
constexpr double NEVER = 2147483647.0;
constexpr int TILE_SHIFT = 22;
constexpr int GROUND_WAR_REACH = 2;  // tiles around the player's

// What a step of the drone war answers: a leader that found nothing leaves its members idle.
constexpr int STEP_IDLE = 0;
constexpr int STEP_NOTHING_FOUND = 1;
constexpr int STEP_FOUGHT = 2;

int opposite_side(int side) { return side == SIDE_ALLIED ? SIDE_ENEMY : SIDE_ALLIED; }

bool search_frame(const Drone* drone) { return drone->index % 4 == frame_count % 4; }

// A new target is told it was picked, and the player warned; the first shot waits the side's
// reaction.
void announce_target(Drone* drone, Target* target) {
    if (Drone* victim = get_target_drone(target)) {
        notice_attacker(victim, &drone->target);
        if (victim == user_drone) add_threat(&drone->target);
    }
    set_next_shot_time(drone, std::max(get_next_shot_time(drone), game_clock + compute_reaction_delay(drone->task->side)));
}

void acquire_artillery_target(Drone* drone) {
    const Waypoint* w = drone->current_waypoint;
    switch (drone->task->type) {
    case TASK_ARTILLERY_FIXED_POINT:
        if (drone->attack_target || !w) return;
        drone->attack_target = new_fixed_point_target({w->x, w->y, w->z});
        set_next_shot_time(drone, drone->activation_time);
        return;
    case TASK_ARTILLERY_RECON:
        return;
    case TASK_ARTILLERY_LINE_OF_SIGHT:
        if (!w) return;
        drone->attack_target = pick_sector_target(w->x >> TILE_SHIFT, w->y >> TILE_SHIFT, opposite_side(drone->task->side));
        return;
    default:
        report_fatal_error("Drone with task type %d, caught masquerading as artillery", SOURCE, __LINE__, drone->task->type);
    }
}

void acquire_surface_air_target(Drone* drone) {
    if (drone->air_max_range == 0) return;
    if (drone->attack_target) {
        if (are_targets_within_cells(drone->attack_target, &drone->target, drone->air_max_range + drone->air_max_range / 2))
            return;
        clear_drone_attack_target(drone);
    }
    Target* t = find_random_sector_aircraft(drone->pose.position, opposite_side(drone->task->side), drone->air_min_range,
                                            std::min(drone->air_max_range, drone->attention_range));
    drone->attack_target = t;
    if (t) announce_target(drone, t);
}

// Bombs fall for sqrt(2h / g) seconds; the release comes once per pass, while the time to the
// target shrinks through the fall time. 1 when the general air rule is still to be applied.
bool bombing_run(Drone* drone) {
    const int weapon = choose_drone_weapon(drone);
    if (weapon <= 0 || weapon_info[weapon].weapon_kind != WEAPON_KIND_BOMB) return false;
    const Vector3 at = target_position(drone->attack_target);
    const int64_t dx = int64_t(at.x) - drone->pose.position.x, dy = int64_t(at.y) - drone->pose.position.y;
    const double distance = double(isqrt64(uint64_t(dx * dx + dy * dy)));
    const int32_t speed = get_drone_speed(drone);
    const double to_target = speed ? distance / speed : NEVER;
    const double fall = std::sqrt(double(drone->pose.position.z / 256) * 64) * 0.03125;
    const double before = drone->last_bomb_time;
    drone->last_bomb_time = to_target;
    if (fall <= to_target - BOMB_RELEASE_WINDOW || fall >= to_target + BOMB_RELEASE_WINDOW) return true;
    if (to_target < before) {
        fire_drone_weapon_at_target(drone);
        clear_drone_attack_target(drone);
        return false;
    }
    clear_drone_attack_target(drone);
    return true;
}

void fire_air_drone(Drone* drone) {
    const int task = drone->task->type;
    if ((task == TASK_BOMBING_STRATEGIC || task == TASK_BOMBING_TACTICAL) && !(drone->mission_flags & DRONE_FLAG_BOMBS_GONE) &&
        !bombing_run(drone))
        return;
    if (!drone->attack_target) return;
    const bool laser_run = task == TASK_BOMBING_LASER_GUIDED && !(drone->mission_flags & DRONE_FLAG_BOMBS_GONE);
    if (laser_run || (drone->mission_flags & DRONE_FLAG_ENGAGED)) fire_drone_weapon_at_target(drone);
}

int update_drone_war_step(Drone* drone) {
    const int side = drone->task->side;
    if (!(drone->mission_flags & DRONE_FLAG_ARMED) || drone->destroyed || (side != SIDE_ALLIED && side != SIDE_ENEMY) ||
        drone->task->type == TASK_EVACUATION_AIR_DEFENCE)
        return STEP_IDLE;
    if (drone->attack_target && is_target_destroyed(drone->attack_target)) {
        clear_drone_attack_target(drone);
        return STEP_IDLE;
    }
    if (!search_frame(drone)) {
        if (!drone->attack_target) return STEP_IDLE;
    } else {
        switch (drone->drone_class) {
        case DRONE_CLASS_NONE:
            dump_drone(drone);
            report_fatal_error("Drone has not had its class defined", SOURCE, __LINE__);
            return STEP_IDLE;
        case DRONE_CLASS_HELICOPTER:
        case DRONE_CLASS_AIRCRAFT:
            if (drone->pose.position.z == 0) return STEP_IDLE;
            acquire_air_drone_target(drone);
            break;
        case DRONE_CLASS_VEHICLE:
        case DRONE_CLASS_SHIP:
            acquire_surface_air_target(drone);
            break;
        case DRONE_CLASS_ARTILLERY:
            acquire_artillery_target(drone);
            break;
        default:
            return STEP_IDLE;
        }
    }
    if (!drone->attack_target) return STEP_NOTHING_FOUND;
    switch (drone->drone_class) {
    case DRONE_CLASS_HELICOPTER:
    case DRONE_CLASS_AIRCRAFT:
        fire_air_drone(drone);
        break;
    case DRONE_CLASS_STRUCTURE:
        report_fatal_error("Drone with illegal class trying to fire.", SOURCE, __LINE__);
        break;
    case DRONE_CLASS_HUMAN:
        break;
    default:
        fire_drone_weapon_at_target(drone);
    }
    return STEP_FOUGHT;
}

bool takes_part(const Drone* drone) {
    return drone != user_drone && drone->player == -1 && (drone->mission_flags & DRONE_FLAG_MOVING) &&
           drone->activation_time <= game_clock;
}

// ---- The ground war of the gameplay grid's sites ----

ground_object* site_record(const GameplayObject* site) { return static_cast<ground_object*>(site->defence_target->object); }

void face_gameplay_object_target(GameplayObject* site) {
    const Vector3 at = target_position(site->attack_target);
    const Vector3 from = target_position(site->defence_target);
    site->heading = int32_t(compute_bearing(at.x - from.x, at.y - from.y));
    if (ground_object* record = site_record(site)) record->heading = uint16_t(uint32_t(site->heading) >> 16);
}

void acquire_gameplay_object_target(GameplayObject* site, int weapon) {
    const WeaponInfo& w = weapon_info[weapon];
    const Vector3 from = target_position(site->defence_target);
    Target* const before = site->attack_target;  // the player is warned only by a site newly on it
    if (Target* t = site->attack_target) {
        const Vector3 at = target_position(t);
        if (!is_target_destroyed(t) && estimate_distance_3d(at.x - from.x, at.y - from.y, at.z - from.z) <= w.max_range) return;
        site->attack_target = nullptr;
    }
    if (frame_count % 4 != 0) return;
    const int side = get_target_side(site->defence_target);
    if (side != SIDE_ALLIED && side != SIDE_ENEMY) return;
    site->attack_target = find_random_sector_aircraft(from, opposite_side(side), w.min_range, std::min(w.max_range, SITE_RANGE_LIMIT));
    if (!site->attack_target) return;
    site->next_shot_time = game_clock + compute_reaction_delay(side);
    if (get_target_drone(site->attack_target) == user_drone && site->attack_target != before) add_threat(site->defence_target);
    face_gameplay_object_target(site);
}

void fire_gameplay_object(GameplayObject* site, int weapon) {
    if (!site->attack_target) return;
    face_gameplay_object_target(site);
    if (game_clock < site->next_shot_time) return;
    const int kind = weapon_info[weapon].weapon_kind;
    if (kind != WEAPON_KIND_SAM && kind != WEAPON_KIND_AAA) {
        report_fatal_error("Gameplay object %s doesn't know how to fire %s", SOURCE, __LINE__,
                           get_object_type_name(get_target_object_number(site->defence_target)), get_weapon_name(weapon));
        return;
    }
    WeaponRound* round = nullptr;
    const int r = launch_drone_weapon(site->defence_target, site->attack_target, weapon, nullptr, round);
    if (r == DRONE_SHOT_NOT_NOW) return;
    if (r == DRONE_SHOT_NO_LINE) {
        site->attack_target = nullptr;
        return;
    }
    ++site->shots_fired;
    site->next_shot_time = game_clock + compute_fire_delay(weapon, site->shots_fired);
}

void scan_gameplay_cell_defences(GameplayCell& cell) {
    for (auto* slots : {&cell.sam, &cell.aaa})
        for (GameplayObject* site : *slots) {
            if (!site) break;
            if (!site->defence_target) {
                report_fatal_error("Uninitialised gameplay object", SOURCE, __LINE__);
                return;
            }
            const ground_object* record = site_record(site);
            if (record && (record->flags & GROUND_DESTROYED)) continue;
            const int weapon = get_drone_type_current_weapon(get_target_object_number(site->defence_target));
            acquire_gameplay_object_target(site, weapon);
            fire_gameplay_object(site, weapon);
        }
}

}  // namespace

void update_drone_war() {
    for (Task* task = get_first_task(); task; task = get_next_task(task)) {
        if (task->type == TASK_FORTIFICATIONS) continue;
        for (Drone* leader = task->first_drone; leader; leader = get_next_drone(leader)) {
            if (!takes_part(leader) || update_drone_war_step(leader) == STEP_NOTHING_FOUND) continue;
            for (Drone* member = leader->first_member; member; member = get_next_member(member))
                if (update_drone_war_step(member) == STEP_NOTHING_FOUND) break;
        }
    }
}

void update_ground_war() {
    const int tx = player_position->position.x >> TILE_SHIFT, ty = player_position->position.y >> TILE_SHIFT;
    for (int x = std::max(0, tx - GROUND_WAR_REACH); x <= std::min(GAMEPLAY_GRID_SIZE - 1, tx + GROUND_WAR_REACH); ++x)
        for (int y = std::max(0, ty - GROUND_WAR_REACH); y <= std::min(GAMEPLAY_GRID_SIZE - 1, ty + GROUND_WAR_REACH); ++y) {
            GameplayCell& cell = gameplay_grid[x * GAMEPLAY_GRID_SIZE + y];
            const int side = cell.side & CELL_SIDE_MASK;
            if (side == SIDE_ALLIED || side == SIDE_ENEMY) scan_gameplay_cell_defences(cell);
        }
}

// The caller steps the ship on to the next waypoint; the sector shelled is that waypoint's.
void fire_at_next_waypoint_sector(Drone* drone) {
    const Waypoint* next = drone->current_waypoint ? drone->current_waypoint->next : nullptr;
    if (!next) return;
    Target* held = drone->attack_target;
    drone->attack_target = pick_sector_target(next->x >> TILE_SHIFT, next->y >> TILE_SHIFT, opposite_side(drone->task->side));
    if (drone->attack_target) fire_drone_weapon_at_target(drone);
    drone->attack_target = held;
}

}  // namespace vyr
