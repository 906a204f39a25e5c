// View modes and cameras.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int32_t VIEW_COCKPIT = 0;
constexpr int32_t VIEW_AIRFRAME_CAMERA = 3;
constexpr int32_t VIEW_RUNWAY_CAMERA = 4;
constexpr int32_t VIEW_CRASH = 11;
constexpr int32_t VIEW_REAR_LEFT = 13;
constexpr int32_t VIEW_REAR_RIGHT = 14;

extern int32_t view_mode;

void register_view_keys();

struct ObjectInstance;
// The object the external drone view shows, and the switch to that view.
void set_drone_view_object(ObjectInstance* instance);
void enter_drone_view();

}  // namespace vyr
