#include "source/drone/drone_war.h"

#include <gtest/gtest.h>

#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "tests/source/warmodel/war_world.h"

namespace vyr {
namespace {

constexpr int FRIGATE = 320;
constexpr int HOWITZER = 74;  // shells of weapon 51
constexpr int BOMB = WEAPON_BOMB;

class DroneWar : public WarWorld {
protected:
    void SetUp() override {
        WarWorld::SetUp();
        saved_player = player_position;
    }
    void TearDown() override {
        player_position = saved_player;
        WarWorld::TearDown();
    }
    // Live rounds of the weapons in the type's slots.
    static int rounds_out(int object_number) {
        int n = 0;
        for (int slot = 0; slot < DRONE_WEAPON_SLOTS; ++slot)
            if (const int weapon = get_drone_type_weapon(object_number, slot)) n += live_rounds(weapon);
        return n;
    }

private:
    Pose* saved_player = nullptr;
};

// A drone searches only on the frames its index in the task picks, and an aircraft on the ground
// never does.
TEST_F(DroneWar, AircraftSearchOnTheirFramesAndOnlyInTheAir) {
    Drone* hunter = flyer(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER);
    ASSERT_TRUE(hunter->mission_flags & DRONE_FLAG_ARMED);
    Drone* prey = unit(SIDE_ENEMY, TASK_COUNTER_AIR, FIGHTER, ahead(20000, 5000));
    for (frame_count = 1; frame_count < 4; ++frame_count) update_drone_war();
    EXPECT_EQ(hunter->attack_target, nullptr) << "frames 1 to 3 are not index 0's";
    hunter->pose.position.z = 0;
    frame_count = 4;
    update_drone_war();
    EXPECT_EQ(hunter->attack_target, nullptr) << "on the ground";
    hunter->pose.position.z = 500 * FOOT;
    update_drone_war();
    EXPECT_EQ(hunter->attack_target, &prey->target);
    hunter->activation_time = game_clock + 1;
    hunter->attack_target = nullptr;
    update_drone_war();
    EXPECT_EQ(hunter->attack_target, nullptr) << "not yet active";
}

// A leader that finds nothing leaves its formation idle for the step; one that fights lets its
// members go on.
TEST_F(DroneWar, ALeaderThatFindsNothingLeavesItsMembersIdle) {
    Drone* leader = flyer(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER);
    Drone* member = create_formation_member(leader);
    set_drone_type(member, FIGHTER);
    member->pose.position = leader->pose.position;
    Drone* wreck = unit(SIDE_ENEMY, TASK_GROUND_VEHICLE, TANK, in_tile(5, 5));
    kill_drone(wreck);
    member->attack_target = &wreck->target;
    update_drone_war();
    EXPECT_EQ(leader->attack_target, nullptr);
    EXPECT_EQ(member->attack_target, &wreck->target) << "the member was not stepped";
    Drone* prey = unit(SIDE_ENEMY, TASK_COUNTER_AIR, FIGHTER, ahead(20000, 5000));
    update_drone_war();
    EXPECT_EQ(leader->attack_target, &prey->target);
    EXPECT_EQ(member->attack_target, nullptr) << "stepped, it dropped its destroyed target";
}

// A bomber 1,600 ft up at 400 ft/s releases 10 s out, once, as it closes on its target; one
// flying away from the point never releases.
TEST_F(DroneWar, ABomberReleasesOncePerPassClosingOnItsTarget) {
    frame_count = 1;  // no search frame: the targets are the test's
    for (const int direction : {1, -1}) {
        SCOPED_TRACE(direction);
        load_type(BOMBER, 1, BOMB, 4);
        Drone* bomber = flyer(SIDE_ALLIED, TASK_BOMBING_TACTICAL, BOMBER);
        const Vector3 point = ahead(10000);
        bomber->attack_target = new_fixed_point_target(point);
        const int before = rounds_out(BOMBER);
        for (int step = 0; step <= 80; ++step) {
            const int32_t feet = direction == 1 ? 4400 - 10 * step : 3600 + 10 * step;  // from the point
            bomber->pose.position = {point.x, point.y - feet * FOOT, 1600 * FOOT};
            update_drone_war();
            if (!bomber->attack_target) break;
        }
        EXPECT_EQ(rounds_out(BOMBER) > before, direction == 1);
        EXPECT_EQ(bomber->weapon_slots[1].rounds < 4, direction == 1);
        clear_drone_attack_target(bomber);
        destroy_all_tasks();
    }
}

// A fixed-point piece aims at its waypoint and fires from its activation time on.
TEST_F(DroneWar, AFixedPointArtilleryPieceFiresFromItsActivationTime) {
    Drone* gun = unit(SIDE_ENEMY, TASK_ARTILLERY_FIXED_POINT, HOWITZER, HERE);
    route(gun, {HERE, in_tile(0, 1)}, 1);
    gun->mission_flags |= DRONE_FLAG_MOVING;
    gun->activation_time = 1000;
    game_clock = 999;
    update_drone_war();
    EXPECT_EQ(gun->attack_target, nullptr);
    game_clock = 1000;
    update_drone_war();
    ASSERT_NE(gun->attack_target, nullptr);
    EXPECT_EQ(gun->attack_target->kind, TARGET_FIXED_POINT);
    EXPECT_EQ(gun->attack_target->position.y, gun->current_waypoint->y);
    EXPECT_GT(rounds_out(HOWITZER), 0);
    Drone* confused = unit(SIDE_ENEMY, TASK_ARTILLERY_AIR_DEFENCE, HOWITZER, HERE);
    confused->mission_flags |= DRONE_FLAG_MOVING;
    EXPECT_DEATH(update_drone_war(), "Drone with task type 19, caught masquerading as artillery");
}

// A Move/Fire ship shells a unit of the sector its next waypoint lies in, and goes on holding the
// target it had.
TEST_F(DroneWar, AMoveFireShipShellsItsNextWaypointsSector) {
    Drone* ship = unit(SIDE_ALLIED, TASK_MOVE_FIRE, FRIGATE, HERE);
    route(ship, {HERE, ahead(2000), in_tile(0, 1)}, 1);
    Drone* tank = unit(SIDE_ENEMY, TASK_GROUND_VEHICLE, TANK, in_tile(0, 1));
    Target* held = &tank->target;
    ship->attack_target = held;
    const int before = count_targets();
    fire_at_next_waypoint_sector(ship);
    EXPECT_EQ(ship->attack_target, held);
    EXPECT_EQ(count_targets(), before);
    EXPECT_GT(rounds_out(FRIGATE), 0);
}

// The SAM sites around the player look for it and launch; one five tiles away does not. (A site
// searches no farther than the ring of tiles around its own.)
TEST_F(DroneWar, ASamSiteNextToThePlayersTileLaunchesAndOneFiveTilesAwayDoesNot) {
    user_drone = unit(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER, in_tile(0, 0, 5000));
    player_position = &user_drone->pose;
    GameplayObject* near = site(GAMEPLAY_SAM, 1, -1);
    GameplayObject* far = site(GAMEPLAY_SAM, 5, 0);
    ASSERT_TRUE(near && far);
    for (frame_count = 0; game_clock < 4000 && !near->shots_fired; ++frame_count, game_clock += 10) update_ground_war();
    EXPECT_EQ(near->attack_target, &user_drone->target);
    EXPECT_EQ(near->shots_fired, 1);
    EXPECT_EQ(live_rounds(get_drone_type_current_weapon(ENEMY_SAM_SITE)), 1);
    EXPECT_EQ(far->attack_target, nullptr);
    EXPECT_EQ(far->shots_fired, 0);
}

}  // namespace
}  // namespace vyr
