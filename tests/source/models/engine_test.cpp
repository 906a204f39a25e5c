#include "source/models/engine.h"

#include <gtest/gtest.h>

#include <cmath>

#include "source/avionics/panel.h"
#include "source/controls.h"
#include "source/frame_loop.h"
#include "source/mission/game_flow.h"
#include "source/models/landing.h"
#include "source/models/model_state.h"
#include "source/sknet/game_rules.h"

namespace vyr {
namespace {

constexpr double DT = 0.005;  // one sub-step of a 20 Hz frame

// The engine at sea level and standstill with a full internal load, nothing failed.
class Engine : public testing::Test {
protected:
    void SetUp() override {
        set_game_flow(FLOW_QUICK_START);
        system_failures = {};
        game_clock = die_flag = landing_result = 0;
        infinite_fuel = 0;
        collective_control = 0;
        model_mass.fuel = 6972.0;
        model_controls = {};
        air = {};
        init_engine(0.0);
    }
    void TearDown() override {
        set_game_flow(FLOW_NONE);
        system_failures = {};
        game_clock = die_flag = landing_result = 0;
    }
    // Runs the engine for some seconds at a throttle, the clock following.
    void run(double seconds, double throttle) {
        for (int i = 0; i < int(std::lround(seconds / DT)); ++i) {
            update_engine(engine_state, air, throttle, reheat, DT);
            if (i % 2) ++game_clock;  // a tick is two sub-steps
        }
    }
    AirData air;
    double reheat = 0.0;
};

TEST_F(Engine, ThrustTablesGiveTheirCornersAndHoldTheirEdges) {
    const struct {
        ThrustTable table;
        double mach, altitude, thrust;
    } cases[] = {
        {THRUST_IDLE, 0.0, 0.0, 1060},          {THRUST_IDLE, 0.4, 20000, 32},
        {THRUST_IDLE, 2.0, 60000, -780},        {THRUST_MILITARY, 1.0, 30000, 6152},
        {THRUST_MILITARY, 0.1, 5000, (18500 + 12327 + 18500 + 12515) / 4.0},
        {THRUST_MAXIMUM, 1.6, 40000, 13432},    {THRUST_MAXIMUM, 0.0, 50000, 2833},
        // Beyond the tables: Mach 2.199 and 69,999 ft.
        {THRUST_MAXIMUM, 2.3, 0.0, 29100},      {THRUST_MILITARY, 2.3, 50000, 6225 + (6972 - 6225) * 0.995},
        {THRUST_IDLE, 0.0, 75000, 100 + (61 - 100) * 0.9999}, {THRUST_IDLE, -1.0, -500, 1060},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(table_thrust(c.table, c.mach, c.altitude), c.thrust, 1e-6) << c.table << " " << c.mach << " " << c.altitude;
}

TEST_F(Engine, FullThrottleSpoolsToMilitaryPowerBeforeTheAfterburnerLights) {
    double spool = engine_state.spool, lit_at = -1, full_at = -1;
    for (int step = 1; step <= 20 * 200; ++step) {
        update_engine(engine_state, air, 1.0, reheat, DT);
        ASSERT_GE(engine_state.spool, spool - 1e-12);
        spool = engine_state.spool;
        if (reheat > 0 && lit_at < 0) {
            lit_at = step * DT;
            EXPECT_GT(spool, 0.98);
        }
        if (reheat >= 1.0 && full_at < 0) full_at = step * DT;
    }
    EXPECT_GT(lit_at, 1.0);
    EXPECT_LT(lit_at, 15.0);
    EXPECT_GT(full_at, lit_at);
    EXPECT_LT(full_at, 20.0);
    EXPECT_NEAR(engine_state.thrust, 29100, 1.0);  // full afterburner at sea level, standing
    EXPECT_GT(engine_state.temperature, 0.0);

    // Just below the afterburner's range of the throttle it burns down, then goes out.
    double before = reheat;
    run(0.5, 0.765);
    EXPECT_LT(reheat, before);
    before = reheat;
    run(0.5, 0.765);
    EXPECT_LT(reheat, before);
    run(0.01, 0.5);
    EXPECT_EQ(reheat, 0.0);
}

TEST_F(Engine, ALeakBurnsFuelFasterByAWanderingFactor) {
    run(10.0, 0.5);  // settled at half throttle
    double before = model_mass.fuel;
    run(1.0, 0.5);
    const double sound_burn = before - model_mass.fuel;
    set_failure(FAIL_FUEL_LEAK);
    double high = 1.0, low = 3.0;
    for (int second = 0; second < 60; ++second) {
        before = model_mass.fuel;
        run(1.0, 0.5);
        const double ratio = (before - model_mass.fuel) / sound_burn;
        high = std::max(high, ratio);
        low = std::min(low, ratio);
    }
    EXPECT_GE(low, 0.999);
    EXPECT_LE(high, 2.9);
    EXPECT_GT(high, 1.2);
}

TEST_F(Engine, RunningDryWarnsOnceAndStopsTheEngine) {
    model_mass.fuel = 651.0;
    run(2.0, 0.5);
    EXPECT_TRUE(has_failure(FAIL_FUEL));
    model_mass.fuel = 0.01;
    run(0.1, 0.5);
    EXPECT_EQ(model_mass.fuel, 0.0);
    EXPECT_EQ(engine_state.running, 0);
    EXPECT_EQ(engine_state.thrust, 0.0);
    engine_start_key(0);  // no fuel: no start
    EXPECT_EQ(engine_state.running, 0);
    const double spool = engine_state.spool;
    run(1.0, 0.5);
    EXPECT_NEAR(engine_state.spool, spool * std::pow(1 - 0.1 * DT, 200), 1e-9);  // 10 % a second
}

TEST_F(Engine, ADryEnginesFlowDwindlesEvenWithALeak) {
    set_failure(FAIL_FUEL_LEAK);
    run(60.0, 0.5);  // the leak has grown
    model_mass.fuel = 0.01;
    run(5.0, 0.5);  // stopped, spooled down below idle
    ASSERT_EQ(engine_state.running, 0);
    ASSERT_LT(engine_state.spool, 0.6);
    for (int second = 0; second < 5; ++second) {
        const double flow = engine_state.fuel_flow;
        run(1.0, 0.5);
        EXPECT_LT(engine_state.fuel_flow, flow);
        EXPECT_GE(engine_state.fuel_flow, 0.0);
    }
}

TEST_F(Engine, InfiniteFuelBurnsNothing) {
    infinite_fuel = 1;
    model_mass.fuel = 700.0;
    run(5.0, 1.0);
    infinite_fuel = 0;
    EXPECT_EQ(model_mass.fuel, 700.0);
    EXPECT_FALSE(has_failure(FAIL_FUEL));
}

TEST_F(Engine, AnUnquenchedFireEndsTheFlightTenToFiftyNineSecondsLater) {
    for (int trial = 0; trial < 20; ++trial) {
        SetUp();
        system_failures = {};
        set_failure(FAIL_FIRE);
        while (!die_flag && game_clock < 70 * 200) run(0.01, 0.5);
        EXPECT_EQ(die_flag, END_CRASH);
        EXPECT_EQ(landing_result, LANDING_ENGINE_FIRE);
        EXPECT_GE(game_clock, 10 * 200);
        EXPECT_LE(game_clock, 59 * 200 + 2);
        EXPECT_GT(engine_state.temperature, 700.0);
    }
}

TEST_F(Engine, TheExtinguisherPutsTheFireOutFourHundredTicksAfterTheKey) {
    system_failures = {};
    set_failure(FAIL_FIRE);
    run(1.0, 0.5);
    fire_extinguisher_key(0);
    const int32_t fired = game_clock;
    while (has_failure(FAIL_FIRE)) run(0.01, 0.5);
    EXPECT_GE(game_clock, fired + 400);
    EXPECT_LE(game_clock, fired + 402);
    run(60.0, 0.5);
    EXPECT_EQ(die_flag, 0);
}

TEST_F(Engine, HotKeysPresetTheThrottleAndStopAndStartTheEngine) {
    throttle_preset_up(0);
    EXPECT_EQ(model_controls.power, 0.75);
    engine_state.spool = 0.99;
    throttle_preset_up(0);
    EXPECT_EQ(model_controls.power, 1.0);
    model_controls.reheat = 0.5;
    throttle_preset_down(0);
    EXPECT_EQ(model_controls.power, 0.75);
    model_controls.reheat = 0.0;
    throttle_preset_down(0);
    EXPECT_EQ(model_controls.power, 0.0);
    collective_control = 1;  // a throttle lever sets the power itself
    throttle_preset_up(0);
    EXPECT_EQ(model_controls.power, 0.0);
    collective_control = 0;

    engine_stop_key(0);  // not near idle: keeps running
    EXPECT_EQ(engine_state.running, 1);
    engine_state.spool = 0.62;
    engine_stop_key(0);
    EXPECT_EQ(engine_state.running, 0);
    engine_start_key(0);
    EXPECT_EQ(engine_state.running, 1);
}

}  // namespace
}  // namespace vyr
