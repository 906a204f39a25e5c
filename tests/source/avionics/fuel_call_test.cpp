// The fuel call, heard: it needs the sound device that speaks it.
#include <gtest/gtest.h>

#include <deque>

#include "library/maths/units.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/mission/selection.h"
#include "source/sound/triggers.h"
#include "tests/library/sound/sound_fixture.h"

namespace vyr {
namespace {

constexpr int FUEL_CALL_ROW = 198;

class FuelCall : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        load_tone(FUEL_CALL_ROW);
        view_mode = VIEW_COCKPIT;
        saved_position = player_position;
        pose.position = {1 << 26, 1 << 26, 10000 * FOOT};
        player_position = &pose;
        // The last waypoint a minute away at 100 kt (170 ft/s).
        set_waypoint_position(append_waypoint(&drone), pose.position.x, pose.position.y + 10 * 170 * FOOT, 0);
        set_waypoint_position(append_waypoint(&drone), pose.position.x, pose.position.y + 60 * 170 * FOOT, 0);
        user_drone = &drone;
    }
    void TearDown() override {
        stop_all_sounds();
        select_waypoint(nullptr);
        for (Waypoint* w = drone.first_waypoint; w;) {
            Waypoint* next = w->next;
            free_waypoint(w);
            w = next;
        }
        user_drone = nullptr;
        player_position = saved_position;
        flight_data = {};
        SoundTest::TearDown();
    }
    Pose pose = {};
    Pose* saved_position = nullptr;
    Drone drone = {};
};

TEST_F(FuelCall, SpeaksWhenTheFuelWillNotLastTheRouteAndThreeMinutes) {
    struct Case {
        int32_t fuel, flow, knots;
        bool called;
    };
    // 10 lb/s: 1,000 lb last 100 s, short of the 60 s to go and the 180 s reserve.
    for (const Case c : {Case{1000, 36000, 100, true}, {2500, 36000, 100, false}, {1000, 36000, 0, false},
                         {1000, 0, 100, false}, {1000, 3599, 100, false}}) {
        stop_all_sounds();
        flight_data.total_fuel = c.fuel;
        flight_data.fuel_flow = c.flow;
        flight_data.airspeed = c.knots;
        check_fuel_endurance();
        EXPECT_EQ(channel_sample(0) == FUEL_CALL_ROW && channel_status(0) == SOUND_PLAYING, c.called)
            << c.fuel << " " << c.flow << " " << c.knots;
    }
}

}  // namespace
}  // namespace vyr
