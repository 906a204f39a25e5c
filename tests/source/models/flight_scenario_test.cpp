// Whole flights of the full model over the stand-in world: flat ground at height 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "library/3dvisual/instance.h"
#include "source/avionics/panel.h"
#include "source/controls.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/models/model_state.h"

namespace vyr {
namespace {

constexpr int32_t FT = 256;
constexpr int32_t FULL_STICK = 0x7FFFFFFF;
constexpr double DEG = 0.01745329251994444;
constexpr int UPDATES_PER_SECOND = 20;

class FlightScenario : public testing::Test {
protected:
    void SetUp() override {
        frame_seconds = 1.0 / UPDATES_PER_SECOND;
        model_id = MODEL_FULL;
        system_failures = 0;
        game_clock = die_flag = 0;
        model_throttle = model_heading = model_pitch = model_roll = 0;
        collective_control = 0;
        control_type = CONTROL_KEYBOARD;
    }
    void TearDown() override {
        system_failures = 0;
        game_clock = die_flag = 0;
        frame_seconds = 0.0;
        model_pitch = model_roll = 0;
    }
    static void start_at(int32_t altitude_ft) {
        *player_position = {{1000 * FT, 2000 * FT, altitude_ft * FT}, {}};
        init_flight_model();
    }
    static void update() {
        update_flight_model();
        game_clock += 200 / UPDATES_PER_SECOND;
    }
};

TEST_F(FlightScenario, AirborneWithNoStickTheRatesDieAwayAndTheHeadingHolds) {
    start_at(10000);
    model_state.p = 0.3;
    model_state.q = 0.1;
    const double heading = model_state.heading;
    for (int i = 0; i < 10 * UPDATES_PER_SECOND; ++i) update();
    EXPECT_LT(std::abs(model_state.p), 0.01);
    EXPECT_LT(std::abs(model_state.q), 0.01);
    EXPECT_LT(std::abs(model_state.r), 0.01);
    EXPECT_NEAR(model_state.heading, heading, 1 * DEG);
    EXPECT_EQ(model_state.ground, 0);
}

// Full power from the runway, the stick pulled fully back from 80 knots: the tail holds the
// nose at 14 degrees until the wing lifts the aircraft off.
TEST_F(FlightScenario, ATakeOffRunLiftsOffWithTheNoseHeldAtFourteenDegrees) {
    start_at(0);
    ASSERT_EQ(model_state.ground, 1);
    ASSERT_EQ(get_gear_state(), GEAR_DOWN);
    const double start = model_state.pos.x;
    double highest_pitch = 0.0;
    int seconds = 0;
    for (int i = 0; model_state.ground && i < 120 * UPDATES_PER_SECOND; ++i) {
        if (player_flight_data.speed_knots > 80) model_pitch = FULL_STICK;
        update();
        if (model_state.ground) highest_pitch = std::max(highest_pitch, model_state.pitch);
        seconds = i / UPDATES_PER_SECOND;
    }
    EXPECT_EQ(model_state.ground, 0);
    EXPECT_LT(seconds, 30);
    EXPECT_LT(model_state.pos.x - start, 3000.0);  // ft of runway
    EXPECT_GT(highest_pitch, 10 * DEG);
    EXPECT_LT(highest_pitch, 14.5 * DEG);
    EXPECT_NEAR(model_state.heading, 0.0, 0.5 * DEG);
    for (int i = 0; i < 10 * UPDATES_PER_SECOND; ++i) update();
    EXPECT_GT(-model_state.pos.z, 100.0);  // climbing away
}

}  // namespace
}  // namespace vyr
