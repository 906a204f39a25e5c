#include <gtest/gtest.h>

#include <cmath>

#include "library/3dvisual/view.h"
#include "library/graphics/palette.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/avionics/g_effects.h"
#include "source/avionics/night_vision.h"
#include "source/avionics/panel.h"
#include "source/avionics/views.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/weapons/stores.h"
#include "source/weapons/weapon_info.h"
#include "tests/support/headless_world.h"

namespace vyr {
namespace {

// The effects of the test's own over the palette of the window thread; frames of 0.05 s.
class Effects : public HeadlessWorld {
protected:
    void SetUp() override {
        HeadlessWorld::SetUp();
        frame_seconds = 0.05;
        frame_fraction = int32_t(0.05 * 2147483647.0);
        time_acceleration_request = 1;
        game_clock = 0;
        system_failures = {};
        aircraft = {{1 << 27, 1 << 27, 5000 * FOOT}, {}};
        player_position = &aircraft;
        player_flight_data.g_load = 1.0;
        view_mode = VIEW_COCKPIT;
        init_trig_tables();
        view_settings.darkness = 0;
        view_settings.weather = WEATHER_CLEAR;
        view_settings.sun_elevation = -0x10000000;  // the sun up: a shadow step to install
        init_g_effects();
        init_night_vision();
    }
    void TearDown() override {
        free_g_effects();
        shutdown_night_vision();
        player_position = nullptr;
        system_failures = {};
        for (SensorSlot& slot : sensor_slots) slot.sensor_type = SENSOR_TYPE_NONE;
        HeadlessWorld::TearDown();
    }
    // Frames until `seconds` of game time have passed.
    static void run(double seconds) {
        for (int i = 0; i < int(std::lround(seconds / frame_seconds)); ++i) {
            game_clock += 10;
            update_g_effects();
        }
    }
    // The level of the night-vision or g effect over colours first..first+count-1 of priority 10,000.
    static int32_t effect_level(int first, int count) {
        for (PaletteEffect* e = get_palette_effect_list(); e; e = e->next)
            if (e->priority == 10000 && e->first == first && e->count == count) return e->level;
        return -1;
    }
    static int32_t black_level() {
        for (PaletteEffect* e = get_palette_effect_list(); e; e = e->next)
            if (e->effect_class == 8) return e->level;
        return -1;
    }
    Pose aircraft = {};
};

TEST_F(Effects, NineGBlacksOutAfterAboutSixSecondsAndNoFurtherThan95Percent) {
    player_flight_data.g_load = 9.0;
    run(5.9);
    EXPECT_LT(blackout_level, 0.0f);
    run(0.2);
    EXPECT_GT(blackout_level, 0.0f);
    run(30);
    EXPECT_EQ(black_level(), int32_t(0.95f * 2147483648.0));
    // At 1 g it decays by 25.001/490 a second.
    const float before = blackout_level;
    player_flight_data.g_load = 1.0;
    run(1);
    EXPECT_NEAR(before - blackout_level, 25.001 / 490, 1e-4);
}

TEST_F(Effects, BelowSixGAndAboveMinusTwoNothingBuilds) {
    for (double g : {5.9, 0.0, -1.9}) {
        player_flight_data.g_load = g;
        run(60);
        EXPECT_FLOAT_EQ(blackout_level, -0.6f) << g;
        EXPECT_FLOAT_EQ(redout_level, -0.6f) << g;
    }
    player_flight_data.g_load = -4.0;
    run(5.5);
    EXPECT_LT(redout_level, 0.0f) << "at -4 g the red builds past 0 after 0.6 / (4.001 / 40), about 6 s";
    run(1);
    EXPECT_GT(redout_level, 0.0f);
}

TEST_F(Effects, HypoxiaGrowsAboveTwelveThousandFeetAndClearsBelowEvenWithTheEffectsOff) {
    system_failures = {};
    set_failure(FAIL_OXYGEN);
    toggle_g_effects_key(0);
    aircraft.position.z = 20000 * FOOT;
    run(10);
    EXPECT_NEAR(hypoxia_level, 10 * 64.0 / 9720, 1e-4);
    EXPECT_EQ(black_level(), 0) << "the resting -0.6 of the blackout still holds it back";
    aircraft.position.z = 40000 * FOOT;
    run(10);
    EXPECT_GT(black_level(), 0) << "hypoxia darkens with the g effects off";
    aircraft.position.z = 12000 * FOOT;
    const float held = hypoxia_level;
    run(10);
    EXPECT_FLOAT_EQ(hypoxia_level, held) << "at exactly 12,000 ft it stays";
    aircraft.position.z = 2000 * FOOT;
    run(120);
    EXPECT_FLOAT_EQ(hypoxia_level, 0.0f);
}

TEST_F(Effects, APressureLossFailsTheOxygenWithin120To284Seconds) {
    system_failures = {};
    set_failure(FAIL_PRESSURE);
    run(119);
    EXPECT_FALSE(has_failure(FAIL_OXYGEN));
    EXPECT_GE(hypoxia_onset_time, 24000);
    EXPECT_LE(hypoxia_onset_time, 10 + 24000 + 32767);
    run(166);
    EXPECT_TRUE(has_failure(FAIL_OXYGEN));
}

TEST_F(Effects, NightVisionNeedsAPodAndIsOnlyHeardInTheCrashView) {
    toggle_night_vision_key(0x2F);
    EXPECT_EQ(night_vision_on, 0) << "no targeting pod";
    sensor_slots[0].sensor_type = SENSOR_TYPE_TARGETING_POD;
    for (int32_t mode : {VIEW_CRASH, VIEW_AIRFRAME_CAMERA, VIEW_RUNWAY_CAMERA}) {
        view_mode = mode;
        toggle_night_vision_key(0x2F);
        EXPECT_EQ(night_vision_on, 0) << mode;
    }
    view_mode = VIEW_COCKPIT;
    view_settings.object_textures = 3;
    toggle_night_vision_key(0x2F);
    EXPECT_EQ(night_vision_on, 1);
    EXPECT_EQ(view_settings.object_textures, 2);
}

TEST_F(Effects, NightVisionLevelsFollowTheSunAndFogLeavesOutTheBrightAndBlankRanges) {
    const struct {
        int32_t darkness, weather;
        int32_t dim, blank, bright;
    } cases[] = {
        {0x7FFFFFFF, WEATHER_CLEAR, 0, 0x7FFFFFFF / 4, 0x7FFFFFFF},
        {0x40000000, WEATHER_OVERCAST, int32_t(0x3FFFFFFF * 0.8333333), 0x10000000, 0x7FFFFFFF},
        {0x7FFFFFFF, WEATHER_LIGHT_FOG, 0, 0, 0},
        {0x7FFFFFFF, WEATHER_THICK_FOG, 0, 0, 0},
    };
    for (const auto& c : cases) {
        view_settings.darkness = c.darkness;
        view_settings.weather = c.weather;
        remove_night_vision();
        apply_night_vision();
        EXPECT_EQ(effect_level(2, 166), 1) << c.weather;
        EXPECT_EQ(effect_level(2, 190), c.dim) << c.weather;
        EXPECT_EQ(effect_level(71, 84), c.blank) << c.weather;
        EXPECT_EQ(effect_level(168, 24), c.bright) << c.weather;
        EXPECT_EQ(current_view.night_vision, 1);
    }
    remove_night_vision();
    EXPECT_EQ(effect_level(2, 166), 0);
    EXPECT_EQ(current_view.night_vision, 0);
}

TEST_F(Effects, PansStopAtTheirLimits) {
    const struct {
        int32_t mode;
        int limit_heading, limit_pitch;
    } cases[] = {{VIEW_COCKPIT, 90, 45}, {VIEW_AIRFRAME_CAMERA, 60, 60}, {VIEW_RUNWAY_CAMERA, 45, 45}};
    for (const auto& c : cases) {
        view_mode = c.mode;
        set_head_pan(int32_t(100 * DEGREE), -int32_t(80 * DEGREE));
        set_sensor_pan(int32_t(100 * DEGREE), -int32_t(80 * DEGREE));
        const HeadPan& pan = c.mode == VIEW_COCKPIT ? head_pan : sensor_pan;
        EXPECT_EQ(pan.heading, int32_t(c.limit_heading * DEGREE)) << c.mode;
        EXPECT_EQ(pan.pitch, -int32_t(c.limit_pitch * DEGREE)) << c.mode;
    }
    view_mode = VIEW_ORBIT_SELF;
    set_sensor_pan(int32_t(100 * DEGREE), 0);
    EXPECT_EQ(sensor_pan.heading, int32_t(100 * DEGREE)) << "stored unchanged in other views";
}

}  // namespace
}  // namespace vyr
