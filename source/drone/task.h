// Tasks: the groups of drones that serve one purpose for one side, with the user task and the
// battle cells that pair an allied and an enemy ground task.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;

enum Side : int32_t { SIDE_NEUTRAL = 0, SIDE_ALLIED = 1, SIDE_ENEMY = 2 };

enum TaskType : int32_t {
    TASK_UNKNOWN = 0,
    TASK_BATTLEFIELD_AIR_INTERDICTION = 1,
    TASK_STRATEGIC_INTERDICTION = 2,
    TASK_COUNTER_AIR = 3,
    TASK_DEFENCE_SUPPRESSION = 4,
    TASK_STRIKE = 5,
    TASK_OFFENSIVE_SWEEP = 6,
    TASK_ESCORT_COVER = 7,
    TASK_TANK_FORMATION = 8,
    TASK_GROUND_VEHICLE = 9,
    TASK_ARTILLERY_FIXED_POINT = 10,
    TASK_ARTILLERY_RECON = 11,
    TASK_MOVE_FIRE = 12,
    TASK_BOMBING_STRATEGIC = 13,
    TASK_BOMBING_TACTICAL = 14,
    TASK_COMBAT_AIR_PATROL = 15,
    TASK_ARTILLERY_LINE_OF_SIGHT = 16,
    TASK_BOAT_SQUADRON = 17,
    TASK_BOMBING_LASER_GUIDED = 18,
    TASK_ARTILLERY_AIR_DEFENCE = 19,
    TASK_FORTIFICATIONS = 20,
    TASK_GROUND_VEHICLE_LOOPING = 21,
    TASK_EVACUATION_AIR_DEFENCE = 22,
    TASK_END = 23,
};
// The names the mission editor shows, by type.
extern const char* const task_type_names[TASK_END + 1];

struct Task {
    Task* prev;
    Task* next;
    int32_t id;  // names the task across linked machines and in messages
    int32_t side;
    int32_t type;
    int32_t drone_count;  // leaders made in it: the index the next leader gets
    int32_t live_count;   // resets of its drones, members included; lowered only by a soldier's fall
    int32_t battle_cell;  // 0 none, 1..4
    Drone* first_drone;
};

constexpr int BATTLE_CELLS = 5;  // cell 0 is never used

struct BattleCellSide {
    int32_t target_x, target_y;  // after set-up: the point the opponent was sent to
    int32_t replan_time;
    int32_t drone_count;
    Task* task;
    BattleCellSide* opponent;
};

struct BattleCell {
    int32_t in_use;
    BattleCellSide allied;
    BattleCellSide enemy;
};

extern BattleCell battle_cells[BATTLE_CELLS];

extern Task* task_list;
extern Task* selected_task;
extern Task* user_task;

// A new task at the end of the list with the lowest id no task holds.
Task* create_task();
// Destroys its drones, then the task.
void destroy_task(Task* task);
void destroy_all_tasks();

// Also recomputes the attention of the task's leaders.
void set_task_type(Task* task, int type);
void set_task_side(Task* task, int side);
void set_task_battle_cell(Task* task, int cell);
void set_user_task(Task* task);
void select_task(Task* task);

int get_task_type(const Task* task);
int get_task_side(const Task* task);
int get_task_battle_cell(const Task* task);
Drone* get_task_first_drone(Task* task);
Task* get_user_task();
Task* get_selected_task();
Task* get_first_task();
Task* get_next_task(Task* task);
Task* get_previous_task(Task* task);
Task* get_last_task();
// The tasks other than the user task.
Task* get_first_ai_task();
Task* get_next_ai_task(Task* task);

// Flight set-up: pairs the tasks that name a battle cell; any inconsistency is fatal.
void init_battle_cells();

}  // namespace vyr
