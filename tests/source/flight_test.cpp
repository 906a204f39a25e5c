// A whole flight on the seams, as the program flies it: a game entry of the test's own starts
// "Game Thread" over the generated data, headless under the virtual clock, and a script takes the
// player into the quit box and out of it.
#include "source/flight.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "library/graphics/display.h"
#include "platform/accel/framebuffer.h"
#include "platform/timer/timer.h"
#include "source/frame_loop.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/stores.h"
#include "tests/library/system/system_scenario.h"
#include "tests/support/quick_start_flight.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;
namespace accel = platform::accel;

const std::string QUIT_BOX_CAPTURE = std::string(VYR_BUILD_DIR) + "/flight_quit_box.ppm";
const std::string FLYING_CAPTURE = std::string(VYR_BUILD_DIR) + "/flight_after_no.ppm";

// Alike but for the dither of the frame buffer's 16-bit colours.
bool alike(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 16) return false;
    return true;
}

char flight_report[32];

// Korea's air-combat quick start with free weapons and crashes on; the report says how it ended.
QuickStartFlight flight_to_report() {
    QuickStartFlight flight;
    flight.before = [] {
        unlimited_weapons = 1;
        crashing_off = 0;
        std::snprintf(flight_report, sizeof flight_report, "started=%d", int(platform::timer_periods()));
    };
    flight.after = [] {
        std::fprintf(stderr,
                     "die_flag=%d video_mode=%d shown_3d=%d in_flight=%d flight_running=%d unlimited_weapons=%d "
                     "frames=%d %s\n",
                     die_flag, get_video_mode(), accel::is_3d_display_shown() ? 1 : 0, in_flight.load(),
                     flight_running, unlimited_weapons, frame_count, flight_report);
        std::fflush(stderr);
    };
    return flight;
}

class Flight : public SystemScenarios {
protected:
    void SetUp() override {
        if (!fs::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    }
    ScratchDirectory home;
};

TEST_F(Flight, TheQuitBoxAsksAndYesEndsTheFlightBackInTheMenus) {
    std::string output;
    const std::string home_path = home.path().string();
    EXPECT_EXIT(
        {
            std::vector<platform::ScriptEvent> script;
            add_quit_question(script, 400, 0x31, QUIT_BOX_CAPTURE);
            add_capture(script, 540, FLYING_CAPTURE);
            add_quit_question(script, 600, 0x15, std::string(VYR_BUILD_DIR) + "/flight_quit_box_again.ppm");
            fly_headless(flight_to_report(), home_path, script);
        },
        testing::ExitedWithCode(0), testing::Matcher<const std::string&>(testing::Truly([&output](const std::string& text) {
            output = text;
            return true;
        })));
    EXPECT_NE(output.find("die_flag=1 video_mode=1 shown_3d=0 in_flight=0 flight_running=0 unlimited_weapons=1"),
              std::string::npos)
        << output;
    int frames = 0, started = 0;
    ASSERT_EQ(std::sscanf(output.c_str() + output.find("frames="), "frames=%d started=%d", &frames, &started), 2);
    EXPECT_LT(started, 300) << "the flight is under way before the script's first key";
    EXPECT_GT(frames, 20);

    const Picture box = read_ppm(QUIT_BOX_CAPTURE);
    const Picture flying = read_ppm(FLYING_CAPTURE);
    ASSERT_EQ(box.width, 640);
    ASSERT_EQ(flying.width, 640);
    // The box's rim at (194, 98) to (445, 197) over the 3D frame; after N the frame goes on without it.
    EXPECT_TRUE(alike(box.at(194, 98), box.at(445, 197))) << "the rim's corners";
    EXPECT_FALSE(alike(box.at(194, 98), box.at(193, 97))) << "the frame around the box is the 3D view";
    EXPECT_FALSE(alike(flying.at(194, 98), box.at(194, 98)));
    EXPECT_EQ(box.at(639, 300), 0u) << "the frame's right-most column is black";
}

// Mode 6 is a two-player game: its flight ends on the scores as the others do, where it was fatal.
TEST_F(Flight, EveryTwoPlayerModeIsDebriefedAndAnUnknownModeIsFatal) {
    for (int mode : {int(GAME_COMBAT), int(GAME_LINKED_MISSION), int(GAME_CAPTURE_FLAG), 7}) {
        EXPECT_EXIT(
            {
                game_mode = mode;
                debrief_flight(0);
                std::_Exit(0);
            },
            testing::ExitedWithCode(0), "")
            << mode;
    }
    for (int mode : {8, -1}) {
        EXPECT_EXIT(
            {
                game_mode = mode;
                debrief_flight(0);
            },
            testing::ExitedWithCode(255), "Can't debrief an unknown game mode")
            << mode;
    }
}

}  // namespace
}  // namespace vyr
