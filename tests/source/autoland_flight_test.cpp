// Autoland flown whole: the landing practice over Nevada starts 4 nm out on the approach; Alt+A
// hands the aircraft to autoland, which flies it down the glide slope under the airframe and the
// runway cameras, lands it and hands it back rolling on the runway with the wheel brakes on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "source/avionics/autoland.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/recorder.h"
#include "tests/library/system/system_scenario.h"
#include "tests/support/quick_start_flight.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;

constexpr int LANDING_PRACTICE = 2;
constexpr uint64_t EVERY = 250;
// A little after the hand-back, before the roll-out ends.
constexpr uint64_t END = 4900;

class AutolandFlight : public SystemScenarios {
protected:
    void SetUp() override {
        if (!fs::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    }
    std::string capture(uint64_t at) const { return (home.path() / ("autoland_" + std::to_string(at) + ".ppm")).string(); }
    ScratchDirectory home;
};

// Distinct colours of a frame, sampled: a black or empty frame has one or two.
size_t colours_in(const Picture& p) {
    std::set<uint32_t> seen;
    for (int y = 0; y < p.height; y += 4)
        for (int x = 0; x < p.width; x += 4) seen.insert(p.at(x, y));
    return seen.size();
}

TEST_F(AutolandFlight, AltAFliesTheApproachLandsAndHandsBackOnTheRunway) {
    QuickStartFlight flight;
    flight.training = LANDING_PRACTICE;
    flight.after = [] {
        int waypoints = 0, landed_grade = 0;
        for (FlightEventBlock* b = first_event_block; b; b = b->next)
            for (const FlightEventRecord& r : b->records) {
                if (r.kind == RECORD_WAYPOINT_ACHIEVED) ++waypoints;
                if (r.kind == RECORD_PLAYER_LANDED && !landed_grade) landed_grade = int(r.reference);
            }
        std::fprintf(stderr, "end=%d autoland=%d engaged=%d brakes=%d on_ground=%d waypoints=%d landed=%d\n", die_flag,
                     autoland_on, autoland_engaged, wheel_brake_state, player_flight_data.on_ground, waypoints, landed_grade);
        std::fflush(stderr);
    };
    std::vector<platform::ScriptEvent> script;
    using platform::ScriptEvent;
    for (const auto& [at, code, down] : {std::tuple{100, 0x38, true}, {102, 0x1E, true}, {104, 0x1E, false}, {106, 0x38, false}})
        script.push_back(script_event(uint64_t(at), ScriptEvent::KEY, code, down));
    for (uint64_t at = EVERY; at < END; at += EVERY) add_capture(script, at, capture(at));
    add_quit_question(script, END, 0x15, (home.path() / "quit.ppm").string());
    std::string output;
    const std::string home_path = home.path().string();
    EXPECT_EXIT(fly_headless(flight, home_path, script), testing::ExitedWithCode(0),
                testing::Matcher<const std::string&>(testing::Truly([&output](const std::string& text) {
                    output = text;
                    return true;
                })));
    int end = -1, autoland = -1, engaged = -1, brakes = -1, on_ground = -1, waypoints = -1, landed = -1;
    const size_t at = output.find("end=");
    ASSERT_NE(at, std::string::npos) << output;
    ASSERT_EQ(std::sscanf(output.c_str() + at, "end=%d autoland=%d engaged=%d brakes=%d on_ground=%d waypoints=%d landed=%d",
                          &end, &autoland, &engaged, &brakes, &on_ground, &waypoints, &landed),
              7);
    EXPECT_EQ(end, END_QUIT) << "the flight ended by the quit box, not by a crash";
    EXPECT_EQ(autoland, 0) << "handed back";
    EXPECT_EQ(engaged, 0);
    EXPECT_EQ(brakes, 1) << "with the wheel brakes on";
    EXPECT_EQ(on_ground, 1) << "on the runway";
    EXPECT_GE(waypoints, 2) << "the approach's waypoints passed";
    EXPECT_GE(landed, 1) << "a touchdown graded";
    EXPECT_LE(landed, 4) << "and not a crash or a ditching";
    // Every frame shows the world through one camera or another; kept beside the build to look at.
    const fs::path kept = fs::path(VYR_BUILD_DIR) / "captures" / "autoland";
    fs::create_directories(kept);
    for (uint64_t t = EVERY; t < END; t += EVERY) {
        const Picture p = read_ppm(capture(t));
        ASSERT_EQ(p.width, 640) << t;
        EXPECT_GT(colours_in(p), 8u) << t << ": not a black or empty frame";
        fs::copy_file(capture(t), kept / ("autoland_" + std::to_string(t) + ".ppm"), fs::copy_options::overwrite_existing);
    }
}

}  // namespace
}  // namespace vyr
