#include "source/drone/task.h"

#include <new>
#include <utility>

#include "library/3dvisual/objects.h"
#include "library/debug/fatal.h"
#include "library/system/exit.h"
#include "library/system/memory.h"
#include "source/drone/drone.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/drone/dtask";

bool exit_handler_added = false;

// Ids name drones across linked machines and fit kill entries' bytes, so a new task never takes
// the id of a live one: the lowest free id, which numbers a freshly read mission 0 to n-1.
int32_t lowest_free_task_id() {
    for (int32_t id = 0;; ++id) {
        const Task* t = task_list;
        while (t && t->id != id) t = t->next;
        if (!t) return id;
    }
}

// The last Target waypoint along the routes of the task's leaders; fatal when a leader's route
// cannot stage a battle.
void check_battle_routes(const Task* task, int32_t& target_x, int32_t& target_y) {
    for (const Drone* d = task->first_drone; d; d = d->next) {
        const ObjectHeader* header = get_object_header(d->object.object_type);
        const char* name = header ? header->long_name : "";
        static const char* const TOO_FEW[] = {
            "Battle Task:%d: Drone %s(%d) has no waypoints",
            "Battle Task:%d: Drone %s(%d) has only ONE waypoint, must have 3 (three, III, 0x03, 003, 011b)",
            "Battle Task:%d: Drone %s(%d) has only TWO waypoints, must have 3 (three, III, 0x03, 003, 011b)",
        };
        int count = 0;
        bool has_target = false;
        for (const Waypoint* w = d->first_waypoint; w; w = w->next) {
            ++count;
            if (w->type != WAYPOINT_TARGET) continue;
            has_target = true;
            target_x = w->x;
            target_y = w->y;
        }
        if (count < 3) report_fatal_error(TOO_FEW[count], SOURCE, __LINE__, task->id, name, d->index);
        if (!has_target)
            report_fatal_error("Battle Task:%d: Drone %s(%d) does not have any TARGET waypoints for the battle to take "
                               "place at",
                               SOURCE, __LINE__, task->id, name, d->index);
    }
}

void fill_battle_side(BattleCellSide& half, Task* task) {
    if (half.task)
        report_fatal_error("Battle Task:%d: Battle cell already has a task for this side", SOURCE, __LINE__, task->id);
    half.task = task;
    half.drone_count = task->live_count;
    if (!task->first_drone) report_fatal_error("Battle Task:%d: Task has no drones", SOURCE, __LINE__, task->id);
    check_battle_routes(task, half.target_x, half.target_y);
}

}  // namespace

const char* const task_type_names[TASK_END + 1] = {
    "Unknown",
    "Battlefield Air Interdiction",
    "Strategic Interdiction",
    "Counter Air Operations",
    "Defence Suppression",
    "Strike Operations",
    "Offensive Sweep",
    "Escort Cover",
    "Tank Formation",
    "Ground Vehicle",
    "Artillery - Fixed Point",
    "Artillery - Recon",
    "Move/Fire",
    "Bombing - Strategic",
    "Bombing - Tactical",
    "Combat Air Patrol",
    "Artillery - Line of Sight",
    "Boat Squadron",
    "Bombing - Laser guided",
    "Artillery - Air Defence",
    "Fortifications",
    "Ground Vehicle - Looping",
    "Evacuation - Air Defence",
    "The End (Shouldn't see this)",
};

BattleCell battle_cells[BATTLE_CELLS];
Task* task_list = nullptr;
Task* selected_task = nullptr;
Task* user_task = nullptr;

Task* create_task() {
    if (!exit_handler_added) {
        exit_handler_added = true;
        add_exit_handler(destroy_all_tasks);
    }
    Task* task = new (allocate_memory(sizeof(Task), SOURCE, __LINE__)) Task{};
    task->id = lowest_free_task_id();
    Task* last = get_last_task();
    if (last) {
        last->next = task;
        task->prev = last;
    } else {
        task_list = selected_task = task;
    }
    return task;
}

void destroy_task(Task* task) {
    if (user_task == task) user_task = nullptr;
    while (task->first_drone) destroy_drone(task->first_drone);
    if (selected_task == task) selected_task = task->next ? task->next : task->prev;
    if (task->prev) task->prev->next = task->next;
    else task_list = task->next;
    if (task->next) task->next->prev = task->prev;
    free_memory(task, SOURCE, __LINE__);
}

void destroy_all_tasks() {
    while (task_list) destroy_task(task_list);
}

void set_task_type(Task* task, int type) {
    task->type = type;
    for (Drone* d = task->first_drone; d; d = d->next) set_drone_attention(d);
}

void set_task_side(Task* task, int side) { task->side = side; }
void set_task_battle_cell(Task* task, int cell) { task->battle_cell = cell; }
void set_user_task(Task* task) { user_task = task; }
void select_task(Task* task) { selected_task = task; }

int get_task_type(const Task* task) { return task->type; }
int get_task_side(const Task* task) { return task->side; }
int get_task_battle_cell(const Task* task) { return task->battle_cell; }
Drone* get_task_first_drone(Task* task) { return task ? task->first_drone : nullptr; }
Task* get_user_task() { return user_task; }
Task* get_selected_task() { return selected_task; }
Task* get_first_task() { return task_list; }
Task* get_next_task(Task* task) { return task->next; }
Task* get_previous_task(Task* task) { return task->prev; }

Task* get_last_task() {
    Task* task = task_list;
    while (task && task->next) task = task->next;
    return task;
}

Task* get_first_ai_task() {
    return task_list && task_list == user_task ? task_list->next : task_list;
}

Task* get_next_ai_task(Task* task) {
    Task* next = task->next;
    return next && next == user_task ? next->next : next;
}

void init_battle_cells() {
    for (BattleCell& cell : battle_cells) {
        cell = {};
        cell.allied.opponent = &cell.enemy;
        cell.enemy.opponent = &cell.allied;
    }
    for (Task* task = get_first_ai_task(); task; task = get_next_ai_task(task)) {
        if (task->battle_cell == 0) continue;
        // A cell number the mission file got wrong names no cell; it is no cell of this program.
        if (task->battle_cell < 1 || task->battle_cell >= BATTLE_CELLS)
            report_fatal_error("Battle Task:%d: Battle cell %d does not exist", SOURCE, __LINE__, task->id,
                               task->battle_cell);
        BattleCell& cell = battle_cells[task->battle_cell];
        if (task->side == SIDE_ALLIED) {
            cell.in_use = 1;
            fill_battle_side(cell.allied, task);
        } else if (task->side == SIDE_ENEMY) {
            cell.in_use = 1;
            fill_battle_side(cell.enemy, task);
        } else {
            report_fatal_error("Battle Cell has no side", SOURCE, __LINE__);
        }
    }
    for (BattleCell& cell : battle_cells) {
        if (!cell.in_use) continue;
        if (!cell.enemy.task) report_fatal_error("Battle cell has allied but no enemy task", SOURCE, __LINE__);
        if (!cell.allied.task) report_fatal_error("Battle cell has enemy but no allied task", SOURCE, __LINE__);
        std::swap(cell.allied.target_x, cell.enemy.target_x);
        std::swap(cell.allied.target_y, cell.enemy.target_y);
    }
}

}  // namespace vyr
