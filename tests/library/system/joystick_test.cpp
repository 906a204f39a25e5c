#include "library/system/joystick.h"

#include <gtest/gtest.h>

#include "platform/joystick/joystick.h"
#include "tests/support/set_stick.h"

namespace vyr {
namespace {

class Joystick : public testing::Test {
protected:
    void SetUp() override {
        now = {32768, 32768, 32768, 32768, 0, platform::Hat::OTHER};  // a stick without a hat
        platform::install_joystick(std::make_unique<SetStick>(&now));
        init_joystick();
    }
    void TearDown() override { platform::select_joystick_backend(false); }

    platform::JoystickReading now;
};

TEST_F(Joystick, CentreCalibrationScalesAndClamps) {
    EXPECT_EQ(joystick_state.minimum[AXIS_AX], 16384);
    EXPECT_EQ(joystick_state.centre[AXIS_AX], 32768);
    EXPECT_EQ(joystick_state.maximum[AXIS_AX], 49152);
    EXPECT_EQ(joystick_state.minimum[AXIS_BY], 32767);
    const struct {
        uint32_t x;
        int scaled;
        bool absent;
    } cases[] = {{49152, 255, false}, {16384, 0, false}, {1000, 0, false}, {32768, 127, false},
                 {58982, 255, false}, {60000, 255, true}};
    for (const auto& c : cases) {
        joystick_state.stick_a_absent = false;
        now.x = c.x;
        read_joystick();
        EXPECT_EQ(joystick_state.scaled[AXIS_AX], c.scaled) << c.x;
        EXPECT_EQ(joystick_state.stick_a_absent, c.absent) << c.x;
        EXPECT_GE(joystick_state.raw[AXIS_AX], 16384);
        EXPECT_LE(joystick_state.raw[AXIS_AX], 49152);
    }
}

TEST_F(Joystick, MissingAxisIsFlaggedAbsent) {
    now.r = 0;
    read_joystick();
    EXPECT_TRUE(joystick_state.bx_absent);
    EXPECT_FALSE(joystick_state.stick_a_absent);
    platform::select_joystick_backend(false);  // no joystick at all
    detect_joystick();
    EXPECT_EQ(joystick_devices, 0);
    EXPECT_EQ(joystick_state.raw[AXIS_AX], -1);
}

TEST_F(Joystick, CurveHasADeadZoneAndEndsNearFullScale) {
    EXPECT_EQ(get_joystick_curve(255), 2137952644);
    EXPECT_EQ(get_joystick_curve(0), -2137952644);
    for (int i = 122; i <= 133; ++i) EXPECT_EQ(get_joystick_curve(i), 0) << i;
    EXPECT_GT(get_joystick_curve(134), 0);
    EXPECT_LT(get_joystick_curve(121), 0);
    read_joystick();
    EXPECT_EQ(get_joystick_axis(2, AXIS_AX), get_joystick_curve(127));
}

TEST_F(Joystick, AxisModes) {
    // Calibrated centre off the middle of the range: modes 1/2 and 3/4 differ there.
    joystick_state.minimum[AXIS_AY] = 0;
    joystick_state.centre[AXIS_AY] = 20000;
    joystick_state.maximum[AXIS_AY] = 60000;
    const struct {
        uint32_t y;
        int mode;
        int32_t value;
    } cases[] = {
        {1, 1, int32_t(int64_t(1) * 0x7FFFFFFF / 20000)},
        {20000, 1, 0x7FFFFFFF},
        {60000, 1, 0},
        {40000, 1, int32_t(-(int64_t(20000) * 0x7FFFFFFF / 40000))},
        {30000, 3, 0x7FFFFFFF},
        {45000, 3, int32_t(-(int64_t(15000) * 0x7FFFFFFF / 30000))},
        {60000, 2, 2137952644},
        {20000, 2, 0},
        {30000, 4, 0},
    };
    for (const auto& c : cases) {
        now.y = c.y;
        read_joystick();
        EXPECT_EQ(get_joystick_axis(c.mode, AXIS_AY), c.value) << c.y << " mode " << c.mode;
    }
}

TEST_F(Joystick, ZeroSpanReadsAsCentred) {
    joystick_state.minimum[AXIS_AX] = joystick_state.centre[AXIS_AX] = joystick_state.maximum[AXIS_AX] = 32768;
    read_joystick();
    EXPECT_EQ(joystick_state.scaled[AXIS_AX], 127);
    for (int mode : {1, 3}) EXPECT_EQ(get_joystick_axis(mode, AXIS_AX), 0x7FFFFFFF);
    for (int mode : {2, 4}) EXPECT_EQ(get_joystick_axis(mode, AXIS_AX), get_joystick_curve(127));
}

TEST_F(Joystick, HatByStickType) {
    using platform::Hat;
    const struct {
        int type;
        Hat hat;
        int expected_hat;
        int buttons;
    } cases[] = {
        {STICK_POV_HAT, Hat::FORWARD, 1, 0xFF}, {STICK_POV_HAT, Hat::RIGHT, 2, 0xBF}, {STICK_POV_HAT, Hat::BACK, 3, 0x7F},
        {STICK_POV_HAT, Hat::LEFT, 4, 0x3F},    {STICK_POV_HAT, Hat::CENTRED, 0, 0x0F},
        {STICK_PLAIN, Hat::FORWARD, 0, 0x0F},
    };
    for (const auto& c : cases) {
        stick_type = c.type;
        now.hat = c.hat;
        read_joystick();
        EXPECT_EQ(get_joystick_axis(1, AXIS_HAT), c.expected_hat) << int(c.hat);
        EXPECT_EQ(joystick_state.buttons, c.buttons) << int(c.hat);
    }
    // An axis-hat stick reads the hat back from the By values the hat stands in for.
    stick_type = STICK_AXIS_HAT;
    joystick_state.minimum[AXIS_BY] = 0;
    joystick_state.centre[AXIS_BY] = 127;
    joystick_state.maximum[AXIS_BY] = 128;
    const struct {
        Hat hat;
        int expected;
    } axis_cases[] = {{Hat::FORWARD, 1}, {Hat::RIGHT, 2}, {Hat::BACK, 3}, {Hat::LEFT, 4}, {Hat::CENTRED, 0}};
    for (const auto& c : axis_cases) {
        now.hat = c.hat;
        read_joystick();
        EXPECT_EQ(joystick_state.hat, c.expected) << int(c.hat);
    }
}

}  // namespace
}  // namespace vyr
