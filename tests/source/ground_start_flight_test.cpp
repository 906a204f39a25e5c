// The ground-attack quick starts flown from their first frame: each begins on its home runway's
// threshold lined up with it, rolls straight down it, and takes off with the stick pulled back at
// rotation speed, undamaged.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "library/3dvisual/features.h"
#include "library/3dvisual/terrain.h"
#include "source/avionics/failures.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/sknet/game_rules.h"
#include "library/system/key.h"
#include "tests/library/system/system_scenario.h"
#include "tests/support/paths.h"
#include "tests/support/quick_start_flight.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;


struct Outcome {
    int end = -1, failures = -1, on_ground = -1, height_ft = -1, knots = -1, surface = -1;
};

// How the flight stood when the quit box ended it (or a crash before).
void report_outcome() {
    int failures = 0;
    for (uint8_t b : system_failures.bytes) failures |= b;
    const Vector3& at = player_position->position;
    std::fprintf(stderr, "outcome %d %d %d %d %d %d\n", die_flag, failures, player_flight_data.on_ground,
                 int((at.z - get_ground_height(at.x, at.y)) / 256), player_flight_data.airspeed,
                 get_feature_kind(at.x, at.y));
    std::fflush(stderr);
}

const struct Zone {
    int number;
    const char* name;
} ZONES[] = {{1, "Israel"}, {2, "Korea"}, {3, "Cyprus"}, {4, "Afghanistan"}};

class GroundStarts : public SystemScenarios {
protected:
    void SetUp() override {
        if (!fs::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    }

    // The zone's ground-attack quick start with crashes on, the script's keys, and the quit box at `end`.
    Outcome fly(int war_zone, std::vector<platform::ScriptEvent> script, uint64_t end) {
        QuickStartFlight flight;
        flight.war_zone = war_zone;
        flight.kind = 2;
        flight.before = [] { crashing_off = invincible = 0; };
        flight.after = report_outcome;
        add_quit_question(script, end, SCAN_Y, (home.path() / "quit.ppm").string());
        const std::string home_path = home.path().string();
        std::string output;
        EXPECT_EXIT(fly_headless(flight, home_path, script), testing::ExitedWithCode(0),
                    testing::Truly([&output](const std::string& text) {
                        output = text;
                        return true;
                    }));
        Outcome o;
        const size_t at = output.find("outcome ");
        if (at != std::string::npos)
            std::sscanf(output.c_str() + at, "outcome %d %d %d %d %d %d", &o.end, &o.failures, &o.on_ground, &o.height_ft,
                        &o.knots, &o.surface);
        return o;
    }
    ScratchDirectory home;
};

// No input for the first 5 s (the quick start's engine is at full power), then the throttle held
// forward and the stick back for 1.5 s: by 12 s the aircraft climbs away undamaged.
TEST_F(GroundStarts, ATakeOffAtRotationSpeedClimbsAwayUndamaged) {
    for (const Zone& zone : ZONES) {
        std::vector<platform::ScriptEvent> script;
        script.push_back(script_event(1000, platform::ScriptEvent::KEY, SCAN_EQUALS, true));
        script.push_back(script_event(1000, platform::ScriptEvent::KEY, SCAN_DOWN, true));
        script.push_back(script_event(1300, platform::ScriptEvent::KEY, SCAN_DOWN, false));
        const Outcome o = fly(zone.number, script, 2400);
        EXPECT_EQ(o.end, END_QUIT) << zone.name << ": ended by the quit box, not a crash or a collision";
        EXPECT_EQ(o.failures, 0) << zone.name;
        EXPECT_EQ(o.on_ground, 0) << zone.name;
        EXPECT_GT(o.height_ft, 500) << zone.name;
    }
}

// Untouched, the aircraft rolls straight down the runway's line: after 7 s, some 2,000 ft on at
// about 200 knots, it is still on the runway, undamaged.
TEST_F(GroundStarts, UntouchedTheAircraftRollsDownTheRunway) {
    for (const Zone& zone : ZONES) {
        const Outcome o = fly(zone.number, {}, 1400);
        EXPECT_EQ(o.end, END_QUIT) << zone.name;
        EXPECT_EQ(o.failures, 0) << zone.name;
        EXPECT_EQ(o.on_ground, 1) << zone.name;
        EXPECT_EQ(o.surface, FEATURE_RUNWAY) << zone.name;
        EXPECT_GT(o.knots, 150) << zone.name;
    }
}

}  // namespace
}  // namespace vyr
