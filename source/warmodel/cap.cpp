#include "source/warmodel/cap.h"

#include <algorithm>
#include <climits>

#include "library/debug/fatal.h"
#include "library/maths/vector.h"
#include "source/drone/drone.h"
#include "source/drone/drone_war.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/task.h"
#include "source/frame_loop.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/warmodel/sector_search.h"
#include "source/warmodel/war_model.h"
#include "source/weapons/target.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

CapState allied_cap, enemy_cap;
int32_t cap_threats_time;

namespace {

constexpr const char* SOURCE = "source/warmodel/cap";
constexpr int32_t THREAT_LIST_AGE = 2000;  // 10 s

void add_threat_to(CapState& cap, Target* target) {
    if (cap.threat_count < CAP_THREAT_LIMIT) cap.threats[cap.threat_count++] = target;
}

// The listed aircraft of `listed_side` in the tile that fly above the watching side's cover, over
// ground the watching side owns.
void list_visible(CapState& cap, const SectorData* aircraft_record, int cell_side, int watching_side,
                  int32_t (*cover)(int32_t, int32_t)) {
    if (cell_side != watching_side) return;
    const int listed = std::min<int>(aircraft_record->aircraft_count, SECTOR_LIST_SIZE);
    for (int i = 0; i < listed; ++i) {
        Target* t = aircraft_record->aircraft[i];
        const Vector3 at = target_position(t);
        if (at.z > cover(at.x, at.y)) add_threat_to(cap, t);
    }
}

Target* choose_cap_threat(Drone* drone, CapState& cap) {
    if (game_clock - cap_threats_time > THREAT_LIST_AGE) rebuild_cap_threats();
    if (cap.threat_count == 0) return nullptr;
    Target* best = nullptr;
    int32_t best_distance = INT32_MAX;
    for (int i = 0; i < cap.threat_count && get_drone_speed(drone) != 0; ++i) {
        Target* t = cap.threats[i];
        if (int64_t(get_route_distance(drone, t)) > 2 * int64_t(drone->attention_range)) continue;
        const Vector3 at = target_position(t);
        const int32_t d = estimate_distance_3d(at.x - drone->pose.position.x, at.y - drone->pose.position.y,
                                               at.z - drone->pose.position.z);
        if (!best || d < best_distance) best = t, best_distance = d;
    }
    cap.assigned_threats[drone->cap_index] = best;
    return best;
}

bool above_cover(const Drone* drone, const Target* threat) {
    const Vector3 at = target_position(threat);
    return at.z > (drone->task->side == SIDE_ALLIED ? get_allied_radar_cover(at.x, at.y) : get_enemy_radar_cover(at.x, at.y));
}

const Target* radar_at(const Drone* drone, const Target* threat) {
    const Vector3 at = target_position(threat);
    return drone->task->side == SIDE_ALLIED ? get_allied_radar_at(at.x, at.y) : get_enemy_radar_at(at.x, at.y);
}

bool radar_up_at(const Drone* drone, const Target* threat) {
    const Target* radar = radar_at(drone, threat);
    return radar && !is_target_destroyed(radar);
}

bool radar_destroyed_at(const Drone* drone, const Target* threat) {
    const Target* radar = radar_at(drone, threat);
    return radar && is_target_destroyed(radar);
}

int32_t distance_to(const Drone* drone, const Target* target) {
    const Vector3 at = target_position(target);
    return estimate_distance_2d(at.x - drone->pose.position.x, at.y - drone->pose.position.y);
}

void start_intercept(Drone* drone, Target* threat) {
    const Vector3 at = target_position(threat);
    const int32_t d = estimate_distance_3d(at.x - drone->pose.position.x, at.y - drone->pose.position.y,
                                           at.z - drone->pose.position.z);
    drone->attack_target = threat;
    drone->mission_flags = (drone->mission_flags | DRONE_FLAG_ENGAGED | DRONE_FLAG_CAP_INTERCEPT) & ~DRONE_FLAG_RETREAT;
    drone->reaction_time = game_clock + 1000 * (d / std::max(get_drone_speed(drone), 1));
}

// The fixed point of the threat's last known position goes back to the pool as the threat is
// taken again.
void take_threat_again(Drone* drone, Target* threat) {
    release_target(drone->attack_target);
    drone->attack_target = threat;
}

void follow_intercept(Drone* drone) {
    const int weapon = choose_drone_weapon(drone);
    const int64_t reach = weapon ? int64_t(weapon_info[weapon].max_range) * 3 / 2 : 0;
    Target* threat = (drone->task->side == SIDE_ALLIED ? allied_cap : enemy_cap).assigned_threats[drone->cap_index];
    if (drone->attack_target->kind == TARGET_FIXED_POINT) {
        if (!threat) {
            clear_drone_attack_target(drone);
            return;
        }
        if (above_cover(drone, threat)) {
            take_threat_again(drone, threat);
            return;
        }
        if (distance_to(drone, drone->attack_target) >= reach) return;
        if (distance_to(drone, threat) < reach && radar_up_at(drone, threat))
            take_threat_again(drone, threat);
        else
            clear_drone_attack_target(drone);
        return;
    }
    Target* target = drone->attack_target;
    if ((!above_cover(drone, target) && distance_to(drone, target) > reach) || radar_destroyed_at(drone, target))
        drone->attack_target = new_fixed_point_target(target_position(target));
}

}  // namespace

void add_allied_cap_threat(Target* target) { add_threat_to(allied_cap, target); }
void add_enemy_cap_threat(Target* target) { add_threat_to(enemy_cap, target); }

void rebuild_cap_threats() {
    allied_cap.threat_count = enemy_cap.threat_count = 0;
    for (int tx = 0; tx < SECTOR_TILES; ++tx)
        for (int ty = 0; ty < SECTOR_TILES; ++ty) {
            const SectorData* allied = sector_grid[tx][ty][0];
            const SectorData* enemy = sector_grid[tx][ty][1];
            if (!allied || !enemy) continue;
            const int cell_side = gameplay_grid[tx * GAMEPLAY_GRID_SIZE + ty].side & CELL_SIDE_MASK;
            if (!is_allied_radar_down(tx, ty)) list_visible(allied_cap, enemy, cell_side, SIDE_ALLIED, get_allied_radar_cover);
            if (!is_enemy_radar_down(tx, ty)) list_visible(enemy_cap, allied, cell_side, SIDE_ENEMY, get_enemy_radar_cover);
        }
    cap_threats_time = game_clock;
}

Target* get_allied_cap_threat(Drone* drone) { return choose_cap_threat(drone, allied_cap); }
Target* get_enemy_cap_threat(Drone* drone) { return choose_cap_threat(drone, enemy_cap); }

void init_cap() {
    bool allied_seen = false, enemy_seen = false;
    for (Task* task = get_first_task(); task; task = get_next_task(task)) {
        if (task->type != TASK_COMBAT_AIR_PATROL) continue;
        const bool allied = task->side == SIDE_ALLIED;
        if (!allied && task->side != SIDE_ENEMY) {
            report_fatal_error("Combat Air Patrol not on either side", SOURCE, __LINE__);
            return;
        }
        bool& seen = allied ? allied_seen : enemy_seen;
        if (seen) {
            report_fatal_error(allied ? "More than one allied CAP task present" : "More than one enemy CAP task present",
                               SOURCE, __LINE__);
            return;
        }
        seen = true;
        CapState& cap = allied ? allied_cap : enemy_cap;
        cap.drone_count = 0;
        for (Drone* drone = task->first_drone; drone; drone = get_next_drone(drone)) {
            if (cap.drone_count >= CAP_DRONE_LIMIT) {
                report_fatal_error(allied ? "Too many drones in allied CAP task, limit %d" : "Too many drones in enemy CAP task, limit %d",
                                   SOURCE, __LINE__, CAP_DRONE_LIMIT);
                return;
            }
            drone->cap_index = uint8_t(cap.drone_count);
            cap.assigned_threats[cap.drone_count++] = nullptr;
        }
    }
    for (CapState* cap : {&allied_cap, &enemy_cap}) {
        cap->threat_count = 0;
        for (Target*& threat : cap->threats) threat = nullptr;
    }
    cap_threats_time = 0;
    rebuild_cap_threats();
}

void acquire_cap_target(Drone* drone) {
    if (drone->cap_index == NO_CAP_INDEX) {
        report_fatal_error("Non-CAP drone trying to get target from CAP system", SOURCE, __LINE__);
        return;
    }
    if (!drone->attack_target) {
        acquire_air_to_air_target(drone);
        if (drone->attack_target) {
            drone->mission_flags &= ~DRONE_FLAG_CAP_INTERCEPT;
            return;
        }
        Target* threat = drone->task->side == SIDE_ALLIED ? get_allied_cap_threat(drone) : get_enemy_cap_threat(drone);
        if (!threat) return;
        const Drone* victim = get_target_drone(threat);
        if (drone->drone_class == DRONE_CLASS_HELICOPTER && (!victim || victim->drone_class != DRONE_CLASS_HELICOPTER)) {
            drone->mission_flags &= ~DRONE_FLAG_CAP_INTERCEPT;
            return;
        }
        start_intercept(drone, threat);
        return;
    }
    if (drone->mission_flags & DRONE_FLAG_CAP_INTERCEPT) follow_intercept(drone);
}

}  // namespace vyr
