#include "source/hotkeys.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "library/3dvisual/view.h"
#include "library/system/event.h"
#include "library/system/key.h"
#include "source/avionics/panel.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/drone/task.h"
#include "source/frame_loop.h"
#include "source/menus/logs/pilot_log.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/system_damage.h"
#include "tools/vyrgen/menus/flight_keys.h"

namespace vyr {
namespace {

// The settings the hot keys change, as each test starts from them.
void reset_settings() {
    view_settings.visual_range = 7;
    view_settings.terrain_detail = 3;
    view_settings.object_textures = 3;
    view_settings.flags = VIEW_CLOUDS | VIEW_SHADOWS;
    flight_paused = 0;
}

class FlightKeys : public testing::Test {
protected:
    void SetUp() override {
        flush_events();
        push_hot_key_layer();
        register_common_keys();
        register_pause_key();
        reset_settings();
        detail_ceiling = 7;
        system_failures = {};
        free_pause = 0;
        game_mode = GAME_SINGLE;
    }
    void TearDown() override {
        pop_hot_key_layer();
        system_failures = {};
        free_pause = 0;
        game_mode = GAME_SINGLE;
    }

    static void press(int code) {
        post_event({EV_KEY, code, 0, 0, 0});
        dispatch_key_events();
    }
};

TEST_F(FlightKeys, VisualRangeKeysMoveTheAutomaticDetailCeilingToo) {
    const struct {
        int code, range;
    } cases[] = {{0x5002, 1}, {0x5007, 6}, {0x5008, 11}};
    for (const auto& c : cases) {
        press(c.code);
        EXPECT_EQ(view_settings.visual_range, c.range) << std::hex << c.code;
        EXPECT_EQ(detail_ceiling, c.range);
    }
}

TEST_F(FlightKeys, DetailKeysStepTheirSettings) {
    const struct {
        int code, before, after;
        int32_t ViewSettings::*field;
    } cases[] = {
        {0x500A, 0, 2, &ViewSettings::object_textures}, {0x500A, 3, 1, &ViewSettings::object_textures},
        {0x500B, 2, 3, &ViewSettings::object_textures}, {0x500B, 7, 7, &ViewSettings::object_textures},
        {0x503B, 3, 0, &ViewSettings::terrain_detail},  {0x503C, 3, 1, &ViewSettings::terrain_detail},
        {0x503D, 2, 3, &ViewSettings::terrain_detail},  {0x503D, 3, 2, &ViewSettings::terrain_detail},
        {0x5009, VIEW_CLOUDS | VIEW_SHADOWS, VIEW_SHADOWS, &ViewSettings::flags},
        {0x503E, VIEW_SHADOWS, 0, &ViewSettings::flags},
    };
    for (const auto& c : cases) {
        view_settings.*c.field = c.before;
        press(c.code);
        EXPECT_EQ(view_settings.*c.field, c.after) << std::hex << c.code << " from " << c.before;
    }
}

TEST_F(FlightKeys, PauseTogglesOnlyAFreePauseAndIgnoresOtherGameModes) {
    free_pause = 1;
    press(SCAN_P);
    EXPECT_EQ(flight_paused, 1);
    press(SCAN_P);
    EXPECT_EQ(flight_paused, 0);
    free_pause = 0;
    game_mode = GAME_MULTI_PLAYER;
    post_event({EV_KEY, 0x1E, 0, 0, 0});
    EXPECT_EQ(pause_flight(SCAN_P), 1) << "returns at once without waiting for a key";
    Event left;
    EXPECT_EQ(get_event(left), 1) << "and leaves the queue alone";
}

// What a hot key did to the settings reset_settings() leaves: "" when no hot key took it, else
// each setting it changed with its new value, or "taken" when it changed none.
std::string effect_of(int code) {
    reset_settings();
    if (!dispatch_hot_key(code)) return "";
    std::string effect;
    auto note = [&](const char* name, int value, int before) {
        if (value != before) effect += std::string(effect.empty() ? "" : " ") + name + " " + std::to_string(value);
    };
    note("range", view_settings.visual_range, 7);
    note("flags", view_settings.flags, VIEW_CLOUDS | VIEW_SHADOWS);
    note("textures", view_settings.object_textures, 3);
    note("terrain", view_settings.terrain_detail, 3);
    note("paused", flight_paused, 0);
    return effect.empty() ? "taken" : effect;
}

// The tables as they were first written, in hex, code by code: their named forms register exactly
// these codes, each to the same handler.
TEST_F(FlightKeys, CommonAndPauseKeysAreTheCodesFirstWrittenInHex) {
    // The drone view draws the player's own aircraft.
    const std::string drone_view = "flags " + std::to_string(VIEW_CLOUDS | VIEW_SHADOWS | VIEW_SHOW_OWN_OBJECT);
    const std::map<int, std::string> first_written = {
        {0x1001, "taken"},       {0x100E, "taken"},       {0x5002, "range 1"},      {0x5003, "range 2"},
        {0x5004, "range 3"},     {0x5005, "range 4"},     {0x5006, "range 5"},      {0x5007, "range 6"},
        {0x5008, "range 11"},    {0x5009, "flags " + std::to_string(VIEW_SHADOWS)},
        {0x500A, "textures 1"},  {0x500B, "textures 2"},  {0x503B, "terrain 0"},    {0x503C, "terrain 1"},
        {0x503D, "terrain 2"},   {0x503E, "flags " + std::to_string(VIEW_CLOUDS)},
        {0x58, drone_view},      {0x4058, drone_view},    {0x19, "paused 1"},
    };
    free_pause = 1;  // the pause key toggles rather than waiting for a key
    // F12 steps the drone view only when there is a player's aircraft to start from.
    user_drone = create_drone(create_task());
    for (int debug : {0, 1}) {
        debug_flag = debug;
        pop_hot_key_layer();
        push_hot_key_layer();
        register_common_keys();
        register_pause_key();
        std::map<int, std::string> registered = first_written;
        if (debug) registered[0x700F] = "taken";
        for (int code = 0; code <= KEY_POLLED; ++code) {
            auto found = registered.find(code);
            ASSERT_EQ(effect_of(code), found == registered.end() ? "" : found->second)
                << std::hex << code << " with debug_flag " << debug;
        }
    }
    debug_flag = 0;
    destroy_all_tasks();
    user_drone = watched_drone = view_cycle_leader = view_cycle_drone = nullptr;
    view_mode = VIEW_COCKPIT;
}

int a_presses = 0;

int count_a(int) { return ++a_presses; }

TEST_F(FlightKeys, AfterAnElectricalFailureOnlyUnrestrictedKeysAct) {
    add_hot_key(0x1E, count_a);
    a_presses = 0;
    system_failures = {};
    set_failure(FAIL_ELECTRICS);
    electrics_first_failure_time = electrics_second_failure_time = 1000;
    game_clock = 2000;
    press(0x1E);
    EXPECT_EQ(a_presses, 0);
    press(0x5002);
    EXPECT_EQ(view_settings.visual_range, 1) << "the detail keys stay live";
    game_clock = 3001;
    press(0x1E);
    EXPECT_EQ(a_presses, 1) << "power is back 10 s after the first failure";
    game_clock = 121000;
    press(0x1E);
    EXPECT_EQ(a_presses, 1) << "and gone for good 10 min after the second";
    system_failures = {};
    press(0x1E);
    EXPECT_EQ(a_presses, 2);
}

// The keys the help page and the README tell a player about are the flight's own: each reaches
// a hot key, and Esc and Alt+X the ones the page says.
TEST(FlightKeysTable, EveryKeyToldOfIsBoundInFlight) {
    push_hot_key_layer();
    register_flight_keys();
    for (const vyrgen::FlightKey& key : vyrgen::FLIGHT_KEYS)
        for (int code : key.hot_keys) {
            if (code == 0) continue;  // held keys, read by the controls
            EXPECT_NE(find_hot_key(code), nullptr) << key.keys << ": " << key.action;
        }
    EXPECT_EQ(find_hot_key(SCAN_ESCAPE), &change_time_acceleration);
    EXPECT_EQ(find_hot_key(KEY_ALT | SCAN_X), &escape_key);
    pop_hot_key_layer();
}

}  // namespace
}  // namespace vyr
