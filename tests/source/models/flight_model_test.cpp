#include "source/models/flight_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "library/3dvisual/instance.h"
#include "library/maths/random.h"
#include "library/system/key.h"
#include "source/avionics/views.h"
#include "source/avionics/panel.h"
#include "source/avionics/views.h"
#include "source/controls.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/mission/game_flow.h"
#include "source/models/air_data.h"
#include "source/models/integration.h"
#include "source/models/model_state.h"
#include "source/recorder.h"

namespace vyr {
namespace {

constexpr int32_t FT = 256;
constexpr int32_t FULL = 0x7FFFFFFF;
constexpr double FRAME = 0.05;  // 10 ticks

// A flight at a world position on the stand-in world: flat at sea level, no route, quick start.
class FlightModel : public testing::Test {
protected:
    void SetUp() override {
        set_game_flow(FLOW_QUICK_START);
        view_mode = VIEW_COCKPIT;  // not the crash view a flight ended by another test leaves
        frame_seconds = FRAME;
        model_id = MODEL_SIMPLE;
        system_failures = {};
        model_throttle = model_heading = model_pitch = model_roll = 0;
        collective_control = 0;
        control_type = CONTROL_KEYBOARD;
        release_throttle_keys();
    }
    void TearDown() override {
        set_game_flow(FLOW_NONE);
        model_id = MODEL_FULL;
        system_failures = {};
        frame_seconds = 0.0;
        game_clock = die_flag = 0;
        release_throttle_keys();
    }
    static void start_at(int32_t altitude_ft, int id = MODEL_SIMPLE) {
        model_id = id;
        *player_position = {{1000 * FT, 2000 * FT, altitude_ft * FT}, {}};
        init_flight_model();
    }
    static void release_throttle_keys() {
        for (int scan : {SCAN_EQUALS, SCAN_PAD_PLUS, SCAN_MINUS, SCAN_PAD_MINUS}) key_down[scan] = 0;
    }
    static void update(int times = 1) {
        for (int i = 0; i < times; ++i) update_flight_model();
    }
    static double speed() { return vector_length(model_state.vel); }
};

TEST_F(FlightModel, StartsOnTheGroundWithTheGearDownOrAirborneWithItUp) {
    const struct {
        int32_t altitude_ft;
        int gear;
        int32_t ground;
        double speed;
    } cases[] = {{0, GEAR_DOWN, 1, 0.0}, {3, GEAR_DOWN, 1, 0.0}, {4, GEAR_UP, 1, 0.0}, {11, GEAR_UP, 0, 595.0}};
    for (const auto& c : cases) {
        start_at(c.altitude_ft);
        EXPECT_EQ(get_gear_state(), c.gear) << c.altitude_ft;
        EXPECT_EQ(model_state.ground, c.ground) << c.altitude_ft;
        EXPECT_DOUBLE_EQ(speed(), c.speed) << c.altitude_ft;
        EXPECT_EQ(model_state.landed, 0);
        EXPECT_EQ(player_flight_data.heading, 0);  // no waypoint: north
    }
}

// The start faces the player's current waypoint; it faced north whatever the route.
TEST_F(FlightModel, TheStartFacesTheCurrentWaypoint) {
    const struct {
        int32_t dx, dy;
        int32_t heading;  // binary angle
    } cases[] = {{0, 5000, 0}, {5000, 0, 0x40000000}, {0, -5000, int32_t(0x80000000)}, {-5000, -5000, int32_t(0xA0000000)}};
    Drone own{};
    Waypoint next{};
    own.current_waypoint = &next;
    user_drone = &own;
    for (const auto& c : cases) {
        next.x = 1000 * FT + c.dx * FT;
        next.y = 2000 * FT + c.dy * FT;
        start_at(11);
        EXPECT_NEAR(double(int32_t(uint32_t(player_flight_data.heading) - uint32_t(c.heading))), 0.0, 0x100000)
            << c.dx << " " << c.dy;
    }
    user_drone = nullptr;
}

TEST_F(FlightModel, TheSimpleModelReachesItsSpeedInOneSubStep) {
    start_at(10000);
    const double north = model_state.pos.x;
    update();
    EXPECT_DOUBLE_EQ(speed(), 4000.0);  // full power at a quick start
    // The first sub-step still moves at 595 ft/s, the nine after it at 4,000.
    EXPECT_NEAR(model_state.pos.x - north, (595.0 + 9 * 4000.0) * FRAME / 10, 1e-6);
    model_controls.power = 0.0;
    update();
    EXPECT_NEAR(speed(), 0.0, 1e-9);
}

TEST_F(FlightModel, AShortFrameIntegratesTenTenThousandthsOfASecond) {
    start_at(10000);
    frame_seconds = 0.0005;
    const double north = model_state.pos.x;
    update();
    EXPECT_NEAR(model_state.pos.x - north, (595.0 + 9 * 4000.0) * 0.0001, 1e-9);
}

TEST_F(FlightModel, TheAircraftStaysBelowTheCeilingAndInsideTheWorld) {
    start_at(10000);
    const struct {
        Vector3 position;
        uint32_t heading;
        int32_t climb;
        int axis;
        double limit;
    } cases[] = {
        {{1000 * FT, 2000 * FT, 99990 * FT}, 0, 1000 * FT, 2, -100000.0},
        {{268435000, 2000 * FT, 5000 * FT}, 0x40000000, 0, 1, MODEL_WORLD_EDGE},  // east
        {{1000 * FT, 268435000, 5000 * FT}, 0, 0, 0, MODEL_WORLD_EDGE},           // north
        {{100, 2000 * FT, 5000 * FT}, 0xC0000000, 0, 1, 0.0},                    // west
        {{1000 * FT, 100, 5000 * FT}, 0x80000000, 0, 0, 0.0},                    // south
    };
    for (const auto& c : cases) {
        place_flight_model(c.position, c.heading, 0, 0, 1000 * FT, c.climb, 0);
        model_controls.power = 0.25;
        update(3);
        const double value = c.axis == 0 ? model_state.pos.x : c.axis == 1 ? model_state.pos.y : model_state.pos.z;
        EXPECT_DOUBLE_EQ(value, c.limit) << c.axis;
    }
    EXPECT_EQ(player_position->position.x, 1000 * FT);
    EXPECT_EQ(player_position->position.y, 0);
}

TEST_F(FlightModel, TheGearHoldsTheAircraftFiveFeetUp) {
    start_at(0);
    model_controls.power = 0.0;
    update();
    EXPECT_DOUBLE_EQ(model_state.pos.z, -5.0);
    EXPECT_EQ(player_position->position.z, 5 * FT);
    EXPECT_DOUBLE_EQ(player_flight_data.altitude, 0.0);  // the published altitude is the wheels'

    const struct {
        int gear;
        double rests_at;
    } gears[] = {{GEAR_DOWN, -5.0}, {GEAR_DOORS_CLOSING, -5.0}, {GEAR_UP, 0.0}};
    for (const auto& g : gears) {
        set_gear_state(g.gear);
        read_model_controls();
        Vector3d sinking = {5000.0, 5000.0, 2.0};
        apply_ground_contact(sinking);
        EXPECT_DOUBLE_EQ(sinking.z, g.rests_at) << g.gear;
    }
    publish_flight_model();
    EXPECT_DOUBLE_EQ(player_flight_data.altitude, 5.0 * FT);  // the gear is up
}

// The simple model never grades a landing, but it does leave the ground.
TEST_F(FlightModel, ASimpleModelTakingOffFromTheGroundIsNoLongerOnIt) {
    start_at(0);
    update();
    EXPECT_EQ(player_flight_data.on_ground, 1);
    model_pitch = FULL;
    update(5);
    EXPECT_LT(model_state.pos.z, -40.0);
    EXPECT_EQ(player_flight_data.on_ground, 0);
}

TEST_F(FlightModel, LiftOffNeedsAClimbOrFortyFeetOfAir) {
    start_at(0);
    model_state.flags = MODEL_GEAR_UP;
    const struct {
        int32_t ground;
        double z, climb;
        int contact;
    } cases[] = {
        {1, 0.0, 0.0, 1},    {1, 0.0, 0.2, 1},    {1, 0.0, 0.21, 0},  {1, -40.0, 0.0, 1},
        {1, -40.01, 0.0, 0}, {0, -1.0, 0.0, 0},   {0, 3.0, -5.0, 1},
    };
    for (const auto& c : cases) {
        model_state.ground = c.ground;
        model_state.pitch = 0.0;
        model_state.vel = {0.0, 0.0, -c.climb};
        Vector3d position = {5000.0, 5000.0, c.z};
        EXPECT_EQ(apply_ground_contact(position), c.contact) << c.ground << " " << c.z << " " << c.climb;
        EXPECT_LE(position.z, 0.0);
    }
}

TEST_F(FlightModel, ThrottleKeysStopEitherSideOfMilitaryPower) {
    start_at(0);
    auto press = [](int scan, int32_t demand, int steps) {
        key_down[scan] = demand != 0;
        model_throttle = demand;
        for (int i = 0; i < steps; ++i) read_model_controls();
    };
    model_controls.power = 0.5;
    press(SCAN_EQUALS, FULL, 20);
    EXPECT_DOUBLE_EQ(model_controls.power, 0.74);
    press(SCAN_EQUALS, 0, 3);
    EXPECT_DOUBLE_EQ(model_controls.power, 0.74);  // released, it stays short of the detent
    press(SCAN_PAD_PLUS, FULL, 1);
    EXPECT_DOUBLE_EQ(model_controls.power, 0.76);  // a fresh press crosses it
    press(SCAN_PAD_PLUS, FULL, 10);
    EXPECT_DOUBLE_EQ(model_controls.power, 1.0);
    press(SCAN_PAD_PLUS, 0, 1);
    press(SCAN_MINUS, -FULL, 20);
    EXPECT_DOUBLE_EQ(model_controls.power, 0.78);
    press(SCAN_MINUS, 0, 1);
    press(SCAN_PAD_MINUS, -FULL, 1);
    EXPECT_DOUBLE_EQ(model_controls.power, 0.76);
    press(SCAN_PAD_MINUS, -FULL, 40);
    EXPECT_DOUBLE_EQ(model_controls.power, 0.0);
    // The military preset is not pushed over the detent while no key is pressed.
    press(SCAN_PAD_MINUS, 0, 1);
    model_controls.power = 0.75;
    read_model_controls();
    EXPECT_DOUBLE_EQ(model_controls.power, 0.75);
}

TEST_F(FlightModel, ALeverSetsThePowerDirectly) {
    start_at(0);
    control_type = CONTROL_JOYSTICK;
    collective_control = 1;
    joystick_throttle = 1;
    model_throttle = int32_t(0xC0000000u);  // three quarters of the lever's travel
    read_model_controls();
    EXPECT_DOUBLE_EQ(model_controls.power, 0.75);
    joystick_throttle = 0;
    collective_control = 0;
}

TEST_F(FlightModel, TheControlsBecomeTheModelsInputs) {
    start_at(0);
    model_heading = FULL / 2;
    model_pitch = -(FULL / 2);
    model_roll = FULL;
    read_model_controls();
    EXPECT_NEAR(model_controls.yaw, -0.5, 1e-9);
    EXPECT_NEAR(model_controls.pitch, -0.25, 1e-9);  // squared, keeping its sign
    EXPECT_NEAR(model_controls.roll, 1.0, 1e-9);
}

TEST_F(FlightModel, PublishesTheAircraftsState) {
    start_at(10000);
    place_flight_model({1000 * FT, 2000 * FT, 10000 * FT}, 0x40000000, 0, 0, 500 * FT, 0, 0);
    model_controls.power = 500.0 / 4000.0;
    update();
    const PlayerFlightData& d = player_flight_data;
    EXPECT_NEAR(d.heading, 0x40000000, 2);
    EXPECT_EQ(d.pitch, 0);
    EXPECT_EQ(d.airspeed, int32_t(500 * 0.5925925925925926));
    EXPECT_DOUBLE_EQ(d.airspeed_value, d.airspeed);
    EXPECT_NEAR(d.speed_knots, 500 * 0.5924170616113744, 1e-9);
    EXPECT_DOUBLE_EQ(d.altitude, 10000.0 * FT);  // gear up
    EXPECT_EQ(d.vertical_speed, 0);
    EXPECT_EQ(d.on_ground, 0);
    EXPECT_NEAR(player_position->position.y, 2000 * FT, 1);
    EXPECT_NEAR(player_position->position.x, 1000 * FT + 500 * FT * FRAME, 2);  // flying east
    EXPECT_NEAR(player_position->matrix[1][0], FULL, 2);                // forward is east

    const struct {
        double fuel;
        int32_t internal, external, total;
    } fuels[] = {{7000.0, 6972, 28, 7000}, {500.0, 500, 0, 500}, {6972.5, 6972, 0, 6972}};
    for (const auto& f : fuels) {
        model_mass.fuel = f.fuel;
        publish_flight_model();
        EXPECT_EQ(d.fuel_internal, f.internal) << f.fuel;
        EXPECT_EQ(d.fuel_external, f.external) << f.fuel;
        EXPECT_EQ(d.fuel_total, f.total) << f.fuel;
    }
}

// The track: the set-up's publish is the first of 52, the 52nd offers the position to the
// recorder and so does every 52nd after it; a new flight counts from its own set-up. At 200 ft a
// frame the aircraft is always far enough from the last point for the recorder to take it.
TEST_F(FlightModel, EveryFiftySecondPublishOffersThePositionToTheTrack) {
    const auto track = [] {
        std::vector<std::pair<int32_t, int32_t>> points;
        for (const FlightEventBlock* block = first_event_block; block; block = block->next)
            for (const FlightEventRecord& r : block->records)
                if (r.kind == RECORD_PLAYER_POSITION) points.emplace_back(r.value1, r.value2);
        return points;
    };
    const auto here = [] { return std::pair{player_position->position.x, player_position->position.y}; };
    for (const int partway : {0, 20}) {  // the publishes of an earlier flight before this one
        if (partway) {
            start_at(10000);
            update(partway);
        }
        reset_flight_records();
        start_at(10000);
        update(50);
        EXPECT_TRUE(track().empty()) << partway;
        update();
        const auto first = here();
        update(51);
        EXPECT_EQ(track().size(), 1u) << partway;
        update();
        EXPECT_EQ(track(), (std::vector{first, here()})) << partway;
        EXPECT_EQ(position_record_count, 2);
    }
    reset_flight_records();
}

TEST_F(FlightModel, OnlyTheFullModelRepositions) {
    start_at(0, MODEL_FULL);
    reposition_flight_model(3000 * FT, 4000 * FT, 5000 * FT);
    EXPECT_DOUBLE_EQ(model_state.pos.x, 4000.0);
    EXPECT_DOUBLE_EQ(model_state.pos.y, 3000.0);
    EXPECT_DOUBLE_EQ(model_state.pos.z, -5000.0);
    EXPECT_DOUBLE_EQ(model_state.vel.x, 337.5);  // 200 knots
    EXPECT_DOUBLE_EQ(model_controls.power, 0.0);
    EXPECT_EQ(get_model_roll_angle(), 0.0);
}

// Ten simulated minutes at time acceleration 8 (eight model updates a frame, the clock moving by
// the frame's ticks before each), at a usual frame and at one eight times as long, with the
// controls thrown about once a frame by a seeded generator: the attitude stays a unit quaternion
// and nothing becomes NaN, in both models.
TEST_F(FlightModel, TenMinutesOfRandomControlsKeepTheAttitudeSound) {
    constexpr int ACCELERATION = 8;
    constexpr int32_t TEN_MINUTES = 600 * 200;
    auto input = [] { return int32_t((draw_rand() - 16384) * 131072); };
    for (const int32_t ticks : {10, 80}) {
        for (const int id : {MODEL_SIMPLE, MODEL_FULL}) {
            game_clock = die_flag = 0;
            start_at(20000, id);
            frame_seconds = ticks * 0.005;
            rand_state = 12345;
            while (game_clock < TEN_MINUTES) {
                model_throttle = input();
                model_heading = input();
                model_pitch = input();
                model_roll = input();
                if (game_clock % 40000 < 20000)
                    set_failure(FAIL_HYDRAULICS);
                else
                    clear_failure(FAIL_HYDRAULICS);
                for (int step = 0; step < ACCELERATION; ++step) {
                    game_clock += ticks;
                    update();
                    const ModelState& s = model_state;
                    ASSERT_NEAR(quaternion_length(s.e), 1.0, 1e-9) << id << " " << ticks << " " << game_clock;
                    const double values[] = {s.pos.x, s.pos.y, s.pos.z, s.vel.x, s.vel.y, s.vel.z, s.p,
                                             s.q,     s.r,     s.roll,  s.pitch, s.heading, air_data.vt};
                    for (double v : values) ASSERT_FALSE(std::isnan(v)) << id << " " << ticks << " " << game_clock;
                }
            }
        }
    }
}

}  // namespace
}  // namespace vyr
