// Korea's air quick start, read from the generated data: its two tank formations of battle cell 1
// drive to their Target waypoints, fire the Tank Gun at each other there, and once one is worn
// down to a quarter it falls back along its route while the other pushes on.
#include <gtest/gtest.h>

#include <cmath>

#include "source/drone/drone_update.h"
#include "source/warmodel/battle_cells.h"
#include "tests/source/drone/armed_world.h"
#include "tests/source/drone/quick_start_mission.h"

namespace vyr {
namespace {

class QuickStartBattle : public ArmedWorld {
protected:
    void SetUp() override {
        ArmedWorld::SetUp();
        if (IsSkipped()) return;
        read_quick_start("koreaq01.dta");
        set_step(0.05);
        place_drones_at_start();
        init_battle_cells();
        set_war_seed(12345);
        frame_count = 0;
    }
    void TearDown() override {
        for (BattleCell& cell : battle_cells) cell = {};
        frame_count = 0;
        ArmedWorld::TearDown();
    }

    // A twentieth of a second of the drones, the battle and the rounds.
    static void step() {
        update_drones();
        update_battle_cells();
        update_rounds();
        ++frame_count;
        game_clock += 10;
    }
    // Tank Gun shells in flight, fired by the task's drones.
    static int shells_of(Task* task) {
        int n = 0;
        for (WeaponRound* r : rounds_of(WEAPON_TANK_GUN)) {
            if (!(r->flags & ROUND_LIVE)) continue;
            for (Drone* leader = task->first_drone; leader; leader = leader->next) {
                n += r->shooter == &leader->target;
                for (Drone* m = leader->first_member; m; m = m->next) n += r->shooter == &m->target;
            }
        }
        return n;
    }
};

TEST_F(QuickStartBattle, TheTanksReachTheirTargetsFireAndTheWeakerGroupPullsBack) {
    const BattleCell& cell = battle_cells[1];
    ASSERT_EQ(cell.in_use, 1);
    Task* allied = cell.allied.task;
    Task* enemy = cell.enemy.task;
    ASSERT_GE(allied->live_count, 4);
    ASSERT_GE(enemy->live_count, 4);
    for (Task* task : {allied, enemy})
        EXPECT_EQ(get_drone_type_weapon(get_drone_object_number(task->first_drone), 1), WEAPON_TANK_GUN);

    // Up to a minute and a half to drive in and open fire.
    bool allied_fired = false, enemy_fired = false;
    for (int i = 0; i < 1800 && !(allied_fired && enemy_fired); ++i) {
        step();
        allied_fired |= shells_of(allied) > 0;
        enemy_fired |= shells_of(enemy) > 0;
    }
    for (Task* task : {allied, enemy}) {
        Drone* leader = task->first_drone;
        EXPECT_EQ(leader->current_waypoint->type, WAYPOINT_TARGET);
        EXPECT_FALSE(leader->mission_flags & (DRONE_FLAG_ADVANCE | DRONE_FLAG_RETREAT));
    }
    EXPECT_TRUE(allied_fired);
    EXPECT_TRUE(enemy_fired);

    // The enemy loses all but a quarter of its tanks: it falls back to its first waypoint, the
    // allies push on to their third.
    int losses = enemy->live_count - cell.enemy.drone_count / 4;
    for (Drone* leader = enemy->first_drone; leader && losses > 0; leader = leader->next)
        for (Drone* m = leader->first_member; m && losses > 0; m = m->next) {
            if (m->destroyed) continue;
            kill_drone(m);
            --losses;
        }
    step();
    Drone* e = enemy->first_drone;
    Drone* a = allied->first_drone;
    EXPECT_TRUE(e->mission_flags & DRONE_FLAG_RETREAT);
    EXPECT_EQ(e->current_waypoint, e->first_waypoint);
    EXPECT_TRUE(a->mission_flags & DRONE_FLAG_ADVANCE);
    EXPECT_EQ(a->current_waypoint, a->first_waypoint->next->next);
    // It drives back towards that waypoint.
    const auto to_go = [&] {
        const Waypoint* w = e->first_waypoint;
        return std::hypot(double(w->x) - e->pose.position.x, double(w->y) - e->pose.position.y);
    };
    const double before = to_go();
    for (int i = 0; i < 40; ++i) step();
    EXPECT_LT(to_go(), before);
}

}  // namespace
}  // namespace vyr
