// The cockpit seen from a whole headless quick-start flight: at the home look, looking down at the
// instrument panel (key 3) and then to the left (key 1). Each capture is kept in the build folder
// for a person to look at as cockpit_<look>.ppm.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "library/graphics/cockpit_layout.h"
#include "tests/library/system/system_scenario.h"
#include "tests/support/quick_start_flight.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;

struct Box {
    int x0, y0, x1, y1;
};

// The generated cockpit's colours: greys with equal channels (the panel), the needles' near white.
bool is_panel_grey(uint32_t c) {
    const int r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, b = c & 0xFF;
    return std::abs(r - g) <= 6 && std::abs(g - b) <= 8 && r < 120;
}
bool is_needle_white(uint32_t c) { return (c >> 16 & 0xFF) >= 235 && (c >> 8 & 0xFF) >= 235 && (c & 0xFF) >= 225; }

int count(const Picture& p, Box b, bool (*test)(uint32_t)) {
    int n = 0;
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x < b.x1; ++x) n += test(p.at(x, y));
    return n;
}

// The light outside changes the cockpit's colours a little from one capture to the next.
bool alike(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 16) return false;
    return true;
}

// Pixels of a box that differ from the box's most common colour: something drawn on a plain face.
int marked(const Picture& p, Box b) {
    const uint32_t face = p.at(b.x0 + 2, b.y0 + 2);
    int n = 0;
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x < b.x1; ++x) n += p.at(x, y) != face;
    return n;
}

// A panel place (the look's window at (look_x + 320, look_y)) on the screen.
Box on_screen(int x, int y, int width, int height, int look_x, int look_y) {
    return {x - look_x - 320, y - look_y, x - look_x - 320 + width, y - look_y + height};
}

class CockpitView : public SystemScenarios {
protected:
    void SetUp() override {
        if (!fs::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    }
    std::string capture(const std::string& name) const { return (home.path() / (name + ".ppm")).string(); }
    void keep(const std::string& name) const {
        fs::copy_file(capture(name), std::string(VYR_BUILD_DIR) + "/cockpit_" + name + ".ppm",
                      fs::copy_options::overwrite_existing);
    }
    ScratchDirectory home;
};

void press(std::vector<platform::ScriptEvent>& script, uint64_t at, int code) {
    script.push_back(script_event(at, platform::ScriptEvent::KEY, code, true));
    script.push_back(script_event(at + 4, platform::ScriptEvent::KEY, code, false));
}

TEST_F(CockpitView, TheQuickStartCockpitAtHomeLookingDownAndLeft) {
    std::vector<platform::ScriptEvent> script;
    add_capture(script, 100, capture("home"));
    press(script, 120, 0x04);  // 3: down to the instruments
    add_capture(script, 200, capture("down"));
    press(script, 220, 0x02);  // 1: to the left
    add_capture(script, 300, capture("left"));
    add_quit_question(script, 320, 0x15, capture("quit"));
    EXPECT_EXIT(fly_headless(QuickStartFlight{}, home.path().string(), script), testing::ExitedWithCode(0),
                testing::Not(testing::HasSubstr("runtime error")));
    const Picture home_look = read_ppm(capture("home"));
    const Picture down = read_ppm(capture("down"));
    const Picture left = read_ppm(capture("left"));
    for (const char* name : {"home", "down", "left"}) keep(name);
    ASSERT_EQ(home_look.width, 640);
    ASSERT_EQ(down.width, 640);
    ASSERT_EQ(left.width, 640);

    // The first look is (0, 0), 20 degrees down: the world through the head-up display's glass,
    // the top of the instrument panel below it.
    const Box glass = on_screen(HUD_GLASS_X + 20, HUD_GLASS_Y + 20, 180, 140, 0, 0);
    EXPECT_LT(count(home_look, glass, is_panel_grey), 140 * 180 / 4) << "the world through the glass";
    EXPECT_GT(count(home_look, {170, 440, 470, 479}, is_panel_grey), 300 * 39 / 2) << "the front panel below";

    // Down (0, 100): dials with their white needles, the message lines with the status texts, the
    // master caution lamp out.
    const CockpitArtPlace& rpm = COCKPIT_ART[ART_RPM_DIAL];
    EXPECT_GT(count(down, on_screen(rpm.x, rpm.y, rpm.width, rpm.height, 0, 100), is_needle_white), 5) << "RPM needle";
    const CockpitArtPlace& data = COCKPIT_ART[ART_DATA_DISPLAY];
    EXPECT_GT(marked(down, on_screen(data.x + 2, data.y + 2, data.width - 4, data.height - 4, 0, 100)), 40)
        << "the status lines";
    const CockpitArtPlace& caution = COCKPIT_ART[ART_CAUTION];
    EXPECT_GT(marked(down, on_screen(caution.x + 1, caution.y + 1, caution.width - 2, caution.height - 2, 0, 100)), 10)
        << "the caution lamp's legend, unlit";

    // Left: 300 to the left, and up to 65 as the panel ends sooner sideways; the threat display
    // moves with the look.
    const CockpitArtPlace& threat = COCKPIT_ART[ART_THREAT_DISPLAY];
    const Box was = on_screen(threat.x, threat.y, threat.width, threat.height, 0, 100);
    int same = 0;
    for (int y = was.y0; y < was.y1; ++y)
        for (int x = was.x0; x < was.x1; ++x) same += alike(left.at(x + 300, y + 35), down.at(x, y));
    EXPECT_GT(same, threat.width * threat.height * 3 / 4) << "the threat display 300 pixels right, 35 down";
}

}  // namespace
}  // namespace vyr
