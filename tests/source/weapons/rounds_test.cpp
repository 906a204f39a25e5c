#include "source/weapons/rounds.h"

#include <gtest/gtest.h>

#include "library/3dvisual/smoke.h"
#include "source/weapons/launch.h"
#include "tests/source/drone/mission_fixture.h"
#include "tests/source/weapons/round_world.h"

namespace vyr {
namespace {

constexpr int SHELL = 47, GUN = 1, HYDRA = 4, MK82 = 30;

using RoundPoolTest = RoundWorld;

// Slots taken as a shell's, which has no model to free.
WeaponRound* take_shell_slot() {
    WeaponRound* round = allocate_round();
    if (round) round->weapon_id = SHELL;
    return round;
}

TEST_F(RoundPoolTest, AFullPoolGivesNoneKeepsItsCountAndAFreedSlotIsFoundAgain) {
    // One slot after another from where the last search stopped, round the end of the pool.
    const WeaponRound* first = take_shell_slot();
    ASSERT_NE(first, nullptr);
    const int start = int(first - round_pool.slots);
    for (int i = 1; i < MAX_ROUNDS; ++i) ASSERT_EQ(take_shell_slot(), &round_pool.slots[(start + i) % MAX_ROUNDS]) << i;
    EXPECT_EQ(take_shell_slot(), nullptr);
    EXPECT_EQ(round_pool.live_count, MAX_ROUNDS);
    EXPECT_EQ(round_pool.high_water, MAX_ROUNDS);
    free_round(&round_pool.slots[500]);
    EXPECT_EQ(round_pool.live_count, MAX_ROUNDS - 1);
    EXPECT_EQ(round_pool.slots[500].weapon_id, 0);
    free_round(&round_pool.slots[500]);  // a free slot again: nothing
    EXPECT_EQ(round_pool.live_count, MAX_ROUNDS - 1);
    EXPECT_EQ(take_shell_slot(), &round_pool.slots[500]);
    EXPECT_EQ(round_pool.high_water, MAX_ROUNDS);
    clear_rounds();
    EXPECT_EQ(round_pool.live_count, 0);
    EXPECT_EQ(round_pool.high_water, 0);
}

TEST_F(RoundPoolTest, ALiveRoundOfNoKnownClassEndsTheProgram) {
    WeaponRound* round = allocate_round();
    round->weapon_id = SHELL;
    round->flags = ROUND_LIVE;
    weapon_info[SHELL].round_class = 7;
    EXPECT_FATAL(update_rounds(), "Trying to update unknown class of weapon round\\.");
    weapon_info[SHELL].round_class = ROUND_CLASS_SHELL;
}

TEST(RoundDensity, WholeThousandsOfFeetAndTheEndsOfTheTable) {
    const struct {
        int32_t z;
        double ratio;
    } cases[] = {{-1, 1.0}, {0, 1.0}, {255999, 1.0}, {256000, 0.971}, {17919999, 0.061}, {17920000, 0.058},
                 {0x7FFFFFFF, 0.058}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(get_density_ratio(c.z), c.ratio) << c.z;
}

TEST_F(RoundPoolTest, ARocketSettlesJustBelowItsTopSpeedThenOnlyDragActsAndItsPlumeGoes) {
    Drone* shooter = drone_at({1 << 27, 1 << 27, 0});
    WeaponRound* rocket = activate_round(launch_unguided_round(HYDRA, pose_at(shooter->pose.position), &shooter->target, shooter));
    ASSERT_NE(rocket, nullptr);
    const WeaponInfo& hydra = weapon_info[HYDRA];
    ASSERT_NE(rocket->instance.sub_instances[0], nullptr);  // the plume
    for (game_clock = 1; game_clock <= hydra.motor_burn_time; ++game_clock) {
        step_round_speed(rocket);
        ASSERT_LE(rocket->speed, hydra.top_speed) << game_clock;
    }
    EXPECT_LT(rocket->speed, hydra.top_speed);
    EXPECT_GT(rocket->speed, hydra.top_speed - 2000);
    step_round_speed(rocket);  // burnt out: the last push, then drag
    EXPECT_FALSE(rocket->flags & ROUND_MOTOR);
    EXPECT_EQ(rocket->instance.sub_instances[0], nullptr);
    for (int i = 0; i < 3; ++i) {
        const double v = rocket->speed;
        step_round_speed(rocket);
        EXPECT_EQ(rocket->speed, int32_t(v - hydra.drag_coefficient * v * v * frame_seconds));
    }
}

// A falling store's drag can take many times its speed in a step: it stops, and is no negative
// or undefined number.
TEST_F(RoundPoolTest, AStoreWhoseDragExceedsItsSpeedStopsAtZero) {
    WeaponRound* store = allocate_round();
    init_round_slot(store, MK82, nullptr);
    store->speed = 128000;
    step_round_speed(store);
    EXPECT_EQ(store->speed, 0);
    store->weapon_id = SHELL;
}

TEST_F(RoundPoolTest, ARoundBehindOneThatEndsStillMovesInThatStep) {
    Drone* shooter = drone_at({1 << 27, 1 << 27, 100 * FOOT});
    WeaponRound* first = activate_round(launch_unguided_round(GUN, pose_at(shooter->pose.position), &shooter->target, shooter));
    WeaponRound* second = activate_round(launch_unguided_round(GUN, pose_at(shooter->pose.position), &shooter->target, shooter));
    ASSERT_EQ(second, first + 1);
    const Vector3 start = second->pose.position;
    first->distance_flown = weapon_info[GUN].max_range * 2;  // spent: it ends in this step
    update_rounds();
    EXPECT_EQ(first->weapon_id, 0);
    EXPECT_EQ(round_pool.live_count, 1);
    EXPECT_GT(second->pose.position.y, start.y);
    EXPECT_GT(second->distance_flown, 0);
    EXPECT_EQ(second->previous_position.y, start.y);
}

// The trail starts 2 ft behind the round and runs as far as the round moves in the step.
TEST_F(RoundPoolTest, OnlyARoundWhoseMotorBurnsLaysATrail) {
    smoke_life = 400;
    smoke_density = 3;
    Drone* shooter = drone_at({1 << 27, 1 << 27, 100 * FOOT});
    const struct {
        int weapon;
        int puffs;
    } cases[] = {{HYDRA, 8}, {GUN, 0}};
    for (const auto& c : cases) {
        init_smoke();
        WeaponRound* round = activate_round(launch_unguided_round(c.weapon, pose_at(shooter->pose.position), &shooter->target, shooter));
        ASSERT_NE(round, nullptr);
        const int32_t start_y = round->pose.position.y;
        update_rounds();
        int puffs = 0;
        for (const SmokePuff& puff : smoke_puffs) {
            if (!puff.state) continue;
            ++puffs;
            EXPECT_GE(puff.y, start_y - 512) << c.weapon;
            EXPECT_LT(puff.y, round->pose.position.y - 512) << c.weapon;
        }
        EXPECT_EQ(puffs, c.puffs) << c.weapon;
        clear_rounds();
    }
    init_smoke();
}

// The rounds' models come from the memory pools; a mission that ends with rounds in the air must
// give them all back before the next one clears the slots.
TEST_F(RoundPoolTest, RoundsInFlightAtTheEndOfAMissionLeaveNoModelBehind) {
    const int before = memory_blocks_in_use();
    Drone* shooter = drone_at({1 << 27, 1 << 27, 100 * FOOT});
    for (int mission = 0; mission < 2; ++mission) {
        for (int i = 0; i < 5; ++i)
            ASSERT_NE(activate_round(launch_unguided_round(HYDRA, pose_at(shooter->pose.position), &shooter->target, shooter)), nullptr);
        ASSERT_NE(activate_round(launch_shell(SHELL, {(1 << 27) + 4096, 1 << 27, 0}, &shooter->target)), nullptr);
        EXPECT_GT(memory_blocks_in_use(), before);
        init_mobile_lists();  // the next world set-up empties the tile lists
        clear_rounds();
        EXPECT_EQ(memory_blocks_in_use(), before) << mission;
        EXPECT_EQ(round_pool.live_count, 0);
    }
}

TEST_F(RoundPoolTest, TheRoundsOwnRandomFollowsTheTwoStepRuleAndMovesTheSharedSeed) {
    WeaponRound round{};
    round.random_state = 12345;
    EXPECT_EQ(next_round_random(&round), 12345);
    EXPECT_EQ(round.random_state, 1406936836);  // the game generator's draw from the same state
    EXPECT_EQ(random_seed, -1492899873);
}

}  // namespace
}  // namespace vyr
