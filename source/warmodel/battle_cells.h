// The battle cells' fight: both groups of a cell fire at each other, re-plan, and the weaker
// falls back along its route while the stronger moves on.
#pragma once

#include <cstdint>

#include "source/weapons/weapon_info.h"

namespace vyr {

struct BattleCellSide;
struct Drone;
struct Task;

// The longest wait between a group's re-plans, in ticks.
constexpr int32_t BATTLE_REPLAN_TICKS = 36000;
// A group at or below this many sixteenths of its starting strength gives way.
constexpr int BATTLE_RETREAT_STRENGTH = 4;
enum BattleMove : int { BATTLE_RETREAT = 0, BATTLE_ADVANCE = 1 };

// Once a simulation step, after the ground war.
void update_battle_cells();

// Live drones in sixteenths of the half's starting count; -1 while the group is on the move (its
// leader, not a structure, retreating or advancing) or the half started with none.
int get_battle_strength(Task* task, const BattleCellSide& half);
// Every drone of the task drops its attack target.
void replan_battle_group(Task* task);
// Every living drone of the task looks for a victim on its frames and fires when its time comes;
// the first shot waits up to 2,000 ticks.
void fire_battle_group(Task* task);
// Every leader steps one waypoint back (retreat) or on (advance), where there is one, and heads
// there with the moving flag set; its members take their places on the new leg.
void move_battle_group(Task* task, int mode);
// On the frames of its index modulo 4, an armed drone without a target takes a random drone of
// the opposing group: through a Tank Gun a ground point scattered around it, else the drone
// itself; it turns to face it.
void acquire_battle_target(Drone* drone);
// A random living drone of the task; null when none lives.
Drone* pick_task_drone(Task* task);

}  // namespace vyr
