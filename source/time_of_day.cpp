#include "source/time_of_day.h"

#include <algorithm>
#include <cstdlib>

#include "library/3dvisual/view.h"
#include "source/frame_loop.h"
#include "source/mission/mission_data.h"

namespace vyr {

namespace {

constexpr int32_t UPDATE_INTERVAL = 12000;  // one minute of mission time
constexpr int32_t FULL_NIGHT = 0x7FFFFFFF;
constexpr int64_t HALF_TURN = int64_t(1) << 31;
constexpr int32_t SUNRISE = 6 * TICKS_PER_HOUR, SUNSET = 20 * TICKS_PER_HOUR;
constexpr int32_t SUN_UP = SUNRISE + TICKS_PER_HOUR / 6, SUN_DOWN = SUNSET - TICKS_PER_HOUR / 6;
constexpr int32_t NOON = 13 * TICKS_PER_HOUR;  // the sun's highest
constexpr int32_t HALF_DAYLIGHT = 7 * TICKS_PER_HOUR;
constexpr uint32_t SUNRISE_HEADING = 0xAAAAAAABu;  // -120 degrees
constexpr uint32_t SUNSET_HEADING = 0x55555555u;   // +120 degrees
constexpr int64_t HIGHEST_SUN = 0x2AAAAAAB;        // 60 degrees

int32_t time_of_day_start = 0;
int32_t next_update = 0;

int64_t mul31_rounded(int64_t a, int64_t b) { return (a * b + (int64_t(1) << 30)) >> 31; }

void set_sun(uint32_t heading, int64_t elevation) {
    view_settings.sun_heading = int32_t(heading);
    view_settings.sun_elevation = int32_t(-elevation);
}

void show_time(int32_t t) {
    sun_factor(t);
    update_sun_position(t);
}

}  // namespace

void sun_factor(int32_t t) {
    constexpr int32_t DAWN = 4 * TICKS_PER_HOUR, DAY = 8 * TICKS_PER_HOUR;
    constexpr int32_t DUSK = 18 * TICKS_PER_HOUR, NIGHT = 22 * TICKS_PER_HOUR, FADE = 4 * TICKS_PER_HOUR;
    int32_t darkness;
    if (t <= DAWN || t >= NIGHT)
        darkness = FULL_NIGHT;
    else if (t < DAY)
        darkness = int32_t(int64_t(DAY - t) * HALF_TURN / FADE);
    else if (t <= DUSK)
        darkness = 0;
    else
        darkness = int32_t(int64_t(t - DUSK) * HALF_TURN / FADE);
    view_settings.darkness = darkness;
}

void update_sun_position(int32_t t) {
    if (t < SUNRISE || t > SUNSET) return;
    if (t < SUN_UP) return set_sun(SUNRISE_HEADING, 0);
    if (t > SUN_DOWN) return set_sun(SUNSET_HEADING, 0);
    const int64_t f = int64_t(std::abs(t - NOON)) * HALF_TURN / HALF_DAYLIGHT;
    const int64_t swing = mul31_rounded(f, 0x55555555);  // two thirds
    const uint32_t heading = t < NOON ? uint32_t(-swing) : uint32_t(swing);
    set_sun(heading, std::min(0x40000000 - f / 2, HIGHEST_SUN));
}

void init_time_of_day() {
    time_of_day_start = get_mission_start_time();
    show_time(time_of_day_start);
    // Mission time starts at 0 with the flight, whatever the clock still holds from the last one.
    next_update = UPDATE_INTERVAL;
}

void update_time_of_day() {
    if (game_clock < next_update) return;
    show_time(int32_t(std::clamp<int64_t>(int64_t(time_of_day_start) + game_clock, 0, TICKS_PER_DAY)));
    next_update = game_clock + UPDATE_INTERVAL;
}

}  // namespace vyr
