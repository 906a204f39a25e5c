// Start-up as the player sees it: the loading screen's phases, the intro, the first menu screen,
// and the quit key that writes the settings back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "capture.h"
#include "run_vyr.h"

namespace vyr::e2e {
namespace {

constexpr int LAST_CAPTURE = 40;
const std::string QUIT_KEYS = "60 key 0x1d down\n62 key 0x10 down\n";

// How many of the loading panel's four lamps are lit.
int lit_lamps(const Capture& c) {
    int lit = 0;
    for (int i = 0; i < 4; ++i) lit += c.at(250 + 60 * i, 395) == std::array<int, 3>{100, 245, 130};
    return lit;
}

std::string capture_every_tick() {
    std::string script;
    for (int tick = 1; tick <= LAST_CAPTURE; ++tick)
        script += std::to_string(tick) + " capture t" + std::to_string(tick) + ".ppm\n";
    return script;
}

std::vector<Capture> read_captures(const ScratchDirectory& dir) {
    std::vector<Capture> captures;
    for (int tick = 1; tick <= LAST_CAPTURE; ++tick)
        captures.push_back(read_capture(dir.path() / ("t" + std::to_string(tick) + ".ppm")));
    return captures;
}

// A copy of the generated data inside the scratch directory, for a test to change; without the
// movies, as the runs of `run_vyr` read it.
std::filesystem::path copy_data(const ScratchDirectory& dir) {
    std::filesystem::path data = dir.path() / "data";
    std::filesystem::copy(data_without_movies(dir), data,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    return data;
}

RunResult run_script(const ScratchDirectory& dir, const std::string& script, const std::string& environment = "") {
    auto path = write_bytes(dir / "run.txt", script);
    return run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + path.string() + " " + environment);
}

TEST(FirstScreen, FirstRunShowsTheLoadingPhasesThenThePreferencesAndCtrlQSavesTheSettings) {
    ScratchDirectory dir;
    RunResult run = run_script(dir, capture_every_tick() + QUIT_KEYS);
    ASSERT_EQ(run.exit_code, 16) << "Ctrl+Q ends with its key code's low byte\n" << run.output;
    EXPECT_NE(run.output.find("stand-ins still in place"), std::string::npos) << run.output;
    std::vector<Capture> captures = read_captures(dir);
    // Each phase lights one more lamp, in order, before the first screen comes up.
    std::vector<int> phases;
    for (const Capture& c : captures)
        if (int lit = lit_lamps(c); lit > 0 && (phases.empty() || phases.back() != lit)) phases.push_back(lit);
    EXPECT_EQ(phases, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(first_screen(captures.back()), Shown::PREFERENCES_SCREEN);
    EXPECT_NE(read_bytes(dir.path() / "prefs.cfg").find("Quick Start Game Runs=1"), std::string::npos);

    RunResult second = run_script(dir, "55 capture second.ppm\n" + QUIT_KEYS);
    ASSERT_EQ(second.exit_code, 16) << second.output;
    EXPECT_EQ(first_screen(read_capture(dir.path() / "second.ppm")), Shown::MAIN_SCREEN);
    EXPECT_NE(read_bytes(dir.path() / "prefs.cfg").find("Quick Start Game Runs=2"), std::string::npos);
}

TEST(FirstScreen, LeftShiftSkipsThePreferencesOnTheFirstRun) {
    ScratchDirectory dir;
    RunResult run = run_script(dir, "1 key 0x2a down\n55 capture first.ppm\n56 key 0x2a up\n" + QUIT_KEYS);
    ASSERT_EQ(run.exit_code, 16) << run.output;
    EXPECT_EQ(first_screen(read_capture(dir.path() / "first.ppm")), Shown::MAIN_SCREEN);
    EXPECT_NE(read_bytes(dir.path() / "prefs.cfg").find("Quick Start Game Runs=1"), std::string::npos);
}

TEST(FirstScreen, TheUsLanguageShowsItsOwnLoadingScreenWithoutPanels) {
    ScratchDirectory dir;
    RunResult run = run_script(dir, capture_every_tick() + QUIT_KEYS, "VORNGS='-c0 -la'");
    ASSERT_EQ(run.exit_code, 16) << run.output;
    for (const Capture& c : read_captures(dir)) EXPECT_EQ(lit_lamps(c), 0);
    EXPECT_NE(read_bytes(dir.path() / "prefs.cfg").find("Product Language=2"), std::string::npos);
}

TEST(FirstScreen, WithoutAnimationsTheTitlePicturesShowAndAClickSkipsTheFirst) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", "Animations=0\r\nQuick Start Game Runs=1\r\n");
    RunResult run = run_script(dir,
                               "100 capture badge.ppm\n110 click 320 240\n300 capture title.ppm\n"
                               "3000 capture main.ppm\n3100 key 0x1d down\n3102 key 0x10 down\n");
    ASSERT_EQ(run.exit_code, 16) << run.output;
    Capture badge = read_capture(dir.path() / "badge.ppm");
    EXPECT_EQ(badge.at(5, 5), (std::array<int, 3>{0, 0, 0})) << "the badge on black";
    EXPECT_GT(badge.at(320, 81)[0], 150) << "its amber ring, fading in";
    Capture title = read_capture(dir.path() / "title.ppm");
    auto sky = title.at(5, 5), land = title.at(5, 470);
    EXPECT_GT(sky[2], sky[0]) << "a night sky over the title";
    EXPECT_GT(land[1], land[2]) << "dark land below it";
    EXPECT_EQ(first_screen(read_capture(dir.path() / "main.ppm")), Shown::MAIN_SCREEN);
}

TEST(FirstScreen, WithoutTheLoadingPictureTheFirstScreenStillShows) {
    ScratchDirectory dir;
    std::filesystem::path data = copy_data(dir);
    std::filesystem::remove(data / "menuscrn" / "newintro.lbm");
    RunResult run = run_script(dir, "40 capture first.ppm\n" + QUIT_KEYS, "VYR_DATA=" + data.string());
    ASSERT_EQ(run.exit_code, 16) << run.output;
    EXPECT_EQ(first_screen(read_capture(dir.path() / "first.ppm")), Shown::PREFERENCES_SCREEN);
}

TEST(FirstScreen, AnOverlayOfAnotherSizeIsDrawnWithItsOwnSize) {
    ScratchDirectory dir;
    std::filesystem::path data = copy_data(dir);
    std::filesystem::copy_file(data / "menuscrn" / "newintro.lbm", data / "menuscrn" / "ni_sys.bbm",
                               std::filesystem::copy_options::overwrite_existing);
    RunResult run = run_script(dir, capture_every_tick() + QUIT_KEYS, "VYR_DATA=" + data.string());
    ASSERT_EQ(run.exit_code, 16) << run.output;
    // The first phase's panel is the whole background picture again, its top-left corner at the
    // panel's place: night sky where the field would be.
    std::vector<Capture> captures = read_captures(dir);
    bool seen = false;
    for (const Capture& c : captures) {
        auto corner = c.at(221, 311), field = c.at(100, 311);
        if (corner != field && corner[2] > corner[1]) seen = true;
    }
    EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace vyr::e2e
