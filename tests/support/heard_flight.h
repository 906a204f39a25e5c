// Whole flights as the program flies them, heard: a game entry of the test's own starts "Game
// Thread" headless under the virtual clock with the null sound device captured, a script plays
// the pilot's keys, and the entry reports one line that the test reads back.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "library/graphics/palette.h"
#include "library/sound/dsound.h"
#include "library/sound/samples.h"
#include "library/system/library.h"
#include "library/system/thread.h"
#include "library/system/winmain.h"
#include "platform/audio/audio.h"
#include "platform/timer/timer.h"
#include "platform/window/script.h"
#include "source/flight.h"
#include "source/game_main.h"
#include "source/menus/front_end.h"
#include "source/menus/missions/catalogue.h"
#include "source/menus/missions/mission_data.h"
#include "source/preferences.h"
#include "source/startup.h"
#include "tests/library/system/system_scenario.h"
#include "tests/support/headless_world.h"
#include "tests/support/scratch.h"

namespace vyr {

constexpr int HEARD_PERIODS_PER_SECOND = 100;
constexpr int HEARD_FRAMES_PER_SECOND = 44100;  // of the captured stereo mix

// The engine's hum and the afterburner's roar would drown quiet sounds and the pauses between
// them: a `before_flight` that makes their rows silent.
inline void silence_engine() {
    for (int row : {0, 3}) {
        const SampleInfo& info = sample_table[row];
        if (uint8_t* bytes = info.buffer ? lock_sound_buffer(info.buffer, 0, info.length) : nullptr) {
            std::memset(bytes, 128, size_t(info.length));
            unlock_sound_buffer(info.buffer, bytes, info.length);
        }
    }
}

// The flow the game entry flies, set in the child before it starts.
inline int heard_flow = FLOW_QUICK_START;

struct HeardFlight {
    std::vector<int16_t> mix;  // stereo, from the flight's start
    uint64_t capture_start = 0, flight_end = 0;  // timer periods
};

// In the game entry: the start-up as far as a flight needs it, the mission of `heard_flow` (a
// single mission of Korea, else the quick start), `before_flight`, the flight, and what was heard.
inline HeardFlight fly_heard(void (*before_flight)() = [] {}) {
    init_library("vyr.rop");
    apply_preferences();
    init_sound();
    set_war_zone(2);
    start_accelerator();
    set_screen_mode(0, 1);
    load_flight_data();
    set_game_flow(heard_flow);
    if (heard_flow == FLOW_SINGLE_MISSION) {
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
    before_flight();
    HeardFlight flight;
    platform::start_audio_capture();
    flight.capture_start = platform::timer_periods();
    const uint32_t id = start_game_thread();
    for (bool alive = true; alive;) {
        yield_thread();
        alive = false;
        for (int i = 0; i < thread_count; ++i) alive = alive || thread_table[i].id == id;
    }
    flight.mix = platform::take_audio_capture();
    flight.flight_end = platform::timer_periods();
    return flight;
}

class HeardFlights : public SystemScenarios {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    }

    // Runs `entry` as the game over `flow` in a child whose window plays `script`, and answers
    // stderr from the last line that begins with `tag`.
    std::string fly(int (*entry)(int, char**), int flow, const std::string& script, const std::string& tag) {
        std::string output;
        const std::string home_path = home.path().string();
        EXPECT_EXIT(
            {
                setenv("VYR_DATA", GENERATED_DATA.c_str(), 1);
                setenv("VYR_HOME", home_path.c_str(), 1);
                heard_flow = flow;
                HeadlessWindowThread world(platform::AudioBackend::NUL);
                std::vector<platform::ScriptEvent> events;
                std::string error;
                parse_script(script, events, error);
                world.window()->set_script(events);
                win_main(entry, "");
                std::_Exit(1);
            },
            testing::ExitedWithCode(0), testing::Matcher<const std::string&>(testing::Truly([&output](const std::string& text) {
                output = text;
                return true;
            })));
        EXPECT_EQ(output.find("runtime error"), std::string::npos) << output;
        const size_t report = output.rfind(tag);
        return report == std::string::npos ? output : output.substr(report);
    }

    ScratchDirectory home;
};

}  // namespace vyr
