// The preferences screens and the general settings they change: every change is stored at once
// under its key, and the settings file is written when the Preferences Screen is left.
#pragma once

#include <cstdint>

#include "source/menus/control_devices.h"

namespace vyr {

// "Mission Planner": the map screen shows its tools while it is set.
extern int32_t mission_planner;

struct UiObject;
struct Event;
extern UiObject* preferences_screen;
extern UiObject* visual_preferences_screen;
// Both screens; then "Animations" stored when absent, the carried-over joystick calibration
// dropped when "DOS Flag" is 1, "DOS Flag" stored as 0, and the controls refreshed.
void create_preferences_screens();
// The control choice applied and every control of the Preferences Screen set from the settings.
void refresh_preferences_screen();

// Level 0 to 9 into the view and smoke settings; any other level changes nothing.
void set_visual_detail(int level);

// The controls' notify callbacks. Skill stops at 1 and 10, storing nothing there; sound options
// stay off when they need a sound device that cannot be opened.
void raise_forces_type(UiObject* object, Event& event);
void lower_forces_type(UiObject* object, Event& event);
void enable_mission_planner(UiObject* object, Event& event);
void disable_mission_planner(UiObject* object, Event& event);
void enable_animations(UiObject* object, Event& event);
void disable_animations(UiObject* object, Event& event);
void toggle_speech(UiObject* object, Event& event);
void toggle_music(UiObject* object, Event& event);
void set_effects_off(UiObject* object, Event& event);
void set_effects_minimal(UiObject* object, Event& event);
// Nothing at all, not even a refresh, while the full bank is loaded.
void set_effects_full(UiObject* object, Event& event);
// Shown: the display's view, the controls and the joystick display; hidden: the calibration
// stored and the settings file written.
void preferences_screen_shown(UiObject* object, Event& event);

}  // namespace vyr
