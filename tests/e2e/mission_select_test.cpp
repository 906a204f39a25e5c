// Single missions in Israel from a fresh player's directory: the list with its result signs, a
// line's description with its speech, "Load Mission" opening the map on the mission's routes, and
// "Exit" back to the list; the map key's stored switches take the sides and the grid away.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

#include "capture.h"
#include "run_vyr.h"
#include "wav.h"

namespace vyr::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int CTRL_Q_STATUS = 16;
constexpr double LINE_CLICK_SECONDS = 7.0;

const std::string TO_THE_MAP_AND_BACK = "60 click 500 215\n"   // Combat
                                        "200 click 500 70\n"   // Single Missions
                                        "340 click 500 70\n"   // Israel
                                        "600 capture list.ppm\n"
                                        "700 click 100 85\n"   // the first line
                                        "900 capture chosen.ppm\n"
                                        "1000 click 580 410\n"  // Load Mission
                                        "1800 capture map.ppm\n"
                                        "1900 click 610 470\n"  // Exit
                                        "2200 capture back.ppm\n"
                                        "2400 key 0x1d down\n"
                                        "2402 key 0x10 down\n";

struct MapRun {
    ScratchDirectory dir;
    RunResult result;
    Capture capture(const char* name) const { return read_capture(dir.path() / name); }
};

void run_to_the_map(MapRun& run, const std::string& settings) {
    write_bytes(run.dir / "prefs.cfg", "Quick Start Game Runs=1\r\nSound Music=0\r\nSound Speech=1\r\n" + settings);
    const fs::path script = write_bytes(run.dir / "run.txt", TO_THE_MAP_AND_BACK);
    run.result = run_vyr(run.dir, "VYR_CLOCK=virtual VYR_AUDIO=null VYR_AUDIO_CAPTURE=mix.wav VYR_SCRIPT=" +
                                      script.string());
}

bool is_white(const Capture& c, int x, int y) { return c.at(x, y) == std::array<int, 3>{255, 255, 255}; }

int white_in(const Capture& c, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += is_white(c, x, y);
    return n;
}

// The generated palette's grid colour (203) and allied side colour (205).
constexpr std::array<int, 3> GRID = {64, 64, 128};
constexpr std::array<int, 3> ALLIED = {60, 110, 255};

// Pixels of a colour in the map's middle, clear of its boxes.
int map_pixels(const Capture& c, const std::array<int, 3>& colour) {
    int n = 0;
    for (int y = 60; y < 380; ++y)
        for (int x = 150; x < 540; ++x) n += c.at(x, y) == colour;
    return n;
}

TEST(MissionSelect, IsraelsListOpensItsMissionOnTheMapAndExitReturns) {
    MapRun run;
    run_to_the_map(run, "");
    ASSERT_EQ(run.result.exit_code, CTRL_Q_STATUS) << run.result.output;

    const Capture list = run.capture("list.ppm");
    EXPECT_GT(white_in(list, 18, 78, 292, 110), 200) << "two titles";
    EXPECT_GT(white_in(list, 292, 74, 306, 110), 1) << "a result sign on each line";
    const int before = white_in(list, 330, 70, 626, 370);  // the pointer at most
    EXPECT_LT(before, 200) << "no description before a line is chosen";

    const Capture chosen = run.capture("chosen.ppm");
    EXPECT_GT(white_in(chosen, 330, 70, 626, 370), before + 1000) << "the first mission's description";
    const std::vector<int16_t> mix = read_wav(run.dir.path() / "mix.wav");
    EXPECT_LT(loudness(mix, LINE_CLICK_SECONDS - 1, LINE_CLICK_SECONDS), 50) << "quiet before the click";
    EXPECT_GT(loudness(mix, LINE_CLICK_SECONDS, LINE_CLICK_SECONDS + 1.5), 500) << "its speech after it";

    const Capture map = run.capture("map.ppm");
    EXPECT_GT(white_in(map, 0, 0, 560, 390), 300) << "the own route in white, lettered";
    EXPECT_GT(map_pixels(map, GRID), 1000) << "grid lines";
    EXPECT_GT(map_pixels(map, ALLIED), 5000) << "the allied side's stipple";
    const Capture back = run.capture("back.ppm");
    EXPECT_GT(white_in(back, 18, 78, 292, 110), 200) << "Exit: the list again";
    EXPECT_LT(white_in(back, 330, 70, 626, 370), 200) << "shown afresh, without a description";

    MapRun keyed;
    run_to_the_map(keyed, "Key Sides=0\r\nKey Grid Lines=0\r\n");
    ASSERT_EQ(keyed.result.exit_code, CTRL_Q_STATUS) << keyed.result.output;
    const Capture bare = keyed.capture("map.ppm");
    EXPECT_EQ(map_pixels(bare, GRID), 0) << "no grid";
    EXPECT_EQ(map_pixels(bare, ALLIED), 0) << "no side stipple";
    EXPECT_GT(white_in(bare, 0, 0, 560, 390), 300) << "the route still drawn";
}

}  // namespace
}  // namespace vyr::e2e
