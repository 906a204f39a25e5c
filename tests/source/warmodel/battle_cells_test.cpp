#include "source/warmodel/battle_cells.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "source/frame_loop.h"
#include "tests/source/drone/armed_world.h"

namespace vyr {
namespace {

constexpr int32_t FT = 256;
constexpr int32_t TANK_SPEED = 20 * 432;

// Cell 1: four allied tanks west of the battle point facing four enemy tanks east of it, each on
// a route of three waypoints whose middle one, the Target, is where the battle holds them.
class BattleCells : public ArmedWorld {
protected:
    void SetUp() override {
        ArmedWorld::SetUp();
        if (IsSkipped()) return;
        load_type(TANK, 1, WEAPON_TANK_GUN, 40);
        allied = group(SIDE_ALLIED, -1);
        enemy = group(SIDE_ENEMY, 1);
        init_battle_cells();
        game_clock = 0;
        frame_count = 0;
    }
    void TearDown() override {
        for (BattleCell& cell : battle_cells) cell = {};
        game_clock = frame_count = 0;
        ArmedWorld::TearDown();
    }

    // `west` -1 west of the point, 1 east; each leader's Target waypoint is where it stands.
    static Task* group(int side, int east) {
        Task* task = create_task();
        set_task_side(task, side);
        set_task_type(task, TASK_TANK_FORMATION);
        set_task_battle_cell(task, 1);
        for (int i = 0; i < 4; ++i) {
            const Vector3 at = {HERE.x + east * 1500 * FT, HERE.y + (i - 2) * 200 * FT, 0};
            Drone* d = create_drone(task);
            set_drone_type(d, TANK);
            const int32_t xs[] = {at.x + east * 1000 * FT, at.x, at.x - east * 1000 * FT};
            const int types[] = {WAYPOINT_DEPARTURE, WAYPOINT_TARGET, WAYPOINT_TURNING};
            for (int n = 0; n < 3; ++n) {
                Waypoint* w = append_waypoint(d);
                w->type = types[n];
                w->x = xs[n];
                w->y = at.y;
                w->speed = TANK_SPEED;
            }
            // Placed at its Target waypoint as the flight's start places it: holding there.
            d->current_waypoint = d->first_waypoint->next;
            d->mission_flags &= ~DRONE_FLAG_ADVANCE;
            d->pose.position = at;
            link_mobile_object(&d->object);
        }
        return task;
    }

    // One step of the war model's battle at the next frame, a twentieth of a second on.
    static void step() {
        update_battle_cells();
        ++frame_count;
        game_clock += 10;
    }
    static void lose(Task* task, int n) {
        for (Drone* d = task->first_drone; d && n > 0; d = d->next) {
            if (d->destroyed) continue;
            kill_drone(d);
            --n;
        }
    }
    static int count_flag(Task* task, uint32_t flag) {
        int n = 0;
        for (Drone* d = task->first_drone; d; d = d->next) n += (d->mission_flags & flag) != 0;
        return n;
    }
    static void arrive(Task* task) {
        for (Drone* d = task->first_drone; d; d = d->next) d->mission_flags &= ~(DRONE_FLAG_RETREAT | DRONE_FLAG_ADVANCE);
    }
    static int waypoint_number(const Drone* d) {
        int n = 0;
        for (const Waypoint* w = d->first_waypoint; w && w != d->current_waypoint; w = w->next) ++n;
        return n;
    }

    Task* allied = nullptr;
    Task* enemy = nullptr;
};

TEST_F(BattleCells, BothGroupsFireTheTankGunAtScatteredGroundPoints) {
    for (int i = 0; i < 4; ++i) step();
    // Every drone searched on its own frame and now aims at a ground point near a victim.
    for (Task* task : {allied, enemy}) {
        Task* other = task == allied ? enemy : allied;
        for (Drone* d = task->first_drone; d; d = d->next) {
            SCOPED_TRACE(d->index);
            ASSERT_NE(d->attack_target, nullptr);
            EXPECT_EQ(d->attack_target->kind, TARGET_FIXED_POINT);
            const Vector3 aim = d->attack_target->position;
            bool near_victim = false;
            const int32_t limit = 5 * weapon_info[WEAPON_TANK_GUN].spread / 2;
            for (Drone* v = other->first_drone; v; v = v->next) {
                near_victim |= std::abs(aim.x - v->pose.position.x) <= limit &&
                               std::abs(aim.y - v->pose.position.y) <= limit;
                EXPECT_NE(d->attack_target, &v->target);
            }
            EXPECT_TRUE(near_victim);
            EXPECT_NE(get_next_shot_time(d), 0);
        }
    }
    // The first shots fall due within 2,000 ticks: every living tank has used rounds by then.
    for (int i = 0; i < 200; ++i) step();
    for (Task* task : {allied, enemy})
        for (Drone* d = task->first_drone; d; d = d->next) {
            if (d->destroyed) continue;
            EXPECT_LT(d->weapon_slots[1].rounds, 40) << d->index;
        }
}

TEST_F(BattleCells, OnlyTheDronesOfTheFrameSearch) {
    frame_count = 2;
    fire_battle_group(allied);
    for (Drone* d = allied->first_drone; d; d = d->next) {
        SCOPED_TRACE(d->index);
        EXPECT_EQ(d->attack_target != nullptr, d->index == 2);
    }
}

TEST_F(BattleCells, TheWeakerGroupRetreatsAndTheStrongerAdvances) {
    const struct {
        const char* what;
        int allied_lost, enemy_lost;       // of four each
        int allied_moves, enemy_moves;     // -1 back, 0 holds, 1 on
    } cases[] = {
        {"both whole: both hold", 0, 0, 0, 0},
        {"the enemy at 4/16: it retreats, the allies advance", 0, 3, 1, -1},
        {"the allies at 4/16: they retreat, the enemy advances", 3, 0, -1, 1},
        {"both at 4/16: both retreat", 3, 3, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        lose(allied, c.allied_lost);
        lose(enemy, c.enemy_lost);
        step();
        for (Task* task : {allied, enemy}) {
            const int moves = task == allied ? c.allied_moves : c.enemy_moves;
            for (Drone* d = task->first_drone; d; d = d->next) {
                EXPECT_EQ(waypoint_number(d), 1 + moves);
                EXPECT_EQ((d->mission_flags & DRONE_FLAG_RETREAT) != 0, moves < 0);
                EXPECT_EQ((d->mission_flags & DRONE_FLAG_ADVANCE) != 0, moves > 0);
                if (moves == 0 || d->destroyed) continue;
                EXPECT_EQ(d->speed, TANK_SPEED);
                const Waypoint* w = d->current_waypoint;
                EXPECT_EQ(d->heading, compute_bearing(w->x - d->pose.position.x, w->y - d->pose.position.y));
                EXPECT_EQ(d->remaining_distance, 1000 * FT);
            }
        }
    }
}

TEST_F(BattleCells, AGroupAtItsFirstWaypointRetreatsInPlace) {
    for (Drone* d = allied->first_drone; d; d = d->next) d->current_waypoint = d->first_waypoint;
    lose(allied, 3);
    step();
    for (Drone* d = allied->first_drone; d; d = d->next) {
        EXPECT_EQ(d->current_waypoint, d->first_waypoint);
        EXPECT_TRUE(d->mission_flags & DRONE_FLAG_RETREAT);
    }
}

TEST_F(BattleCells, TheCellWaitsWhileAGroupMovesAndResumesAtTheNewWaypoint) {
    lose(enemy, 3);
    step();
    ASSERT_EQ(count_flag(enemy, DRONE_FLAG_RETREAT), 4);
    ASSERT_EQ(count_flag(allied, DRONE_FLAG_ADVANCE), 4);
    EXPECT_EQ(get_battle_strength(allied, battle_cells[1].allied), -1);
    replan_battle_group(allied);
    replan_battle_group(enemy);
    for (int i = 0; i < 8; ++i) step();
    for (Task* task : {allied, enemy})
        for (Drone* d = task->first_drone; d; d = d->next) EXPECT_EQ(d->attack_target, nullptr);
    // Arrived: the battle goes on from there for a step, the drone of the frame taking aim, and
    // the enemy, still a quarter of its start, gives way again.
    arrive(allied);
    arrive(enemy);
    const int searching = frame_count % 4;
    step();
    for (Drone* d = allied->first_drone; d; d = d->next) EXPECT_EQ(d->attack_target != nullptr, d->index == searching);
    EXPECT_EQ(count_flag(enemy, DRONE_FLAG_RETREAT), 4);
    EXPECT_EQ(waypoint_number(allied->first_drone), 2);  // no next one to go to
    EXPECT_EQ(waypoint_number(enemy->first_drone), 0);
}

TEST_F(BattleCells, PickTaskDroneFindsOnlyTheLiving) {
    lose(enemy, 3);
    Drone* last = nullptr;
    for (Drone* d = enemy->first_drone; d; d = d->next)
        if (!d->destroyed) last = d;
    for (int i = 0; i < 20; ++i) EXPECT_EQ(pick_task_drone(enemy), last);
    lose(enemy, 1);
    EXPECT_EQ(pick_task_drone(enemy), nullptr);
}

TEST_F(BattleCells, TanksOfNoFightingSideAreFatal) {
    allied->side = SIDE_NEUTRAL;
    Drone* d = allied->first_drone;
    EXPECT_DEATH(acquire_battle_target(d), "Battle cell contains unknown or neutral tanks");
    allied->side = 7;
    EXPECT_DEATH(acquire_battle_target(d), "Battle cell contains tanks which don't know which side they're on.");
}

}  // namespace
}  // namespace vyr
