// Time acceleration shown over the flight: Tab twice puts it at x4, and its disc with the factor
// reads on the world, against a golden picture in the tests' fixtures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "library/system/key.h"
#include "tests/library/system/system_scenario.h"
#include "tests/support/golden_picture.h"
#include "tests/support/paths.h"
#include "tests/support/quick_start_flight.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;

class TimeAccelerationView : public SystemScenarios {
protected:
    void SetUp() override {
        if (!fs::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    }
    ScratchDirectory home;
};

TEST_F(TimeAccelerationView, TheDiscAndItsFactorReadOverTheWorld) {
    std::vector<platform::ScriptEvent> script;
    for (uint64_t at : {600, 620}) {
        script.push_back(script_event(at, platform::ScriptEvent::KEY, SCAN_TAB, true));
        script.push_back(script_event(at + 2, platform::ScriptEvent::KEY, SCAN_TAB, false));
    }
    const std::string shot = (home.path() / "x4.ppm").string();
    add_capture(script, 700, shot);
    add_quit_question(script, 720, SCAN_Y, (home.path() / "quit.ppm").string());
    const std::string home_path = home.path().string();
    EXPECT_EXIT(fly_headless(QuickStartFlight{}, home_path, script), testing::ExitedWithCode(0), "");
    const fs::path kept = fs::path(VYR_BUILD_DIR) / "captures" / "time_acceleration";
    fs::create_directories(kept);
    fs::copy_file(shot, kept / "x4.ppm", fs::copy_options::overwrite_existing);
    const Picture x4 = read_ppm(shot);
    // The dark disc against the sky's blue, and the factor's and the outline's white strokes.
    int white = 0, dark = 0;
    for (int y = 10; y < 32; ++y)
        for (int x = 10; x < 32; ++x) {
            const uint32_t c = x4.at(x, y);
            white += (c >> 16 & 0xFF) > 0xE0 && (c >> 8 & 0xFF) > 0xE0 && (c & 0xFF) > 0xE0;
            dark += brightest(c) < 0x30;
        }
    EXPECT_GT(white, 40);
    EXPECT_GT(dark, 100);
    EXPECT_LT(golden_difference(x4, "time_acceleration_x4.ppm"), 6.0);
}

}  // namespace
}  // namespace vyr
