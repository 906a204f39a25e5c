#include "source/drone/soldier_body.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/drone/soldier_brain.h"
#include "source/drone/user_drone.h"
#include "source/mission/goals.h"
#include "tests/source/drone/mission_fixture.h"
#include "tests/source/drone/soldier_world.h"

namespace vyr {
namespace {

using SoldierBody = SoldierWorld;

// A rifleman walking north toward a goal far ahead at `speed`.
Drone* walker(Drone* soldier, int32_t speed, int32_t ahead = 2000 * FOOT) {
    HumanFigure& f = figure(soldier);
    f.goal = {soldier->pose.position.x, soldier->pose.position.y + ahead, 0};
    f.desired_speed = speed;
    f.arrival_action = ARRIVE_IN_POSITION;
    f.body_state = BODY_MOVE;
    soldier->speed = speed;
    return soldier;
}

TEST_F(SoldierBody, AtTheEndOfACycleTheGaitFollowsTheSpeed) {
    const struct {
        int32_t speed;
        HumanMove gait;
    } bands[] = {{5200, HumanMove::RUN},      {5184, HumanMove::RUN},  {5000, HumanMove::JOG_RUN},
                 {4018, HumanMove::JOG_RUN}, {3000, HumanMove::JOG},  {2000, HumanMove::WALK_JOG},
                 {1771, HumanMove::WALK},     {900, HumanMove::WALK}};
    for (const auto& b : bands) {
        Drone* soldier = walker(make(917), b.speed);
        HumanFigure& f = figure(soldier);
        f.animation = choose_human_animation(soldier, HumanMove::WALK);
        f.animation_time = human_movements[f.animation].duration - 1;  // a cycle about to end
        choose_walking_animation(soldier);
        EXPECT_EQ(f.animation, choose_human_animation(soldier, b.gait)) << b.speed;
        EXPECT_TRUE(f.flags & HUMAN_CYCLE_END);
        choose_walking_animation(soldier);
        EXPECT_FALSE(f.flags & HUMAN_CYCLE_END) << "only at the cycle's end";
        destroy_all_tasks();
    }
}

TEST_F(SoldierBody, InsideFiveFeetAWalkerStopsOnlyAtItsCyclesEnd) {
    Drone* soldier = walker(make(917), 1000, 4 * FOOT);
    HumanFigure& f = figure(soldier);
    f.animation = choose_human_animation(soldier, HumanMove::WALK);
    f.animation_time = 0;
    f.flags &= ~HUMAN_CYCLE_END;
    EXPECT_EQ(step_toward_goal(soldier), 0) << "inside 5 ft, mid-cycle";
    int frames = run(soldier, [&] { return f.body_state != BODY_MOVE; });
    EXPECT_EQ(f.body_state, BODY_STAND);
    EXPECT_TRUE(f.flags & HUMAN_IN_POSITION);
    EXPECT_GT(frames, 1);
    EXPECT_EQ(soldier->speed, 0);
    EXPECT_EQ(f.animation, choose_human_animation(soldier, HumanMove::STANDING));
}

TEST_F(SoldierBody, AWalkerSpeedsUpTowardItsDesiredSpeedAndSlowsNearTheGoal) {
    Drone* soldier = walker(make(917), 0x1b0);
    HumanFigure& f = figure(soldier);
    f.desired_speed = 0x1440;
    int32_t before = soldier->speed;
    for (int i = 0; i < 50; ++i) {
        walk_step(soldier);
        EXPECT_GE(soldier->speed, before);
        EXPECT_LE(soldier->speed - before, 0x510 / 100 + 1) << "at most 0x510 a second";
        before = soldier->speed;
    }
    EXPECT_GT(soldier->pose.position.y, (1 << 24) + FOOT) << "it walked north";
    for (int i = 0; i < 1000; ++i) walk_step(soldier);
    EXPECT_NEAR(soldier->speed, f.desired_speed, 100) << "a hundredth of a second's step rounds the last 100 away";
    // 10 ft short a third of the distance a second is slower: taken at once.
    f.goal.y = soldier->pose.position.y + 10 * FOOT;
    walk_step(soldier);
    EXPECT_EQ(soldier->speed, int32_t(std::lround(double(soldier->remaining_distance / 3) * 1.688)));
    EXPECT_LT(soldier->speed, 1500);
    f.goal.y = soldier->pose.position.y + FOOT;
    walk_step(soldier);
    EXPECT_EQ(soldier->speed, 0x1b0) << "never slower than 432";
}

// Elevation from the target's height: level is 0, straight up 10,000; a gun's reaches 1,000 at
// 45 degrees and its gunner stays 4 ft behind it.
TEST_F(SoldierBody, TheAimRisesWithinItsRangeAndTurnsAtNinetyDegreesASecond) {
    const struct {
        Vector3 offset;
        int32_t elevation;
    } aims[] = {{{0, 300 * FOOT, 0}, 0},
                {{0, 0, 300 * FOOT}, HUMAN_AIM_UP},
                {{0, 300 * FOOT, 300 * FOOT}, HUMAN_AIM_UP / 2},
                {{0, 300 * FOOT, -300 * FOOT}, 0}};
    for (const auto& a : aims) {
        Drone* soldier = make(917);
        arm(soldier, AK47, 0);  // no firing
        const Vector3& p = soldier->pose.position;
        soldier->attack_target = &truck({p.x + a.offset.x, p.y + a.offset.y, p.z + a.offset.z})->target;
        HumanFigure& f = figure(soldier);
        f.animation_time = 0;
        for (int i = 0; i < 100; ++i) {
            aim_human_weapon(soldier);
            EXPECT_GE(f.animation_time, 0);
            EXPECT_LE(f.animation_time, HUMAN_AIM_UP);
            EXPECT_LE(f.animation_time, (i + 1) * 200) << "20,000 a second";
        }
        EXPECT_NEAR(f.animation_time, a.elevation, 30) << a.offset.z;
        destroy_all_tasks();
    }

    Drone* soldier = make(917);
    arm(soldier, AK47, 0);
    soldier->attack_target = &truck({soldier->pose.position.x + 300 * FOOT, soldier->pose.position.y, 0})->target;
    aim_human_weapon(soldier);
    EXPECT_EQ(soldier->heading, uint32_t(0x40000000 / 100)) << "a hundredth of 90 degrees in a frame";
    for (int i = 0; i < 100; ++i) aim_human_weapon(soldier);
    EXPECT_EQ(soldier->heading, 0x40000000u);
    destroy_all_tasks();

    Drone* gun = make(852, 0);
    Drone* gunner = create_formation_member(gun);
    set_drone_type(gunner, 917);
    arm(gun, 45, 0);
    update_human_drone(gun);
    gun->attack_target = &truck({gun->pose.position.x, gun->pose.position.y + 300 * FOOT, 600 * FOOT})->target;
    for (int i = 0; i < 200; ++i) {
        aim_gun(gun);
        ASSERT_GE(figure(gunner).animation_time, 0);
        ASSERT_LE(figure(gunner).animation_time, GUN_AIM_UP);
    }
    EXPECT_EQ(figure(gunner).animation_time, GUN_AIM_UP) << "the gun stops at 45 degrees";
    EXPECT_NEAR(gunner->pose.position.y, gun->pose.position.y - 0x400, 2);
    EXPECT_EQ(gunner->heading, gun->heading);
}

TEST_F(SoldierBody, ALostTargetIsHeldUntilTheTimerThenTheWeaponIsLowered) {
    Drone* soldier = make(917);
    update_human_drone(soldier);
    set_group_action(soldier, ACTION_DEFEND);
    figure(soldier).move_on_time = game_clock + 100000;
    HumanFigure& f = figure(soldier);
    f.body_state = BODY_AIM;
    f.animation = choose_human_animation(soldier, HumanMove::AIM_STANDING);
    f.animation_time = 3000;
    f.timer = game_clock + 1000;
    const int frames = run(soldier, [&] { return f.body_state != BODY_AIM; });
    EXPECT_EQ(frames, 1000 / 2 + 1) << "held to the timer's end";
    EXPECT_EQ(f.body_state, BODY_LOWER);
    EXPECT_EQ(f.animation, choose_human_animation(soldier, HumanMove::LOWER_WEAPON));
    run(soldier, [&] { return f.body_state != BODY_LOWER; });
    EXPECT_EQ(f.animation, choose_human_animation(soldier, HumanMove::STANDING));
}

// The player's aircraft is user_drone; soldiers sent to it while it is not loading stop a
// little ahead and signal.
TEST_F(SoldierBody, ASoldierSentToThePlayersAircraftWhileItIsNotLoadingStopsShortAndWaves) {
    Drone* aircraft = truck({1 << 24, (1 << 24) + 200 * FOOT, 0});
    user_drone = aircraft;
    Drone* soldier = make(917);
    update_human_drone(soldier);
    figure(soldier).flags |= HUMAN_BOARDING;
    board_transport(soldier, aircraft);
    EXPECT_EQ(figure(soldier).action_state, ACTION_BOARD);
    HumanFigure& f = figure(soldier);
    run(soldier, [&] { return f.action_state == ACTION_SIGNAL; });
    EXPECT_EQ(f.action_state, ACTION_SIGNAL);
    EXPECT_LT(soldier->pose.position.y, aircraft->pose.position.y - 100 * FOOT) << "well short of it";
    run(soldier, [&] { return f.body_state == BODY_GESTURE; });
    EXPECT_EQ(f.animation, choose_human_animation(soldier, HumanMove::WAVE));
}

// The player's aircraft asks each frame while it loads; a stretcher party counts three.
TEST_F(SoldierBody, BoardingHidesAndCountsTheGroup) {
    Drone* aircraft = truck({1 << 24, (1 << 24) + 100 * FOOT, 0});
    user_drone = aircraft;
    set_aboard_count(0);
    soldiers_picked_up = 0;
    Drone* leader = make(916, SOLDIER_SQUAD);
    update_human_drone(leader);
    for (Drone* d : group_of(leader)) {
        figure(d).flags |= HUMAN_BOARDING;
        board_transport(d, aircraft);
    }
    const auto aboard = [&] {
        for (Drone* d : group_of(leader)) board_transport(d, aircraft);
        for (Drone* d : group_of(leader))
            if (figure(d).action_state != ACTION_NO_MORE) return false;
        return true;
    };
    run(leader, aboard);
    for (Drone* d : group_of(leader)) {
        EXPECT_TRUE(d->mission_flags & DRONE_FLAG_HIDDEN_PASSENGER);
        EXPECT_EQ(d->object.tile_list, nullptr) << "out of the world";
    }
    EXPECT_EQ(get_aboard_count(), 4);
    EXPECT_EQ(soldiers_picked_up, 4);
    user_drone = nullptr;
}

TEST_F(SoldierBody, LeavingThePlayersAircraftCountsTheSoldierSetDown) {
    Drone* aircraft = truck({1 << 24, 1 << 24, 0});
    user_drone = aircraft;
    set_aboard_count(1);
    soldiers_delivered = 0;
    Drone* soldier = make(917);
    unload_human_group(soldier);
    board_transport(soldier, aircraft);
    EXPECT_EQ(figure(soldier).action_state, ACTION_GET_OUT);
    EXPECT_EQ(get_aboard_count(), 0);
    EXPECT_EQ(soldiers_delivered, 1);
    Drone* far = make(917, 0, {}, {(1 << 24) + 1001 * FOOT, 1 << 24, 0});
    unload_human_group(far);
    board_transport(far, aircraft);
    EXPECT_EQ(figure(far).action_state, ACTION_WAIT) << "beyond 1,000 ft";
    user_drone = nullptr;
}

TEST_F(SoldierBody, AnUnknownBodyStateIsFatal) {
    Drone* soldier = make(917);
    figure(soldier).body_state = 14;
    EXPECT_FATAL(update_body(soldier), "Unknown human state!");
}

}  // namespace
}  // namespace vyr
