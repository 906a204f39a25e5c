// The first playable loop as a player goes through it: the Main Screen, "Quick Start", a war zone,
// a flight over the theatre, the quit box, the Quick Start Screen again with the last score, and
// "Back" to the Main Screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "capture.h"
#include "run_vyr.h"
#include "tests/support/paths.h"

namespace vyr::e2e {
namespace {

bool is_plate(const Capture& c, int x, int y) { return is_plate_colour(c.at(x, y)); }

// The Quick Start Screen has war-zone plates where the Main Screen has none between its buttons.
bool is_quick_start_screen(const Capture& c) { return is_plate(c, 410, 120) && is_plate(c, 410, 190); }
bool is_main_screen(const Capture& c) {
    return first_screen(c) == Shown::MAIN_SCREEN && !is_plate(c, 410, 120) && is_plate(c, 410, 190);
}

// Pixels in x0 <= x < x1, y0 <= y < y1 for which `is` holds; the frame's right-most column is
// black and left out.
template <typename Test>
int count_pixels(const Capture& c, int x0, int y0, int x1, int y1, Test is) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < std::min(x1, c.width - 1); ++x) count += is(c.at(x, y)) ? 1 : 0;
    return count;
}
bool is_dark(const std::array<int, 3>& p) { return std::max({p[0], p[1], p[2]}) < 0x60; }
// The fill of a shadow on the lit ground; the ground and the distant hills are never so dark.
bool is_shadow(const std::array<int, 3>& p) { return std::max({p[0], p[1], p[2]}) < 0x0C; }

// Alt+X opens the quit box over the flight; Y answers it.
std::string quit_flight(int at) {
    auto line = [](int t, const char* what) { return std::to_string(t) + " " + what + "\n"; };
    return line(at, "key 0x38 down") + line(at + 2, "key 0x2d down") + line(at + 4, "key 0x2d up") +
           line(at + 6, "key 0x38 up") + line(at + 40, "capture quit_box.ppm") + line(at + 60, "key 0x15 down") +
           line(at + 62, "key 0x15 up");
}

TEST(QuickStart, FromTheMainScreenIntoAFlightOverTheChosenTheatreAndBack) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", "Quick Start Game Runs=1\r\n");
    const std::string script = "40 capture main.ppm\n"
                               "60 click 500 70\n"
                               "200 capture quick_start.ppm\n"
                               "210 click 530 385\n"
                               "220 click 500 70\n"
                               "400 key 0x03 down\n402 key 0x03 up\n"
                               "410 key 0x17 down\n412 key 0x17 up\n"
                               "500 capture rolling.ppm\n"
                               "960 capture flight.ppm\n" +
                               quit_flight(1000) +
                               "1400 capture back.ppm\n"
                               "1420 click 480 460\n"
                               "1600 capture main_again.ppm\n"
                               "1700 key 0x1d down\n1702 key 0x10 down\n";
    auto path = write_bytes(dir / "run.txt", script);
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + path.string());
    ASSERT_EQ(run.exit_code, 16) << run.output;

    EXPECT_TRUE(is_main_screen(read_capture(dir.path() / "main.ppm")));
    EXPECT_TRUE(is_quick_start_screen(read_capture(dir.path() / "quick_start.ppm")));
    Capture flight = read_capture(dir.path() / "flight.ppm");
    EXPECT_FALSE(is_quick_start_screen(flight)) << "the theatre, not the menu";
    // Rolling down the runway the player passes the two tanks parked either side of its way, their
    // shadows under them, and closes on the helicopter hovering ahead: a dark shape in the sky that
    // grows. Key 2 has put the look up, 9 degrees above the nose: the sky over the head-up display's
    // frame and through its glass down to the horizon, the tanks through the glass; I has turned the
    // head-up display's symbols from dark to bright green, so they are not taken for it. The late
    // capture waits until the helicopter has risen clear of the frame's top edge.
    Capture rolling = read_capture(dir.path() / "rolling.ppm");
    EXPECT_GE(count_pixels(rolling, 0, 275, 320, 343, is_shadow), 30) << "the tank on the left";
    EXPECT_GE(count_pixels(rolling, 320, 275, 640, 343, is_shadow), 30) << "the tank on the right";
    const auto sky = [](const Capture& c) {
        return count_pixels(c, 210, 0, 430, 184, is_dark) + count_pixels(c, 212, 192, 428, 265, is_dark);
    };
    const int helicopter_early = sky(rolling);
    const int helicopter_late = sky(flight);
    EXPECT_GE(helicopter_early, 1);
    EXPECT_GE(helicopter_late, 20);
    EXPECT_GT(helicopter_late, helicopter_early * 2) << "grown, though the display's frame hides some of it";
    Capture back = read_capture(dir.path() / "back.ppm");
    EXPECT_TRUE(is_quick_start_screen(back));
    EXPECT_GT(back.at(487, 395)[0], back.at(372, 395)[0] + 60) << "the ground radio still lit, the air one not";
    EXPECT_TRUE(is_main_screen(read_capture(dir.path() / "main_again.ppm")));

    const std::string prefs = read_bytes(dir.path() / "prefs.cfg");
    EXPECT_NE(prefs.find("Set Map=1"), std::string::npos) << prefs;
    EXPECT_NE(prefs.find("Quick Start Game Runs=3"), std::string::npos) << "the start-up and the flight\n" << prefs;
    EXPECT_NE(prefs.find("Quick Start Name (Ground) 1=Blank"), std::string::npos) << "a score of 0 enters nowhere\n"
                                                                                 << prefs;
}

// The lines of a script sorted by their times, those of one time kept in their order.
std::string in_time_order(const std::string& script) {
    std::vector<std::string> lines;
    for (size_t at = 0, end; at < script.size(); at = end + 1) {
        end = std::min(script.find('\n', at), script.size() - 1);
        lines.push_back(script.substr(at, end - at + 1));
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const std::string& a, const std::string& b) { return std::stoi(a) < std::stoi(b); });
    std::string sorted;
    for (const std::string& line : lines) sorted += line;
    return sorted;
}

// Share of the pixels two pictures have alike.
double alike(const Capture& a, const Capture& b) {
    size_t same = 0;
    for (size_t i = 0; i < a.rgb.size(); i += 3) same += a.rgb[i] == b.rgb[i] && a.rgb[i + 1] == b.rgb[i + 1] &&
                                                          a.rgb[i + 2] == b.rgb[i + 2];
    return a.rgb.size() == b.rgb.size() ? double(same) * 3 / double(a.rgb.size()) : 0.0;
}
bool is_lit(const std::array<int, 3>& p) { return std::max({p[0], p[1], p[2]}) > 8; }
bool is_white(const std::array<int, 3>& p) { return std::min({p[0], p[1], p[2]}) > 240; }
bool is_black(const Capture& c) { return count_pixels(c, 0, 0, c.width, c.height, is_lit) == 0; }

// However a Korea ground flight ends, by itself (with no input the aircraft leaves the runway and
// is wrecked) or through the quit box, every frame on the way back is the flight, then black, then
// the Quick Start Screen in its own colours: never a white screen (colour 0 of the flight's
// palette), never the menu's picture in the flight's colours.
TEST(QuickStart, TheWayBackFromAFlightIsBlackUntilTheMenuComesInItsOwnColours) {
    const struct {
        const char* end;
        std::string script;
        int recorded_from;
    } cases[] = {{"crash", "", 2850}, {"quit box", quit_flight(1000), 1050}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.end);
        ScratchDirectory dir;
        write_bytes(dir / "prefs.cfg", "Quick Start Game Runs=1\r\n");
        const int to = c.recorded_from + 200;
        const std::string script = in_time_order(
            "60 click 500 70\n210 click 530 385\n220 click 500 140\n" + c.script + std::to_string(c.recorded_from) +
            " record 200 back.ppm\n" + std::to_string(to) + " key 0x1d down\n" + std::to_string(to + 2) +
            " key 0x10 down\n");
        RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + write_bytes(dir / "run.txt", script).string());
        ASSERT_EQ(run.exit_code, 16) << run.output;

        const std::vector<Capture> frames = read_recording(dir.path() / "back.ppm");
        ASSERT_FALSE(frames.empty());
        const Capture& menu = frames.back();
        ASSERT_TRUE(is_quick_start_screen(menu)) << "back by the end of the recording";
        const auto first_black = std::find_if(frames.begin(), frames.end(), is_black);
        ASSERT_NE(first_black, frames.end()) << "the flight goes to black";
        for (auto frame = frames.begin(); frame != frames.end(); ++frame) {
            const int at = int(frame - frames.begin());
            EXPECT_LT(count_pixels(*frame, 0, 0, 640, 480, is_white), 640 * 480 / 4)
                << "frame " << at << " of " << frames.size() << " flashes white";
            if (frame >= first_black) {
                EXPECT_TRUE(is_black(*frame) || alike(*frame, menu) > 0.95)
                    << "frame " << at << " of " << frames.size() << " after the black is neither black nor the menu";
            }
        }
    }
}

// A quick start of the player's own that cannot be loaded is refused: said once, naming the file
// and line, with the Quick Start Screen still shown and nothing written.
TEST(QuickStart, APlayersDamagedMissionIsRefusedAndTheScreenStays) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", "Quick Start Game Runs=1\r\n");
    const std::string damaged = ":Task\n:Time\n9\n";
    std::filesystem::create_directories(dir / "missdata");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(GENERATED_DATA / "missdata")) {
        const std::string name = entry.path().filename().string();
        if (name.size() == 12 && name.substr(5, 2) == "q0" && name.ends_with(".dta")) {  // as isralq01.dta
            write_bytes(dir / "missdata" / name, damaged);
            names.push_back(name);
        }
    }
    ASSERT_FALSE(names.empty());
    const std::string script = "60 click 500 70\n"
                               "210 click 530 385\n"
                               "220 click 500 70\n"
                               "400 key 0x03 down\n402 key 0x03 up\n"
                               "600 capture refused.ppm\n"
                               "700 key 0x1d down\n702 key 0x10 down\n";
    auto path = write_bytes(dir / "run.txt", script);
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + path.string());
    ASSERT_EQ(run.exit_code, 16) << run.output;
    const std::string said = "vyr: This mission cannot be loaded: 1 values where 2 are needed in \"9\" in missdata\\";
    const size_t at = run.output.find(said);
    ASSERT_NE(at, std::string::npos) << run.output;
    EXPECT_EQ(run.output.find(said, at + 1), std::string::npos) << "said once\n" << run.output;
    EXPECT_NE(run.output.find(".dta line 3\n", at), std::string::npos) << run.output;
    EXPECT_TRUE(is_quick_start_screen(read_capture(dir.path() / "refused.ppm")));
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "missdata")) {
        ++files;
        EXPECT_EQ(read_bytes(entry.path()), damaged) << entry.path();
    }
    EXPECT_EQ(files, names.size()) << "nothing written";
    const std::string prefs = read_bytes(dir / "prefs.cfg");
    EXPECT_NE(prefs.find("Quick Start Game Runs=2\r"), std::string::npos) << "the start-up, and no flight\n" << prefs;
}

// The help pages stay on the screen stack in order: "Exit" on any page goes back to where the help
// was opened, "Back" on the first page wraps to the last.
TEST(HelpPages, ExitFromTheThirdPageOrFromTheWrappedFourthReturnsToTheMainScreen) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", "Quick Start Game Runs=1\r\n");
    const std::string script = "60 click 40 460\n"
                               "200 click 360 460\n"
                               "350 click 360 460\n"
                               "500 capture page3.ppm\n"
                               "520 click 580 460\n"
                               "700 capture main_from_3.ppm\n"
                               "720 click 40 460\n"
                               "860 click 480 460\n"
                               "1000 capture page4.ppm\n"
                               "1020 click 580 460\n"
                               "1200 capture main_from_4.ppm\n"
                               "1300 key 0x1d down\n1302 key 0x10 down\n";
    auto path = write_bytes(dir / "run.txt", script);
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + path.string());
    ASSERT_EQ(run.exit_code, 16) << run.output;
    for (const char* page : {"page3.ppm", "page4.ppm"}) {
        Capture c = read_capture(dir.path() / page);
        EXPECT_FALSE(is_main_screen(c)) << page;
        EXPECT_TRUE(is_plate(c, 330, 450)) << page << ": the help pages' buttons";
    }
    EXPECT_TRUE(is_main_screen(read_capture(dir.path() / "main_from_3.ppm")));
    EXPECT_TRUE(is_main_screen(read_capture(dir.path() / "main_from_4.ppm")));
}

}  // namespace
}  // namespace vyr::e2e
