#include "source/drone/task.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/source/drone/mission_fixture.h"
#include "tests/support/param_names.h"

namespace vyr {
namespace {

using Tasks = MissionTest;

// Destroying a task lowered the next id, so the next task took the id of a live one (the third
// task's 2 after the first was destroyed), and ids name drones across linked machines.
TEST_F(Tasks, ANewTaskTakesTheLowestIdNoLiveTaskHolds) {
    Task* a = create_task();
    Task* b = create_task();
    Task* c = create_task();
    EXPECT_EQ(a->id, 0);
    EXPECT_EQ(b->id, 1);
    EXPECT_EQ(c->id, 2);
    destroy_task(a);
    Task* d = create_task();
    EXPECT_EQ(d->id, 0);
    EXPECT_EQ(get_last_task(), d);
    destroy_task(b);
    destroy_task(d);
    EXPECT_EQ(create_task()->id, 0);
    EXPECT_EQ(create_task()->id, 1);
    destroy_all_tasks();
    EXPECT_EQ(get_first_task(), nullptr);
    EXPECT_EQ(create_task()->id, 0);
}

TEST_F(Tasks, DestroyingTheSelectedTaskSelectsTheNextOrElseThePrevious) {
    Task* a = create_task();
    EXPECT_EQ(get_selected_task(), a);
    Task* b = create_task();
    Task* c = create_task();
    drone(b, 225, {WAYPOINT_DEPARTURE, WAYPOINT_TURNING});
    set_user_task(b);
    select_task(b);
    destroy_task(b);
    EXPECT_EQ(get_selected_task(), c);
    EXPECT_EQ(get_user_task(), nullptr);
    EXPECT_EQ(used_drones(), 0);
    EXPECT_EQ(count_waypoints(), 0);
    destroy_task(c);
    EXPECT_EQ(get_selected_task(), a);
    EXPECT_EQ(get_next_task(a), nullptr);
}

TEST_F(Tasks, TheAiTasksLeaveOutTheUserTaskOnly) {
    Task* own = create_task();
    set_user_task(own);
    EXPECT_EQ(get_first_ai_task(), nullptr);
    Task* a = create_task();
    Task* b = create_task();
    EXPECT_EQ(get_first_ai_task(), a);
    set_user_task(b);
    EXPECT_EQ(get_first_ai_task(), own);
    EXPECT_EQ(get_next_ai_task(own), a);
    EXPECT_EQ(get_next_ai_task(a), nullptr);
    EXPECT_EQ(get_previous_task(b), a);
}

TEST_F(Tasks, BattleCellsPairTheSidesAndSwapTheirPoints) {
    Task* allied = task(SIDE_ALLIED, TASK_TANK_FORMATION);
    Drone* a = drone(allied, 93, {WAYPOINT_DEPARTURE, WAYPOINT_TARGET, WAYPOINT_TURNING});
    set_drone_formation(a, 1);
    set_task_battle_cell(allied, 2);
    Task* enemy = task(SIDE_ENEMY, TASK_TANK_FORMATION);
    drone(enemy, 93, {WAYPOINT_DEPARTURE, WAYPOINT_TURNING, WAYPOINT_TARGET, WAYPOINT_TURNING});
    set_task_battle_cell(enemy, 2);
    task(SIDE_NEUTRAL);  // no cell
    init_battle_cells();

    const BattleCell& cell = battle_cells[2];
    EXPECT_EQ(cell.in_use, 1);
    EXPECT_EQ(cell.allied.task, allied);
    EXPECT_EQ(cell.enemy.task, enemy);
    EXPECT_EQ(cell.allied.drone_count, 4);
    EXPECT_EQ(cell.allied.target_x, 3000);  // where the enemy was sent
    EXPECT_EQ(cell.enemy.target_y, 4000);   // where the allies were sent
    EXPECT_EQ(cell.allied.opponent, &cell.enemy);
    EXPECT_EQ(cell.enemy.opponent, &cell.allied);
    EXPECT_EQ(battle_cells[1].in_use, 0);
}

struct BattleFault {
    const char* name;
    std::function<void()> build;
    const char* message;
};

Task* battle_task(int side, int cell, std::initializer_list<int> route) {
    Task* t = create_task();
    set_task_side(t, side);
    set_task_battle_cell(t, cell);
    Drone* d = create_drone(t);
    for (int type : route) set_waypoint_type(append_waypoint(d), type);
    return t;
}

constexpr std::initializer_list<int> GOOD = {WAYPOINT_DEPARTURE, WAYPOINT_TARGET, WAYPOINT_TURNING};

const BattleFault FAULTS[] = {
    {"NoSide", [] { battle_task(SIDE_NEUTRAL, 2, GOOD); }, "Battle Cell has no side"},
    {"NoDrones",
     [] {
         Task* t = create_task();
         set_task_side(t, SIDE_ALLIED);
         set_task_battle_cell(t, 1);
     },
     "Battle Task:0: Task has no drones"},
    {"NoWaypoints", [] { battle_task(SIDE_ALLIED, 1, {}); }, "Battle Task:0: Drone .*\\(0\\) has no waypoints"},
    {"OneWaypoint", [] { battle_task(SIDE_ALLIED, 1, {WAYPOINT_TARGET}); }, "has only ONE waypoint, must have 3"},
    {"TwoWaypoints", [] { battle_task(SIDE_ALLIED, 1, {WAYPOINT_DEPARTURE, WAYPOINT_TARGET}); },
     "Battle Task:0: Drone .*\\(0\\) has only TWO waypoints, must have 3 \\(three, III, 0x03, 003, 011b\\)"},
    {"NoTarget", [] { battle_task(SIDE_ENEMY, 1, {WAYPOINT_DEPARTURE, WAYPOINT_TURNING, WAYPOINT_LANDING}); },
     "does not have any TARGET waypoints for the battle to take place at"},
    {"TwoOnOneSide",
     [] {
         battle_task(SIDE_ENEMY, 3, GOOD);
         battle_task(SIDE_ENEMY, 3, GOOD);
     },
     "Battle Task:1: Battle cell already has a task for this side"},
    {"AlliedAlone", [] { battle_task(SIDE_ALLIED, 4, GOOD); }, "Battle cell has allied but no enemy task"},
    {"EnemyAlone", [] { battle_task(SIDE_ENEMY, 4, GOOD); }, "Battle cell has enemy but no allied task"},
    {"NoSuchCell", [] { battle_task(SIDE_ENEMY, 5, GOOD); }, "Battle Task:0: Battle cell 5 does not exist"},
};

class BattleFaults : public MissionTest, public testing::WithParamInterface<BattleFault> {};

TEST_P(BattleFaults, EndTheFlightSetUpNamingTheTask) {
    EXPECT_FATAL(
        {
            GetParam().build();
            init_battle_cells();
        },
        GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Tasks, BattleFaults, testing::ValuesIn(FAULTS), ParamNameOf());

}  // namespace
}  // namespace vyr
