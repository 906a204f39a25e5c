// Whole flights as the program flies them, heard: a game entry of the test's own starts "Game
// Thread" headless under the virtual clock with the null sound device captured, and a script
// quits 50 s into the flight. Nothing but the radio chatter makes a sound in flight yet, so what is
// heard is the chatter.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "library/graphics/palette.h"
#include "library/sound/samples.h"
#include "library/system/library.h"
#include "library/system/thread.h"
#include "library/system/winmain.h"
#include "platform/audio/audio.h"
#include "platform/timer/timer.h"
#include "platform/window/script.h"
#include "source/drone/drone_types.h"
#include "source/flight.h"
#include "source/frame_loop.h"
#include "source/menus/front_end.h"
#include "source/menus/missions/catalogue.h"
#include "source/menus/missions/mission_data.h"
#include "source/preferences.h"
#include "source/startup.h"
#include "source/weapons/weapon_info.h"
#include "tests/library/system/system_scenario.h"
#include "tests/support/headless_world.h"

namespace vyr {
namespace {

constexpr int PERIODS_PER_SECOND = 100;
constexpr int FRAMES_PER_SECOND = 44100;  // of the captured stereo mix
constexpr int WINDOW_FRAMES = FRAMES_PER_SECOND / 10;
constexpr int32_t TICKS_PER_PERIOD = 2;
constexpr int32_t FIRST_CHATTER_TICK = 6000;
constexpr size_t OWN_SOUNDS_TENTHS = 20;

int flown_flow = FLOW_QUICK_START;

bool thread_alive(uint32_t id) {
    for (int i = 0; i < thread_count; ++i)
        if (thread_table[i].id == id) return true;
    return false;
}

// Tenths of a second, from the capture's start, at which a sound begins after at least a second
// of silence (the pauses within one call are shorter). The first two seconds are the aircraft's
// own, whose systems sound as the flight starts.
std::vector<int> onsets(const std::vector<int16_t>& mix) {
    std::vector<int> found;
    int quiet_tenths = 10;
    for (size_t start = 0, tenth = 0; start + 2 * WINDOW_FRAMES <= mix.size(); start += 2 * WINDOW_FRAMES, ++tenth) {
        double sum = 0;
        for (size_t i = start; i < start + 2 * WINDOW_FRAMES; ++i) sum += double(mix[i]) * mix[i];
        if (std::sqrt(sum / (2 * WINDOW_FRAMES)) <= 200) {
            ++quiet_tenths;
            continue;
        }
        if (quiet_tenths >= 10 && tenth >= OWN_SOUNDS_TENTHS) found.push_back(int(tenth));
        quiet_tenths = 0;
    }
    return found;
}

// The start-up of the game as far as the flight needs it, the mission of the flow, the flight,
// then what was heard and when the first chatter slot came, in tenths from the capture's start.
int fly_and_listen(int, char**) {
    init_library("vyr.rop");
    apply_preferences();
    init_sound();
    set_war_zone(2);
    start_accelerator();
    set_screen_mode(0, 1);
    init_weapon_info();
    init_pylon_types();
    init_sensor_types();
    init_drone_types();
    set_game_flow(flown_flow);
    if (flown_flow == FLOW_SINGLE_MISSION) {
        Mission* mission = create_mission_record();
        mission->flow = FLOW_SINGLE_MISSION;
        mission->zone = 2;
        mission->number = 1;
        current_mission = mission;
        load_mission(mission);
    } else {
        load_mission_catalogue();
        prepare_quick_mission();
    }

    platform::start_audio_capture();
    const uint64_t capture_start = platform::timer_periods();
    const uint32_t id = start_game_thread();
    while (thread_alive(id)) yield_thread();
    const std::vector<int16_t> mix = platform::take_audio_capture();
    const uint64_t flight_end = platform::timer_periods();

    const int64_t slot = int64_t(flight_end) - (game_clock - FIRST_CHATTER_TICK) / TICKS_PER_PERIOD;
    std::string report = "slot=" + std::to_string((slot - int64_t(capture_start)) * 10 / PERIODS_PER_SECOND) +
                         " clock=" + std::to_string(game_clock) + " onsets=";
    for (int tenth : onsets(mix)) report += std::to_string(tenth) + ",";
    std::fprintf(stderr, "%s\n", report.c_str());
    std::fflush(stderr);
    std::_Exit(0);
}

class ChatterFlight : public SystemScenarios {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    }

    // Flies the flow for 50 s and answers the report line.
    std::string fly(int flow) {
        std::string output;
        const std::string home_path = home.path().string();
        EXPECT_EXIT(
            {
                setenv("VYR_DATA", GENERATED_DATA.c_str(), 1);
                setenv("VYR_HOME", home_path.c_str(), 1);
                flown_flow = flow;
                HeadlessWindowThread world(platform::AudioBackend::NUL);
                // Alt+X at 52 s, then Y: the flight starts within the first 3 s.
                std::vector<platform::ScriptEvent> script;
                std::string error;
                parse_script("5200 key 0x38 down\n5202 key 0x2d down\n5204 key 0x2d up\n5206 key 0x38 up\n"
                             "5260 key 0x15 down\n5262 key 0x15 up\n",
                             script, error);
                world.window()->set_script(script);
                win_main(fly_and_listen, "");
                std::_Exit(1);
            },
            testing::ExitedWithCode(0), testing::Matcher<const std::string&>(testing::Truly([&output](const std::string& text) {
                output = text;
                return true;
            })));
        EXPECT_EQ(output.find("runtime error"), std::string::npos) << output;
        const size_t report = output.rfind("slot=");
        return report == std::string::npos ? output : output.substr(report);
    }

    ScratchDirectory home;
};

TEST_F(ChatterFlight, ASingleMissionHearsTheOpeningCallOnceThirtySecondsIn) {
    const std::string report = fly(FLOW_SINGLE_MISSION);
    int slot = 0, clock = 0, first = 0;
    ASSERT_EQ(std::sscanf(report.c_str(), "slot=%d clock=%d onsets=%d,", &slot, &clock, &first), 3) << report;
    EXPECT_GT(clock, 48 * 200) << "the flight lasted its 50 s";
    EXPECT_NEAR(first, slot, 5) << report;
    EXPECT_EQ(report.find(','), report.rfind(',')) << "one call only: " << report;
}

TEST_F(ChatterFlight, AQuickStartHearsNoChatter) {
    const std::string report = fly(FLOW_QUICK_START);
    EXPECT_NE(report.find("onsets=\n"), std::string::npos) << report;
}

}  // namespace
}  // namespace vyr
