// The cockpit seen from whole headless quick-start flights: at the home look, looking down at the
// instrument panel (key 3) and then to the left (key 1); the two displays of a ground sortie
// stepped through their pages; and over Afghanistan the pod's picture on a display and an
// early-warning radar on the threat display. Each capture is kept in the build
// folder for a person to look at as cockpit_<name>.ppm.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <filesystem>
#include <string>
#include <vector>

#include "library/graphics/cockpit_layout.h"
#include "library/system/key.h"
#include "source/avionics/mfd.h"
#include "source/drone/drone.h"
#include "tests/library/system/system_scenario.h"
#include "tests/support/quick_start_flight.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;

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
    // Flies `flight` through `script`, Alt+X and Y at `quit_at`, and reads back the captures
    // `names` (each a white picture when missing), kept in the build folder.
    std::vector<Picture> fly(const QuickStartFlight& flight, std::vector<platform::ScriptEvent> script, uint64_t quit_at,
                             const std::vector<std::string>& names) {
        add_quit_question(script, quit_at, 0x15, capture("quit"));
        EXPECT_EXIT(fly_headless(flight, home.path().string(), script), testing::ExitedWithCode(0),
                    testing::Not(testing::HasSubstr("runtime error")));
        std::vector<Picture> pictures;
        for (const std::string& name : names) {
            pictures.push_back(read_ppm(capture(name)));
            EXPECT_EQ(pictures.back().width, 640) << name;
            if (pictures.back().width != 640) {
                pictures.back() = {640, 480, std::string(640 * 480 * 3, '\xFF')};
                continue;
            }
            fs::copy_file(capture(name), std::string(VYR_BUILD_DIR) + "/cockpit_" + name + ".ppm",
                          fs::copy_options::overwrite_existing);
        }
        return pictures;
    }
    ScratchDirectory home;
};

void press(std::vector<platform::ScriptEvent>& script, uint64_t at, int code) {
    script.push_back(script_event(at, platform::ScriptEvent::KEY, code, true));
    script.push_back(script_event(at + 4, platform::ScriptEvent::KEY, code, false));
}

// Looking down (0, 100) at a display's rectangle of the panel.
Box display_seen_down(const MfdRect& r) { return on_screen(r.x, r.y, r.width, r.height, 0, 100); }

int colours_in(const Picture& p, Box b) {
    std::set<uint32_t> found;
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x < b.x1; ++x) found.insert(p.at(x, y));
    return int(found.size());
}

// Pixels of a box that differ between two pictures.
int changed(const Picture& a, const Picture& b, Box box) {
    int n = 0;
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x) n += !alike(a.at(x, y), b.at(x, y));
    return n;
}

TEST_F(CockpitView, TheQuickStartCockpitAtHomeLookingDownAndLeft) {
    std::vector<platform::ScriptEvent> script;
    add_capture(script, 100, capture("home"));
    press(script, 120, 0x04);  // 3: down to the instruments
    add_capture(script, 200, capture("down"));
    press(script, 220, 0x02);  // 1: to the left
    add_capture(script, 300, capture("left"));
    const std::vector<Picture> pictures = fly(QuickStartFlight{}, script, 320, {"home", "down", "left"});
    const Picture& home_look = pictures[0];
    const Picture& down = pictures[1];
    const Picture& left = pictures[2];

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

// A ground sortie's displays seen looking down: the radar on the left, the stores on the right;
// ] steps the right one on to the Maverick page (the AGM-65G is carried, no pod), Shift+[ the left
// one back to the HSI.
TEST_F(CockpitView, TheGroundSortiesDisplaysStepThroughTheirPages) {
    std::vector<platform::ScriptEvent> script;
    // Captured before the roll at full power takes the aircraft into the tanks by the runway.
    press(script, 40, 0x04);  // 3: down to the displays
    add_capture(script, 120, capture("displays"));
    press(script, 130, 0x1b);  // ]: the right display on
    add_capture(script, 180, capture("right_stepped"));
    script.push_back(script_event(190, platform::ScriptEvent::KEY, SCAN_LEFT_SHIFT, true));
    press(script, 192, 0x1a);  // Shift+[: the left display back
    script.push_back(script_event(200, platform::ScriptEvent::KEY, SCAN_LEFT_SHIFT, false));
    add_capture(script, 250, capture("left_stepped"));
    QuickStartFlight ground_sortie;
    ground_sortie.kind = 2;
    const std::vector<Picture> pictures = fly(ground_sortie, script, 270, {"displays", "right_stepped", "left_stepped"});
    const Picture& displays = pictures[0];
    const Picture& right_stepped = pictures[1];
    const Picture& left_stepped = pictures[2];

    const Box left = display_seen_down(LEFT_MFD_RECT), right = display_seen_down(RIGHT_MFD_RECT);
    const int area = LEFT_MFD_RECT.width * LEFT_MFD_RECT.height;
    for (const auto& [picture, name] : {std::pair{&displays, "displays"}, {&right_stepped, "right"}, {&left_stepped, "left"}}) {
        SCOPED_TRACE(name);
        EXPECT_GE(colours_in(*picture, left), 3) << "a page drawn on the left display";
        EXPECT_GE(colours_in(*picture, right), 3) << "a page drawn on the right display";
        EXPECT_GT(marked(*picture, left), area / 50) << "the left page's marks";
        EXPECT_GT(marked(*picture, right), area / 50) << "the right page's marks";
    }
    EXPECT_GT(changed(displays, right_stepped, right), area / 20) << "] showed another page on the right";
    EXPECT_GT(changed(right_stepped, left_stepped, left), area / 20) << "Shift+[ showed another page on the left";
    EXPECT_LT(changed(right_stepped, left_stepped, right), area / 20) << "the right display kept its page";
}

constexpr int SAM_SITE = 450;
constexpr int EARLY_WARNING_RADAR = 77;

bool is_sam_site(const Drone& drone) { return get_drone_object_number(&drone) == SAM_SITE; }
bool is_early_warning_radar(const Drone& drone) { return get_drone_object_number(&drone) == EARLY_WARNING_RADAR; }

// Two miles short of the SAM site on the sortie's route and 3,000 ft above it, flying at it.
void towards_the_sam() { start_looking_at(is_sam_site, 0, -12000, 3000); }
void without_the_radar() {
    towards_the_sam();
    for (Waypoint* w = find_drone(is_early_warning_radar)->first_waypoint; w; w = w->next) w->x += 40 << 20;
}

bool is_black(uint32_t c) { return (c >> 16 & 0xFF) < 0x30 && (c >> 8 & 0xFF) < 0x30 && (c & 0xFF) < 0x30; }

// Afghanistan's ground sortie carries a targeting pod: ] puts its page on the right display, where
// its picture of the ground shows in the display's shades with the crosshair over it. The
// early-warning radar on the route, filed as the flight starts, shows on the threat display; a
// flight with the radar moved away lacks its symbol.
TEST_F(CockpitView, ThePodsPictureAndTheRadarOnTheThreatDisplayOverAfghanistan) {
    const auto fly_over = [this](void (*before)(), const std::string& name) {
        std::vector<platform::ScriptEvent> script;
        press(script, 100, 0x1b);  // ]: the pod's page on the right
        press(script, 120, 0x04);  // 3: down to the panel
        add_capture(script, 300, capture(name));
        QuickStartFlight afghanistan;
        afghanistan.war_zone = 4;
        afghanistan.kind = 2;
        afghanistan.before = before;
        return fly(afghanistan, script, 320, {name}).front();
    };
    const Picture radar = fly_over(towards_the_sam, "pod_and_threats");
    const Picture no_radar = fly_over(without_the_radar, "no_radar");

    const Box pod = display_seen_down(RIGHT_MFD_RECT);
    EXPECT_GE(colours_in(radar, pod), 6) << "the ground in the display's shades";
    const int cx = (pod.x0 + pod.x1) / 2, cy = (pod.y0 + pod.y1) / 2;
    EXPECT_GE(count(radar, {cx - 20, cy - 15, cx + 20, cy + 15}, is_black), 30) << "the crosshair";
    const CockpitArtPlace& threat = COCKPIT_ART[ART_THREAT_DISPLAY];
    const Box display = on_screen(threat.x, threat.y, threat.width, threat.height, 0, 100);
    EXPECT_GE(changed(radar, no_radar, display), 12) << "the radar's symbol";
}

}  // namespace
}  // namespace vyr
