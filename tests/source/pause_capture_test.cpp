// The modal pause seen by the player: P freezes the last frame at half brightness until P again,
// and the flight then goes on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "library/system/key.h"
#include "tests/library/system/system_scenario.h"
#include "tests/support/paths.h"
#include "tests/support/quick_start_flight.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;

class PausedFlight : public SystemScenarios {
protected:
    void SetUp() override {
        if (!fs::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    }
    std::string capture(const char* name) const { return (home.path() / name).string(); }
    ScratchDirectory home;
};

// Kept beside the build for a look at it.
void keep_capture(const std::string& from, const char* name) {
    const fs::path kept = fs::path(VYR_BUILD_DIR) / "captures" / "pause";
    fs::create_directories(kept);
    fs::copy_file(from, kept / name, fs::copy_options::overwrite_existing);
}

void press(std::vector<platform::ScriptEvent>& script, uint64_t at, int code) {
    script.push_back(script_event(at, platform::ScriptEvent::KEY, code, true));
    script.push_back(script_event(at + 2, platform::ScriptEvent::KEY, code, false));
}

TEST_F(PausedFlight, PShowsTheLastFrameAtHalfBrightnessUntilPressedAgain) {
    std::vector<platform::ScriptEvent> script;
    add_capture(script, 700, capture("before.ppm"));
    press(script, 701, SCAN_P);
    add_capture(script, 900, capture("paused.ppm"));
    add_capture(script, 1100, capture("still_paused.ppm"));
    press(script, 1200, SCAN_P);
    add_capture(script, 1500, capture("after.ppm"));
    add_quit_question(script, 1600, SCAN_Y, capture("quit.ppm"));
    const std::string home_path = home.path().string();
    EXPECT_EXIT(fly_headless(QuickStartFlight{}, home_path, script), testing::ExitedWithCode(0), "");
    const Picture before = read_ppm(capture("before.ppm"));
    const Picture paused = read_ppm(capture("paused.ppm"));
    const Picture still = read_ppm(capture("still_paused.ppm"));
    const Picture after = read_ppm(capture("after.ppm"));
    for (const Picture* p : {&before, &paused, &still, &after}) ASSERT_EQ(p->width, 640);
    // Each channel of each pixel of the panel (which a frame or two more before P leaves alike)
    // halved, give or take the 16-bit colours' steps; the whole frame about half as bright.
    int off = 0;
    long lit_before = 0, lit_paused = 0, lit_after = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            for (int shift : {0, 8, 16}) {
                const int was = int(before.at(x, y) >> shift & 0xFF), now = int(paused.at(x, y) >> shift & 0xFF);
                off += y >= 330 && std::abs(now - was / 2) > 12 ? 1 : 0;
            }
            lit_before += brightest(before.at(x, y));
            lit_paused += brightest(paused.at(x, y));
            lit_after += brightest(after.at(x, y));
        }
    EXPECT_LT(off, 640 * 150 * 3 / 20) << "the panel before P at half brightness, its needles aside";
    EXPECT_GT(lit_paused, lit_before * 35 / 100);
    EXPECT_LT(lit_paused, lit_before * 55 / 100);
    EXPECT_EQ(paused.pixels, still.pixels) << "frozen until P again";
    EXPECT_NE(after.pixels, paused.pixels) << "P again: the flight goes on";
    EXPECT_GT(lit_after, lit_before * 8 / 10) << "at full brightness";
    keep_capture(capture("paused.ppm"), "paused.ppm");
}

}  // namespace
}  // namespace vyr
