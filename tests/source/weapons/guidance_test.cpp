#include "source/weapons/guidance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "library/3dvisual/line_of_sight.h"
#include "library/3dvisual/view.h"
#include "library/maths/random.h"
#include "source/skill.h"
#include "source/sknet/game_rules.h"
#include "library/3dvisual/objects.h"
#include "source/avionics/failures.h"
#include "source/weapons/drone_fire.h"
#include "source/weapons/launch.h"
#include "source/weapons/weapons_frame.h"
#include "tests/source/weapons/impact_world.h"

namespace vyr {
namespace {

constexpr int STINGER = 6, SAM_RADAR = 54;
constexpr int HELICOPTER = 64, RADAR_SITE = 46;
constexpr int32_t POST = 1 << 20;

class Guidance : public ImpactWorld {
protected:
    void SetUp() override {
        ImpactWorld::SetUp();
        if (IsSkipped()) return;
        game_mode = GAME_SINGLE;
        forces_type = 0;
        current_view = {};
        rand_state = 1;
    }
    void TearDown() override {
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        terrain_max_height = 0;
        game_mode = GAME_SINGLE;
        forces_type = 0;
        current_view = {};
        ImpactWorld::TearDown();
    }

    // A flying drone of the side at the point heading `heading` at `speed_kt`.
    Drone* flyer(const Vector3& p, uint32_t heading = 0, int32_t speed_kt = 0, int side = SIDE_ENEMY) {
        Drone* d = drone_at(p, speed_kt * 432, HELICOPTER);
        d->drone_class = DRONE_CLASS_AIRCRAFT;
        d->heading = heading;
        build_rotation_matrix(heading, 0, 0, d->pose.matrix);
        d->object.flags |= side << INSTANCE_SIDE_SHIFT;
        return d;
    }

    // The missile leaving `shooter` along the pose at `target`, live.
    static WeaponRound* launch(int weapon_id, const Pose& pose, Drone* shooter, Drone* target) {
        return activate_round(launch_guided_round(weapon_id, pose, &shooter->target, nullptr, &target->target, shooter));
    }

    // A drone flying straight and level for one step.
    static void fly(Drone* d) {
        const int32_t step = mul31(d->speed, frame_fraction);
        const Vector3& p = d->pose.position;
        place_mobile_object(&d->object, p.x + mul31(d->pose.matrix[1][0], step), p.y + mul31(d->pose.matrix[1][1], step),
                            p.z);
    }

    // A missile already armed, flying north from the point with its last step behind it.
    static void arm(WeaponRound* round, const Vector3& from) {
        round->distance_flown = weapon_info[round->weapon_id].guidance_start_distance;
        round->pose.position = from;
        round->previous_position = {from.x, from.y - 2000, from.z};
    }

    static bool locked(const WeaponRound* round) { return round->guided.guidance_flags & GUIDED_LOCKED; }
};

// A Stinger launched behind a drone crossing ahead of it locks on, leads it and strikes it within
// a few seconds.
TEST_F(Guidance, AStingerHitsADroneFlyingStraight) {
    Drone* shooter = flyer({CENTRE, CENTRE, 3000 * FOOT}, 0, 0, SIDE_ALLIED);
    unlink_mobile_object(&shooter->object);
    Drone* target = flyer({CENTRE - 1000 * FOOT, CENTRE + 6000 * FOOT, 3000 * FOOT}, 90 * DEGREE, 300);
    WeaponRound* missile = launch(STINGER, pose_at(shooter->pose.position), shooter, target);
    ASSERT_NE(missile, nullptr);
    bool was_locked = false;
    int steps = 0;
    for (; steps < 1500 && missile->weapon_id == STINGER && target->damage == 0 && !target->destroyed; ++steps) {
        fly(target);
        update_rounds();
        game_clock += 2;
        was_locked |= missile->weapon_id == STINGER && locked(missile);
    }
    EXPECT_TRUE(was_locked);
    EXPECT_TRUE(target->damage > 0 || (target->object.flags & INSTANCE_INACTIVE)) << "after " << steps << " steps";
    EXPECT_LT(steps, 1500);
}

// A helicopter parked on the ground is no air target for an infrared seeker: it never locks, its
// track stays none and the missile flies on under gravity without turning towards it.
TEST_F(Guidance, AnInfraredMissileAtAParkedHelicopterNeverLocksAndFallsOn) {
    Drone* shooter = flyer({CENTRE, CENTRE, 1000 * FOOT}, 0, 0, SIDE_ALLIED);
    unlink_mobile_object(&shooter->object);
    Drone* parked = drone_at({CENTRE + 500 * FOOT, CENTRE + 5000 * FOOT, 0}, 0, HELICOPTER);
    parked->drone_class = DRONE_CLASS_STRUCTURE;
    WeaponRound* missile = launch(STINGER, pose_at(shooter->pose.position), shooter, parked);
    for (int step = 0; step < 400 && missile->weapon_id == STINGER; ++step) {
        update_rounds();
        game_clock += 2;
        ASSERT_EQ(missile->seeker_track, nullptr);
        ASSERT_FALSE(locked(missile));
    }
    ASSERT_EQ(missile->weapon_id, STINGER);
    EXPECT_EQ(missile->heading, 0u);
    EXPECT_LT(int32_t(missile->pitch), 0);
}

// In thick fog an infrared seeker is blind from the first frame it looks, for good.
TEST_F(Guidance, WeatherThreeBlindsAnInfraredSeekerFromItsFirstFrame) {
    current_view.weather = 3;
    Drone* shooter = flyer({CENTRE, CENTRE, 3000 * FOOT}, 0, 0, SIDE_ALLIED);
    unlink_mobile_object(&shooter->object);
    Drone* target = flyer({CENTRE, CENTRE + 5000 * FOOT, 3000 * FOOT});
    WeaponRound* missile = launch(STINGER, pose_at(shooter->pose.position), shooter, target);
    EXPECT_EQ(update_round_seeker(missile), nullptr);
    EXPECT_EQ(missile->guided.recheck_time, SEEKER_NEVER);
    current_view.weather = 0;
    for (int step = 0; step < 50; ++step) {
        game_clock += 2;
        EXPECT_EQ(update_round_seeker(missile), nullptr);
    }
    EXPECT_FALSE(locked(missile));
}

// Deathmatch: one re-check in 24 whatever the missile; single player at forces type 0 with a
// decoy resistance of 1 against an AI aircraft: exactly when rand % 50 is below 5.
TEST_F(Guidance, DecoysWorkByTheGameModeTheResistanceAndTheForces) {
    Drone* shooter = flyer({CENTRE, CENTRE, 3000 * FOOT}, 0, 0, SIDE_ALLIED);
    Drone* target = flyer({CENTRE, CENTRE + 5000 * FOOT, 3000 * FOOT});
    WeaponRound* missile = launch(STINGER, pose_at(shooter->pose.position), shooter, target);
    game_mode = GAME_COMBAT;
    int fooled = 0;
    for (int i = 0; i < 24000; ++i) fooled += decoy_succeeds(missile);
    EXPECT_NEAR(fooled / 24000.0, 1 / 24.0, 0.006);

    game_mode = GAME_SINGLE;
    const uint8_t resistance = weapon_info[STINGER].decoy_resistance;
    weapon_info[STINGER].decoy_resistance = 1;
    for (int32_t seed = 1; seed <= 300; ++seed) {
        rand_state = seed;
        int32_t copy = seed;
        EXPECT_EQ(decoy_succeeds(missile), next_random(copy) % 50 < 5) << seed;
    }
    weapon_info[STINGER].decoy_resistance = resistance;

    missile->guided.target.kind = TARGET_NONE;
    for (int i = 0; i < 100; ++i) EXPECT_EQ(decoy_succeeds(missile), 0);
}

// A SAM site's radar missile needs the site to see the target: a ridge between them breaks the
// lock although the missile, beyond the ridge, still sees it.
TEST_F(Guidance, ARadarMissileLosesItsTargetWhenAHillHidesItFromTheSite) {
    Drone* site = drone_at({128 * POST, 120 * POST, 0}, 0, RADAR_SITE);
    site->drone_class = DRONE_CLASS_STRUCTURE;
    site->object.flags |= SIDE_ENEMY << INSTANCE_SIDE_SHIFT;
    Drone* target = flyer({128 * POST, 136 * POST, 500 * FOOT}, 0, 0, SIDE_ALLIED);
    WeaponRound* missile = launch(SAM_RADAR, pose_at({128 * POST, 131 * POST, 2000 * FOOT}), site, target);
    ASSERT_NE(missile, nullptr);
    EXPECT_NE(update_round_seeker(missile), nullptr);
    EXPECT_TRUE(locked(missile));

    for (int i = 120; i <= 136; ++i) terrain_posts[i][128].height = 3000;
    terrain_max_height = 3000 * FOOT;
    game_clock += 2;
    EXPECT_EQ(update_round_seeker(missile), nullptr);
    EXPECT_FALSE(locked(missile));
    const Vector3& from = missile->pose.position;
    EXPECT_TRUE(check_line_of_sight(from, target->pose.position, 3));
}

// An aim point 61 degrees off the nose, passed far away: the lock is lost for good; 45 degrees
// off a 20-degree seeker: unlocked and straight on for the frame; passed within 3 blast radii:
// the missile bursts at its last step's point nearest to it.
TEST_F(Guidance, AMissileThatPassedItsAimPointLosesItOrBurstsBesideIt) {
    Drone* shooter = flyer({CENTRE, CENTRE - 20000 * FOOT, 3000 * FOOT}, 0, 0, SIDE_ALLIED);
    unlink_mobile_object(&shooter->object);
    const Vector3 at = {CENTRE, CENTRE, 3000 * FOOT};
    const int32_t d = 3000 * FOOT;
    const int32_t blast = weapon_info[STINGER].blast_radius;
    const struct {
        double degrees;
        int32_t distance;
        bool burst, lost_for_good;
    } cases[] = {{61, d, false, true}, {45, d, false, false}, {100, blast / 2, true, false}};
    for (const auto& c : cases) {
        const double r = c.degrees * M_PI / 180;
        Drone* target = flyer({at.x + int32_t(c.distance * std::sin(r)), at.y + int32_t(c.distance * std::cos(r)), at.z});
        WeaponRound* missile = launch(STINGER, pose_at(at), shooter, target);
        arm(missile, at);
        update_round_seeker(missile);
        ASSERT_TRUE(locked(missile)) << c.degrees;
        Vector3 step{};
        move_missile(missile, step);
        EXPECT_EQ(missile->guided.recheck_time == SEEKER_NEVER, c.lost_for_good) << c.degrees;
        EXPECT_EQ(!(missile->flags & ROUND_LIVE), c.burst) << c.degrees;
        EXPECT_EQ(missile->heading, 0u) << c.degrees;
        if (c.burst) {
            // At the point of the last step abeam the target.
            EXPECT_EQ(missile->pose.position.x, at.x);
            EXPECT_NEAR(missile->pose.position.y, at.y + c.distance * std::cos(r), 2);
        } else {
            EXPECT_FALSE(locked(missile)) << c.degrees;
            EXPECT_EQ(target->damage, 0) << c.degrees;
            EXPECT_EQ(step.x, 0) << c.degrees;
            EXPECT_GT(step.y, 0) << c.degrees;
        }
        free_round(missile);
        unlink_mobile_object(&target->object);
    }
}

// The whole road against the player: a SAM site fires its radar missile at the player's aircraft
// through the drones' fire code; it guides, strikes, damages the aircraft and fails its systems.
TEST_F(Guidance, ASamSitesMissileStrikesThePlayerAndFailsItsSystems) {
    Drone* site = drone_at({CENTRE, CENTRE, 0}, 0, RADAR_SITE);
    site->drone_class = DRONE_CLASS_STRUCTURE;
    site->object.flags |= SIDE_ENEMY << INSTANCE_SIDE_SHIFT;
    user_drone = flyer({CENTRE, CENTRE + 12000 * FOOT, 10000 * FOOT}, 0, 0, SIDE_ALLIED);
    crashing_off = 0;
    forces_type = 9;  // full damage, and a hit is seldom shaken off
    failure_random_state = 4242;
    system_failures = {};
    WeaponRound* missile = nullptr;
    ASSERT_EQ(launch_drone_weapon(&site->target, &user_drone->target, SAM_RADAR, site, missile), DRONE_SHOT_FIRED);
    // Tough enough to outlive the hit.
    ObjectHeader& header = *get_object_header(HELICOPTER);
    const ObjectHeader saved = header;
    header.strength = 200;
    bool was_locked = false;
    for (int step = 0; step < 1500 && missile->weapon_id == SAM_RADAR; ++step) {
        update_rounds();
        game_clock += 2;
        was_locked |= missile->weapon_id == SAM_RADAR && locked(missile);
    }
    EXPECT_TRUE(was_locked);
    EXPECT_NE(missile->weapon_id, SAM_RADAR);
    EXPECT_GT(user_drone->damage, 0);
    EXPECT_EQ(user_drone->previous_damage, user_drone->damage);
    int failed = 0;
    for (uint8_t byte : system_failures.bytes) failed += __builtin_popcount(byte);
    EXPECT_GT(failed, 0);
    system_failures = {};
    header = saved;
}

}  // namespace
}  // namespace vyr
