// The Vehicle Recognition Screen as a player uses it: from the Main Screen, an aircraft turning
// with its name above it, the step and category buttons, Back, and a quick start flown after it;
// then every object of the three lists, one capture each, kept beside the build for a look.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>

#include "capture.h"
#include "run_vyr.h"
#include "tests/support/paths.h"

namespace vyr::e2e {
namespace {

namespace fs = std::filesystem;

// The view window less its frame: (1, 41) to (397, 438).
constexpr int VIEW_X0 = 1, VIEW_Y0 = 41, VIEW_X1 = 398, VIEW_Y1 = 439;

std::string line(int at, const std::string& what) { return std::to_string(at) + " " + what + "\n"; }
std::string click(int at, int x, int y) { return line(at, "click " + std::to_string(x) + " " + std::to_string(y)); }

// Alt+X opens the quit box over the flight; Y answers it.
std::string quit_flight(int at) {
    return line(at, "key 0x38 down") + line(at + 2, "key 0x2d down") + line(at + 4, "key 0x2d up") +
           line(at + 6, "key 0x38 up") + line(at + 60, "key 0x15 down") + line(at + 62, "key 0x15 up");
}

constexpr std::array<int, 2> RECOG = {375, 460}, NEXT = {588, 355}, PREVIOUS = {478, 355}, AIRCRAFT = {520, 70},
                             VEHICLES = {520, 167}, SHIPS = {520, 264}, BACK = {480, 460};
std::string press(int at, std::array<int, 2> button) { return click(at, button[0], button[1]); }

int differing_view_pixels(const Capture& a, const Capture& b) {
    int n = 0;
    for (int y = VIEW_Y0; y < VIEW_Y1; ++y)
        for (int x = VIEW_X0; x < VIEW_X1; ++x) n += a.at(x, y) != b.at(x, y);
    return n;
}

// The caption's white letters in the band above the model.
int caption_pixels(const Capture& c) {
    int n = 0;
    for (int y = VIEW_Y0; y < VIEW_Y0 + 40; ++y)
        for (int x = VIEW_X0; x < VIEW_X1; ++x) {
            const auto p = c.at(x, y);
            n += std::min({p[0], p[1], p[2]}) > 230;
        }
    return n;
}

void keep(const fs::path& from, const std::string& name) {
    const fs::path kept = fs::path(VYR_BUILD_DIR) / "captures" / "recognition";
    fs::create_directories(kept);
    fs::copy_file(from, kept / name, fs::copy_options::overwrite_existing);
}

TEST(Recognition, AnAircraftTurnsUnderItsNameTheButtonsStepAndAFlightFollows) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", "Quick Start Game Runs=1\r\n");
    const std::string script = line(40, "capture main.ppm") + press(60, RECOG) + line(400, "capture turning.ppm") +
                               line(600, "capture turned.ppm") + press(620, NEXT) + line(700, "capture next.ppm") +
                               press(720, VEHICLES) + line(800, "capture vehicles.ppm") + press(820, SHIPS) +
                               line(900, "capture ships.ppm") + press(920, PREVIOUS) +
                               line(1000, "capture previous.ppm") + press(1020, BACK) +
                               line(1200, "capture main_again.ppm") + click(1220, 500, 70) + click(1380, 500, 70) +
                               line(2000, "capture flight.ppm") + quit_flight(2100) + line(2500, "key 0x1d down") +
                               line(2502, "key 0x10 down");
    const auto path = write_bytes(dir / "run.txt", script);
    const RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_AUDIO=null VYR_SCRIPT=" + path.string());
    ASSERT_EQ(run.exit_code, 16) << run.output;

    const Capture turning = read_capture(dir.path() / "turning.ppm");
    const Capture turned = read_capture(dir.path() / "turned.ppm");
    const Capture main = read_capture(dir.path() / "main.ppm");
    EXPECT_GT(differing_view_pixels(main, turning), (VIEW_X1 - VIEW_X0) * (VIEW_Y1 - VIEW_Y0) / 2) << "the view shown";
    EXPECT_GT(caption_pixels(turning), 40) << "the name above the model";
    EXPECT_GT(differing_view_pixels(turning, turned), 200) << "a second later the aircraft has turned";
    EXPECT_LT(differing_view_pixels(turning, turned), (VIEW_X1 - VIEW_X0) * (VIEW_Y1 - VIEW_Y0) / 4)
        << "the same aircraft over the same backdrop";
    const char* const steps[] = {"next.ppm", "vehicles.ppm", "ships.ppm", "previous.ppm"};
    Capture before = turned;
    for (const char* step : steps) {
        const Capture now = read_capture(dir.path() / step);
        EXPECT_GT(caption_pixels(now), 20) << step;
        EXPECT_GT(differing_view_pixels(before, now), 200) << step << ": another object";
        before = now;
    }
    const Capture main_again = read_capture(dir.path() / "main_again.ppm");
    EXPECT_EQ(first_screen(main_again), Shown::MAIN_SCREEN);
    const Capture flight = read_capture(dir.path() / "flight.ppm");
    int changed = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) changed += flight.at(x, y) != main_again.at(x, y);
    EXPECT_GT(changed, 640 * 480 / 2) << "flying, the menus gone";
    for (const char* name : {"turning.ppm", "turned.ppm", "flight.ppm"}) keep(dir.path() / name, name);
}

// Next through the aircraft, then Vehicles and Next, then Ships and Next: every object once.
TEST(Recognition, EveryObjectOfTheListsShowsAModelAndItsName) {
    constexpr int AIRCRAFT_COUNT = 19, VEHICLE_COUNT = 32, SHIP_COUNT = 7, STEP = 40;
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", "Quick Start Game Runs=1\r\n");
    std::string script = press(60, RECOG);
    std::vector<std::string> names;
    int at = 400;
    const struct {
        std::array<int, 2> button;
        int count;
        const char* kind;
    } lists[] = {{AIRCRAFT, AIRCRAFT_COUNT, "aircraft"}, {VEHICLES, VEHICLE_COUNT, "vehicle"}, {SHIPS, SHIP_COUNT, "ship"}};
    for (const auto& list : lists) {
        script += press(at, list.button);
        for (int i = 0; i < list.count; ++i) {
            if (i) script += press(at, NEXT);
            names.push_back(std::string(list.kind) + "_" + std::to_string(i + 1) + ".ppm");
            script += line(at + STEP - 2, "capture " + names.back());
            at += STEP;
        }
    }
    script += line(at + 20, "key 0x1d down") + line(at + 22, "key 0x10 down");
    const auto path = write_bytes(dir / "run.txt", script);
    const RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + path.string());
    ASSERT_EQ(run.exit_code, 16) << run.output;

    // The backdrop alone is what no model covers; its top and bottom rows stand for it.
    for (const std::string& name : names) {
        const Capture c = read_capture(dir.path() / name);
        EXPECT_GT(caption_pixels(c), 10) << name;
        int model = 0;
        for (int y = VIEW_Y0 + 40; y < VIEW_Y1; ++y) {
            const auto sky = c.at(VIEW_X0, y);
            for (int x = VIEW_X0 + 1; x < VIEW_X1; ++x) model += c.at(x, y) != sky;
        }
        EXPECT_GT(model, 100) << name << ": a model stands in the window";
        keep(dir.path() / name, name);
    }
}

}  // namespace
}  // namespace vyr::e2e
