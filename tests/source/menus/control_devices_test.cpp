// The control devices: the choices turned into the flight controls' set-up, their texts, and the
// joystick display's sprites placed from the stick's readings.
#include "source/menus/control_devices.h"

#include <gtest/gtest.h>

#include <memory>

#include "library/system/joystick.h"
#include "library/ui/uoaccess.h"
#include "platform/joystick/joystick.h"
#include "source/controls.h"
#include "source/menus/prefs_screens.h"
#include "source/startup.h"
#include "tests/source/menus/menu_objects.h"
#include "tests/support/set_stick.h"

namespace vyr {
namespace {

TEST(ControlType, TheChoicesSetTheDevicesAndOutOfRangeChoicesBecomeTheKeyboard) {
    struct Case {
        int cyclic, collective, tailrotor;
        int control, stick, fcs, throttle, rudder, buttons;
        int cyclic_after, collective_after, tailrotor_after;
    };
    const Case cases[] = {
        {0, 0, 0, CONTROL_KEYBOARD, STICK_AXIS_HAT, 0, 0, 0, 0, 0, 0, 0},
        {1, 6, 5, CONTROL_JOYSTICK, STICK_AXIS_HAT, 0, 1, 1, 0, 1, 6, 5},
        {2, 6, 0, CONTROL_JOYSTICK, STICK_AXIS_HAT, 1, 0, 0, 0, 2, 0, 0},  // the FCS has its own throttle
        {3, 0, 5, CONTROL_JOYSTICK, STICK_POV_HAT, 0, 0, 1, 1, 3, 0, 5},
        {4, 6, 0, CONTROL_JOYSTICK, STICK_POV_HAT, 0, 1, 0, 2, 4, 6, 0},
        {7, 3, 9, CONTROL_KEYBOARD, STICK_AXIS_HAT, 0, 0, 0, 0, 0, 0, 0},
        {-1, 6, 5, CONTROL_KEYBOARD, STICK_AXIS_HAT, 0, 1, 1, 0, 0, 6, 5},
    };
    for (const Case& c : cases) {
        cyclic_control = c.cyclic;
        collective_control = c.collective;
        tailrotor_control = c.tailrotor;
        joystick_throttle_curve = throttle_lever_keys = 1;
        stick_type = STICK_PLAIN;
        apply_control_type();
        SCOPED_TRACE(testing::Message() << c.cyclic << " " << c.collective << " " << c.tailrotor);
        EXPECT_EQ(control_type, c.control);
        EXPECT_EQ(stick_type, c.stick);
        EXPECT_EQ(joystick_fcs, c.fcs);
        EXPECT_EQ(joystick_throttle, c.throttle);
        EXPECT_EQ(joystick_rudder, c.rudder);
        EXPECT_EQ(joystick_button_mode, c.buttons);
        EXPECT_EQ(joystick_throttle_curve, 0);
        EXPECT_EQ(throttle_lever_keys, 0);
        EXPECT_EQ(cyclic_control, c.cyclic_after);
        EXPECT_EQ(collective_control, c.collective_after);
        EXPECT_EQ(tailrotor_control, c.tailrotor_after);
    }
    cyclic_control = collective_control = tailrotor_control = 0;
    apply_control_type();
}

class ControlDevices : public MenuObjects {
protected:
    void SetUp() override {
        MenuObjects::SetUp();
        if (IsSkipped()) return;
        now = {32768, 32768, 32768, 32768, 0, platform::Hat::OTHER};
        platform::install_joystick(std::make_unique<SetStick>(&now));
        init_joystick();
        cyclic_control = collective_control = tailrotor_control = 0;
        create_preferences_screens();
    }
    void TearDown() override {
        platform::select_joystick_backend(false);
        product_language = LANG_ENGLISH;
        cyclic_control = collective_control = tailrotor_control = 0;
        apply_control_type();
        MenuObjects::TearDown();
    }

    static void press(const char* name) {
        UiObject* button = find(preferences_screen, name);
        ASSERT_NE(button, nullptr) << name;
        Event select{EV_SELECT, 0, 0, 0, 0};
        button->notify(button, select);
    }
    static const char* text(const char* name) { return get_ui_text(find(preferences_screen, name)); }
    static UiObject* sprite(const char* name) { return find(preferences_screen, name); }
    // The sprites shown, of the five of the hat.
    static std::vector<std::string> hats_shown() {
        std::vector<std::string> shown;
        for (const char* name : {"Coolie C sprite", "Coolie T sprite", "Coolie R sprite", "Coolie B sprite",
                                 "Coolie L sprite"})
            if (is_ui_shown(sprite(name))) shown.push_back(name);
        return shown;
    }

    platform::JoystickReading now;
};

TEST_F(ControlDevices, JoystickMinusStepsBackFromTheKeyboardThroughEveryStick) {
    const struct {
        const char* text;
        int type, stick;
    } steps[] = {{"Virtual Pilot Pro", 2, STICK_POV_HAT},
                 {"Flightstick Pro", 3, STICK_POV_HAT},
                 {"Thrustmaster FCS Mk1", 4, STICK_AXIS_HAT},
                 {"Joystick", 2, STICK_AXIS_HAT},
                 {"Keyboard", 1, STICK_AXIS_HAT}};
    int choice = 4;
    for (const auto& step : steps) {
        press("Joystick -");
        EXPECT_EQ(cyclic_control, choice);
        EXPECT_STREQ(text("Joystick text"), step.text);
        EXPECT_EQ(control_type, step.type) << step.text;
        EXPECT_EQ(stick_type, step.stick) << step.text;
        int stored = -1;
        EXPECT_TRUE(get_pref_int("Cyclic control", &stored));
        EXPECT_EQ(stored, choice--);
    }
    press("Joystick +");
    EXPECT_STREQ(text("Joystick text"), "Joystick");
}

TEST_F(ControlDevices, TheFcsTakesTheThrottleOffAThrottleStick) {
    cyclic_control = 1;
    press("Throttle +");
    EXPECT_STREQ(text("Throttle text"), "Throttle Stick");
    press("Joystick +");
    EXPECT_EQ(collective_control, 0);
    EXPECT_EQ(joystick_throttle, 0);
    EXPECT_STREQ(text("Throttle text"), "Keyboard");
}

TEST_F(ControlDevices, ItalianTextsForTheKeyboardThrottleStickAndPedals) {
    product_language = LANG_ITALIAN;
    refresh_preferences_screen();
    EXPECT_STREQ(text("Joystick text"), "Tastiera");
    EXPECT_STREQ(text("Throttle text"), "Tastiera");
    press("Throttle -");
    press("Rudder -");
    EXPECT_STREQ(text("Throttle text"), "Manetta");
    EXPECT_STREQ(text("Rudder text"), "Pedali");
    press("Joystick +");
    EXPECT_STREQ(text("Joystick text"), "Joystick");
}

TEST_F(ControlDevices, TheSpritesFollowTheStickThrottleAndRudderAsChosen) {
    press("Throttle +");
    press("Rudder +");  // the keyboard still flies the stick
    now = {16384, 16384, 16384, 10000, 0, platform::Hat::OTHER};
    update_calibration_display();
    EXPECT_FALSE(is_ui_shown(sprite("Cyclic sprite")));
    EXPECT_TRUE(is_ui_shown(sprite("Throttle vt sprite")));
    EXPECT_EQ(get_ui_y(sprite("Throttle vt sprite")), 313 - 23) << "the throttle at its minimum";
    EXPECT_EQ(get_ui_x(sprite("Throttle hz sprite")), 373 - 33) << "the rudder at its minimum";
    EXPECT_TRUE(hats_shown().empty());

    now = {32768, 32768, 32768, 32768, 0, platform::Hat::OTHER};
    press("Joystick +");  // the stick's centre taken afresh
    const struct {
        uint32_t x, y, z;
        int sprite_x, sprite_y, throttle_y;
    } readings[] = {{16384, 16384, 10000, 474 - 29, 353 - 25, 313 - 23},
                    {32768, 32768, 32768, 474, 353, 313},
                    // The reading that widened the range to itself is the range's very end.
                    {60000, 60000, 60000, 474 + 29, 353 + 25, 313 + 23}};
    for (const auto& r : readings) {
        now = {r.x, r.y, 32768, r.z, 0, platform::Hat::OTHER};
        update_calibration_display();
        EXPECT_TRUE(is_ui_shown(sprite("Cyclic sprite")));
        EXPECT_EQ(get_ui_x(sprite("Cyclic sprite")), r.sprite_x) << r.x;
        EXPECT_EQ(get_ui_y(sprite("Cyclic sprite")), r.sprite_y) << r.y;
        EXPECT_EQ(get_ui_y(sprite("Throttle vt sprite")), r.throttle_y) << r.z;
    }
    press("Throttle -");
    press("Rudder -");
    update_calibration_display();
    EXPECT_FALSE(is_ui_shown(sprite("Throttle vt sprite")));
    EXPECT_FALSE(is_ui_shown(sprite("Throttle hz sprite")));
}

TEST_F(ControlDevices, TheHatIsReadFromTheThrottleAxisOfTheFcsAndFromTheStickOfTheOthers) {
    press("Joystick -");
    press("Joystick -");
    press("Joystick -");  // the FCS
    // By scales as (raw - 20) / 20 below its centre and 255 - (5100 - raw) / 20 above it.
    const struct {
        uint32_t by;
        const char* hat;
    } fcs[] = {{20, "Coolie T sprite"},   {680, "Coolie T sprite"}, {820, "Coolie R sprite"},
               {2560, "Coolie B sprite"}, {4000, "Coolie L sprite"}, {5100, "Coolie C sprite"}};
    for (const auto& c : fcs) {
        joystick_state.minimum[AXIS_BY] = 20;
        joystick_state.centre[AXIS_BY] = 2560;
        joystick_state.maximum[AXIS_BY] = 5100;
        now.z = c.by;
        update_calibration_display();
        EXPECT_EQ(hats_shown(), std::vector<std::string>{c.hat}) << c.by;
    }
    press("Joystick +");  // the Flightstick Pro's own hat
    now.hat = platform::Hat::LEFT;
    update_calibration_display();
    EXPECT_EQ(hats_shown(), std::vector<std::string>{"Coolie L sprite"});
}

}  // namespace
}  // namespace vyr
