// Whole flights as the program flies them, heard: a game entry of the test's own starts "Game
// Thread" headless under the virtual clock with the null sound device captured, a script plays
// the pilot's keys, and the entry reports one line that the test reads back.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
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
#include "source/menus/missions/catalogue.h"
#include "source/mission/game_flow.h"
#include "source/mission/mission_data.h"
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
// single mission of Korea, else the quick start of `quick_start_kind`), `before_flight`, the
// flight, and what was heard.
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

constexpr int HEARD_STEREO = 2;

// A sample row as the mix carries it: centred, at the mix's rate.
inline std::vector<double> row_at_mix_rate(int row) {
    const SampleInfo& info = sample_table[row];
    std::vector<double> out;
    if (!info.buffer) return out;
    uint8_t* bytes = lock_sound_buffer(info.buffer, 0, info.length);
    if (!bytes) return out;
    const int frames = int(int64_t(info.length) * HEARD_FRAMES_PER_SECOND / info.rate);
    for (int i = 0; i < frames; ++i) out.push_back(double(bytes[int64_t(i) * info.rate / HEARD_FRAMES_PER_SECOND]) - 128);
    unlock_sound_buffer(info.buffer, bytes, 0);
    return out;
}

// Where the left channel best matches `row`, trying start frames first <= frame < last in steps
// of `step`: the normalised correlation (1000 is a perfect match up to level) and its frame.
struct RowMatch {
    int score = 0;
    size_t frame = 0;
};

inline RowMatch best_match(const std::vector<int16_t>& mix, const std::vector<double>& row, size_t step, size_t first = 0,
                           size_t last = SIZE_MAX) {
    double row_energy = 0;
    for (double v : row) row_energy += v * v;
    double best = 0;
    RowMatch match;
    const size_t frames = mix.size() / HEARD_STEREO;
    for (size_t start = first; start < last && start + row.size() <= frames; start += step) {
        double dot = 0, energy = 0;
        for (size_t i = 0; i < row.size(); ++i) {
            const double v = mix[(start + i) * HEARD_STEREO];
            dot += v * row[i];
            energy += v * v;
        }
        if (energy <= 0 || row_energy <= 0 || dot / std::sqrt(energy * row_energy) <= best) continue;
        best = dot / std::sqrt(energy * row_energy);
        match = {int(best * 1000), start};
    }
    return match;
}

// The level of both channels over `frames` stereo frames from `first`.
inline double rms(const std::vector<int16_t>& mix, size_t first, size_t frames) {
    double sum = 0;
    size_t n = 0;
    for (size_t i = first * HEARD_STEREO; i < (first + frames) * HEARD_STEREO && i < mix.size(); ++i, ++n)
        sum += double(mix[i]) * mix[i];
    return n ? std::sqrt(sum / double(n)) : 0;
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
