// The player's weapons over whole flights, heard and seen: Korea's quick starts flown headless
// under the virtual clock with the engine's rows silenced, a script pressing the weapon keys, and
// the game watched between its frames for what the rounds and their targets do.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/terrain.h"
#include "library/maths/units.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/hud.h"
#include "source/drone/drone.h"
#include "source/drone/task.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/menus/missions/payload.h"
#include "source/mission/game_flow.h"
#include "source/mission/quick_start.h"
#include "source/recorder.h"
#include "source/weapons/bomb_sight.h"
#include "source/weapons/rounds.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapon_keys.h"
#include "tests/support/heard_flight.h"
#include "tests/support/quick_start_flight.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;
constexpr int SIDE_ENEMY_TASK = 2;
constexpr int BUNKER = 18;
constexpr int STORE_MK_84 = 15;  // the payload's store of the weapon
constexpr int ROW_GUN = 12, ROW_LAUNCH_AIM_9 = 13, ROW_RELEASE_MK_82 = 17;
constexpr int ROW_FIRST_BLAST = 8, ROW_LAST_BLAST = 11;
constexpr int FRAMES_PER_PERIOD = HEARD_FRAMES_PER_SECOND / HEARD_PERIODS_PER_SECOND;
constexpr int KEY_ENTER = 0x1C, KEY_SPACE = 0x39, KEY_KEYPAD_3 = 0x51, KEY_F5 = 0x3F, KEY_F7 = 0x41, KEY_F8 = 0x42;

// ---- What the watch saw: "name=value" pairs on one line beginning "weapons" ----

std::map<std::string, long> seen;

void note(const std::string& name, long value) { seen[name] = value; }
void note_once(const std::string& name, long value) { seen.emplace(name, value); }
void note_least(const std::string& name, long value) {
    if (!seen.count(name) || value < seen[name]) seen[name] = value;
}

[[noreturn]] void report() {
    std::string line = "weapons";
    for (const auto& [name, value] : seen) line += " " + name + "=" + std::to_string(value);
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
    std::_Exit(0);
}

using Report = std::map<std::string, long>;

Report parse(const std::string& line) {
    Report values;
    std::istringstream in(line);
    std::string word;
    while (in >> word)
        if (const size_t eq = word.find('='); eq != std::string::npos) values[word.substr(0, eq)] = std::stol(word.substr(eq + 1));
    return values;
}

long period_now() { return long(platform::timer_periods()); }
long feet(int64_t units) { return long(units / FOOT); }
long feet_apart(const Vector3& a, const Vector3& b) { return long(std::hypot(double(a.x) - b.x, double(a.y) - b.y) / FOOT); }
long feet_apart_3d(const Vector3& a, const Vector3& b) {
    return long(std::sqrt(std::pow(double(a.x) - b.x, 2) + std::pow(double(a.y) - b.y, 2) + std::pow(double(a.z) - b.z, 2)) / FOOT);
}

long count_records(int kind, intptr_t reference) {
    long count = 0;
    for (FlightEventBlock* block = first_event_block; block; block = block->next)
        for (const FlightEventRecord& record : block->records)
            if (record.kind == kind && record.reference == reference) ++count;
    return count;
}

// ---- The watch ----

// The flight runs with the scheduler locked, so no other thread of the game runs during it; but
// its thread runs the virtual clock's periods as it presents each frame, and calls the period
// listener there, between two frames. The watch gets each period after the window's script.
platform::PeriodListener passed_on = nullptr;
void (*watch)() = nullptr;

void watch_period(uint64_t period) {
    if (passed_on) passed_on(period);
    if (flight_running && game_clock && watch) watch();
}

void watch_each_frame(void (*each)()) {
    silence_engine();
    watch = each;
    passed_on = platform::set_period_listener(watch_period);
}

// A test mission has only what it needs: every task but the player's and `keep` leaves with its
// drones before the flight, and the grid's AAA and SAM sites with them, so that nothing of the war
// fires at the player (its missile warning sounds over the gun) nor gives the quarry a fight of
// its own.
void only_the_player_and(const Task* keep = nullptr) {
    for (Task* task = task_list; task;) {
        Task* const next = task->next;
        if (task != get_user_task() && task != keep) destroy_task(task);
        task = next;
    }
    for (GameplayCell& cell : gameplay_grid)
        for (int type : {GAMEPLAY_AAA, GAMEPLAY_SAM})
            for (GameplayObject*& site : get_gameplay_slots(cell, type))
                if (site) {
                    free_gameplay_object(site);
                    site = nullptr;
                }
}

// The best match of a row (its first `seconds`) in the mix between two periods.
long heard(const HeardFlight& flight, int row, long from, long to, double seconds = 0.25) {
    std::vector<double> samples = row_at_mix_rate(row);
    samples.resize(std::min(samples.size(), size_t(seconds * HEARD_FRAMES_PER_SECOND)));
    const size_t start = size_t(std::max(0L, from - long(flight.capture_start))) * FRAMES_PER_PERIOD;
    const size_t end = size_t(std::max(0L, to - long(flight.capture_start))) * FRAMES_PER_PERIOD;
    return best_match(flight.mix, samples, 4, start, end).score;
}

long heard_blast(const HeardFlight& flight, long from, long to) {
    long best = 0;
    for (int row = ROW_FIRST_BLAST; row <= ROW_LAST_BLAST; ++row) best = std::max(best, heard(flight, row, from, to));
    return best;
}

long level(const HeardFlight& flight, long from, long to) {
    const size_t start = size_t(from - long(flight.capture_start)) * FRAMES_PER_PERIOD;
    return long(rms(flight.mix, start, size_t(to - from) * FRAMES_PER_PERIOD));
}

// ---- The script ----

struct Script {
    std::string text;
    const fs::path* home;

    Script& press(long at, int code) { return hold(at, at + 2, code); }
    Script& hold(long from, long to, int code) {
        char line[80];
        std::snprintf(line, sizeof line, "%ld key 0x%x down\n%ld key 0x%x up\n", from, code, to, code);
        text += line;
        return *this;
    }
    Script& capture(long at, const std::string& name) {
        text += std::to_string(at) + " capture " + (*home / (name + ".ppm")).string() + "\n";
        return *this;
    }
    // Alt+X and Y end it; the lines in the order of their times.
    std::string quit(long at) {
        text += std::to_string(at) + " key 0x38 down\n" + std::to_string(at + 2) + " key 0x2d down\n" +
                std::to_string(at + 4) + " key 0x2d up\n" + std::to_string(at + 6) + " key 0x38 up\n" +
                std::to_string(at + 60) + " key 0x15 down\n" + std::to_string(at + 62) + " key 0x15 up\n";
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        std::stable_sort(lines.begin(), lines.end(),
                         [](const std::string& a, const std::string& b) { return std::stol(a) < std::stol(b); });
        std::string sorted;
        for (const std::string& line : lines) sorted += line + "\n";
        return sorted;
    }
};

// ---- A bomb run at a bunker, then the gun ----

ground_object* bunker = nullptr;
Vector3 bunker_at{};

// The easternmost bunker of the generated Korea, the last of a row of three at the enemy's front.
void find_bunker() {
    for (int tile = 0; tile < 4096; ++tile) {
        int16_t* list = ground_object_list(ground_object_tiles, tile);
        ground_object* records = list ? ground_object_records(list) : nullptr;
        for (int i = 0; i < ground_object_count(list); ++i) {
            const Vector3 at = ground_object_position(tile, records[i]);
            if (records[i].type != BUNKER || (bunker && at.x <= bunker_at.x)) continue;
            bunker = &records[i];
            bunker_at = at;
        }
    }
}

// The CCIP point crosses the bunker 4.31 s into the script when the aircraft starts 7,500 ft
// south-west of it, level at 1,000 ft above the ground at the quick start's 595 ft/s.
constexpr long BOMB_RUN_START = 7500, RELEASE_AT = 431;
// Space held for the gun.
constexpr long GUN_FROM = 1600, GUN_TO = 1700;

void watch_bomb_run();

void start_bomb_run() {
    watch_each_frame(watch_bomb_run);
    only_the_player_and();
    find_bunker();
    Waypoint* start = task_list->first_drone->first_waypoint;
    // From the south-west, so that the run crosses no other bunker of the row.
    start->x = bunker_at.x - int32_t(BOMB_RUN_START * FOOT * M_SQRT1_2);
    start->y = bunker_at.y - int32_t(BOMB_RUN_START * FOOT * M_SQRT1_2);
    start->z = get_ground_height(start->x, start->y) + 1000 * FOOT;
    start->next->x = bunker_at.x;
    start->next->y = bunker_at.y;
}

// Where a point lies from the aircraft, in tenths of a foot along the aircraft's own axes (the
// rows of its matrix: right, forward, up).
long along_axis(const Vector3& point, int axis) {
    const Vector3& me = player_position->position;
    const Matrix3& m = player_position->matrix;
    const double d[3] = {double(point.x) - me.x, double(point.y) - me.y, double(point.z) - me.z};
    double along = 0;
    for (int k = 0; k < 3; ++k) along += d[k] * double(m.m[axis][k]) / 2147483648.0;
    return long(along * 10 / FOOT);
}

// MK-84s on the wings' middle pylons in place of the Mavericks, and no MK-82s.
void start_bomb_run_with_mk84s() {
    for (int pylon : {1, 6}) unload_pylon(pylon);
    for (int pylon : {2, 7}) {
        set_pylon_weapon(pylon, STORE_MK_84);
        set_pylon_count(pylon, 1, STORE_MK_84);
        set_pylon_weight(pylon, 1, STORE_MK_84);
    }
    start_bomb_run();
}

void watch_bomb_run() {
    note_once("flight_start", period_now());
    if ((selected_weapon == WEAPON_MK_82 || selected_weapon == WEAPON_MK_84) && get_bomb_delivery_mode() == BOMB_MODE_CCIP && period_now() < 1000) {
        Vector3 impact;
        predict_bomb_impact(impact);
        const long miss = feet_apart(impact, bunker_at);
        if (!seen.count("ccip_miss") || miss < seen["ccip_miss"]) {
            note("ccip_miss", miss);
            note("ccip_at", period_now());
            note("ccip_height", feet(flight_data.height_above_ground));
        }
    }
    for (const WeaponRound& round : round_pool.slots) {
        if (!(round.flags & ROUND_LIVE)) continue;
        if (round.weapon_id == WEAPON_MK_82 || round.weapon_id == WEAPON_MK_84) {
            if (!seen.count("bomb_launch")) {
                note("bomb_launch", period_now());
                note("bomb_weapon", round.weapon_id);
                note("bomb_ground_mode", !weapons_air_mode);
                note("bomb_release_hardpoint", selected_hardpoint);
                note("bomb_aside", along_axis(round.pose.position, 0));
                note("bomb_ahead", along_axis(round.pose.position, 1));
            }
            note("bomb_last", period_now());
            note("bomb_miss", feet_apart(round.pose.position, bunker_at));
        }
        if (round.weapon_id == WEAPON_GUN) {
            note_once("gun_first", period_now());
            note("gun_newest", std::max(seen["gun_newest"], long(round.launch_time)));
            if (seen.count("clock_at_gun_release") && round.launch_time > seen["clock_at_gun_release"])
                note("gun_fired_after_release", 1);
            // Ahead of the aircraft and no more than 6 degrees off the nose.
            const long ahead = along_axis(round.pose.position, 1), aside = along_axis(round.pose.position, 0);
            if (ahead > 0 && std::abs(aside) * 10 > ahead) note("gun_round_off_the_nose", 1);
        }
    }
    if (period_now() >= GUN_TO + 2) note_once("clock_at_gun_release", game_clock);
    if (bunker->flags & GROUND_DESTROYED) note_once("bunker_destroyed_at", period_now());
    note("bunker_damage", bunker->flags >> GROUND_DAMAGE_SHIFT & 0xFF);
}

int fly_bomb_run(void (*before)()) {
    quick_start_kind = 2;
    const HeardFlight flight = fly_heard(before);
    note("bunker_kills", count_records(RECORD_GROUND_OBJECT, reinterpret_cast<intptr_t>(bunker)));
    if (seen.count("bomb_launch")) {
        note("heard_release", heard(flight, ROW_RELEASE_MK_82, seen["bomb_launch"] - 10, seen["bomb_launch"] + 20));
        note("heard_release_before", heard(flight, ROW_RELEASE_MK_82, seen["bomb_launch"] - 200, seen["bomb_launch"] - 20));
        note("heard_blast", heard_blast(flight, seen["bomb_last"] - 10, seen["bomb_last"] + 20));
        note("heard_blast_before", heard_blast(flight, seen["bomb_last"] - 300, seen["bomb_last"] - 100));
    }
    if (seen.count("gun_first")) {
        note("heard_gun_held", heard(flight, ROW_GUN, GUN_FROM + 10, GUN_TO - 10, 0.05));
        note("gun_level_held", level(flight, GUN_FROM + 20, GUN_TO - 10));
        note("gun_level_after", level(flight, GUN_TO + 30, GUN_TO + 100));
        note("gun_level_before", level(flight, GUN_FROM - 80, GUN_FROM - 10));
    }
    report();
}

int fly_mk82_run(int, char**) { return fly_bomb_run(start_bomb_run); }
int fly_mk84_run(int, char**) { return fly_bomb_run(start_bomb_run_with_mk84s); }

// ---- An AIM-9M at an aircraft or a helicopter ahead ----

Drone* quarry = nullptr;

Drone* first_drone(bool (*matches)(const Drone&)) {
    for (Task* task = task_list; task; task = task->next)
        for (Drone* drone = task->first_drone; drone; drone = drone->next)
            if (matches(*drone)) return drone;
    return nullptr;
}

bool is_enemy_fighter(const Drone& drone) {
    return drone.drone_class == DRONE_CLASS_AIRCRAFT && drone.task && drone.task->side == SIDE_ENEMY_TASK;
}
bool is_helicopter(const Drone& drone) { return drone.drone_class == DRONE_CLASS_HELICOPTER; }

void watch_missile();

// The player starts `behind` feet back along the quarry's first leg, `up` feet above it, flying
// along the leg.
void start_behind(int32_t behind, int32_t up) {
    watch_each_frame(watch_missile);
    const Waypoint* first = quarry->first_waypoint;
    const Waypoint* second = first->next;
    const double dx = double(second->x) - first->x, dy = double(second->y) - first->y, length = std::hypot(dx, dy);
    Waypoint* start = task_list->first_drone->first_waypoint;
    start->x = first->x - int32_t(behind * FOOT * dx / length);
    start->y = first->y - int32_t(behind * FOOT * dy / length);
    start->z = std::max(first->z, get_ground_height(start->x, start->y)) + up * FOOT;
    start->next->x = second->x;
    start->next->y = second->y;
}

// The air-combat quick start's first enemy fighter on its patrol, from 4,000 ft behind.
void start_behind_the_fighter() {
    quarry = first_drone(is_enemy_fighter);
    start_behind(4000, 0);
}

// The ground-attack quick start's helicopter, made the enemy's and sent along its route at 100
// knots, from 12,000 ft behind and 300 ft above.
void start_behind_the_helicopter() {
    quarry = first_drone(is_helicopter);
    only_the_player_and(quarry->task);
    set_task_side(quarry->task, SIDE_ENEMY_TASK);
    for (Waypoint* w = quarry->first_waypoint; w; w = w->next) w->speed = 100 * FOOT * 6076 / 3600;
    start_behind(12000, 300);
}

void watch_missile() {
    note_once("flight_start", period_now());
    const bool designated = designated_target.kind != TARGET_NONE && designated_target.object == &quarry->object;
    if (designated) note_once("designated_at", period_now());
    const long now = period_now();
    long missiles = 0;
    for (const WeaponRound& round : round_pool.slots) {
        if (!(round.flags & ROUND_LIVE)) continue;
        if (round.weapon_id == WEAPON_AIM_9M && round.shooter == &user_drone->target) {
            ++missiles;
            const long apart = feet_apart_3d(round.pose.position, quarry->pose.position);
            if (!seen.count("launch_at")) {
                note("launch_at", now);
                note("launch_apart", apart);
                note("launch_designated", designated);
                note("launch_selected", selected_weapon);
            }
            note("missile_last", now);
            note_least("missile_closest", apart);
            if (now % 25 == 0) note("apart_" + std::to_string(now), apart);
        }
        if (round.weapon_id == WEAPON_FLARE && round.shooter == &quarry->target) note_once("flares_at", now);
    }
    note("missiles_most", std::max(missiles, seen["missiles_most"]));
    if (quarry->mission_flags & DRONE_FLAG_RETREAT) {
        note_once("retreat_at", now);
        note("retreat_last", now);
    }
    if (quarry->attack_target) note_once("quarry_attacks_at", now);
    note_once("quarry_heading_at_start", long(quarry->heading >> 16));
    note_once("quarry_height_at_start", feet(quarry->pose.position.z));
    // How far its heading turned from the start's, in 1/65536 of a turn, and how high it climbed.
    const long turned = std::labs(int16_t(uint16_t(quarry->heading >> 16) - uint16_t(seen["quarry_heading_at_start"])));
    const long climbed = feet(quarry->pose.position.z) - seen["quarry_height_at_start"];
    note("quarry_turned", std::max(turned, seen["quarry_turned"]));
    note("quarry_climbed", std::max(climbed, seen["quarry_climbed"]));
    if (!seen.count("flares_at")) note("quarry_off_its_leg_before_flares", std::max(turned + std::labs(climbed), seen["quarry_off_its_leg_before_flares"]));
    if (!quarry->destroyed) note("quarry_turned_at_end", turned);
    if (quarry->destroyed) note_once("destroyed_at", now);
}

int fly_missile(void (*before)()) {
    const HeardFlight flight = fly_heard(before);
    note("kill_records", count_records(RECORD_MOBILE_OBJECT, reinterpret_cast<intptr_t>(quarry)));
    if (seen.count("launch_at")) {
        note("heard_launch", heard(flight, ROW_LAUNCH_AIM_9, seen["launch_at"] - 10, seen["launch_at"] + 20));
        note("heard_launch_before", heard(flight, ROW_LAUNCH_AIM_9, seen["launch_at"] - 200, seen["launch_at"] - 20));
    }
    if (seen.count("destroyed_at")) {
        note("heard_blast", heard_blast(flight, seen["destroyed_at"] - 10, seen["destroyed_at"] + 20));
        note("heard_blast_before", heard_blast(flight, seen["destroyed_at"] - 200, seen["destroyed_at"] - 50));
    }
    report();
}

int fly_at_fighter(int, char**) {
    quick_start_kind = 1;
    return fly_missile(start_behind_the_fighter);
}

int fly_at_helicopter(int, char**) {
    quick_start_kind = 2;
    return fly_missile(start_behind_the_helicopter);
}

// ---- The tests ----

class WeaponsFlight : public HeardFlights {
protected:
    Report fly_script(int (*entry)(int, char**), const std::string& script) {
        const std::string line = fly(entry, FLOW_QUICK_START, script, "weapons");
        const Report values = parse(line);
        EXPECT_TRUE(values.count("flight_start")) << line;
        return values;
    }
    Script script() { return Script{"", &home_path}; }
    Picture picture(const std::string& name) {
        Picture p = read_ppm((home_path / (name + ".ppm")).string());
        EXPECT_EQ(p.width, 640) << name;
        if (p.width != 640) p = {640, 480, std::string(640 * 480 * 3, '\0')};
        return p;
    }
    // Keeps a capture in the build folder for a person to look at, as weapons_`name`.ppm.
    void keep(const std::string& name) {
        fs::copy_file(home_path / (name + ".ppm"), fs::path(VYR_BUILD_DIR) / ("weapons_" + name + ".ppm"),
                      fs::copy_options::overwrite_existing);
    }
    void SetUp() override {
        HeardFlights::SetUp();
        home_path = home.path();
    }
    fs::path home_path;
};

std::string dump(const Report& values) {
    std::string all;
    for (const auto& [name, value] : values) all += name + "=" + std::to_string(value) + " ";
    return all;
}

long value(const Report& r, const std::string& name) { return r.count(name) ? r.at(name) : -1; }

// Pixels darker than the sky, the haze and the grass in a box (than `below`): an aircraft seen
// against them.
int dark_pixels(const Picture& picture, int x0, int y0, int x1, int y1, int below = 0x40) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += brightest(picture.at(x, y)) < below;
    return n;
}

// Grey pixels of the lower half whose brightest channel is at least `from` and below `to`: the
// weapon view rests where the bomb fell, on the bunker's light concrete or on its dark wreck.
int grey_below_the_horizon(const Picture& picture, int from, int to) {
    int n = 0;
    for (int y = picture.height / 2; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t c = picture.at(x, y);
            const int high = brightest(c), low = std::min({int(c >> 16 & 0xFF), int(c >> 8 & 0xFF), int(c & 0xFF)});
            n += high - low < 12 && high >= from && high < to;
        }
    return n;
}
constexpr int CONCRETE = 0x80, WRECK = 0x28, WRECK_TOP = 0x60;

// Ground mode is where the ground-attack quick start begins. Enter steps from its AGM-65G to the
// MK-82 in CCIP; Space goes when the CCIP point is on the bunker. Then Enter steps LAY, LOFT and
// the gun, held for a second of Space.
TEST_F(WeaponsFlight, AnMk82InCcipFallsOnTheBunkerAndTheGunFiresOnlyWhileSpaceIsHeld) {
    const Report r = fly_script(fly_mk82_run, script()
                                                  .press(300, KEY_ENTER)
                                                  .press(RELEASE_AT, KEY_SPACE)
                                                  .press(1100, KEY_F7)
                                                  .capture(1300, "mk82_fallen")
                                                  .press(1400, KEY_F5)
                                                  .press(1500, KEY_ENTER)
                                                  .press(1520, KEY_ENTER)
                                                  .press(1540, KEY_ENTER)
                                                  .hold(GUN_FROM, GUN_TO, KEY_SPACE)
                                                  .quit(2000));
    SCOPED_TRACE(dump(r));
    EXPECT_LE(value(r, "ccip_miss"), 30) << "the CCIP point crossed the bunker";
    EXPECT_NEAR(value(r, "ccip_at"), RELEASE_AT, 2) << "at the worked-out moment";
    EXPECT_NEAR(value(r, "ccip_height"), 1000, 50);

    EXPECT_EQ(value(r, "bomb_weapon"), WEAPON_MK_82);
    EXPECT_EQ(value(r, "bomb_ground_mode"), 1);
    EXPECT_GE(value(r, "bomb_launch"), RELEASE_AT);
    EXPECT_LE(value(r, "bomb_launch"), RELEASE_AT + 4) << "within a frame of Space";
    // The MK-82s hang on hardpoints 5 and 6; the bomb leaves from the pylon's point, off the
    // aircraft's centre.
    EXPECT_TRUE(value(r, "bomb_release_hardpoint") == 5 || value(r, "bomb_release_hardpoint") == 6);
    EXPECT_GE(std::labs(value(r, "bomb_aside")), 10) << "tenths of a foot beside the aircraft's centre";
    EXPECT_LE(value(r, "bomb_miss"), 30) << "it fell on the bunker";
    // The whole of an MK-82's 175 points: a direct hit. A bunker's strength is 500 and its damage
    // is kept in a byte (at most 255), so no number of MK-82s destroys one; an MK-84 (700) would.
    EXPECT_EQ(value(r, "bunker_damage"), 175);
    EXPECT_EQ(value(r, "bunker_kills"), 0);
    EXPECT_GE(grey_below_the_horizon(picture("mk82_fallen"), CONCRETE, 256), 50000)
        << "the weapon view, left where the bomb fell, looks at the bunker standing";
    keep("mk82_fallen");

    EXPECT_GE(value(r, "heard_release"), 800) << "the release, row 17";
    EXPECT_LT(value(r, "heard_release_before"), 300);
    EXPECT_GE(value(r, "heard_blast"), 800) << "the blast where it fell";
    EXPECT_LT(value(r, "heard_blast_before"), 300);

    EXPECT_GE(value(r, "gun_first"), GUN_FROM);
    EXPECT_LE(value(r, "gun_first"), GUN_FROM + 4);
    EXPECT_EQ(value(r, "gun_round_off_the_nose"), -1) << "every round ahead, within 6 degrees of the nose";
    EXPECT_EQ(value(r, "gun_fired_after_release"), -1) << "no round once Space was let go";
    EXPECT_GE(value(r, "heard_gun_held"), 800) << "the gun's loop, row 12";
    EXPECT_GE(value(r, "gun_level_held"), 1000);
    EXPECT_LT(value(r, "gun_level_after") * 20, value(r, "gun_level_held")) << "the loop stops with the gun";
    EXPECT_LT(value(r, "gun_level_before") * 20, value(r, "gun_level_held"));
}

// With MK-84s on the middle pylons in place of the Mavericks and no MK-82s, the quick start
// begins with the MK-84 selected in CCIP: released at the same moment it destroys the bunker, and
// the weapon view shows the wreck where the bunker stood.
TEST_F(WeaponsFlight, AnMk84InCcipDestroysTheBunkerAndLeavesItsWreck) {
    const Report r = fly_script(fly_mk84_run, script()
                                                  .press(RELEASE_AT, KEY_SPACE)
                                                  .press(1100, KEY_F7)
                                                  .capture(1300, "mk84_fallen")
                                                  .quit(1500));
    SCOPED_TRACE(dump(r));
    EXPECT_NEAR(value(r, "ccip_at"), RELEASE_AT, 2);
    EXPECT_EQ(value(r, "bomb_weapon"), WEAPON_MK_84);
    EXPECT_LE(value(r, "bomb_miss"), 30);
    EXPECT_GE(value(r, "bunker_destroyed_at"), value(r, "bomb_last"));
    EXPECT_LE(value(r, "bunker_destroyed_at"), value(r, "bomb_last") + 2) << "as it fell";
    EXPECT_EQ(value(r, "bunker_kills"), 1) << "the kill in the flight's event record";
    EXPECT_GE(value(r, "heard_blast"), 800);
    const Picture wreck = picture("mk84_fallen");
    EXPECT_LT(grey_below_the_horizon(wreck, CONCRETE, 256), 1000) << "no bunker standing";
    EXPECT_GE(grey_below_the_horizon(wreck, WRECK, WRECK_TOP), 50000) << "its dark wreck";
    keep("mk84_fallen");
}

// The air-combat quick start begins with the radar on and the AMRAAM selected, so Enter alone
// steps to the AIM-9M; the auto target has the fighter ahead designated already. The weapon
// view (F7) follows the missile: the fighter, a dot ahead of it, grows as it closes.
TEST_F(WeaponsFlight, AnAim9MFromBehindClosesOnTheDesignatedFighterAndKillsIt) {
    const std::vector<long> views = {650, 750, 850, 880};
    Script s = script();
    s.press(420, KEY_ENTER).press(600, KEY_SPACE).press(602, KEY_F7);
    for (long at : views) s.capture(at, "aim9_" + std::to_string(at));
    const Report r = fly_script(fly_at_fighter, s.quit(1000));
    SCOPED_TRACE(dump(r));
    EXPECT_GE(value(r, "designated_at"), 0);
    EXPECT_LT(value(r, "designated_at"), 600) << "designated before Space";
    EXPECT_EQ(value(r, "launch_selected"), WEAPON_AIM_9M);
    EXPECT_EQ(value(r, "launch_designated"), 1);
    EXPECT_GE(value(r, "launch_at"), 600);
    EXPECT_LE(value(r, "launch_at"), 604);
    EXPECT_GT(value(r, "apart_650"), value(r, "apart_750"));
    EXPECT_GT(value(r, "apart_750"), value(r, "apart_850"));
    EXPECT_LE(value(r, "missile_closest"), 50);
    EXPECT_GT(value(r, "destroyed_at"), value(r, "launch_at"));
    EXPECT_EQ(value(r, "kill_records"), 1) << "the kill in the flight's event record";
    EXPECT_GE(value(r, "heard_launch"), 450) << "the launch, row 13";
    EXPECT_GT(value(r, "heard_launch"), 3 * value(r, "heard_launch_before"));
    EXPECT_GE(value(r, "heard_blast"), 450);
    EXPECT_GT(value(r, "heard_blast"), 3 * value(r, "heard_blast_before"));

    std::vector<int> fighter;
    for (long at : views) fighter.push_back(dark_pixels(picture("aim9_" + std::to_string(at)), 220, 120, 420, 212));
    EXPECT_GE(fighter[0], 1) << "a dot ahead";
    EXPECT_GE(fighter[2], fighter[0]);
    EXPECT_GE(fighter[3], 10 * std::max(fighter[1], 1)) << "and the fighter large just before the hit";
    keep("aim9_880");
}

// Keypad 3 puts the ground-attack quick start in air mode, which selects the AIM-9M; the auto
// target finds the helicopter. Warned of the first missile it drops flares, climbs and turns
// away for the moment of its reaction; back on its leg, the second one brings it down. The
// target view (F8) watches it.
TEST_F(WeaponsFlight, TheHelicopterFlaresAndBreaksThenASecondAim9MBringsItDown) {
    const std::vector<long> views = {360, 600, 1150};
    Script s = script();
    s.press(100, KEY_KEYPAD_3).press(200, KEY_F8).press(300, KEY_SPACE).press(700, KEY_SPACE);
    for (long at : views) s.capture(at, "helicopter_" + std::to_string(at));
    const Report r = fly_script(fly_at_helicopter, s.quit(1300));
    SCOPED_TRACE(dump(r));
    EXPECT_LT(value(r, "designated_at"), 300);
    EXPECT_EQ(value(r, "launch_selected"), WEAPON_AIM_9M);
    EXPECT_GE(value(r, "launch_at"), 300);
    EXPECT_LE(value(r, "launch_at"), 304);
    EXPECT_EQ(value(r, "quarry_attacks_at"), -1) << "the helicopter has nothing of its own to fight";
    EXPECT_EQ(value(r, "quarry_off_its_leg_before_flares"), 0) << "straight and level along its leg until warned";
    EXPECT_GT(value(r, "flares_at"), value(r, "launch_at")) << "flares against the missile";
    EXPECT_EQ(value(r, "retreat_at"), value(r, "flares_at")) << "the break with the flares";
    // The break lasts the 100 ticks (half a second) of its reaction to the decoy; with no attack
    // target the war model then ends it, and the helicopter goes back to its leg.
    EXPECT_NEAR(value(r, "retreat_last") - value(r, "retreat_at"), HEARD_PERIODS_PER_SECOND / 2, 3);
    EXPECT_GE(value(r, "quarry_climbed"), 10) << "the break: a climb";
    EXPECT_GE(value(r, "quarry_turned"), 10) << "and a turn";
    EXPECT_LT(value(r, "quarry_turned_at_end") * 2, value(r, "quarry_turned")) << "back towards its leg";
    EXPECT_EQ(value(r, "missiles_most"), 2);
    EXPECT_GT(value(r, "destroyed_at"), 700);
    EXPECT_EQ(value(r, "kill_records"), 1);

    // The helicopter fills the middle of the target view until it falls; it flies along the
    // runway, so it counts only where darker than the asphalt.
    const Picture before = picture("helicopter_360"), breaking = picture("helicopter_600"), after = picture("helicopter_1150");
    EXPECT_GE(dark_pixels(before, 290, 300, 350, 360, 0x30), 300);
    EXPECT_GE(dark_pixels(breaking, 290, 300, 350, 360, 0x30), 300);
    EXPECT_LT(dark_pixels(after, 290, 300, 350, 360, 0x30), 100);
    keep("helicopter_600");
}

}  // namespace
}  // namespace vyr
