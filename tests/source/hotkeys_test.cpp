#include "source/hotkeys.h"

#include <gtest/gtest.h>

#include "library/3dvisual/view.h"
#include "library/system/event.h"
#include "library/system/key.h"
#include "source/avionics/panel.h"
#include "source/frame_loop.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/failures.h"

namespace vyr {
namespace {

class FlightKeys : public testing::Test {
protected:
    void SetUp() override {
        flush_events();
        push_hot_key_layer();
        register_common_keys();
        register_pause_key();
        view_settings.visual_range = 7;
        view_settings.terrain_detail = 3;
        view_settings.object_textures = 3;
        view_settings.flags = VIEW_CLOUDS | VIEW_SHADOWS;
        detail_ceiling = 7;
        system_failures = 0;
        free_pause = 0;
        flight_paused = 0;
        game_mode = GAME_SINGLE;
    }
    void TearDown() override {
        pop_hot_key_layer();
        system_failures = 0;
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

int a_presses = 0;

int count_a(int) { return ++a_presses; }

TEST_F(FlightKeys, AfterAnElectricalFailureOnlyUnrestrictedKeysAct) {
    add_hot_key(0x1E, count_a);
    a_presses = 0;
    system_failures = FAIL_ELECTRICS;
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
    system_failures = 0;
    press(0x1E);
    EXPECT_EQ(a_presses, 2);
}

}  // namespace
}  // namespace vyr
