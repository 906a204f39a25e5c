// The head-up display seen from the cockpit in whole flights: over the landing practice with the
// gear lowered (the landing aid's symbols), and in Korea's air-combat quick start as the weapon
// keys step through the weapons (each mode its own symbols) and with the designated fighter
// padlocked (its mark and the strip under the view).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "tests/library/system/system_scenario.h"
#include "tests/support/quick_start_flight.h"
#include "tests/support/paths.h"
#include "platform/timer/timer.h"
#include "source/frame_loop.h"
#include "source/weapons/targets.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;

// The glass at the home look: panorama (528, 23), 223 x 180, the look's window at (320, -117);
// its upper part shows sky, against which the symbols stand out dark (palette entries 208 and 223
// are the display's darkest and brightest shades: by day the darker).
constexpr Box GLASS_SKY = {212, 144, 428, 230};

int dark_pixels(const Picture& p, Box b) {
    int n = 0;
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x < b.x1; ++x) n += brightest(p.at(x, y)) < 80;
    return n;
}

int differing(const Picture& a, const Picture& b, Box box) {
    int n = 0;
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x) n += std::abs(brightest(a.at(x, y)) - brightest(b.at(x, y))) > 60;
    return n;
}

class HudFlight : public SystemScenarios {
protected:
    void SetUp() override {
        if (!fs::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    }
    // Flies with the keys given, capturing at each time; Alt+X and Y end the flight.
    std::vector<Picture> fly(const QuickStartFlight& flight, std::vector<platform::ScriptEvent> script,
                             const std::vector<uint64_t>& captures, const std::string& name) {
        for (uint64_t at : captures) add_capture(script, at, path(name, at));
        add_quit_question(script, captures.back() + 20, 0x15, (home.path() / "quit.ppm").string());
        const std::string home_path = home.path().string();
        EXPECT_EXIT(fly_headless(flight, home_path, script), testing::ExitedWithCode(0),
                    testing::Not(testing::HasSubstr("runtime error")));
        std::vector<Picture> pictures;
        const fs::path kept = fs::path(VYR_BUILD_DIR) / "captures" / "hud";
        fs::create_directories(kept);
        for (uint64_t at : captures) {
            pictures.push_back(read_ppm(path(name, at)));
            if (pictures.back().width != 640) pictures.back() = {640, 480, std::string(640 * 480 * 3, '\0')};
            fs::copy_file(path(name, at), kept / (name + "_" + std::to_string(at) + ".ppm"), fs::copy_options::overwrite_existing);
        }
        return pictures;
    }
    std::string path(const std::string& name, uint64_t at) const {
        return (home.path() / (name + "_" + std::to_string(at) + ".ppm")).string();
    }
    ScratchDirectory home;
};

TEST_F(HudFlight, TheLandingAidShowsWithTheGearDown) {
    QuickStartFlight flight;
    flight.training = 2;  // the landing practice, 4 nm out
    std::vector<platform::ScriptEvent> script;
    press(script, 100, {0x03});  // look up to the home look, level through the glass
    // Minus held: the throttle back to idle, to slow below the gear's 300 kt; then G.
    script.push_back(script_event(110, platform::ScriptEvent::KEY, 0x0C, true));
    script.push_back(script_event(400, platform::ScriptEvent::KEY, 0x0C, false));
    press(script, 900, {0x22});
    const std::vector<Picture> frames = fly(flight, script, {150, 1200}, "ils");
    for (const Picture& p : frames) EXPECT_GT(dark_pixels(p, GLASS_SKY), 150) << "symbols in the glass";
    EXPECT_GT(differing(frames[0], frames[1], GLASS_SKY), 100) << "the landing aid's scales once the gear is down";
}

TEST_F(HudFlight, EachWeaponModeDrawsItsOwnSymbols) {
    QuickStartFlight flight;  // Korea's air-combat quick start, in the air with a missile selected
    std::vector<platform::ScriptEvent> script;
    press(script, 100, {0x03});
    press(script, 300, {0x1C});  // Enter, twice: on to the next weapon
    press(script, 500, {0x1C});
    const std::vector<Picture> frames = fly(flight, script, {250, 650}, "weapons");
    for (const Picture& p : frames) EXPECT_GT(dark_pixels(p, GLASS_SKY), 150);
    EXPECT_GT(differing(frames[0], frames[1], GLASS_SKY), 100) << "the medium-range reticle, then the short-range one";
}

// From the flight's first period on, the first enemy aircraft is the designated target (the
// quick start designates nothing by itself); the listener it replaced still hears every period.
platform::PeriodListener passed_on = nullptr;
void designate_enemy_aircraft(uint64_t period) {
    if (passed_on) passed_on(period);
    if (!flight_running || designated_target.kind != TARGET_NONE) return;
    for (Task* t = task_list; t; t = t->next)
        if (t->side != task_list->side && t->first_drone && t->first_drone->drone_class == DRONE_CLASS_AIRCRAFT) {
            designated_target = {};
            designated_target.kind = TARGET_MOBILE;
            designated_target.object = &t->first_drone->object;
            return;
        }
}

// Bright pixels of a box: the needles' white on the dark panel.
int bright_pixels(const Picture& p, Box b) {
    int n = 0;
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x < b.x1; ++x) n += brightest(p.at(x, y)) > 200;
    return n;
}

TEST_F(HudFlight, ThePadlockMarksTheDesignatedFighterAndShowsItsStrip) {
    QuickStartFlight flight;
    flight.before = [] { passed_on = platform::set_period_listener(designate_enemy_aircraft); };
    std::vector<platform::ScriptEvent> script;
    press(script, 100, {0x03});
    press(script, 300, {0x07});  // 6: padlock
    const std::vector<Picture> frames = fly(flight, script, {250, 600}, "padlock");
    const Box strip{160, 456, 480, 476};
    EXPECT_GT(bright_pixels(frames[1], strip), bright_pixels(frames[0], strip) + 150)
        << "the frame, the bearing box and the texts under the view";
}

}  // namespace
}  // namespace vyr
