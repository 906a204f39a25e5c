// The ground-attack quick starts captured from whole headless flights: from the cockpit, over
// Cyprus the carrier that blows up on the lake shore, the helicopter hovering 200 ft up and the
// parked tanks with their shadows, over Afghanistan the fighter taking off ahead; from outside,
// over Israel the player's own stores until jettisoned and the smoke of an engine fire. Each
// flight moves the player's start to where it watches from; the start faces the route's next
// waypoint, which is put on what it watches.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "library/3dvisual/view.h"
#include "library/maths/random.h"
#include "library/maths/units.h"
#include "source/drone/drone.h"
#include "source/drone/task.h"
#include "source/drone/waypoint.h"
#include "source/avionics/failures.h"
#include "source/frame_loop.h"
#include "source/drone/user_drone.h"
#include "source/weapons/stores.h"
#include "source/weapons/weapon_info.h"
#include "platform/timer/timer.h"
#include "source/mission/game_flow.h"
#include "tests/library/system/system_scenario.h"
#include "tests/support/quick_start_flight.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;

bool is_wreck(const Drone& drone) { return (drone.mission_flags & DRONE_FLAG_EXPLODE) != 0; }
bool is_helicopter(const Drone& drone) { return drone.drone_class == DRONE_CLASS_HELICOPTER; }
// The tanks by the start stand still: both their waypoints on one spot.
bool is_parked_tank(const Drone& drone) {
    const Waypoint* first = drone.first_waypoint;
    return drone.task && drone.task->type == TASK_GROUND_VEHICLE && first && first->next &&
           first->next->x == first->x && first->next->y == first->y && !is_wreck(drone);
}

QuickStartFlight ground_attack(int war_zone, void (*before)(), bool shadows) {
    QuickStartFlight flight;
    flight.war_zone = war_zone;
    flight.kind = 2;
    flight.flow = FLOW_NONE;  // the engine at idle: the player watches from where the start puts it
    flight.before = [before, shadows] {
        before();
        if (shadows) view_settings.flags |= VIEW_SHADOWS;
        else view_settings.flags &= ~VIEW_SHADOWS;
    };
    return flight;
}

QuickStartFlight cyprus_ground_attack(void (*before)(), bool shadows = true) { return ground_attack(3, before, shadows); }

// The carrier's dark olive and its shadow, and the unlit side of the spray; the sky, the haze, the
// sand, the water and the grass are all brighter.
bool is_dark(uint32_t c) { return brightest(c) < 0x30; }

// What stands in a box: its dark pixels, the top row of them, and the tallest run of them down one
// column.
struct Standing {
    int pixels = 0, top = 1 << 20, tallest = 0;
};

Standing standing(const Picture& picture, Box b) {
    Standing s;
    for (int x = b.x0; x < b.x1; ++x)
        for (int y = b.y0, run = 0; y < b.y1; ++y) {
            run = is_dark(picture.at(x, y)) ? run + 1 : 0;
            if (run == 0) continue;
            ++s.pixels;
            s.top = std::min(s.top, y);
            s.tallest = std::max(s.tallest, run);
        }
    return s;
}

class FlightCaptures : public SystemScenarios {
protected:
    void SetUp() override {
        if (!fs::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    }

    // Captures named `name` at the given periods into the scratch home, then Alt+X and Y end the
    // flight.
    std::vector<Picture> fly(const QuickStartFlight& flight, const std::string& name, const std::vector<int>& periods,
                             std::vector<platform::ScriptEvent> script = {}) {
        // I: the head-up display's symbols from dark to bright green, never taken for what is watched.
        script.push_back(script_event(4, platform::ScriptEvent::KEY, 0x17, true));
        script.push_back(script_event(6, platform::ScriptEvent::KEY, 0x17, false));
        for (int at : periods) add_capture(script, uint64_t(at), capture(name, at));
        add_quit_question(script, uint64_t(periods.back() + 20), 0x15, (home.path() / "quit.ppm").string());
        const std::string home_path = home.path().string();
        // A sanitizer's report in the flight's process fails the test too.
        EXPECT_EXIT(fly_headless(flight, home_path, script), testing::ExitedWithCode(0),
                    testing::Not(testing::HasSubstr("runtime error")));
        std::vector<Picture> pictures;
        for (int at : periods) {
            pictures.push_back(read_ppm(capture(name, at)));
            EXPECT_EQ(pictures.back().width, 640) << at;
            if (pictures.back().width != 640) pictures.back() = {640, 480, std::string(640 * 480 * 3, '\xFF')};
        }
        return pictures;
    }
    std::string capture(const std::string& name, int at) const {
        return (home.path() / (name + "_" + std::to_string(at) + ".ppm")).string();
    }
    // Keeps a capture in the build folder for a person to look at, as flight_`name`_`at`.ppm.
    void keep(const std::string& name, int at) const {
        fs::copy_file(capture(name, at), std::string(VYR_BUILD_DIR) + "/flight_" + name + "_" + std::to_string(at) + ".ppm",
                      fs::copy_options::overwrite_existing);
    }

    ScratchDirectory home;
};

// The pieces fly where the shared random seed sends them, and what the mission's drones draw from
// it before the carrier blows up changes with every drone added; so seeds are tried for one
// that drops the turret in the pond.
int32_t wreck_seed = 0;

// From 300 ft west of the carrier, the pond behind it (the player stands still on the ground): the
// turret flies up above where the carrier's top was, comes down on the water in a column of spray
// taller than the carrier and is gone; the hull lies where the carrier stood. With the explode flag
// cleared the carrier stands whole all along.
TEST_F(FlightCaptures, TheCarrierOnTheLakeShoreBlowsApartAsTheFlightStarts) {
    std::vector<int> periods;
    for (int at = 20; at < 100; at += 4) periods.push_back(at);
    for (int at = 100; at <= 200; at += 2) periods.push_back(at);
    periods.push_back(400);
    const auto from_the_west = [] {
        start_looking_at(is_wreck, -300, 0);
        random_seed = wreck_seed;
    };
    const auto whole = [] {
        start_looking_at(is_wreck, -300, 0);
        find_drone(is_wreck)->mission_flags &= ~DRONE_FLAG_EXPLODE;
    };
    const std::vector<Picture> control = fly(cyprus_ground_attack(whole), "whole", periods);
    // Through the head-up display's glass: the cockpit's first look is 20 degrees down.
    const Box around{240, 28, 400, 187};
    const Standing carrier = standing(control.front(), around);
    ASSERT_GE(carrier.pixels, 50) << "the carrier in view";
    for (size_t i = 0; i < periods.size(); ++i)
        EXPECT_EQ(standing(control[i], around).top, carrier.top) << periods[i] << ": the whole carrier stands still";

    const size_t none = periods.size();
    size_t flying = none, splash = none;
    std::vector<Picture> wreck;
    for (wreck_seed = 1; wreck_seed <= 16 && splash == none; ++wreck_seed) {
        wreck = fly(cyprus_ground_attack(from_the_west), "wreck", periods);
        flying = splash = none;
        for (size_t i = 0; i < periods.size(); ++i) {
            const Standing w = standing(wreck[i], around);
            if (flying == none && w.top <= carrier.top - 6) flying = i;
            if (flying != none && splash == none && w.tallest >= carrier.tallest + 8) splash = i;
        }
        const Standing resting = standing(wreck.back(), around);
        EXPECT_GE(resting.top, carrier.top) << "nothing left in the air, and no turret on the hull";
        EXPECT_GE(resting.pixels, carrier.pixels / 2) << "the hull at rest on the shore";
    }
    ASSERT_NE(flying, none) << "a piece in the air above the carrier";
    ASSERT_NE(splash, none) << "the spray over the pond after it";
    for (size_t i : {flying, splash, periods.size() - 1}) {
        keep("wreck", periods[i]);
        keep("whole", periods[i]);
    }
}

// Pixels that clearly differ between two pictures in a box, and their centre.
struct Difference {
    int pixels = 0;
    double x = 0, y = 0;
};

Difference difference(const Picture& a, const Picture& b, Box box) {
    Difference d;
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x) {
            const uint32_t p = a.at(x, y), q = b.at(x, y);
            int apart = 0;
            for (int shift : {0, 8, 16}) apart += std::abs(int(p >> shift & 0xFF) - int(q >> shift & 0xFF));
            if (apart <= 30) continue;
            ++d.pixels;
            d.x += x;
            d.y += y;
        }
    if (d.pixels) d.x /= d.pixels, d.y /= d.pixels;
    return d;
}

// The 80 x 40 cells of the picture's rows y0 <= y < y1 holding pixels far off their row's usual
// colour (the grass's), left and right of the middle strip x0 <= x < x1: things standing on the
// ground.
int cells_with_things(const Picture& picture, int y0, int y1, int x0, int x1) {
    std::vector<bool> found(size_t(picture.width / 80 + 1) * (picture.height / 40 + 1));
    for (int y = y0; y < y1; ++y) {
        int usual[3];
        for (int k = 0; k < 3; ++k) {
            std::vector<int> row;
            for (int x = 0; x < picture.width - 1; ++x) row.push_back(int(picture.at(x, y) >> (8 * k) & 0xFF));
            std::nth_element(row.begin(), row.begin() + row.size() / 2, row.end());
            usual[k] = row[row.size() / 2];
        }
        for (int x = 0; x < picture.width - 1; ++x) {
            if (x >= x0 && x < x1) continue;
            int apart = 0;
            for (int k = 0; k < 3; ++k) apart += std::abs(int(picture.at(x, y) >> (8 * k) & 0xFF) - usual[k]);
            if (apart > 60) found[size_t(y / 40) * (picture.width / 80 + 1) + x / 80] = true;
        }
    }
    return int(std::count(found.begin(), found.end(), true));
}

// With "Shadows" on, at noon (the sun high in the south-south-east): from 1,500 ft south of the
// helicopter and 255 ft up, its shadow lies on the ground, below it on the screen and to its left,
// cast north-north-west; from 120 ft south of a parked tank, its shadow is under it. With
// "Shadows" off neither shows. The helicopter is what a flight without it lacks, its shadow what a
// flight with "Shadows" off lacks; the theatre's trees and buildings stand on the grass around.
TEST_F(FlightCaptures, TheHelicopterAndTheParkedTanksCastTheirShadowsWithShadowsOn) {
    // Far enough for the shadow to show through the head-up display's glass, 13 degrees below the
    // horizon at most from the cockpit's first look, with the player closing on it.
    const auto above_the_helicopter = [] { start_looking_at(is_helicopter, 0, -1500, 255); };
    const auto without_it = [] {
        start_looking_at(is_helicopter, 0, -1500, 255);
        for (Waypoint* w = find_drone(is_helicopter)->first_waypoint; w; w = w->next) w->x += 40 << 20;
    };
    const auto by_the_tanks = [] { start_looking_at(is_parked_tank, 0, -120); };
    const std::vector<int> periods = {40, 70};
    const std::vector<Picture> lit = fly(cyprus_ground_attack(above_the_helicopter), "helicopter", periods);
    const std::vector<Picture> unlit = fly(cyprus_ground_attack(above_the_helicopter, false), "unlit", periods);
    const std::vector<Picture> bare = fly(cyprus_ground_attack(without_it, false), "bare", periods);
    const std::vector<Picture> tank = fly(cyprus_ground_attack(by_the_tanks), "tanks", periods);
    const std::vector<Picture> tank_unlit = fly(cyprus_ground_attack(by_the_tanks, false), "unlit_tanks", periods);

    const Box ahead{212, 60, 428, 203}, under{212, 110, 428, 180};
    for (size_t i = 0; i < periods.size(); ++i) {
        SCOPED_TRACE(periods[i]);
        const Difference craft = difference(unlit[i], bare[i], ahead), shadow = difference(lit[i], unlit[i], ahead);
        // So far off, the helicopter and its shadow take only a few pixels each.
        ASSERT_GE(craft.pixels, 10) << "the helicopter in view";
        ASSERT_GE(shadow.pixels, 8) << "its shadow";
        EXPECT_GT(shadow.y, craft.y + 30) << "on the ground, below it";
        EXPECT_LT(shadow.x, craft.x - 5) << "displaced west along the light";
        EXPECT_GE(cells_with_things(lit[i], 130, 200, 260, 380), 5) << "the theatre's trees and buildings around";
        const Difference tank_shadow = difference(tank[i], tank_unlit[i], under);
        EXPECT_GE(tank_shadow.pixels, 40) << "under the tank";
        EXPECT_NEAR(tank_shadow.x, 320, 20) << "the tank stands dead ahead";
    }
    for (const char* name : {"helicopter", "unlit", "tanks", "unlit_tanks"}) keep(name, periods.front());
}

// Afghanistan's fighter parked on the runway ahead of the player: the only fighter of the
// mission standing on the ground.
bool is_fighter_taking_off(const Drone& drone) {
    return get_drone_object_number(&drone) == 225 && drone.first_waypoint && drone.first_waypoint->z == 0;
}

// The player stands on the grass 700 ft beside the runway, 1,200 ft past the fighter's Departure
// point, facing a point of the runway 1,000 ft farther on.
void watch_beside_the_runway() {
    const Waypoint* departure = find_drone(is_fighter_taking_off)->first_waypoint->next;
    const Waypoint* climb_out = departure->next;
    const double dx = double(climb_out->x) - departure->x, dy = double(climb_out->y) - departure->y;
    const double length = std::hypot(dx, dy), ax = dx / length, ay = dy / length;
    const double abeam_x = departure->x + ax * 1200 * FOOT, abeam_y = departure->y + ay * 1200 * FOOT;
    Waypoint* start = task_list->first_drone->first_waypoint;
    start->x = int32_t(abeam_x - ay * 700 * FOOT);
    start->y = int32_t(abeam_y + ax * 700 * FOOT);
    start->z = 0;
    start->next->x = int32_t(abeam_x + ax * 1000 * FOOT);
    start->next->y = int32_t(abeam_y + ay * 1000 * FOOT);
}

// Against a flight without the fighter (moved far off), it shows: rolling across the view along
// the runway, level with the ground beyond, then lifting off and climbing up the picture as it
// flies on.
TEST_F(FlightCaptures, TheFighterAheadRollsDownTheRunwayAndClimbsAway) {
    const auto without_it = [] {
        watch_beside_the_runway();
        for (Waypoint* w = find_drone(is_fighter_taking_off)->first_waypoint; w; w = w->next) w->x += 40 << 20;
    };
    const std::vector<int> periods = {2000, 2200, 2500, 2800};
    const std::vector<Picture> with = fly(ground_attack(4, watch_beside_the_runway, true), "take_off", periods);
    const std::vector<Picture> bare = fly(ground_attack(4, without_it, true), "no_take_off", periods);
    const Box whole{0, 0, 640, 480};
    std::vector<Difference> fighter;
    for (size_t i = 0; i < periods.size(); ++i) {
        fighter.push_back(difference(with[i], bare[i], whole));
        EXPECT_GE(fighter[i].pixels, 5) << periods[i] << ": the fighter in view";
    }
    EXPECT_LT(fighter[1].x, fighter[0].x - 50) << "rolling along the runway";
    EXPECT_NEAR(fighter[1].y, fighter[0].y, 2) << "on the ground";
    EXPECT_LT(fighter[2].y, fighter[1].y - 5) << "lifted off";
    EXPECT_LT(fighter[3].y, fighter[2].y - 5) << "climbing";
    for (int at : periods) keep("take_off", at);
}

constexpr int KEY_F6 = 0x40, KEY_J = 0x24, KEY_CTRL = 0x1D;

// Run between two frames of the flight, after each period of game time; the listener it replaced
// still hears every period.
void (*during_flight)() = nullptr;
platform::PeriodListener passed_on = nullptr;
void each_period(uint64_t period) {
    if (passed_on) passed_on(period);
    if (flight_running && game_clock) during_flight();
}

// Israel's ground-attack quick start seen from outside (F6), started 3,000 ft up, with `during`
// run through the flight.
QuickStartFlight israel_from_outside(void (*during)()) {
    QuickStartFlight flight;
    flight.war_zone = 1;
    flight.kind = 2;
    flight.before = [during] {
        task_list->first_drone->first_waypoint->z = 3000 * FOOT;
        during_flight = during;
        passed_on = platform::set_period_listener(each_period);
    };
    return flight;
}

// The player's aircraft shows the object among its parts.
bool carries(int32_t object) {
    return std::find(std::begin(user_part_list), std::end(user_part_list), object) != std::end(user_part_list);
}

// With the weapons used up as in a mission (a quick start's are unlimited): J drops the tanks,
// Ctrl+J the stores but the air-to-air missiles. The flight's process ends with 2 when a bomb or
// the centre tank is still on the airframe at the end, 3 when the missiles went too.
TEST_F(FlightCaptures, TheStoresHangUnderThePlayersAircraftUntilJettisoned) {
    std::vector<platform::ScriptEvent> script;
    press(script, 20, {KEY_F6});
    press(script, 400, {KEY_J});
    press(script, 500, {KEY_CTRL, KEY_J});
    QuickStartFlight flight = israel_from_outside([] { unlimited_weapons = 0; });
    flight.after = [] {
        if (carries(weapon_info[WEAPON_MK_82].round_object) || carries(sensor_types[SENSOR_TYPE_CENTRE_TANK].object_number))
            std::_Exit(2);
        if (!carries(weapon_info[WEAPON_AIM_9M].round_object)) std::_Exit(3);
    };
    const std::vector<int> periods = {300, 900};
    fly(flight, "stores", periods, script);
    for (int at : periods) keep("stores", at);
}

// Smoke grey in a box: light, with the three channels alike.
int smoke_grey(const Picture& p, Box box) {
    int n = 0;
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x) {
            const uint32_t c = p.at(x, y);
            const int r = int(c >> 16 & 0xFF), g = int(c >> 8 & 0xFF), b = int(c & 0xFF);
            n += std::abs(r - g) < 12 && std::abs(g - b) < 12 && g > 90 && g < 220;
        }
    return n;
}

// The trail streams back from the nozzle towards the eye behind the aircraft.
TEST_F(FlightCaptures, AnEngineFireTrailsSmokeBehindThePlayersAircraft) {
    std::vector<platform::ScriptEvent> script;
    press(script, 20, {KEY_F6});
    const std::vector<int> periods = {600};
    const Picture clean = fly(israel_from_outside([] {}), "no_fire", periods, script)[0];
    const Picture fire = fly(israel_from_outside([] { set_failure(FAIL_FIRE); }), "fire", periods, script)[0];
    keep("fire", 600);
    const Box behind{240, 280, 400, 480};
    EXPECT_GT(smoke_grey(fire, behind), smoke_grey(clean, behind) + 1000);
}

}  // namespace
}  // namespace vyr
