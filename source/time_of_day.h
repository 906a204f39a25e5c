// Time of day: the mission's start time plus the mission clock (ticks since midnight, stopping
// at midnight) turned, once a minute of mission time, into the scene's darkness and the sun's
// direction in `view_settings`.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int32_t TICKS_PER_HOUR = 720000;
constexpr int32_t TICKS_PER_DAY = 24 * TICKS_PER_HOUR;

void init_time_of_day();
// Once a frame.
void update_time_of_day();

// Darkness for the time of day t: 0 full daylight .. 0x7FFFFFFF full night.
void sun_factor(int32_t t);
// Sun heading and (negated) elevation for t; before 06:00 and after 20:00 the sun stays put.
void update_sun_position(int32_t t);

}  // namespace vyr
