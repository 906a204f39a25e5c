#include "source/warmodel/battle_cells.h"

#include <cstdint>

#include "library/3dvisual/terrain.h"
#include "library/debug/fatal.h"
#include "library/maths/matrix.h"
#include "library/maths/trig.h"
#include "library/maths/vector.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/ground_movers.h"
#include "source/drone/task.h"
#include "source/frame_loop.h"
#include "source/warmodel/war_model.h"
#include "source/weapons/target.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/warmodel/battle_cells";

// Visits every leader of the task's list, each followed by its formation members.
template <typename Visit>
void for_each_task_drone(Task* task, Visit visit) {
    for (Drone* leader = task->first_drone; leader; leader = leader->next) {
        visit(leader);
        for (Drone* member = leader->first_member; member; member = member->next) visit(member);
    }
}

BattleCellSide& half_of_side(BattleCell& cell, const Task* task) {
    switch (task->side) {
    case SIDE_ALLIED: return cell.allied;
    case SIDE_ENEMY: return cell.enemy;
    case SIDE_NEUTRAL:
    case 3: report_fatal_error("Battle cell contains unknown or neutral tanks", SOURCE, __LINE__); break;
    default: report_fatal_error("Battle cell contains tanks which don't know which side they're on.", SOURCE, __LINE__);
    }
    return cell.allied;
}

// A point around the victim's position, up to half the scatter off in x and in y; the Tank Gun's
// scatter is five times its shells' spread.
Target* scattered_aim_point(Drone* drone, const Vector3& p) {
    if (p.x == 0 || p.y == 0) report_fatal_error("Targeting non-existant battle cell point", SOURCE, __LINE__);
    const WeaponInfo& gun = weapon_info[WEAPON_TANK_GUN];
    const int32_t s = gun.round_class == ROUND_CLASS_SHELL ? 5 * gun.spread : 0;
    Vector3 aim = p;
    if (s > 0) {
        const int32_t r1 = next_drone_random(drone) % s, r2 = next_drone_random(drone) % s;
        aim.x = p.x + (r1 - r2) / 2;
        const int32_t r3 = next_drone_random(drone) % s, r4 = next_drone_random(drone) % s;
        aim.y = p.y + (r3 - r4) / 2;
    }
    aim.z = get_ground_height(aim.x, aim.y);
    return new_fixed_point_target(aim);
}

void fire_battle_drone(Drone* drone) {
    if (drone->destroyed) return;
    acquire_battle_target(drone);
    if (!drone->attack_target) return;
    // The weapon is chosen first so that the first-shot delay lands on its slot.
    choose_drone_weapon(drone);
    if (get_next_shot_time(drone) == 0) set_next_shot_time(drone, game_clock + war_random() % 2000);
    fire_drone_weapon_at_target(drone);
}

// Heading, distance and velocity toward the current waypoint at its speed.
void head_for_current_waypoint(Drone* leader) {
    const Waypoint* c = leader->current_waypoint;
    leader->speed = leader->destroyed || !c ? 0 : c->speed;
    if (c) {
        const int64_t dx = int64_t(c->x) - leader->pose.position.x, dy = int64_t(c->y) - leader->pose.position.y;
        const uint64_t distance = isqrt64(uint64_t(dx * dx + dy * dy));
        leader->remaining_distance = distance < 1 ? 1 : int32_t(distance);
        leader->heading = compute_bearing(int32_t(dx), int32_t(dy));
    } else {
        leader->remaining_distance = 0;
    }
    const int32_t speed = leader->speed;
    leader->velocity = {mul31(speed, lookup_sin(leader->heading)), mul31(speed, lookup_cos(leader->heading)),
                        mul31(speed, lookup_sin(leader->pitch))};
}

}  // namespace

int get_battle_strength(Task* task, const BattleCellSide& half) {
    const Drone* leader = task->first_drone;
    if (!leader || half.drone_count <= 0) return -1;
    if (leader->drone_class != DRONE_CLASS_STRUCTURE &&
        (leader->mission_flags & (DRONE_FLAG_RETREAT | DRONE_FLAG_ADVANCE)))
        return -1;
    return task->live_count * 16 / half.drone_count;
}

void replan_battle_group(Task* task) {
    for_each_task_drone(task, [](Drone* drone) {
        release_target(drone->attack_target);
        drone->attack_target = nullptr;
    });
}

void fire_battle_group(Task* task) { for_each_task_drone(task, fire_battle_drone); }

void move_battle_group(Task* task, int mode) {
    for (Drone* leader = task->first_drone; leader; leader = leader->next) {
        Waypoint* c = leader->current_waypoint;
        if (mode == BATTLE_RETREAT) {
            leader->mission_flags = (leader->mission_flags | DRONE_FLAG_RETREAT) & ~DRONE_FLAG_ADVANCE;
            if (c && c->prev) leader->current_waypoint = c->prev;
        } else {
            leader->mission_flags = (leader->mission_flags | DRONE_FLAG_ADVANCE) & ~DRONE_FLAG_RETREAT;
            if (c && c->next) leader->current_waypoint = c->next;
        }
        head_for_current_waypoint(leader);
        follow_leader_turn(leader, 0, 0);
    }
}

void acquire_battle_target(Drone* drone) {
    if (drone->attack_target || drone->index % 4 != frame_count % 4) return;
    if (!(drone->mission_flags & DRONE_FLAG_ARMED)) return;
    const int weapon = get_drone_type_weapon(get_drone_object_number(drone), 1);
    if (weapon == 0) return;
    const int cell_number = drone->task->battle_cell;
    if (cell_number < 1 || cell_number >= BATTLE_CELLS || !battle_cells[cell_number].in_use) return;
    const BattleCellSide& own = half_of_side(battle_cells[cell_number], drone->task);
    if (!own.opponent || !own.opponent->task) return;
    Drone* victim = pick_task_drone(own.opponent->task);
    if (!victim) return;
    Target* victim_target = get_drone_target(victim);
    if (!victim_target)
        report_fatal_error("Battle group couldn't find target, but is still active!", SOURCE, __LINE__);
    Vector3 p;
    get_target_position(victim_target, p);
    drone->attack_target = weapon == WEAPON_TANK_GUN ? scattered_aim_point(drone, p) : victim_target;
    Vector3 aim;
    get_target_position(drone->attack_target, aim);
    drone->heading = compute_bearing(aim.x - drone->pose.position.x, aim.y - drone->pose.position.y);
    build_rotation_matrix(drone->heading, 0, 0, drone->pose.matrix);
}

Drone* pick_task_drone(Task* task) {
    if (task->live_count <= 0) return nullptr;
    int32_t k = war_random() % task->live_count + 1;
    Drone* found = nullptr;
    for_each_task_drone(task, [&](Drone* drone) {
        if (found || drone->destroyed) return;
        if (--k == 0) found = drone;
    });
    return found;
}

void update_battle_cells() {
    for (int n = 1; n < BATTLE_CELLS; ++n) {
        BattleCell& cell = battle_cells[n];
        if (!cell.in_use) continue;
        const int sa = get_battle_strength(cell.allied.task, cell.allied);
        const int se = get_battle_strength(cell.enemy.task, cell.enemy);
        if (sa == -1 || se == -1) continue;
        for (BattleCellSide* half : {&cell.allied, &cell.enemy}) {
            if (game_clock < half->replan_time) continue;
            replan_battle_group(half->task);
            half->replan_time = game_clock + war_random() % BATTLE_REPLAN_TICKS;
        }
        fire_battle_group(cell.allied.task);
        fire_battle_group(cell.enemy.task);
        bool allied_holds = true;
        if (sa <= BATTLE_RETREAT_STRENGTH) {
            move_battle_group(cell.allied.task, BATTLE_RETREAT);
            allied_holds = false;
        }
        if (se <= BATTLE_RETREAT_STRENGTH) {
            move_battle_group(cell.enemy.task, BATTLE_RETREAT);
            if (allied_holds) move_battle_group(cell.allied.task, BATTLE_ADVANCE);
        } else if (!allied_holds) {
            move_battle_group(cell.enemy.task, BATTLE_ADVANCE);
        }
    }
}

}  // namespace vyr
