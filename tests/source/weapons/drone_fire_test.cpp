#include "source/weapons/drone_fire.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "library/3dvisual/view.h"
#include "source/models/intercept.h"
#include "tests/source/drone/mission_fixture.h"
#include "tests/source/weapons/round_world.h"

namespace vyr {
namespace {

constexpr int SAM = 54, AAA = 53, TOW = 2;
constexpr Vector3 SITE = {1 << 27, 1 << 27, 0};

using DroneFire = RoundWorld;

TEST_F(DroneFire, HeightRangeMapAndLauncherAnglesDecideTheShot) {
    const int32_t aaa_range = weapon_info[AAA].max_range;
    const Vector3 edge = {500 * FOOT, SITE.y, 0};
    const struct {
        const char* what;
        int weapon;
        Vector3 site;
        Vector3 target;  // from the site, in world units
        int32_t darkness;
        int result;
    } cases[] = {
        {"a SAM at a helicopter at 50 ft", SAM, SITE, {0, 10000 * FOOT, 50 * FOOT}, 0, DRONE_SHOT_NOT_NOW},
        {"a SAM at an aircraft at 2,000 ft", SAM, SITE, {0, 10000 * FOOT, 2000 * FOOT}, 0, DRONE_SHOT_FIRED},
        {"a gun at a helicopter at 40 ft by day", AAA, SITE, {0, 1000 * FOOT, 40 * FOOT}, 0, DRONE_SHOT_FIRED},
        {"a gun at one at 40 ft by night", AAA, SITE, {0, 1000 * FOOT, 40 * FOOT}, 1, DRONE_SHOT_NOT_NOW},
        {"a gun at one at 29 ft by day", AAA, SITE, {0, 1000 * FOOT, 29 * FOOT}, 0, DRONE_SHOT_NOT_NOW},
        {"a gun 10 ft beyond its range", AAA, SITE, {0, aaa_range + 10 * FOOT, 500 * FOOT}, 0, DRONE_SHOT_NOT_NOW},
        {"a gun at its range", AAA, SITE, {0, aaa_range, 500 * FOOT}, 0, DRONE_SHOT_FIRED},
        {"a gun all round, behind it", AAA, SITE, {0, -1000 * FOOT, 500 * FOOT}, 0, DRONE_SHOT_FIRED},
        {"a seeker at one behind it", TOW, SITE, {0, -5000 * FOOT, 500 * FOOT}, 0, DRONE_SHOT_NOT_NOW},
        {"a seeker at one ahead", TOW, SITE, {0, 5000 * FOOT, 500 * FOOT}, 0, DRONE_SHOT_FIRED},
        {"a seeker at one off the map", TOW, edge, {-1000 * FOOT, 3000 * FOOT, 500 * FOOT}, 0, DRONE_SHOT_NO_LINE},
    };
    for (const auto& c : cases) {
        clear_rounds();
        view_settings.darkness = c.darkness;
        Drone* site = drone_at(c.site);
        Drone* target = drone_at({c.site.x + c.target.x, c.site.y + c.target.y, c.target.z});
        WeaponRound* round = nullptr;
        EXPECT_EQ(launch_drone_weapon(&site->target, &target->target, c.weapon, site, round), c.result) << c.what;
        EXPECT_EQ(round != nullptr, c.result == DRONE_SHOT_FIRED) << c.what;
        if (round) {
            EXPECT_TRUE(round->flags & ROUND_LIVE) << c.what;
            EXPECT_EQ(round->shooter, &site->target) << c.what;
            EXPECT_GT(round->pose.position.z, 0) << c.what << ": the round leaves from up the site's model";
        }
        init_mobile_lists();
        drones.clear();
    }
    view_settings.darkness = 0;
}

// Higher up the lead is refined more often: three passes from 3,000 ft, one from the ground.
TEST_F(DroneFire, AnAircraftsGunRefinesItsLeadThreeTimesAndAGroundGunOnce) {
    const struct {
        int32_t height;
        int passes;
    } shooters[] = {{3000 * FOOT, 3}, {0, 1}};
    for (const auto& s : shooters) {
        Drone* shooter = drone_at({SITE.x, SITE.y, s.height});
        Drone* target = drone_at({SITE.x + 200 * FOOT, SITE.y + 2500 * FOOT, s.height + 200 * FOOT}, 500 * FOOT);
        build_rotation_matrix(90 * DEGREE, 0, 0, target->pose.matrix);  // crossing east
        WeaponRound* round = nullptr;
        ASSERT_EQ(launch_drone_weapon(&shooter->target, &target->target, AAA, shooter, round), DRONE_SHOT_FIRED);
        const Vector3 from = round->pose.position;
        Vector3 direction;
        get_target_direction(&target->target, direction);
        for (int passes : {1, 3}) {
            Vector3 aim;
            intercept_point(from, weapon_info[AAA].top_speed, target->pose.position, direction, 500 * FOOT, passes, aim);
            Vector3 line;
            subtract_vectors(aim, from, line);
            normalize_vector(line);
            const int32_t* forward = round->pose.matrix[1];
            const bool along = std::abs(forward[0] - line.x) < 0x10000 && std::abs(forward[1] - line.y) < 0x10000;
            EXPECT_EQ(along, passes == s.passes) << s.height << " ft, " << passes << " passes";
        }
        clear_rounds();
        init_mobile_lists();
        drones.clear();
    }
}

TEST_F(DroneFire, AShellOrStoreCannotBeFiredThisWay) {
    Drone* site = drone_at(SITE);
    Drone* target = drone_at({SITE.x, SITE.y + 3000 * FOOT, 500 * FOOT});
    WeaponRound* round = nullptr;
    EXPECT_FATAL(launch_drone_weapon(&site->target, &target->target, 47, site, round),
                 "Drone .* can't fire at .* with .*, 'cause we don't know how to\\.");
}

TEST_F(DroneFire, AnAzimuthLimitThatOverflowsNeverRefuses) {
    EXPECT_LT(drone_azimuth_limit(7), 0);  // a decoy, all round
    weapon_info[TOW].arc_half_width = INT32_MAX - 10;
    EXPECT_LT(drone_azimuth_limit(TOW), 0);
    Drone* site = drone_at(SITE);
    Drone* behind = drone_at({SITE.x, SITE.y - 5000 * FOOT, 500 * FOOT});
    WeaponRound* round = nullptr;
    EXPECT_EQ(launch_drone_weapon(&site->target, &behind->target, TOW, site, round), DRONE_SHOT_FIRED);
    // The elevation limits stop at straight up and down.
    weapon_info[AAA].arc_max_pitch = 0x3FFFFFFF;
    weapon_info[AAA].arc_min_pitch = -0x3FFFFFFF;
    EXPECT_EQ(drone_max_elevation(AAA), 0x40000000);
    EXPECT_EQ(drone_min_elevation(AAA), -0x40000000);
}

}  // namespace
}  // namespace vyr
