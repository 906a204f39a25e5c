#include "source/controls.h"

#include <gtest/gtest.h>

#include <vector>

#include "library/system/event.h"
#include "library/system/joystick.h"
#include "library/system/key.h"
#include "source/avionics/panel.h"
#include "source/avionics/views.h"
#include "source/frame_loop.h"
#include "source/weapons/system_damage.h"

namespace vyr {
namespace {

constexpr int32_t FULL = 0x7FFFFFFF;
constexpr int32_t HALF = 0x40000000;

class FlightControls : public testing::Test {
protected:
    void SetUp() override {
        release_all();
        saved_joystick = joystick_state;
        flush_events();
        game_clock = 0;
        system_failures = {};
        view_mode = VIEW_COCKPIT;
        joystick_button_mode = 0;
        cyclic_control = collective_control = tailrotor_control = 0;
        throttle_lever_keys = 0;
        init_flight_controls();
        build_joystick_curve(5);
        joystick_state.buttons = 0x0F;  // no button pressed
        joystick_state.hat = 0;
    }
    void TearDown() override {
        release_all();
        joystick_state = saved_joystick;
        flush_events();
        game_clock = 0;
        system_failures = {};
        control_type = CONTROL_KEYBOARD;
        joystick_button_mode = 0;
    }
    static void release_all() {
        for (int i = 0; i < KEY_TABLE_SIZE; ++i) {
            key_down[i] = 0;
            key_held_time[i] = 0;
        }
    }
    // The key is down and has been for `ticks` since the last step.
    static void hold(int scan_code, int ticks) {
        key_down[scan_code] = 1;
        key_held_time[scan_code] = ticks;
    }
    static void release(int scan_code) { key_down[scan_code] = 0; }
    static std::vector<int> posted_keys() {
        std::vector<int> keys;
        Event event;
        while (get_event(event))
            if (event.type == EV_KEY) keys.push_back(event.value);
        return keys;
    }
    JoystickState saved_joystick;
};

TEST_F(FlightControls, AHeldKeyRampsUpAndReversingReturnsToCentreFirst) {
    hold(SCAN_DOWN, 16);
    read_flight_controls();
    hold(SCAN_DOWN, 16);
    read_flight_controls();
    EXPECT_EQ(key_pitch, HALF);  // 0.32 s: half deflection
    EXPECT_EQ(model_pitch, HALF);
    hold(SCAN_DOWN, 64);
    read_flight_controls();
    EXPECT_EQ(key_pitch, FULL);  // no overflow past full deflection

    release(SCAN_DOWN);
    hold(SCAN_UP, 1);
    read_flight_controls();
    EXPECT_EQ(key_pitch, -(1 << 25));

    release(SCAN_UP);
    read_flight_controls();
    EXPECT_EQ(key_pitch, 0);
    EXPECT_EQ(model_pitch, 0);
}

TEST_F(FlightControls, EveryKeyPairRampsItsOwnDemand) {
    const struct {
        int scan_code;
        int32_t* demand;
        int32_t sign;
    } cases[] = {{SCAN_Z, &key_heading, 1},  {SCAN_INSERT, &key_heading, 1}, {SCAN_X, &key_heading, -1},
                 {SCAN_DELETE, &key_heading, -1}, {SCAN_RIGHT, &key_roll, 1}, {SCAN_LEFT, &key_roll, -1},
                 {SCAN_F3, &key_pan_y, 1},     {SCAN_F2, &key_pan_y, -1},    {SCAN_F4, &key_pan_x, 1},
                 {SCAN_F1, &key_pan_x, -1},    {SCAN_PERIOD, &key_look, 1},  {SCAN_COMMA, &key_look, -1}};
    for (const auto& c : cases) {
        hold(c.scan_code, 2);
        read_flight_controls();
        EXPECT_EQ(*c.demand, c.sign * (2 << 25)) << c.scan_code;
        release(c.scan_code);
        read_flight_controls();
        EXPECT_EQ(*c.demand, 0) << c.scan_code;
    }
}

TEST_F(FlightControls, TheThrottleRampsSlowerAndCtrlFreezesItAndHoldsTheAircraft) {
    hold(SCAN_EQUALS, 10);
    hold(SCAN_PAD_PLUS, 20);  // the longer of the pair counts
    read_flight_controls();
    EXPECT_EQ(key_throttle, int32_t(20 * 33554432.0 * 0.4));
    EXPECT_EQ(key_held_time[SCAN_EQUALS], 0);  // both are taken

    hold(SCAN_DOWN, 8);
    hold(SCAN_CTRL, 0);
    release(SCAN_EQUALS);
    release(SCAN_PAD_PLUS);
    read_flight_controls();
    EXPECT_EQ(key_throttle, int32_t(20 * 33554432.0 * 0.4));
    EXPECT_EQ(model_throttle, 0);
    EXPECT_EQ(model_pitch, 0);

    release(SCAN_CTRL);
    read_flight_controls();
    EXPECT_EQ(key_throttle, 0);
    hold(SCAN_EQUALS, 200);
    read_flight_controls();
    EXPECT_EQ(key_throttle, FULL);  // 1.6 s from idle
}

TEST_F(FlightControls, AHeldKeyOverridesTheStickAxis) {
    control_type = CONTROL_JOYSTICK;
    for (int a = 0; a < 4; ++a) {
        joystick_state.minimum[a] = 0;
        joystick_state.centre[a] = 100;
        joystick_state.maximum[a] = 200;
        joystick_state.raw[a] = 200;
    }
    read_flight_controls();
    EXPECT_EQ(slew_y, get_joystick_curve(255));
    EXPECT_EQ(slew_x, get_joystick_curve(255));
    hold(SCAN_UP, 4);
    read_flight_controls();
    EXPECT_EQ(slew_y, -(4 << 25));
    EXPECT_EQ(model_pitch, -(4 << 25));
    EXPECT_EQ(slew_x, get_joystick_curve(255));

    control_type = CONTROL_KEYBOARD;
    hold(SCAN_RIGHT, 4);
    read_flight_controls();
    EXPECT_EQ(slew_x, key_roll);
    int32_t y, x;
    get_slew_inputs(y, x);
    EXPECT_EQ(x, 4 << 25);
}

TEST_F(FlightControls, AfterAnElectricalFailureTheControlsAreDeadForTenSeconds) {
    system_failures = {};
    set_failure(FAIL_ELECTRICS);
    electrics_first_failure_time = 1000;
    electrics_second_failure_time = 1000;
    const struct {
        int32_t clock;
        bool powered;
    } cases[] = {{1000, false}, {3000, false}, {3001, true}, {120999, true}, {121000, false}};
    for (const auto& c : cases) {
        game_clock = c.clock;
        hold(SCAN_DOWN, 4);
        read_flight_controls();
        EXPECT_EQ(controls_powered(), c.powered) << c.clock;
        EXPECT_EQ(model_pitch != 0, c.powered) << c.clock;
        release(SCAN_DOWN);
        read_flight_controls();
    }
}

TEST_F(FlightControls, AltInAnOutsideViewSteersTheCameraInsteadOfTheAircraft) {
    view_mode = 1;
    hold(SCAN_F4, 3);
    hold(SCAN_DOWN, 2);
    read_flight_controls();
    EXPECT_EQ(external_roll, 3 << 25);
    EXPECT_EQ(external_pitch, 0);
    EXPECT_EQ(model_pitch, 2 << 25);  // the aircraft keeps its inputs

    release(SCAN_F4);
    hold(SCAN_ALT, 0);
    hold(SCAN_DOWN, 2);
    read_flight_controls();
    EXPECT_EQ(external_pitch, 4 << 25);
    EXPECT_EQ(model_pitch, 0);

    view_mode = VIEW_COCKPIT;  // in the cockpit Alt only holds the aircraft
    hold(SCAN_F1, 7);
    read_flight_controls();
    EXPECT_EQ(model_pitch, 0);
    release(SCAN_ALT);
    hold(SCAN_F1, 7);
    read_flight_controls();
    int32_t f1, f4, f2, f3;
    get_view_pan_inputs(f1, f4, f2, f3);
    EXPECT_EQ(f1, 7);
    EXPECT_EQ(f4, 0);
}

TEST_F(FlightControls, ToggleControlTypeTurnsEveryJoystickTypeIntoTheKeyboard) {
    const struct {
        int32_t before, after;
    } cases[] = {{1, 2}, {2, 1}, {3, 1}, {4, 1}};
    for (const auto& c : cases) {
        control_type = c.before;
        toggle_control_type(0);
        EXPECT_EQ(control_type, c.after) << c.before;
    }
}

TEST_F(FlightControls, ButtonsPostTheirKeysByButtonMode) {
    game_clock = 1000;
    const struct {
        int32_t mode, buttons;
        int key;
    } cases[] = {{0, 0x10, SCAN_SPACE},  {0, 0x40, SCAN_BACKSPACE},   {0, 0x80, SCAN_K},
                 {1, 0x10, SCAN_SPACE},  {1, 0x30, SCAN_1},           {1, 0x40, 0x1201C},
                 {1, 0xC0, SCAN_1},      {1, 0xF0, SCAN_2},           {2, 0x10, SCAN_BACKSPACE},
                 {2, 0x40, SCAN_C},      {2, 0x50, SCAN_F},           {2, 0x90, 0x1201C},
                 {2, 0xE0, SCAN_2},      {1, 0x50, 0},                {2, 0x30, 0}};
    for (const auto& c : cases) {
        joystick_button_mode = c.mode;
        joystick_state.buttons = c.buttons | 0x0F;
        read_flight_controls();
        const std::vector<int> keys = posted_keys();
        EXPECT_EQ(keys, c.key ? std::vector<int>{c.key} : std::vector<int>{}) << c.mode << " " << c.buttons;
    }
}

TEST_F(FlightControls, EnterRepeatsOnlyEverySixtyTicks) {
    joystick_state.buttons = 0x20 | 0x0F;
    const struct {
        int32_t clock;
        size_t posted;
    } steps[] = {{100, 1}, {130, 0}, {160, 0}, {161, 1}};
    for (const auto& s : steps) {
        game_clock = s.clock;
        read_flight_controls();
        EXPECT_EQ(posted_keys().size(), s.posted) << s.clock;
    }
}

TEST_F(FlightControls, TheHatAndTheThrottleLeverPostNumberKeys) {
    cyclic_control = 2;
    const int hat_keys[] = {SCAN_2, SCAN_4, SCAN_3, SCAN_1};
    for (int hat = 1; hat <= 4; ++hat) {
        joystick_state.hat = hat;
        read_flight_controls();
        EXPECT_EQ(posted_keys(), std::vector<int>{hat_keys[hat - 1]}) << hat;
    }
    joystick_state.hat = 0;
    throttle_lever_keys = 1;
    const struct {
        int32_t position;
        std::vector<int> keys;
    } levers[] = {{15, {SCAN_2}}, {16, {SCAN_4}}, {79, {SCAN_4}}, {80, {SCAN_3}}, {207, {SCAN_1}}, {208, {}}};
    for (const auto& l : levers) {
        joystick_state.scaled[AXIS_BY] = l.position;
        read_flight_controls();
        EXPECT_EQ(posted_keys(), l.keys) << l.position;
    }
}

}  // namespace
}  // namespace vyr
