// A whole flight on the seams, as the program flies it: a game entry of the test's own starts
// "Game Thread" over the generated data, headless under the virtual clock, and a script takes the
// player into the quit box and out of it.
#include "source/flight.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "library/graphics/display.h"
#include "library/graphics/palette.h"
#include "library/system/library.h"
#include "library/system/thread.h"
#include "library/system/winmain.h"
#include "platform/accel/framebuffer.h"
#include "platform/timer/timer.h"
#include "source/drone/drone_types.h"
#include "source/frame_loop.h"
#include "source/menus/front_end.h"
#include "source/menus/missions/catalogue.h"
#include "source/sknet/game_rules.h"
#include "source/startup.h"
#include "source/weapons/stores.h"
#include "tests/library/system/system_scenario.h"
#include "tests/support/headless_world.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;
namespace accel = platform::accel;

const std::string QUIT_BOX_CAPTURE = std::string(VYR_BUILD_DIR) + "/flight_quit_box.ppm";
const std::string FLYING_CAPTURE = std::string(VYR_BUILD_DIR) + "/flight_after_no.ppm";

struct Picture {
    int width = 0, height = 0;
    std::string pixels;
    // 0x00RRGGBB
    uint32_t at(int x, int y) const {
        const size_t i = 3 * (size_t(y) * width + x);
        return uint32_t(uint8_t(pixels[i])) << 16 | uint32_t(uint8_t(pixels[i + 1])) << 8 | uint8_t(pixels[i + 2]);
    }
};

Picture read_ppm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    Picture picture;
    std::string magic;
    int depth = 0;
    in >> magic >> picture.width >> picture.height >> depth;
    in.get();
    picture.pixels.assign(size_t(picture.width) * picture.height * 3, '\0');
    in.read(picture.pixels.data(), std::streamsize(picture.pixels.size()));
    return picture;
}

platform::ScriptEvent script_event(uint64_t time, platform::ScriptEvent::Kind kind, int code = 0, bool down = false,
                                   const std::string& path = {}) {
    platform::ScriptEvent event;
    event.time = time;
    event.kind = kind;
    event.code = code;
    event.down = down;
    event.path = path;
    return event;
}

// Alt+X, then the answer; the key ups follow as a player's would.
void add_quit_question(std::vector<platform::ScriptEvent>& script, uint64_t at, int answer, const std::string& capture) {
    using platform::ScriptEvent;
    for (const auto& [offset, code, down] : {std::tuple{0, 0x38, true}, {2, 0x2D, true}, {4, 0x2D, false}, {6, 0x38, false}})
        script.push_back(script_event(at + offset, ScriptEvent::KEY, code, down));
    script.push_back(script_event(at + 40, ScriptEvent::CAPTURE, 0, false, capture));
    script.push_back(script_event(at + 60, ScriptEvent::KEY, answer, true));
    script.push_back(script_event(at + 62, ScriptEvent::KEY, answer, false));
}

// Alike but for the dither of the frame buffer's 16-bit colours.
bool alike(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 16) return false;
    return true;
}

bool thread_alive(uint32_t id) {
    for (int i = 0; i < thread_count; ++i)
        if (thread_table[i].id == id) return true;
    return false;
}

std::string flight_report;

int fly_from_menus(int, char**) {
    init_library("vyr.rop");
    init_drone_types();
    load_mission_catalogue();
    set_war_zone(2);
    prepare_quick_mission();
    start_accelerator();
    set_screen_mode(0, 1);
    unlimited_weapons = 1;
    crashing_off = 0;

    const uint64_t start = platform::timer_periods();
    const uint32_t id = start_game_thread();
    while (thread_alive(id)) yield_thread();

    char line[256];
    std::snprintf(line, sizeof line,
                  "die_flag=%d video_mode=%d shown_3d=%d in_flight=%d flight_running=%d unlimited_weapons=%d "
                  "frames=%d started=%d\n",
                  die_flag, get_video_mode(), accel::is_3d_display_shown() ? 1 : 0, in_flight.load(), flight_running,
                  unlimited_weapons, frame_count, int(start));
    std::fputs(line, stderr);
    std::fflush(stderr);
    std::_Exit(0);
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
            setenv("VYR_DATA", GENERATED_DATA.c_str(), 1);
            setenv("VYR_HOME", home_path.c_str(), 1);
            HeadlessWindowThread world;
            std::vector<platform::ScriptEvent> script;
            add_quit_question(script, 400, 0x31, QUIT_BOX_CAPTURE);
            script.push_back(script_event(540, platform::ScriptEvent::CAPTURE, 0, false, FLYING_CAPTURE));
            add_quit_question(script, 600, 0x15, std::string(VYR_BUILD_DIR) + "/flight_quit_box_again.ppm");
            world.window()->set_script(script);
            win_main(fly_from_menus, "");
            std::_Exit(1);
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
