// The preferences screens and the general settings they change.
#pragma once

#include <cstdint>

namespace vyr {

// "Mission Planner".
extern int32_t mission_planner;

// Level 0 to 9.
void set_visual_detail(int level);

// The chosen control devices into the flight controls' settings.
void apply_control_type();

}  // namespace vyr
