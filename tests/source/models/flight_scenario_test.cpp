// Whole flights of the full model over the stand-in world: flat ground at height 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "library/3dvisual/instance.h"
#include "source/avionics/views.h"
#include "source/avionics/panel.h"
#include "source/avionics/views.h"
#include "source/controls.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "library/3dvisual/features.h"
#include "source/mission/game_flow.h"
#include "source/models/aero.h"
#include "source/models/engine.h"
#include "source/models/flight_model.h"
#include "source/models/integration.h"
#include "source/models/model_frame.h"
#include "source/models/landing.h"
#include "source/models/model_state.h"
#include "source/sknet/game_rules.h"
#include "tests/source/models/stand_in_world.h"

namespace vyr {
namespace {

constexpr int32_t FT = 256;
constexpr int32_t FULL_STICK = 0x7FFFFFFF;
constexpr double DEG = 0.01745329251994444;
constexpr int UPDATES_PER_SECOND = 20;

class FlightScenario : public testing::Test {
protected:
    void SetUp() override {
        set_game_flow(FLOW_QUICK_START);
        view_mode = VIEW_COCKPIT;  // not the crash view a flight ended by another test leaves
        frame_seconds = 1.0 / UPDATES_PER_SECOND;
        model_id = MODEL_FULL;
        system_failures = {};
        game_clock = die_flag = 0;
        game_mode = GAME_SINGLE;
        reset_stand_in_world();
        model_throttle = model_heading = model_pitch = model_roll = 0;
        collective_control = 0;
        control_type = CONTROL_KEYBOARD;
    }
    void TearDown() override {
        reset_stand_in_world();
        set_game_flow(FLOW_NONE);
        game_mode = GAME_SINGLE;
        system_failures = {};
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
    // Short final: 60 ft up at 160 knots, coming down at 9 ft/s with the nose up 4 degrees and the
    // gear down.
    static void approach() {
        start_at(1000);
        set_gear_state(GEAR_DOWN);
        place_flight_model({1000 * FT, 2000 * FT, 60 * FT}, 0, radians_to_angle(4 * DEG), 0, 270 * FT, -28 * FT, 0);
        model_controls.power = 0.3;
    }
    // Flies until the wheels touch; the airspeed then.
    static double fly_to_touchdown() {
        double vt = 0.0;
        for (int i = 0; !model_state.landed && !die_flag && i < 60 * UPDATES_PER_SECOND; ++i) {
            vt = air_data.vt;
            update();
        }
        return vt;
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

// Full throttle from idle on the runway, the stick pulled fully back from 80 knots: the tail
// keeps the nose below 14 degrees until the wing lifts the aircraft off.
TEST_F(FlightScenario, ATakeOffRunLiftsOffWithTheNoseHeldAtFourteenDegrees) {
    start_at(0);
    init_engine(0.0);
    model_controls.power = 1.0;
    ASSERT_EQ(model_state.ground, 1);
    ASSERT_EQ(get_gear_state(), GEAR_DOWN);
    const double start = model_state.pos.x;
    double highest_pitch = 0.0;
    double roll = 0.0;
    int seconds = 0, take_offs = 0;
    for (int i = 0; i < 40 * UPDATES_PER_SECOND; ++i) {  // the roll, and what follows it
        const int32_t grace = touchdown.lift_off_grace_until;
        model_pitch = model_state.ground && player_flight_data.speed_knots > 80 ? FULL_STICK : 0;
        update();
        take_offs += touchdown.lift_off_grace_until != grace;
        if (model_state.ground) {
            highest_pitch = std::max(highest_pitch, model_state.pitch);
            seconds = i / UPDATES_PER_SECOND;
            roll = model_state.pos.x - start;
        }
    }
    EXPECT_EQ(take_offs, 1);
    EXPECT_EQ(model_state.landed, 0);
    EXPECT_EQ(die_flag, 0);
    EXPECT_EQ(model_state.ground, 0);
    EXPECT_LT(seconds, 20);
    EXPECT_LT(roll, 2000.0);  // ft of runway
    EXPECT_GT(highest_pitch, 10 * DEG);
    EXPECT_LT(highest_pitch, 14.5 * DEG);
    EXPECT_NEAR(model_state.heading, 0.0, 0.5 * DEG);
    EXPECT_GT(-model_state.pos.z, 100.0);  // climbing away
}

TEST_F(FlightScenario, AnApproachToTheRunwayEndsInAGoodLanding) {
    for (const int mode : {GAME_SINGLE, GAME_COMBAT}) {
        SetUp();
        game_mode = mode;
        approach();
        model_mass.fuel = 3000.0;
        const double vt = fly_to_touchdown();
        ASSERT_EQ(model_state.landed, 1);
        EXPECT_EQ(die_flag, 0);
        EXPECT_EQ(landing_faults, 0);
        uint8_t faults = 0;
        const double damage = touchdown_damage(true, vt, touchdown.beta, touchdown.sink_rate, touchdown.pitch, touchdown.roll, faults);
        EXPECT_LE(damage, 0.6 * 2.0);  // graded 1 or 2
        EXPECT_FALSE(has_failure(FAIL_GEAR));
        // Only a combat game rearms and refuels (the rest of the update burns a little).
        if (mode == GAME_COMBAT)
            EXPECT_NEAR(model_mass.fuel, model_start_fuel, 1.0);
        else
            EXPECT_LT(model_mass.fuel, 3000.0);
        for (int i = 0; i < 5 * UPDATES_PER_SECOND; ++i) update();
        EXPECT_EQ(model_state.ground, 1);  // rolling out
        EXPECT_EQ(die_flag, 0);
    }
}

TEST_F(FlightScenario, LandingOnOpenGroundFoldsTheGear) {
    stand_in_surface = FEATURE_UNKNOWN;
    approach();
    fly_to_touchdown();
    EXPECT_EQ(model_state.landed, 1);
    EXPECT_TRUE(has_failure(FAIL_GEAR));
    EXPECT_EQ(get_gear_state(), GEAR_UP);
    EXPECT_EQ(player_flight_data.on_ground, 0);  // dropping onto its belly
}

TEST_F(FlightScenario, RollingOffTheRunwayIntoTheSeaDitches) {
    start_at(0);
    stand_in_ocean_from = 2000 * FT + 300 * FT;  // 300 ft ahead
    model_controls.power = 0.0;
    model_state.vel.x = 100 * 1.688;
    for (int i = 0; !die_flag && i < 10 * UPDATES_PER_SECOND; ++i) update();
    EXPECT_EQ(die_flag, END_DITCHED);
    EXPECT_GE(player_position->position.y, stand_in_ocean_from);
}

}  // namespace
}  // namespace vyr
