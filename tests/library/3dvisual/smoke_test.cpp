#include "library/3dvisual/smoke.h"

#include <gtest/gtest.h>

#include <set>

#include "library/maths/random.h"
#include "tests/library/3dvisual/effect_scene.h"

namespace vyr {
namespace {

constexpr int32_t ONE_SECOND = 0x7FFFFFFF;

using Smoke = EffectScene;

TEST_F(Smoke, TrailsLayTwoToTheShiftPuffsFromTheStartOneStepShortOfTheEnd) {
    const Vector3 from = ahead(0, 1000), to = ahead(32 * 100, 1000 + 32 * 10);
    spawn_smoke_trail(&from, &to, 256, 400, 0);
    EXPECT_EQ(smoke_cursor, 1);
    EXPECT_EQ(smoke_puffs[0].y, from.y);
    init_smoke();
    spawn_smoke_trail(&from, &to, 256, 400, 5);
    ASSERT_EQ(smoke_cursor, 32);
    std::set<int32_t> lives;
    for (int i = 0; i < 32; ++i) {
        const SmokePuff& p = smoke_puffs[i];
        EXPECT_EQ(p.y, from.y + 100 * i);
        EXPECT_EQ(p.z, from.z + 10 * i);
        EXPECT_EQ(p.age, 0);
        EXPECT_GE(p.life, 400);
        EXPECT_LE(p.life, 600);
        EXPECT_EQ(p.spin & ~0x7FFF0000u, 0u) << "under half a turn, a multiple of 65,536";
        lives.insert(p.life);
    }
    EXPECT_GT(lives.size(), 1u) << "each puff draws its own extra life";
    EXPECT_NE(smoke_puffs[31].y, to.y);
}

TEST_F(Smoke, PuffsAgeByTheStepsTicksAndTheRingOverwritesItsOldest) {
    const Vector3 at = ahead(5000, 1000);
    spawn_smoke_puff(&at, 100, 0);
    spawn_smoke_puff(&at, 100, 3);
    update_world_effects(ONE_SECOND / 100);  // two ticks
    EXPECT_EQ(smoke_puffs[0].state, 0) << "a puff of life 0 is freed at its first update";
    EXPECT_EQ(smoke_puffs[1].state, 1);
    EXPECT_EQ(smoke_puffs[1].age, 2);
    update_world_effects(ONE_SECOND / 200);
    EXPECT_EQ(smoke_puffs[1].state, 0);

    init_smoke();
    for (int i = 0; i < MAX_SMOKE_PUFFS; ++i) spawn_smoke_puff(&at, 1, 400);
    const Vector3 last = ahead(6000, 1000);
    spawn_smoke_puff(&last, 2, 400);
    EXPECT_EQ(smoke_puffs[0].size, 2) << "the 4,097th replaces the first";
    EXPECT_EQ(smoke_puffs[1].size, 1);
    const Vector3 outside = {0x10000000, 5, 0};
    spawn_smoke_puff(&outside, 3, 400);
    EXPECT_EQ(smoke_cursor, 1);
}

TEST_F(Smoke, AHazeTrailFadesTowardsItsEndAndIsFreedOnceDrawn) {
    Pose engine{};
    set_identity_matrix(engine.matrix);
    engine.position = ahead(20000, 1000);
    spawn_haze_trail(&engine.position, 64, &engine, 5);
    ASSERT_EQ(haze_cursor, 32);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(haze_puffs[i].level, std::min(240 + i, 255));
        EXPECT_EQ(haze_puffs[i].y, engine.position.y - 128 * i) << "16 ft aft in 32 steps";
        EXPECT_EQ(haze_puffs[i].drawn, 0);
    }
    update_world_effects(ONE_SECOND / 200);
    EXPECT_EQ(haze_puffs[0].state, 1) << "an undrawn puff is kept";

    queue_haze();
    EXPECT_EQ(queued(NODE_HAZE).size(), 32u);
    for (HazePuff& p : haze_puffs) p.drawn = p.state;  // as one render through the accelerator leaves them
    update_world_effects(ONE_SECOND / 200);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(haze_puffs[i].state, 0) << i;

    init_haze();
    const Vector3 behind = {WORLD_MIDDLE, WORLD_MIDDLE - 5000, 1000};
    spawn_haze_puff(&behind, 64, 240);
    reset_object_buffer();
    queue_haze();
    EXPECT_TRUE(queued(NODE_HAZE).empty());
    update_world_effects(ONE_SECOND / 200);
    EXPECT_EQ(haze_puffs[0].state, 1) << "a puff never in view lives on";
}

TEST_F(Smoke, PuffsOfAnotherStateAreFatal) {
    smoke_puffs[7].state = 2;
    EXPECT_EXIT(update_smoke(), ::testing::ExitedWithCode(10), "Invalid smoke type\\.");
    haze_puffs[7].state = -1;
    EXPECT_EXIT(update_haze(), ::testing::ExitedWithCode(10), "Invalid haze type\\.");
}

}  // namespace
}  // namespace vyr
