// The own aircraft seen from its own eye points in Korea's air-combat quick start: the airframe
// camera (Shift+T) looks ahead over the nose from within the canopy, the look back (0) along the
// spine to the fin; each against a golden picture in the tests' fixtures. With the eyes under the
// aircraft's body the one showed a black slab across the sky, the other the belly overhead.
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

class OwnAircraftViews : public SystemScenarios {
protected:
    void SetUp() override {
        if (!fs::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    }
    std::string capture(const char* name) const { return (home.path() / name).string(); }
    ScratchDirectory home;
};

void key(std::vector<platform::ScriptEvent>& script, uint64_t at, int code, bool down) {
    script.push_back(script_event(at, platform::ScriptEvent::KEY, code, down));
}

TEST_F(OwnAircraftViews, TheAirframeCameraAndTheLookBackShowTheAircraftFromItsEyePoints) {
    std::vector<platform::ScriptEvent> script;
    key(script, 600, SCAN_LEFT_SHIFT, true);
    key(script, 602, SCAN_T, true);
    key(script, 604, SCAN_T, false);
    key(script, 606, SCAN_LEFT_SHIFT, false);
    add_capture(script, 700, capture("airframe.ppm"));
    key(script, 710, SCAN_KEYPAD_7, true);  // back to the cockpit, from which 0 looks back while held
    key(script, 712, SCAN_KEYPAD_7, false);
    key(script, 800, SCAN_0, true);
    add_capture(script, 860, capture("look_back.ppm"));
    key(script, 870, SCAN_0, false);
    add_quit_question(script, 950, SCAN_Y, capture("quit.ppm"));
    const std::string home_path = home.path().string();
    EXPECT_EXIT(fly_headless(QuickStartFlight{}, home_path, script), testing::ExitedWithCode(0), "");
    // Kept beside the build for a look at them.
    const fs::path kept = fs::path(VYR_BUILD_DIR) / "captures" / "own_aircraft";
    fs::create_directories(kept);
    for (const char* name : {"airframe", "look_back"}) {
        const std::string file = std::string(name) + ".ppm";
        fs::copy_file(capture(file.c_str()), kept / file, fs::copy_options::overwrite_existing);
        EXPECT_LT(golden_difference(read_ppm(capture(file.c_str())), "own_aircraft_" + file), 6.0) << name;
    }
}

}  // namespace
}  // namespace vyr
