// The player's own settings end to end: the first start's Preferences Screen driven with the mouse
// and a scripted joystick, a pilot made on the Log Screen, and all of it found again at the next
// start.
#include <gtest/gtest.h>

#include <string>

#include "capture.h"
#include "run_vyr.h"

namespace vyr::e2e {
namespace {

constexpr int CTRL_Q_STATUS = 16;

// Scan codes of "jester" and Enter, each pressed and released.
std::string type_name(int from) {
    std::string script;
    for (int code : {0x24, 0x12, 0x1f, 0x14, 0x12, 0x13, 0x1c}) {
        script += std::to_string(from++) + " key " + std::to_string(code) + " down\n";
        script += std::to_string(from++) + " key " + std::to_string(code) + " up\n";
    }
    return script;
}

// Every axis of the joystick to one value at `time`, and the hat.
std::string move_stick(int time, int value, const char* hat) {
    std::string script;
    for (int axis = 0; axis < 4; ++axis)
        script += std::to_string(time) + " joy axis " + std::to_string(axis) + " " + std::to_string(value) + "\n";
    return script + std::to_string(time) + " joy hat " + hat + "\n";
}

const std::string FIRST_RUN =
    "40 capture shown.ppm\n"
    "44 click 297 183\n50 click 297 183\n"  // skill up twice
    "56 click 180 250\n"                    // the planner on
    "62 click 540 134\n"                    // minimal effects
    "68 click 615 183\n74 click 615 183\n80 click 615 183\n"  // "Joystick +" to the Flightstick Pro
    "86 click 615 217\n92 click 615 250\n"                    // throttle stick, pedals
    + move_stick(100, -32768, "up") + "130 capture low.ppm\n" + move_stick(140, 32767, "right") +
    "170 capture high.ppm\n" + move_stick(180, 0, "centre") +
    "210 capture centre.ppm\n"
    "220 click 150 368\n260 capture visual.ppm\n"  // Visual Prefs, then Back twice to the Main Screen
    "270 click 480 460\n310 click 480 460\n"
    "350 click 267 460\n"  // Log
    "400 click 480 118\n" +
    type_name(420) +
    "440 click 190 292\n"  // "Maverick"
    "470 capture log.ppm\n480 key 0x1d down\n482 key 0x10 down\n";

const std::string SECOND_RUN =
    "1 joy axis 0 0\n55 click 160 460\n100 capture prefs.ppm\n110 click 480 460\n150 click 267 460\n"
    "190 capture log2.ppm\n200 key 0x1d down\n202 key 0x10 down\n";

// A calibration sprite's amber face within the 8 x 7 pixels from (x, y), which every sprite covers.
bool sprite_at(const Capture& c, int x, int y) {
    for (int dy = 0; dy < 7; ++dy)
        for (int dx = 0; dx < 8; ++dx)
            if (const std::array<int, 3> pixel = c.at(x + dx, y + dy); pixel == std::array<int, 3>{255, 210, 110})
                return true;
    return false;
}

// A pressed plate is lit amber; an unpressed one is grey steel.
bool pressed_at(const Capture& c, int x, int y) {
    const std::array<int, 3> pixel = c.at(x, y);
    return pixel[0] > pixel[2] + 50;
}

bool selected_at(const Capture& c, int x, int y) { return c.at(x, y) == std::array<int, 3>{255, 255, 255}; }

Capture read_whole(const ScratchDirectory& dir, const char* name) {
    Capture c = read_capture(dir.path() / name);
    EXPECT_EQ(c.width * c.height, 640 * 480) << name;
    return c;
}

TEST(Preferences, AFirstStartsChoicesAndPilotAreThereAtTheNext) {
    ScratchDirectory dir;
    auto first = write_bytes(dir / "first.txt", FIRST_RUN);
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_AUDIO=null VYR_SCRIPT=" + first.string());
    ASSERT_EQ(run.exit_code, CTRL_Q_STATUS) << run.output;

    const Capture shown = read_whole(dir, "shown.ppm");
    ASSERT_FALSE(testing::Test::HasFailure());
    EXPECT_EQ(first_screen(shown), Shown::PREFERENCES_SCREEN);
    EXPECT_FALSE(sprite_at(shown, 474, 353)) << "the keyboard flies: no stick";
    EXPECT_FALSE(pressed_at(shown, 160, 250)) << "the planner is off at first";

    // Stick, throttle, rudder and hat at one end, then the other, then the middle: each reading
    // widened the range, so each end is the range's end.
    const struct {
        const char* capture;
        int stick_x, stick_y, throttle_y, rudder_x, hat_x, hat_y;
    } positions[] = {{"low.ppm", 474 - 29, 353 - 25, 313 - 23, 373 - 33, 567, 323},
                     {"high.ppm", 474 + 29, 353 + 25, 313 + 23, 373 + 33, 600, 349},
                     {"centre.ppm", 474, 353, 313, 373, 571, 353}};
    for (const auto& p : positions) {
        const Capture c = read_whole(dir, p.capture);
        ASSERT_FALSE(testing::Test::HasFailure());
        EXPECT_TRUE(sprite_at(c, p.stick_x, p.stick_y)) << p.capture;
        EXPECT_TRUE(sprite_at(c, 341, p.throttle_y)) << p.capture;
        EXPECT_TRUE(sprite_at(c, p.rudder_x, 393)) << p.capture;
        EXPECT_TRUE(sprite_at(c, p.hat_x, p.hat_y)) << p.capture;
        EXPECT_TRUE(pressed_at(c, 160, 250)) << "the planner is on";
        EXPECT_TRUE(pressed_at(c, 520, 134)) << "minimal effects";
    }
    EXPECT_FALSE(sprite_at(read_whole(dir, "low.ppm"), 474, 353)) << "the stick left the middle";
    EXPECT_NE(first_screen(read_whole(dir, "visual.ppm")), Shown::PREFERENCES_SCREEN);

    const std::string prefs = read_bytes(dir.path() / "prefs.cfg");
    for (const char* line : {"Forces Type=2\r\n", "Mission Planner=1\r\n", "Sound effects level=1\r\n",
                             "Cyclic control=3\r\n", "Collective control=6\r\n", "Tailrotor control=5\r\n",
                             "Joystick Ax Min=1\r\n", "Joystick Ax Mid=32768\r\n", "Joystick Ax Max=65535\r\n",
                             "Joystick By Min=1\r\n", "Joystick By Max=65535\r\n", "DOS Flag=0\r\n"})
        EXPECT_NE(prefs.find(line), std::string::npos) << line;
    const std::string pilot = read_bytes(dir.path() / "log" / "log0.2");
    ASSERT_GE(pilot.size(), 11u);
    EXPECT_EQ(pilot.substr(0, 7), std::string("jester", 7));
    EXPECT_EQ(pilot[7], 12) << "Maverick's radio call sign";

    auto second = write_bytes(dir / "second.txt", SECOND_RUN);
    RunResult again = run_vyr(dir, "VYR_CLOCK=virtual VYR_AUDIO=null VYR_SCRIPT=" + second.string());
    ASSERT_EQ(again.exit_code, CTRL_Q_STATUS) << again.output;
    const Capture settings = read_whole(dir, "prefs.ppm");
    const Capture log = read_whole(dir, "log2.ppm");
    ASSERT_FALSE(testing::Test::HasFailure());
    EXPECT_TRUE(pressed_at(settings, 160, 250)) << "the planner is still on";
    EXPECT_TRUE(pressed_at(settings, 520, 134)) << "minimal effects still";
    EXPECT_TRUE(sprite_at(settings, 474, 353)) << "the stored calibration centres the stick";
    EXPECT_TRUE(sprite_at(settings, 341, 313)) << "the throttle stick still chosen";
    EXPECT_TRUE(selected_at(log, 200, 114)) << "the new pilot, second in the list, is current";
    EXPECT_FALSE(selected_at(log, 200, 98));
    EXPECT_TRUE(selected_at(log, 240, 292)) << "Maverick";
}

}  // namespace
}  // namespace vyr::e2e
