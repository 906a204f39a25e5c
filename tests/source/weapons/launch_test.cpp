#include "source/weapons/launch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "source/models/flight_model.h"
#include "source/skill.h"
#include "source/weapons/launch_sound.h"
#include "source/weapons/weapons_frame.h"
#include "tests/source/weapons/round_world.h"

namespace vyr {
namespace {

constexpr int GUN = 1, ARTILLERY = 47, MK82 = 30, GLIDE_BOMB = 59, MINEFIELD = 20, BOMBLET = 42;
constexpr Vector3 MIDDLE = {1 << 27, 1 << 27, 1000 * FOOT};

using Launch = RoundWorld;

int32_t angle_error(uint32_t a, uint32_t b) { return std::abs(int32_t(a - b)); }

TEST_F(Launch, ARoundLeavesAtTheLaunchSpeedPlusTheShootersAndNeverSlowerThan256) {
    Drone* flying = drone_at(MIDDLE, 300 * FOOT);
    WeaponRound* bullet = launch_unguided_round(GUN, pose_at(MIDDLE), &flying->target, flying);
    ASSERT_NE(bullet, nullptr);
    EXPECT_EQ(bullet->speed, 3300 * FOOT);
    EXPECT_FALSE(bullet->flags & ROUND_LIVE);  // live only once activated
    Drone* still = drone_at(MIDDLE);
    weapon_info[GUN].launch_speed = 0;
    WeaponRound* dropped = launch_unguided_round(GUN, pose_at(MIDDLE), &still->target, still);
    ASSERT_NE(dropped, nullptr);
    EXPECT_EQ(dropped->speed, 256);
    WeaponRound* glider = launch_guided_round(GLIDE_BOMB, pose_at(MIDDLE), &still->target, nullptr, nullptr, still);
    ASSERT_NE(glider, nullptr);
    EXPECT_EQ(glider->guided.guidance_flags, 0);  // no target
    EXPECT_TRUE(glider->flags & ROUND_GUIDED);
}

TEST_F(Launch, TheLaunchersRollIsRemovedAndItsHeadingAndPitchKept) {
    Drone* shooter = drone_at(MIDDLE);
    const uint32_t rolls[] = {30 * DEGREE, uint32_t(-30 * int32_t(DEGREE)), 0};
    for (uint32_t roll : rolls) {
        WeaponRound* round = launch_unguided_round(GUN, pose_at(MIDDLE, 40 * DEGREE, 10 * DEGREE, roll), &shooter->target, shooter);
        ASSERT_NE(round, nullptr);
        EXPECT_LT(angle_error(round->heading, 40 * DEGREE), DEGREE / 4) << roll;
        EXPECT_LT(angle_error(round->pitch, 10 * DEGREE), DEGREE / 4) << roll;
        EXPECT_EQ(round->roll, 0u);
        // The roll is taken off by the arcsine of the right wing's rise, which levels it exactly
        // only in level flight: pitched up 10 degrees, half a degree of bank is left.
        EXPECT_LT(std::abs(round->pose.matrix[0][2]), 0x7FFFFFFF / 90) << roll;
        EXPECT_EQ(round->instance.owner, round);
        EXPECT_EQ(round->instance.pose, &round->pose);
    }
}

TEST_F(Launch, NothingIsLaunchedOutsideTheWorldOrIntoAFullPool) {
    Drone* shooter = drone_at(MIDDLE);
    EXPECT_EQ(launch_unguided_round(GUN, pose_at({-1, 1000, 0}), &shooter->target, shooter), nullptr);
    EXPECT_EQ(launch_shell(ARTILLERY, {1000, 0x10000000, 0}, &shooter->target), nullptr);
    EXPECT_EQ(activate_round(nullptr), nullptr);
    round_pool.live_count = MAX_ROUNDS;
    EXPECT_EQ(launch_shell(ARTILLERY, MIDDLE, &shooter->target), nullptr);
    EXPECT_EQ(round_pool.live_count, MAX_ROUNDS);
    round_pool.live_count = 0;
}

// 10,000 ft at 2,700 ft/s is 740 ticks, and the round's own draw adds up to 999.
TEST_F(Launch, AShellBurstsNearItsAimAfterItsFlightTime) {
    Drone* gun = drone_at({MIDDLE.x, MIDDLE.y - 10000 * FOOT, 0});
    const Vector3 aim = {MIDDLE.x, MIDDLE.y, 0};
    const int32_t spread = weapon_info[ARTILLERY].spread;
    for (int shot = 0; shot < 20; ++shot) {
        game_clock = 1000;
        WeaponRound* shell = activate_round(launch_shell(ARTILLERY, aim, &gun->target));
        ASSERT_NE(shell, nullptr);
        EXPECT_GE(shell->shell.impact_time, 1000 + 740);
        EXPECT_LE(shell->shell.impact_time, 1000 + 740 + 999);
        EXPECT_LE(std::abs(shell->shell.impact_point.x - aim.x), spread);
        EXPECT_LE(std::abs(shell->shell.impact_point.y - aim.y), spread);
        EXPECT_EQ(shell->pose.position.x, shell->shell.impact_point.x);
        free_round(shell);
    }
}

// A weapon without a spread is not scattered (a draw modulo 0 otherwise); artillery at range puts
// 200 x the distance past 32 bits.
TEST_F(Launch, AShellWithoutSpreadLandsOnItsAimAndOneFromAfarStillLandsInTheFuture) {
    Drone* gun = drone_at({MIDDLE.x, MIDDLE.y - 20000000, 0});
    const int32_t state = get_game_random_state();
    WeaponRound* exact = launch_shell(GUN, MIDDLE, &gun->target);
    ASSERT_NE(exact, nullptr);
    EXPECT_EQ(get_game_random_state(), state);
    EXPECT_EQ(exact->shell.impact_point.x, MIDDLE.x);
    EXPECT_EQ(exact->shell.impact_point.y, MIDDLE.y);
    WeaponRound* far = launch_shell(ARTILLERY, {MIDDLE.x, MIDDLE.y, 0}, &gun->target);
    ASSERT_NE(far, nullptr);
    const int64_t flight = int64_t(200) * 20000000 / weapon_info[ARTILLERY].top_speed;
    EXPECT_GE(far->shell.impact_time, flight);
    EXPECT_LT(far->shell.impact_time, flight + 1000);
}

// The stores of a ripple of more than two leave each up to 2 % slower, so that they spread along
// the track; of a pair, alike. A jettisoned store has no release hardpoint and no ripple.
TEST_F(Launch, ThePlayersRippleSpreadsOnlyBeyondTwoStores) {
    Drone* player = drone_at(MIDDLE);
    user_drone = player;
    place_flight_model(MIDDLE, 0, 0, 0, 400 * 432, 0, 0);
    Vector3 v;
    player_model_velocity(v);
    ASSERT_GT(v.y, 0) << "the flight model does not fly";
    first_hardpoint[MK82] = 1;
    const struct {
        int quantity;
        bool spread;
    } ripples[] = {{4, true}, {2, false}};
    for (const auto& ripple : ripples) {
        hardpoints[1].release_quantity = ripple.quantity;
        std::vector<int32_t> speeds;
        for (int i = 0; i < 8; ++i) {
            WeaponRound* bomb = launch_dropped_round(MK82, pose_at(MIDDLE), &player->target, 0, player);
            ASSERT_NE(bomb, nullptr);
            speeds.push_back(bomb->velocity.y);
        }
        const auto [slowest, fastest] = std::minmax_element(speeds.begin(), speeds.end());
        EXPECT_EQ(*slowest != *fastest, ripple.spread) << ripple.quantity;
        EXPECT_GE(*slowest, int32_t(*fastest * 0.98) - 1) << ripple.quantity;
        clear_rounds();
    }
    hardpoints[1].release_quantity = 4;
    first_hardpoint[MK82] = -1;
    const int32_t seed = random_seed;
    two_step_random(seed);  // the slot's own draw, and no more
    const int32_t expected = random_seed;
    random_seed = seed;
    ASSERT_NE(launch_dropped_round(MK82, pose_at(MIDDLE), &player->target, 0, player), nullptr);
    EXPECT_EQ(random_seed, expected);
}

TEST_F(Launch, ADispensersLoadLeavesAtTheDispenseSpeedScatteredAndAMinefieldMeasuresItsHeight) {
    Drone* player = drone_at(MIDDLE);
    dispense_speed = 500 * FOOT;
    WeaponRound* bomblet = launch_dropped_round(BOMBLET, pose_at(MIDDLE), &player->target, 0, player);
    ASSERT_NE(bomblet, nullptr);
    EXPECT_EQ(bomblet->speed, 500 * FOOT);
    EXPECT_EQ(bomblet->release_speed, 500 * FOOT);
    // Phase 0 of a retarded store keeps 0.6 of the speed ahead, then up to 15,000 either way.
    EXPECT_NEAR(bomblet->velocity.y, 0.6 * 500 * FOOT, 15001);
    EXPECT_LE(std::abs(bomblet->velocity.x), 15000);
    EXPECT_TRUE(bomblet->flags & ROUND_MOTOR);
    WeaponRound* field = launch_dropped_round(MINEFIELD, pose_at(MIDDLE), &player->target, 0, player);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->dropped.mines_left, 36);
    EXPECT_EQ(field->dropped.mine_radius, int32_t(1000 * FOOT * 0.5988023952095808));
}

// The drones' bomb scatters half as far along the track as across it, both scaled by the cosine
// of the bomber's bearing: heading east, it lands on its aim.
TEST_F(Launch, TheDronesBombScattersByTheBombersBearing) {
    constexpr int DRONE_BOMB = 58;
    const int32_t s = weapon_info[DRONE_BOMB].spread;
    const struct {
        uint32_t heading;
        int32_t most_x, most_y;
    } bombers[] = {{0, s, s / 2}, {90 * DEGREE, 0, 0}};
    for (const auto& b : bombers) {
        Drone* bomber = drone_at(MIDDLE);
        build_rotation_matrix(b.heading, 0, 0, bomber->pose.matrix);
        const Vector3 aim = {MIDDLE.x, MIDDLE.y + 3000 * FOOT, 0};
        int32_t widest_x = 0, widest_y = 0;
        for (int i = 0; i < 40; ++i) {
            WeaponRound* bomb = launch_shell(DRONE_BOMB, aim, &bomber->target);
            ASSERT_NE(bomb, nullptr);
            widest_x = std::max(widest_x, std::abs(bomb->shell.impact_point.x - aim.x));
            widest_y = std::max(widest_y, std::abs(bomb->shell.impact_point.y - aim.y));
            free_round(bomb);
        }
        EXPECT_LE(widest_x, b.most_x) << b.heading;
        EXPECT_LE(widest_y, b.most_y) << b.heading;
        EXPECT_GE(widest_x, b.most_x / 2) << b.heading;
    }
}

// A drone's velocity is the step it moved; its stores leave with it made per second (nothing in
// a step of no time). A guided round keeps a copy of its target.
TEST_F(Launch, ADronesStoreLeavesAtItsVelocityPerSecondAndAGuidedRoundKeepsItsTarget) {
    Drone* bomber = drone_at(MIDDLE);
    bomber->velocity = {0, 100 * FOOT, -10 * FOOT};
    WeaponRound* bomb = launch_dropped_round(MK82, pose_at(MIDDLE), &bomber->target, 0, bomber);
    ASSERT_NE(bomb, nullptr);
    EXPECT_NEAR(bomb->velocity.y, 10000 * FOOT, 2);
    EXPECT_NEAR(bomb->velocity.z, -1000 * FOOT, 2);
    EXPECT_NEAR(bomb->release_speed, 10050 * FOOT, 300);
    set_step(0);
    bomb = launch_dropped_round(MK82, pose_at(MIDDLE), &bomber->target, 0, bomber);
    ASSERT_NE(bomb, nullptr);
    EXPECT_EQ(bomb->velocity.y, 0);
    set_step(0.01);

    Drone* target = drone_at({MIDDLE.x, MIDDLE.y + 5000 * FOOT, MIDDLE.z});
    bool offsets[2] = {false, false};
    for (int i = 0; i < 20; ++i) {
        WeaponRound* missile = launch_guided_round(18, pose_at(MIDDLE), &bomber->target, &bomber->target, &target->target, bomber);
        ASSERT_NE(missile, nullptr);
        EXPECT_EQ(missile->guided.guidance_flags, 1);
        EXPECT_EQ(missile->guided.designator, &bomber->target);
        EXPECT_TRUE(targets_equal(&missile->guided.target, &target->target));
        ASSERT_TRUE(get_command_guidance_offset() == 0 || get_command_guidance_offset() == 840);
        offsets[get_command_guidance_offset() / 840] = true;
    }
    EXPECT_TRUE(offsets[0] && offsets[1]);
}

TEST_F(Launch, FireDelaysPauseAfterABurstAndAddAtMostHalfAgain) {
    forces_type = 3;
    const int32_t rate = get_skill_rate_percent();
    const WeaponInfo& gun = weapon_info[GUN];
    const int32_t burst = std::max(1, gun.burst_length * get_skill_burst_percent() / 100);
    const struct {
        int32_t shots;
        int32_t base;
    } cases[] = {{1, gun.fire_interval * rate / 100}, {burst, gun.burst_pause * rate / 100},
                 {2 * burst, gun.burst_pause * rate / 100}, {burst + 1, gun.fire_interval * rate / 100}};
    for (const auto& c : cases) {
        set_game_random_state(123456789);
        const int32_t expected = c.base + (c.base / 2 > 0 ? 123456789 % (c.base / 2) : 0);
        EXPECT_EQ(compute_fire_delay(GUN, c.shots), expected) << c.shots;
    }
    // A half-interval of 0 adds nothing and draws nothing.
    weapon_info[GUN].fire_interval = 1;
    set_game_random_state(5);
    EXPECT_EQ(compute_fire_delay(GUN, 1), rate / 100);
    EXPECT_EQ(get_game_random_state(), 5);
    forces_type = 0;
}

TEST_F(Launch, TheReactionDelayAtTheTopReadsTheToughestForcesAndRestoresTheSetting) {
    forces_type = 2;
    const int32_t own = get_skill_reaction_delay();
    forces_type = 9;
    const int32_t top = get_skill_reaction_delay();
    forces_type = 2;
    set_game_random_state(4321);
    EXPECT_EQ(compute_reaction_delay(1), top + 4321 % 1000);
    EXPECT_EQ(forces_type, 2);
    set_game_random_state(4321);
    EXPECT_EQ(compute_reaction_delay(0), own + 4321 % 1000);
    EXPECT_EQ(weapon_cue_constant(), 8);
    forces_type = 0;
}

}  // namespace
}  // namespace vyr
