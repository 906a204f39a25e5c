#include "source/models/aero.h"

#include <gtest/gtest.h>

#include <cmath>

#include "library/maths/random.h"
#include "source/avionics/panel.h"
#include "source/models/rigid_body.h"

namespace vyr {
namespace {

constexpr double DEG = 0.01745329251994444;

// Level flight at a given speed, no sideslip, gear and brakes up, nothing failed.
class Aero : public testing::Test {
protected:
    void SetUp() override {
        system_failures = {};
        build_aero_tables();
        init_aero_constants(air);
        init_model_mass(model_mass);
        model_state = {};
        model_state.flags = MODEL_GEAR_UP;
        model_controls = {};
        fly(600.0, 0.0);
    }
    void TearDown() override { system_failures = {}; }
    void fly(double vt, double alpha, double mach = 0.55) {
        air.vt = vt;
        air.alpha = alpha;
        air.beta = 0.0;
        air.mach = mach;
        air.qbar = 0.5 * 0.002377 * vt * vt;
        model_state.vel = {vt * std::cos(alpha), 0.0, vt * std::sin(alpha)};
        trig = {1, 0, 1, 0, 1, 0, std::cos(alpha), std::sin(alpha), 1, 0};
    }
    void forces() { compute_aero_forces(air, model_controls, trig, 300.0); }
    void moments() {
        compute_control_surfaces(model_controls, air);
        compute_aero_moments(air, model_controls, trig, 300.0);
    }
    AirData air{};
    AttitudeTrig trig{};
};

TEST_F(Aero, CoefficientTablesInterpolateAndHoldTheirEnds) {
    const struct {
        double alpha_degrees, c_lift;
    } lifts[] = {{-200, 0.0}, {-90, 0.0}, {-20, -1.6}, {-10, -0.75}, {0, 0.1}, {27, 1.7}, {36, 1.0}, {90, 0.0}, {200, 0.0}};
    for (const auto& l : lifts) EXPECT_NEAR(lift_coefficient(l.alpha_degrees * DEG), l.c_lift, 1e-3) << l.alpha_degrees;
    const struct {
        double mach, c_drag;
    } drags[] = {{-1, 0.02}, {0.0, 0.02}, {0.86, 0.0225}, {1.0, 0.043}, {9.999, 0.045}, {10.0, 0.045}, {50.0, 0.045}};
    for (const auto& d : drags) EXPECT_NEAR(zero_lift_drag(d.mach), d.c_drag, 1e-9) << d.mach;
}

TEST_F(Aero, DragBelowMachPointFourFallsWithSpeedThenFollowsTheTable) {
    const struct {
        double mach, c_drag;
    } cases[] = {{0.2, 0.26}, {0.5, 0.02}, {1.05, 0.044}};
    for (const auto& c : cases) {
        fly(600.0, 0.0, c.mach);
        forces();
        EXPECT_NEAR(air.c_drag - 0.117 * air.c_lift * air.c_lift, c.c_drag, 1e-9) << c.mach;
    }
    const double clean = air.c_drag;
    model_state.flags = MODEL_GEAR_DOWN;
    model_state.air_brake_angle = 60 * DEG;
    forces();
    EXPECT_NEAR(air.c_drag - clean, 0.02 + 0.11 * 0.5, 1e-9);
}

TEST_F(Aero, FlapsAddLiftBelowFiveHundredAndTenFeetASecond) {
    const struct {
        double vt, flap_lift;
    } cases[] = {{0.0, 0.4}, {200.0, 0.4}, {340.0, 0.4}, {408.0, 0.2}, {509.0, 0.4 * (1020.0 / 509 - 2)}, {510.0, 0.0}, {800.0, 0.0}};
    for (const auto& c : cases) {
        fly(c.vt, 5 * DEG);
        forces();
        EXPECT_NEAR(air.c_lift - lift_coefficient(5 * DEG), c.flap_lift, 1e-9) << c.vt;
    }
    // Failed flaps stay where they were, whatever the speed.
    fly(408.0, 5 * DEG);
    forces();
    system_failures = {};
    set_failure(FAIL_FLAPS);
    fly(800.0, 5 * DEG);
    forces();
    EXPECT_NEAR(air.c_lift - lift_coefficient(5 * DEG), 0.2, 1e-9);
}

TEST_F(Aero, WithNoAirflowTheAileronIsItsLimitOrNothing) {
    const struct {
        double roll, aileron;
    } cases[] = {{0.0, 0.0}, {0.5, 0.375}, {-0.01, -0.375}};
    for (const double speed : {0.0, 1e-7}) {
        for (const auto& c : cases) {
            fly(speed, 0.0);
            model_controls.roll = c.roll;
            moments();
            EXPECT_EQ(model_controls.aileron, c.aileron) << speed << " " << c.roll;
            EXPECT_FALSE(std::isnan(air.roll_demand));
            EXPECT_FALSE(std::isnan(air.pitch_demand));
        }
    }
    // Flying backwards no surface moves.
    fly(300.0, 0.0);
    model_state.vel.x = -300.0;
    model_controls = {0.5, 1.0, 1.0, 1.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    compute_control_surfaces(model_controls, air);
    EXPECT_EQ(model_controls.throttle, 0.5);
    EXPECT_EQ(model_controls.aileron, 0.0);
    EXPECT_EQ(model_controls.elevator, 0.0);
    EXPECT_EQ(model_controls.rudder, 0.0);
}

TEST_F(Aero, FailedHydraulicsTakeAFixedShareOfEachSurfacesTravelOnce) {
    rand_state = 7;
    fly(100.0, 0.0);  // slow enough for the full aileron
    system_failures = {};
    set_failure(FAIL_HYDRAULICS);
    model_controls.roll = model_controls.pitch = model_controls.yaw = 1.0;
    compute_control_surfaces(model_controls, air);
    const double left[] = {model_controls.aileron / 0.375, model_controls.elevator / 0.436, model_controls.rudder / 0.524};
    for (double share : left) {
        const double lost = (1 - share) * 10;
        EXPECT_NEAR(lost, std::round(lost), 1e-9);
        EXPECT_LE(lost, 4.0 + 1e-9);
    }
    EXPECT_LT(left[0] * left[1] * left[2], 1.0);  // this seed damages at least one
    for (int i = 0; i < 50; ++i) {  // the loss is drawn once, while the failure lasts
        compute_control_surfaces(model_controls, air);
        EXPECT_EQ(model_controls.aileron / 0.375, left[0]);
        EXPECT_EQ(model_controls.rudder / 0.524, left[2]);
    }
    system_failures = {};
    compute_control_surfaces(model_controls, air);
    EXPECT_EQ(model_controls.elevator, 0.436);
}

TEST_F(Aero, GearDownHalvesTheRollAndPitchCommands) {
    model_controls.roll = 0.3;
    model_controls.pitch = 0.2;
    model_state.roll = 20 * DEG;  // away from the wings-level nudge
    moments();
    const double roll_up = air.roll_demand, pitch_up = air.pitch_demand;
    EXPECT_GT(roll_up, 0.0);
    EXPECT_GT(pitch_up, 0.0);
    model_state.flags = MODEL_GEAR_DOWN;
    moments();
    EXPECT_NEAR(air.roll_demand, roll_up / 2, 1e-12);
    EXPECT_NEAR(air.pitch_demand, pitch_up / 2, 1e-12);
}

TEST_F(Aero, OnTheGroundTheTailTurnsARotationPastFourteenDegreesBack) {
    model_state.ground = 1;
    model_state.flags = MODEL_GEAR_DOWN;
    set_model_attitude(0.0, 15 * DEG, 0.0);
    model_state.q = 0.2;
    moments();
    EXPECT_EQ(model_state.q, -0.2);
    EXPECT_EQ(model_state.q_dot, -0.4);
    EXPECT_NEAR(model_state.pitch, 14 * DEG, 1e-12);
    model_state.q = -0.1;  // already coming down: left alone
    set_model_attitude(0.0, 15 * DEG, 0.0);
    moments();
    EXPECT_EQ(model_state.q, -0.1);
}

TEST_F(Aero, FuelBeyondTheFittedTanksIsLost) {
    EXPECT_EQ(model_mass.fuel, INTERNAL_FUEL);  // no tank fitted
    EXPECT_EQ(model_mass.weight, INTERNAL_FUEL + 19020.0);
    model_mass.fuel = INTERNAL_FUEL + 5000;  // both tanks dropped while full
    update_model_mass(model_mass);
    EXPECT_EQ(model_mass.fuel, INTERNAL_FUEL);
    EXPECT_EQ(model_mass.weight, INTERNAL_FUEL + 19020.0);
    model_mass.fuel = 100.0;
    update_model_mass(model_mass);
    EXPECT_EQ(model_mass.weight, 19120.0);
}

}  // namespace
}  // namespace vyr
