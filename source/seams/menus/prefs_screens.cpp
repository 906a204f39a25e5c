// Stand-in for the preferences screens, which show only their background and a way back.
#include "source/menus/prefs_screens.h"

#include "source/controls.h"
#include "source/menus/screens.h"

namespace vyr {

UiObject* preferences_screen = nullptr;

void set_visual_detail(int) {}

// Flown from the keyboard until the control devices are chosen.
void apply_control_type() {
    control_type = CONTROL_KEYBOARD;
    joystick_throttle = joystick_throttle_curve = joystick_rudder = 0;
}

void create_preferences_screens() {
    preferences_screen = create_bare_screen("Preferences Screen", "menuscrn\\pref3_of.lbm");
}
void refresh_preferences_screen() {}

}  // namespace vyr
