#include "source/weapons/bomb_sight.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "library/maths/units.h"
#include "tests/source/weapons/stores_world.h"

namespace vyr {
namespace {

constexpr int PYLON_SINGLE = 1;

class BombSight : public StoresWorld {
protected:
    void SetUp() override {
        StoresWorld::SetUp();
        if (IsSkipped()) return;
        selected_weapon = WEAPON_MK_82;
        // The aircraft's velocity as the computations see it.
        Vector3 v;
        player_model_velocity(v);
        ASSERT_NEAR(v.y, LEVEL_SPEED, 1);
        ASSERT_NEAR(v.x, 0, 1);
        ASSERT_NEAR(v.z, 0, 1);
    }
};

// Level at 1,000 ft and 500 ft/s: 450 ft/s after drag, 1,575 ticks of fall, 907,200 units ahead.
TEST_F(BombSight, TheWorkedExample) {
    EXPECT_EQ(compute_fall_ticks(256000, 0), 1575);
    Vector3 impact;
    predict_bomb_impact(impact);
    EXPECT_NEAR(impact.y - AIRCRAFT_AT.y, 907200, 256);
    EXPECT_EQ(impact.x, AIRCRAFT_AT.x);
    EXPECT_EQ(impact.z, 0) << "on the ground below";
    selected_weapon = 33;  // the MK-82 retarded falls shorter
    Vector3 retarded;
    predict_bomb_impact(retarded);
    EXPECT_LT(retarded.y, impact.y);
}

TEST_F(BombSight, FallTimesClimbAndStayOnTheGround) {
    EXPECT_GT(compute_fall_ticks(256000, 50 * FOOT), 1575) << "climbing first";
    EXPECT_LT(compute_fall_ticks(256000, -50 * FOOT), 1575);
    EXPECT_GE(compute_fall_ticks(-256000, -1), 0) << "a root of a negative counts as 0";
    // 1,000 ft/s at 35,000 ft passes 32 bits.
    EXPECT_GT(compute_fall_ticks(35000 * FOOT, 1000 * FOOT), 0);
}

TEST_F(BombSight, ReleaseTimesAreClampedAndSetTheCue) {
    int32_t ticks = 0;
    fly_at(AIRCRAFT_AT, 250 * FOOT);  // 200 nm at 225 ft/s after drag: 5,400 s
    designate_ground_point({AIRCRAFT_AT.x, AIRCRAFT_AT.y + 200 * NAUTICAL_MILE, 0});
    EXPECT_EQ(compute_bomb_release_time(ticks), 3600.0);
    EXPECT_EQ(ticks, 3600 * 200);
    EXPECT_EQ(is_release_cue_set(), 0);
    fly_at(AIRCRAFT_AT, LEVEL_SPEED);
    designate_ground_point({AIRCRAFT_AT.x, AIRCRAFT_AT.y - 5 * NAUTICAL_MILE, 0});
    EXPECT_LT(compute_bomb_release_time(ticks), 0.0);
    EXPECT_EQ(is_release_cue_set(), 1);
    EXPECT_LT(compute_loft_release(ticks), 0.0);
    EXPECT_EQ(is_release_cue_set(), 0) << "the loft never sets the cue";
    designate_ground_point({AIRCRAFT_AT.x, AIRCRAFT_AT.y - 5 * NAUTICAL_MILE, 0});
    compute_bomb_release_time(ticks);
    fly_at(AIRCRAFT_AT, 0);
    EXPECT_EQ(compute_bomb_release_time(ticks), 0.0) << "not moving";
    EXPECT_EQ(ticks, -1);
    EXPECT_EQ(is_release_cue_set(), 1) << "left as it was";
}

TEST_F(BombSight, ReleaseTimeWithoutAGroundTargetIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    int32_t ticks = 0;
    EXPECT_DEATH(compute_bomb_release_time(ticks), "Incorrect target type for bomb time to release");
}

TEST_F(BombSight, DispensersAndTheDurLandAheadHighOrLow) {
    selected_weapon = WEAPON_CBU_87B;
    Vector3 high, low, dur;
    predict_cluster_bomb_impact(high);
    flight_data.height_above_ground = 300 * FOOT;
    predict_cluster_bomb_impact(low);
    EXPECT_GT(high.y, AIRCRAFT_AT.y);
    EXPECT_GT(low.y, AIRCRAFT_AT.y);
    EXPECT_LT(low.y, high.y) << "below 400 ft the low branch";
    selected_weapon = WEAPON_CBU15;
    predict_dur_impact(dur);
    EXPECT_GT(dur.y, AIRCRAFT_AT.y);
}

// A MK-82 released in CCIP lands within a step of where the sight put it.
TEST_F(BombSight, AReleasedBombLandsWhereTheSightSaid) {
    carry(3, PYLON_SINGLE, WEAPON_MK_82, 1);
    load_stores();
    toggle_air_ground_mode();
    select_next_weapon(WEAPON_MK_82);
    fire_latch = 0;
    Vector3 predicted;
    predict_bomb_impact(predicted);
    ASSERT_EQ(fire_weapon(SCAN_SPACE), 1);
    WeaponRound* bomb = get_last_gun_round();
    ASSERT_NE(bomb, nullptr);
    Vector3 last = bomb->pose.position;
    for (int step = 0; step < 4000 && bomb->weapon_id != 0; ++step) {
        last = bomb->pose.position;
        update_rounds();
    }
    EXPECT_EQ(bomb->weapon_id, 0) << "the bomb has landed";
    const int32_t step_travel = LEVEL_SPEED / 100;
    EXPECT_LE(std::abs(last.y - predicted.y), 2 * step_travel);
    EXPECT_LE(std::abs(last.x - predicted.x), step_travel);
}

}  // namespace
}  // namespace vyr
