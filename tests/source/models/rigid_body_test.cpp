#include "source/models/rigid_body.h"

#include <gtest/gtest.h>

#include <cmath>

#include "source/models/air_data.h"
#include "source/models/atmosphere.h"

namespace vyr {
namespace {

constexpr double DEG = MODEL_PI / 180;

TEST(RigidBody, EulerAnglesSurviveTheQuaternionAndTheDirectionCosines) {
    const struct {
        double roll, pitch, heading;
    } cases[] = {{0, 0, 0},           {30 * DEG, 0, 0},   {0, 45 * DEG, 0},       {0, 0, -120 * DEG},
                 {-170 * DEG, -60 * DEG, 179 * DEG}, {90 * DEG, 89 * DEG, 45 * DEG}, {10 * DEG, -20 * DEG, 30 * DEG}};
    for (const auto& c : cases) {
        const Quaternion e = euler_to_quaternion(c.roll, c.pitch, c.heading);
        EXPECT_NEAR(quaternion_length(e), 1.0, 1e-12);
        double roll, pitch, heading;
        dcm_to_euler(quaternion_to_dcm(e), roll, pitch, heading);
        EXPECT_NEAR(roll, c.roll, 1e-6) << c.roll << " " << c.pitch << " " << c.heading;
        EXPECT_NEAR(pitch, c.pitch, 1e-9);
        EXPECT_NEAR(heading, c.heading, 1e-6);
    }
}

TEST(RigidBody, BodyAndEarthFramesTurnIntoEachOther) {
    const DirectionCosines east_climbing = quaternion_to_dcm(euler_to_quaternion(0, 30 * DEG, 90 * DEG));
    const Vector3d earth = body_to_earth(east_climbing, {100, 0, 0});
    EXPECT_NEAR(earth.x, 0.0, 1e-9);  // north
    EXPECT_NEAR(earth.y, 100 * std::cos(30 * DEG), 1e-9);
    EXPECT_NEAR(earth.z, -50.0, 1e-9);  // down: climbing
    const Vector3d body = earth_to_body(east_climbing, earth);
    EXPECT_NEAR(body.x, 100.0, 1e-9);
    EXPECT_NEAR(body.y, 0.0, 1e-9);
    EXPECT_NEAR(body.z, 0.0, 1e-9);
}

// Rounding can leave a renormalised quaternion a hair longer than 1; the pitch sine must not
// then pass 1 and turn the attitude into NaN.
TEST(RigidBody, ANoseVerticalQuaternionALittleLongGivesNinetyDegreesNotNaN) {
    const double h = std::sqrt(0.5) * (1 + 1e-12);
    for (const double sign : {1.0, -1.0}) {
        double roll = 1, pitch = 1, heading = 1;
        dcm_to_euler(quaternion_to_dcm({h, 0, sign * h, 0}), roll, pitch, heading);
        EXPECT_DOUBLE_EQ(pitch, sign * std::asin(1.0));
        EXPECT_EQ(roll, 0.0);
        EXPECT_EQ(heading, 0.0);
    }
}

TEST(RigidBody, AngleOfCoversEveryQuadrantAndTheAxes) {
    EXPECT_NEAR(angle_of(1, 1), MODEL_PI / 4, 1e-9);
    EXPECT_NEAR(angle_of(1, -1), 3 * MODEL_PI / 4, 1e-9);
    EXPECT_NEAR(angle_of(-1, -1), -3 * MODEL_PI / 4, 1e-9);
    EXPECT_DOUBLE_EQ(angle_of(5, 0), MODEL_PI / 2);
    EXPECT_DOUBLE_EQ(angle_of(-5, 0), -MODEL_PI / 2);
    EXPECT_EQ(angle_of(0, 0), 0.0);
}

class AirDataTest : public testing::Test {
protected:
    void SetUp() override { build_atmosphere_tables(); }
    static AirData compute(Vector3d velocity, double altitude, int ground = 0) {
        ModelState state{};
        state.vel = velocity;
        state.pos.z = -altitude;
        state.ground = ground;
        AirData air{};
        compute_air_data(air, state);
        return air;
    }
};

TEST_F(AirDataTest, AnglesAndSpeedFollowTheBodyVelocity) {
    const AirData air = compute({300, 40, 30}, 10000);
    EXPECT_NEAR(air.vt, std::sqrt(300.0 * 300 + 40 * 40 + 30 * 30), 1e-9);
    EXPECT_NEAR(air.alpha, std::atan2(30, 300), 1e-12);
    EXPECT_NEAR(air.beta, std::atan2(40, 300), 1e-12);
    EXPECT_DOUBLE_EQ(air.altitude, 10000);
    double rho, a;
    standard_atmosphere(10000, rho, a);
    EXPECT_NEAR(air.mach, air.vt / a, 1e-9);
    EXPECT_NEAR(air.qbar, 0.5 * rho * air.vt * air.vt, 1e-6);
    EXPECT_EQ(compute({300, 40, 30}, 0, 1).beta, 0.0);  // no sideslip on the ground
}

TEST_F(AirDataTest, FlyingBackwardsGivesNegativeSpeedAndNoAngleOfAttack) {
    const AirData air = compute({-100, 0, 20}, 1000);
    EXPECT_LT(air.vt, 0.0);
    EXPECT_NEAR(air.vt, -std::sqrt(100.0 * 100 + 20 * 20), 1e-9);
    EXPECT_EQ(air.alpha, 0.0);
}

TEST_F(AirDataTest, EquivalentAirspeedScalesByTheDensityRoot) {
    const struct {
        double altitude, speed, equivalent;
    } cases[] = {{0, 500.9, 500}, {1250, 400, 392}, {69999, 1000, 241}, {80000, 1000, 241}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(compute({c.speed, 0, 0}, c.altitude).equivalent_airspeed, c.equivalent) << c.altitude;
}

}  // namespace
}  // namespace vyr
