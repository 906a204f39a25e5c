#include "source/weapons/round_movement.h"

#include <gtest/gtest.h>

#include <cmath>

#include "source/weapons/launch.h"
#include "source/weapons/round_impact.h"
#include "tests/source/weapons/round_world.h"

namespace vyr {
namespace {

constexpr int GUN = 1, FLARE = 7, CHAFF = 8, OFAB250 = 14, CBU15 = 29, MK82 = 30, MK82_RET = 33;
constexpr int CBU87 = 39, BOMBLET = 42;
constexpr int32_t CENTRE = 1 << 27;

class RoundMovement : public RoundWorld {
protected:
    // A store dropped by a drone flying north at the speed and height (its velocity is per step),
    // which then leaves the world so that later stores do not strike it; the player's stores
    // leave at 0.9 of the aircraft's velocity (the retarded ones at 0.6 once their retarder opens).
    WeaponRound* drop(int weapon_id, int32_t height_ft, int32_t speed_ft, bool as_player = false) {
        Drone* bomber = drone_at({CENTRE, CENTRE, height_ft * FOOT}, speed_ft * FOOT);
        bomber->velocity = {0, mul31(speed_ft * FOOT, frame_fraction), 0};
        WeaponRound* store =
            activate_round(launch_dropped_round(weapon_id, pose_at(bomber->pose.position), &bomber->target, 0, bomber));
        unlink_mobile_object(&bomber->object);
        if (store && as_player) apply_release_velocity_factor(store);
        return store;
    }
};

double degrees(int32_t angle) { return angle * 360.0 / 4294967296.0; }

// Steps the rounds until the round's slot is freed or the steps run out; answers the steps taken.
int fly_until_gone(WeaponRound* round, int limit, int weapon_id) {
    int steps = 0;
    while (round->weapon_id == weapon_id && steps < limit) {
        update_rounds();
        game_clock += 2;
        ++steps;
    }
    return steps;
}

int count_rounds(int weapon_id) {
    int n = 0;
    for (const WeaponRound& r : round_pool.slots) n += r.weapon_id == weapon_id;
    return n;
}

// g cos(pitch) / v in degrees a second; at a step of 0.1 s the product with the degree constant
// passes 32 bits.
TEST_F(RoundMovement, AGunRoundsGravityDropFollowsGCosPitchOverSpeed) {
    const struct {
        int32_t speed_ft;
        double step;
        uint32_t pitch;
        double degrees_a_second;
    } cases[] = {{3000, 0.01, 0, 0.6}, {1000, 0.01, 0, 1.8}, {1000, 0.1, 0, 1.845}, {1000, 0.1, 60 * DEGREE, 0.92},
                 {3000, 0.1, uint32_t(-30 * int32_t(DEGREE)), 0.53}};
    for (const auto& c : cases) {
        set_step(c.step);
        WeaponRound round{};
        round.weapon_id = GUN;
        round.speed = c.speed_ft * FOOT;
        round.pitch = c.pitch;
        apply_gun_round_drop(&round);
        const double turned = degrees(int32_t(c.pitch - round.pitch)) / c.step;
        EXPECT_NEAR(turned, c.degrees_a_second, 0.06) << c.speed_ft << " " << c.step;
        EXPECT_NEAR(round.pose.matrix[1][2] / 2147483648.0, std::sin((degrees(c.pitch) - turned * c.step) * M_PI / 180),
                    1e-3);
    }
    WeaponRound crawling{};
    crawling.weapon_id = GUN;
    crawling.speed = 100;  // under a foot a second: no division by 0
    apply_gun_round_drop(&crawling);
    EXPECT_NE(crawling.pitch, 0u);
}

TEST_F(RoundMovement, AGunRoundFliesStraightAlongItsNoseWithoutTheGuidedBit) {
    Drone* gun = drone_at({CENTRE, CENTRE, 1000 * FOOT});
    WeaponRound* round = activate_round(launch_unguided_round(GUN, pose_at(gun->pose.position), &gun->target, gun));
    ASSERT_NE(round, nullptr);
    Vector3 step;
    move_round(round, step);
    EXPECT_EQ(step.x, 0);
    EXPECT_EQ(step.z, 0);
    EXPECT_EQ(step.y, mul31(round->speed, frame_fraction));
}

// The release computations' worked example: 1,000 ft, 500 ft/s, level, lands 907,200 units ahead.
TEST_F(RoundMovement, AFallingBombLandsWhereTheReleaseComputationsSayAndARetardedOneShorter) {
    WeaponRound* bomb = drop(MK82, 1000, 500, true);
    ASSERT_NE(bomb, nullptr);
    const int32_t start = bomb->pose.position.y;
    fly_until_gone(bomb, 2000, MK82);
    ASSERT_EQ(bomb->weapon_id, 0);
    EXPECT_NEAR(round_impact_point.y - start, 907200, 907200 / 200);
    EXPECT_LE(round_impact_point.z, 0);
    const int32_t plain = round_impact_point.y - start;
    WeaponRound* retarded = drop(MK82_RET, 1000, 500);
    ASSERT_NE(retarded, nullptr);
    fly_until_gone(retarded, 3000, MK82_RET);
    EXPECT_LT(round_impact_point.y - start, plain - 100 * FOOT);
    EXPECT_EQ(retarded->weapon_id, 0);
}

TEST_F(RoundMovement, TheOfab250BurstsBelowFiftyFeetButAboveTheGround) {
    WeaponRound* bomb = drop(OFAB250, 1000, 500);
    ASSERT_NE(bomb, nullptr);
    fly_until_gone(bomb, 2000, OFAB250);
    EXPECT_LT(round_impact_point.z, 50 * FOOT);
    EXPECT_GT(round_impact_point.z, 40 * FOOT);
}

TEST_F(RoundMovement, TheCbu87OpensAt400FtOrASecondAfterALowReleaseWithFortyBomblets) {
    const struct {
        int32_t height_ft;
        int32_t opens_below_ft, opens_above_ft;
        int32_t ticks_at_least, ticks_at_most;
    } cases[] = {{1000, 400, 380, 200, 2000}, {300, 300, 270, 200, 204}};
    for (const auto& c : cases) {
        clear_rounds();
        game_clock = 0;
        WeaponRound* dispenser = drop(CBU87, c.height_ft, 500);
        ASSERT_NE(dispenser, nullptr);
        int32_t last_height = 0, last_timer = 0;
        for (int i = 0; i < 3000 && dispenser->weapon_id == CBU87; ++i) {
            last_height = dispenser->pose.position.z;
            last_timer = dispenser->phase_timer;
            update_rounds();
        }
        EXPECT_EQ(dispenser->weapon_id == CBU87 ? -1 : count_rounds(BOMBLET), 40) << c.height_ft;
        EXPECT_LE(last_height, c.opens_below_ft * FOOT) << c.height_ft;
        EXPECT_GE(last_height, c.opens_above_ft * FOOT) << c.height_ft;
        EXPECT_GE(last_timer, c.ticks_at_least) << c.height_ft;
        EXPECT_LE(last_timer, c.ticks_at_most) << c.height_ft;
    }
}

// The runway bomb parachutes three times and then dives on its motor, only once nosed down.
TEST_F(RoundMovement, TheCbu15PassesItsPhasesAndFiresItsMotorOnlyNoseDown) {
    const int32_t saved_acceleration = weapon_info[CBU15].motor_acceleration;
    WeaponRound* bomb = drop(CBU15, 3000, 500);
    ASSERT_NE(bomb, nullptr);
    int phase_at[5] = {-1, -1, -1, -1, -1};
    double nose_at_motor = 0;
    for (int i = 0; i < 5000 && bomb->weapon_id == CBU15; ++i) {
        const int before = bomb->phase;
        update_rounds();
        game_clock += 2;
        if (bomb->weapon_id == CBU15 && bomb->phase != before) {
            phase_at[bomb->phase] = i;
            if (bomb->phase == 4) nose_at_motor = degrees(int32_t(lookup_arcsin(bomb->pose.matrix[1][2])));
        }
    }
    EXPECT_EQ(phase_at[1], 0);
    EXPECT_NEAR(phase_at[2], 50, 1);
    EXPECT_NEAR(phase_at[3], 100, 1);
    EXPECT_GT(phase_at[4], 100);
    EXPECT_LT(nose_at_motor, -20);
    EXPECT_EQ(weapon_info[CBU15].motor_acceleration, 281600);
    weapon_info[CBU15].motor_acceleration = saved_acceleration;
}

TEST_F(RoundMovement, DecoysDriftAlongTheirLaunchLineAndSinkAtTheirRate) {
    const struct {
        int weapon;
        int32_t sink_ft;
    } cases[] = {{FLARE, 10}, {CHAFF, 5}};
    for (const auto& c : cases) {
        set_step(0.5);
        WeaponRound decoy{};
        decoy.weapon_id = c.weapon;
        decoy.speed = 100 * FOOT;
        set_identity_matrix(decoy.pose.matrix);
        Vector3 step;
        move_round(&decoy, step);
        EXPECT_NEAR(step.z, -c.sink_ft * FOOT / 2, 1) << c.weapon;
        EXPECT_NEAR(step.y, 50 * FOOT, 1) << c.weapon;
    }
}

TEST_F(RoundMovement, AShellDoesNotMoveAndAnUnknownClassIsFatal) {
    WeaponRound shell{};
    shell.weapon_id = 47;
    Vector3 step = {1, 2, 3};
    move_round(&shell, step);
    EXPECT_EQ(step.x, 1);
    WeaponRound unarmed{};
    EXPECT_DEATH(move_round(&unarmed, step), "Unknown weapon round type.");
}

}  // namespace
}  // namespace vyr
