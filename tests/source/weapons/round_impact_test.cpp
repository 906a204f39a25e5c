#include "source/weapons/round_impact.h"

#include <gtest/gtest.h>

#include "library/3dvisual/features.h"
#include "library/3dvisual/objects.h"
#include "source/skill.h"
#include "source/weapons/launch.h"
#include "tests/source/weapons/impact_world.h"

namespace vyr {
namespace {

constexpr int GUN = 1, HYDRA = 4, MK84 = 32, MINEFIELD = 20;
constexpr int BUILDING = 215;  // a road bridge section: solid, strength 100
constexpr int HELICOPTER = 64;

using RoundImpact = ImpactWorld;

TEST_F(RoundImpact, ABulletStrikesTheDroneOnItsStepBeforeANearerBuildingAndNeverItsShooter) {
    ASSERT_TRUE(get_object_header(BUILDING)->flags & OBJECT_SOLID);
    const Vector3 from = {CENTRE + 1000 * FOOT, CENTRE + 1000 * FOOT, 20 * FOOT};
    place_objects({{BUILDING, {from.x, from.y + 100 * FOOT, 0}}});
    Drone* shooter = drone_at(from);
    Drone* target = drone_at({from.x, from.y + 300 * FOOT, 20 * FOOT}, 0, HELICOPTER);
    WeaponRound* round = fire(GUN, from, shooter);
    ASSERT_NE(round, nullptr);
    EXPECT_EQ(test_round_impact(round, {0, 400 * FOOT, 0}), 1);
    EXPECT_TRUE(target->damage > 0 || target->destroyed);
    EXPECT_EQ(object_damage(0), 0);
    EXPECT_EQ(shooter->damage, 0);
    EXPECT_EQ(round->weapon_id, 0);  // freed
    // Fired from inside the shooter, with nothing else on its way: it flies on.
    WeaponRound* free_flight = fire(GUN, from, shooter);
    EXPECT_EQ(test_round_impact(free_flight, {0, -50 * FOOT, 0}), 0);
    EXPECT_EQ(shooter->damage, 0);
}

TEST_F(RoundImpact, ARoundEndsWhenSpentSlowedLeavingTheWorldOrOnTheGround) {
    const struct {
        int weapon;
        int32_t speed_ft;
        bool motor;
        int32_t flown_ft;
        Vector3 step;
        int ends;
    } cases[] = {
        {HYDRA, 999, false, 0, {0, 10 * FOOT, 0}, 1},        // burnt out and slow
        {HYDRA, 999, true, 0, {0, 10 * FOOT, 0}, 0},         // slow but still burning
        {HYDRA, 1001, false, 0, {0, 10 * FOOT, 0}, 0},
        {GUN, 3000, false, 6001, {0, 10 * FOOT, 0}, 1},      // past 1.5 x 4,000 ft
        {GUN, 3000, false, 5999, {0, 10 * FOOT, 0}, 0},
        {GUN, 3000, false, 0, {0, 0, -200 * FOOT}, 1},       // into the ground
        {MK84, 500, true, 0, {0, 0, -90 * FOOT}, 0},         // a store ends 10 ft above it
        {GUN, 3000, false, 0, {-(CENTRE + FOOT), 0, 0}, 1},  // out of the world
    };
    Drone* shooter = drone_at({CENTRE, CENTRE - 1000 * FOOT, 0});
    unlink_mobile_object(&shooter->object);
    for (const auto& c : cases) {
        WeaponRound* round = fire(c.weapon, {CENTRE, CENTRE, 100 * FOOT}, shooter);
        ASSERT_NE(round, nullptr);
        round->speed = c.speed_ft * FOOT;
        round->flags = uint8_t(c.motor ? round->flags | ROUND_MOTOR : round->flags & ~ROUND_MOTOR);
        round->distance_flown = c.flown_ft * FOOT;
        EXPECT_EQ(test_round_impact(round, c.step), c.ends) << c.weapon << " " << c.speed_ft << " " << c.flown_ft;
        free_round(round);
    }
}

// Within 3 miles of a Target waypoint and on the runway: three CBU-15 hits score 3,600 and leave
// it; the fourth destroys it. Off the runway nothing counts.
TEST_F(RoundImpact, RunwayHitsNearATargetWaypointWearTheRunwayDown) {
    const Vector3 runway = {CENTRE + TILE - 1000 * FOOT, CENTRE + 1000 * FOOT, 0};
    Drone* player = player_with_route({{WAYPOINT_TARGET, {runway.x, runway.y + 10000 * FOOT, 0}}});
    lay_surface(runway, FEATURE_RUNWAY);
    runway_damage = runway_destroyed = 0;
    const struct {
        int weapon;
        Vector3 at;
        int32_t damage;
        int destroyed;
    } hits[] = {{MK84, runway, 2100, 0},
                {MK84, {runway.x + 2000 * FOOT, runway.y, 0}, 2100, 0},  // open ground beside it
                {WEAPON_CBU15, runway, 3300, 0},
                {WEAPON_CBU15, runway, 4500, 1}};
    for (const auto& h : hits) {
        WeaponRound* round = activate_round(
            launch_dropped_round(h.weapon, pose_at({h.at.x, h.at.y, 10 * FOOT}), &player->target, 0, player));
        ASSERT_NE(round, nullptr);
        EXPECT_EQ(test_round_impact(round, {0, 0, -20 * FOOT}), 1);
        EXPECT_EQ(runway_damage, h.damage);
        EXPECT_EQ(runway_destroyed, h.destroyed);
    }
}

// Reach 1,260,000 less 84,000 a forces level; a field mines each waypoint once.
TEST_F(RoundImpact, AMinefieldThatLandsMinesTheMineLayWaypointsWithinReachOnce) {
    forces_type = 0;
    const Vector3 near = {CENTRE, CENTRE, 0}, far = {CENTRE + 3000000, CENTRE, 0};
    player_with_route({{WAYPOINT_MINE_LAY, near}, {WAYPOINT_TARGET, near}, {WAYPOINT_MINE_LAY, far}});
    init_mine_targets();
    EXPECT_EQ(mine_target_count, 2);
    EXPECT_EQ(mined_target_count, 0);
    WeaponRound field{};
    field.weapon_id = MINEFIELD;
    field.pose.position = {CENTRE + 1000000, CENTRE, 0};
    score_mine_drop(&field);
    EXPECT_EQ(mined_target_count, 1);
    EXPECT_TRUE(waypoints[0].mined);
    EXPECT_FALSE(waypoints[2].mined);
    score_mine_drop(&field);
    EXPECT_EQ(mined_target_count, 1);
    init_mine_targets();
    EXPECT_FALSE(waypoints[0].mined);
    EXPECT_EQ(mined_target_count, 0);
    user_task = nullptr;
    init_mine_targets();
    EXPECT_EQ(mine_target_count, 0);
}

// Radius 76,646 (laid from 500 ft): n = 74 squared / 36 = 152, and (rand % 152) % 10 is 1 on 15
// of the 152 values: about one frame in ten.
TEST_F(RoundImpact, AMinefieldStrikesAVehicleInItOnAboutOneFrameInTen) {
    Drone* player = player_with_route({});
    const Vector3 at = {CENTRE, CENTRE, 0};
    Drone* tank = drone_at({at.x + 100 * FOOT, at.y, 0}, 0, HELICOPTER);
    WeaponRound* field =
        activate_round(launch_dropped_round(MINEFIELD, pose_at({at.x, at.y, 500 * FOOT}), &player->target, 0, player));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->dropped.mine_radius, 76646);
    field->dropped.landed = 1;
    field->pose.position.z = -20 * FOOT;
    rand_state = 7;
    int strikes = 0;
    for (int frame = 0; frame < 300; ++frame) {
        const int32_t left = field->dropped.mines_left;
        EXPECT_EQ(test_round_impact(field, {0, 0, 0}), 0);
        strikes += field->dropped.mines_left < left;
        tank->damage = 0;
        tank->destroyed = 0;
        tank->object.flags &= ~INSTANCE_INACTIVE;
    }
    EXPECT_GE(strikes, 15);
    EXPECT_LE(strikes, 45);
    EXPECT_EQ(field->dropped.mines_left, 36 - strikes);
    // Spent, it is freed.
    field->dropped.mines_left = 1;
    for (int frame = 0; frame < 300 && field->weapon_id == MINEFIELD; ++frame) {
        test_round_impact(field, {0, 0, 0});
        tank->destroyed = 0;
        tank->object.flags &= ~INSTANCE_INACTIVE;
    }
    EXPECT_EQ(field->weapon_id, 0);
}

}  // namespace
}  // namespace vyr
