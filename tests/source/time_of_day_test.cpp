#include "source/time_of_day.h"

#include <gtest/gtest.h>

#include "library/3dvisual/view.h"
#include "source/frame_loop.h"
#include "source/mission/mission_data.h"

namespace vyr {
namespace {

constexpr int32_t HOUR = TICKS_PER_HOUR;
constexpr int32_t FULL_NIGHT = 0x7FFFFFFF;

class TimeOfDay : public testing::Test {
protected:
    void SetUp() override {
        saved = view_settings;
        game_clock = 0;
        reset_mission_world();  // a mission at noon, whatever another test loaded
    }
    void TearDown() override {
        view_settings = saved;
        game_clock = 0;
    }
    static void put_sun(int32_t heading, int32_t elevation) {
        view_settings.sun_heading = heading;
        view_settings.sun_elevation = elevation;
    }
    ViewSettings saved;
};

TEST_F(TimeOfDay, DarknessAtTheEdgesOfItsTable) {
    const struct {
        int32_t t, darkness;
    } cases[] = {{0, FULL_NIGHT},       {4 * HOUR, FULL_NIGHT}, {4 * HOUR + 1, 0x7FFFFD16},
                 {6 * HOUR, 0x40000000}, {8 * HOUR, 0},          {13 * HOUR, 0},
                 {18 * HOUR, 0},         {20 * HOUR, 0x40000000}, {22 * HOUR, FULL_NIGHT},
                 {47 * HOUR / 2, FULL_NIGHT}, {TICKS_PER_DAY, FULL_NIGHT}};
    for (const auto& c : cases) {
        sun_factor(c.t);
        EXPECT_EQ(view_settings.darkness, c.darkness) << c.t;
    }
}

TEST_F(TimeOfDay, TheSunCrossesTheSkyBetweenTenPastSixAndTenToEight) {
    const struct {
        int32_t t;
        uint32_t heading, stored_elevation;
    } cases[] = {
        {6 * HOUR, 0xAAAAAAABu, 0},               // rising in the east-south-east
        {6 * HOUR + HOUR / 6 - 1, 0xAAAAAAABu, 0},
        {13 * HOUR / 2, 0xB0C30C32u, 0xFB6DB6DBu},  // 06:30, a little up
        {12 * HOUR, 0xF3CF3CF4u, 0xD5555555u},    // about -17 degrees, 60 up at most
        {13 * HOUR, 0, 0xD5555555u},
        {39 * HOUR / 2, 0x4F3CF3CEu, 0xFB6DB6DBu},
        {20 * HOUR, 0x55555555u, 0},
    };
    for (const auto& c : cases) {
        put_sun(1, 1);
        update_sun_position(c.t);
        EXPECT_EQ(uint32_t(view_settings.sun_heading), c.heading) << c.t;
        EXPECT_EQ(uint32_t(view_settings.sun_elevation), c.stored_elevation) << c.t;
    }
    for (const int32_t night : {0, 5 * HOUR, 6 * HOUR - 1, 20 * HOUR + 1, 47 * HOUR / 2, TICKS_PER_DAY}) {
        put_sun(1, 2);
        update_sun_position(night);
        EXPECT_EQ(view_settings.sun_heading, 1) << night;
        EXPECT_EQ(view_settings.sun_elevation, 2) << night;
    }
}

TEST_F(TimeOfDay, AMissionAtNoonIsInDaylightAndTheClockStepsItOnceAMinute) {
    view_settings.darkness = 5;
    init_time_of_day();
    EXPECT_EQ(view_settings.darkness, 0);
    EXPECT_EQ(uint32_t(view_settings.sun_elevation), 0xD5555555u);
    EXPECT_EQ(uint32_t(view_settings.sun_heading), 0xF3CF3CF4u);

    game_clock = 7 * HOUR - 1;  // a tick before 19:00 ...
    update_time_of_day();       // ... is the first update due, a minute in
    EXPECT_EQ(view_settings.darkness, int32_t(int64_t(HOUR - 1) * (int64_t(1) << 31) / (4 * HOUR)));
    game_clock += 11999;
    put_sun(1, 2);
    update_time_of_day();
    EXPECT_EQ(view_settings.sun_heading, 1);  // the next is a minute later
    game_clock += 1;
    update_time_of_day();
    EXPECT_NE(view_settings.sun_heading, 1);
}

// From noon the clock reaches 23:30 and then midnight, where it stays: the morning of the next
// day, were the clock to run on, would bring back the light and the sun.
TEST_F(TimeOfDay, TimeStopsAtMidnight) {
    init_time_of_day();
    for (const int32_t clock : {23 * HOUR / 2, 12 * HOUR, 20 * HOUR, 25 * HOUR}) {  // 23:30 .. 13:00 tomorrow
        game_clock = clock;
        put_sun(1, 2);
        update_time_of_day();
        EXPECT_EQ(view_settings.darkness, FULL_NIGHT) << clock;
        EXPECT_EQ(view_settings.sun_heading, 1) << clock;
        EXPECT_EQ(view_settings.sun_elevation, 2) << clock;
    }
}

// A flight starts its mission time at 0, whatever the clock held when the last one ended.
TEST_F(TimeOfDay, TheFirstStepComesAMinuteIntoEveryFlight) {
    game_clock = 30 * 12000;  // the end of a half-hour flight
    init_time_of_day();
    game_clock = 12000;
    put_sun(1, 2);
    update_time_of_day();
    EXPECT_NE(view_settings.sun_heading, 1);
}

}  // namespace
}  // namespace vyr
