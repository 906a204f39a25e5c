// The preferences screens and the general settings they change.
#pragma once

#include <cstdint>

namespace vyr {

// "Mission Planner".
extern int32_t mission_planner;

struct UiObject;
extern UiObject* preferences_screen;
void create_preferences_screens();
// The screens' controls from the settings.
void refresh_preferences_screen();

// Level 0 to 9.
void set_visual_detail(int level);

// The chosen control devices into the flight controls' settings.
void apply_control_type();

}  // namespace vyr
