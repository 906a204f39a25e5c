#include "source/avionics/hud.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <cmath>
#include <string>
#include <vector>

#include "library/3dvisual/view.h"
#include "library/graphics/plot.h"
#include "library/maths/matrix.h"
#include "library/maths/random.h"
#include "library/maths/trig.h"
#include "source/avionics/failures.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/hud_scales.h"
#include "source/avionics/landing_aid.h"
#include "source/avionics/night_vision.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/radar/radar.h"
#include "source/weapons/system_damage.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"
#include "tests/source/avionics/hud_fixture.h"
#include "tests/support/recording_plot.h"

namespace vyr {
namespace {

TEST_F(Hud, TheModeAndCaptionFollowTheWeaponTheGearAndTheRadar) {
    const struct {
        const char* situation;
        int weapon, gear, ground_map, delivery, gun_aim;
        bool designated;
        const char* caption;
    } cases[] = {
        {"nothing selected", WEAPON_UNARMED, GEAR_UP, 0, 0, 1, false, "NAV"},
        {"the doors start to open", WEAPON_UNARMED, GEAR_DOORS_OPENING, 0, 0, 1, false, "ILS"},
        {"the gear down", WEAPON_UNARMED, GEAR_DOWN, 0, 0, 1, false, "ILS"},
        {"the gear starts to rise", WEAPON_UNARMED, GEAR_RAISING, 0, 0, 1, false, "NAV"},
        {"the gun in air mode", WEAPON_GUN, GEAR_UP, 0, 0, 1, false, "EEGS AUTO"},
        {"the gun aimed by hand", WEAPON_GUN, GEAR_UP, 0, 0, 0, false, "EEGS MAN"},
        {"the gun on the ground map", WEAPON_GUN, GEAR_UP, 1, 0, 1, false, "STRF"},
        {"the gun pod on the ground map", WEAPON_GEPOD, GEAR_UP, 1, 0, 1, false, "STRF"},
        {"rockets", WEAPON_M151_HE, GEAR_UP, 1, 0, 1, false, "RCKT"},
        {"a bomb in CCIP", WEAPON_MK_82, GEAR_UP, 1, 0, 1, false, "CCIP"},
        {"a bomb laid", WEAPON_MK_82, GEAR_UP, 1, 1, 1, false, "LAY"},
        {"a bomb lofted", WEAPON_MK_82, GEAR_UP, 1, 2, 1, false, "LOFT"},
        {"a dispenser with the loft mode", WEAPON_CBU_87B, GEAR_UP, 1, 2, 1, false, ""},
        {"a laser bomb, nothing designated", WEAPON_GBU_12, GEAR_UP, 1, 0, 1, false, "CCIP"},
        {"a laser bomb on a target", WEAPON_GBU_12, GEAR_UP, 1, 0, 1, true, "EO"},
        {"the short-range missile", WEAPON_AIM_9M, GEAR_UP, 0, 0, 1, false, "SRM"},
        {"the medium-range missile", WEAPON_AMRAAM, GEAR_UP, 0, 0, 1, false, "MRM"},
        {"the anti-radar missile", WEAPON_AGM_88A, GEAR_UP, 1, 0, 1, false, "ARM"},
        {"a flare", 7, GEAR_UP, 0, 0, 1, false, "NAV"},
    };
    for (const auto& c : cases) {
        selected_weapon = c.weapon;
        gear_state = c.gear;
        radar_ground_mode = c.ground_map;
        radar_air_mode = !c.ground_map;
        set_bomb_delivery_mode(c.delivery);
        set_gun_aim_mode(c.gun_aim);
        designated_target.kind = c.designated ? TARGET_FIXED_POINT : TARGET_NONE;
        EXPECT_EQ(caption(), c.caption) << c.situation;
    }
}

TEST_F(Hud, TheColourKeyStepsThroughThreeColoursAndTheSetUpFollowsTheLight) {
    std::vector<int> seen;
    for (int i = 0; i < 3; ++i) {
        select_hud_colour(0);
        seen.push_back(hud_colour);
    }
    EXPECT_EQ(seen, (std::vector<int>{223, 1, 208}));
    view_settings.darkness = 0x29000001;
    init_hud();
    EXPECT_EQ(hud_colour, 223);
    night_vision_on = 1;
    init_hud();
    EXPECT_EQ(hud_colour, 1);
    hud_colour = 5;
    select_hud_colour(0);
    EXPECT_EQ(hud_colour, 5) << "an unknown colour stays";
    toggle_airspeed_display(0);
    draw();
    EXPECT_TRUE(shows("T"));
}

TEST_F(Hud, ADeadHudDrawsNothingAndAFlickeringOneComesAndGoesEveryTwoToSixSeconds) {
    set_failure(FAIL_HUD);
    // Draws of 4..9 kill it, 0..3 make it flicker.
    for (rand_state = 0; ; ++rand_state) {
        int32_t probe = rand_state;
        if (next_random(probe) % 10 > 3) break;
    }
    draw();
    EXPECT_EQ(hud_fail_state, 1);
    EXPECT_TRUE(plot.lines.empty() && plot.texts.empty());

    init_hud();
    for (rand_state = 0; ; ++rand_state) {
        int32_t probe = rand_state;
        if (next_random(probe) % 10 <= 3) break;
    }
    std::vector<int32_t> changes;
    bool was_shown = true;
    for (game_clock = 1000; game_clock < 40000; game_clock += 10) {
        draw();
        const bool shown = !plot.texts.empty();
        if (shown != was_shown) changes.push_back(game_clock);
        was_shown = shown;
    }
    EXPECT_EQ(hud_fail_state, 2);
    ASSERT_GT(changes.size(), 10u);
    for (size_t i = 1; i < changes.size(); ++i) {
        EXPECT_GE(changes[i] - changes[i - 1], 400);
        EXPECT_LT(changes[i] - changes[i - 1], 1200 + 10);
    }
}

TEST_F(Hud, TheElectricsDisturbTheHudOnlyJustAfterTheirFailureAndLongAfter) {
    set_failure(FAIL_ELECTRICS);
    electrics_first_failure_time = 0;
    const struct {
        int32_t clock;
        bool healthy;
    } cases[] = {{1000, false}, {2000, true}, {100000, true}, {120001, false}};
    for (const auto& c : cases) {
        game_clock = c.clock;
        draw();
        EXPECT_EQ(hud_fail_state == 0, c.healthy) << c.clock;
    }
    electrics_first_failure_time = 0;
}

TEST_F(Hud, TheAltitudeWarningBlinksAHundredTicksOnAndAHundredOff) {
    flight_data.height_above_ground = 90 * FOOT;  // no route: a planned altitude of 0
    flight_data.vertical_speed = -100;
    std::vector<int> on;
    for (int i = 0; i < 40; ++i) {
        game_clock += 10;
        draw();
        on.push_back(shows("ALTITUDE WARNING"));
    }
    int changes = 0;
    for (size_t i = 1; i < on.size(); ++i) changes += on[i] != on[i - 1];
    EXPECT_GE(changes, 3);
    EXPECT_LE(changes, 4);
    flight_data.vertical_speed = 100;
    for (int i = 0; i < 25; ++i) {
        game_clock += 10;
        draw();
        EXPECT_FALSE(shows("ALTITUDE WARNING")) << "climbing";
    }
}

// The texts of the altitude scale, top to bottom, joined.
std::vector<std::string> altitude_labels(const RecordingPlot& plot) {
    std::vector<const RecordingPlot::Text*> labels;
    for (const auto& t : plot.texts)
        if (Hud::near(t.world_x, Hud::u(0.75))) labels.push_back(&t);
    std::stable_sort(labels.begin(), labels.end(), [](auto a, auto b) { return a->world_y > b->world_y; });
    std::vector<std::string> joined;
    for (size_t i = 0; i < labels.size(); ++i) {
        if (i == 0 || labels[i]->world_y != labels[i - 1]->world_y) joined.emplace_back();
        joined.back() += labels[i]->string;
    }
    return joined;
}

TEST_F(Hud, TheAltitudeScaleLabelsThousandsAndHundredsAndStopsAtTheGround) {
    flight_data.altitude = 12345 * FOOT;
    draw();
    EXPECT_EQ(altitude_labels(plot), (std::vector<std::string>{"13.0", "12.5", "12.0", "11.5"}));
    flight_data.altitude = 0;
    draw();
    for (const auto& l : plot.lines)
        if (near(l.x0, u(0.7))) {
            EXPECT_GE(l.y0, u(0.1)) << "no tick below 0 ft";
        }
    EXPECT_EQ(altitude_labels(plot), (std::vector<std::string>{"1.0", ".5", ".0"}));
}

TEST_F(Hud, TheHeadingTapeLabelsTensAndTheCaretIsHeldBeyondFifteenDegrees) {
    flight_data.heading = uint32_t(350 * int64_t(DEGREE));
    draw();
    EXPECT_TRUE(shows("35"));
    EXPECT_TRUE(shows("34"));
    EXPECT_TRUE(shows("00"));
    // The caret's tip, on the plain tape at (0, -0.25): 0.03 a degree, held at 0.45.
    const struct {
        int degrees;
        double x;
    } cases[] = {{0, 0}, {10, 0.3}, {-15, -0.45}, {16, 0.45}, {-40, -0.45}};
    for (const auto& c : cases) {
        flight_data.steerpoint_bearing = flight_data.heading + uint32_t(c.degrees * int64_t(DEGREE)) + DEGREE / 2;
        draw();
        bool found = false;
        for (const auto& l : plot.lines)
            if (near(l.y1, u(-0.29)) && near(l.y0, u(-0.24)) && near(l.x1, u(c.x))) found = true;
        EXPECT_TRUE(found) << c.degrees;
    }
}

TEST_F(Hud, TheVelocityVectorIsHeldWithinOneAndAHalf) {
    flight_data.airspeed = 0;
    flight_data.pitch = uint32_t(int32_t(80 * int64_t(DEGREE)));
    draw();
    int32_t x, y;
    get_velocity_vector(x, y);
    EXPECT_EQ(y, u(1.5));
}

TEST_F(Hud, TheAngleOfAttackBracketSlidesFromElevenToFifteenDegrees) {
    gear_state = GEAR_DOWN;
    const struct {
        int degrees;
        double top_above_vector;  // the vector at the top, the middle or the bottom of the bracket
    } cases[] = {{5, 0}, {11, 0}, {13, 0.15}, {15, 0.3}, {20, 0.3}};
    for (const auto& c : cases) {
        flight_data.angle_of_attack = int32_t(c.degrees * int64_t(DEGREE));
        draw();
        int32_t vx, vy;
        get_velocity_vector(vx, vy);
        bool found = false;
        for (const auto& l : plot.lines)
            if (near(l.x0, vx - u(0.15)) && l.x1 == l.x0 && near(l.y1, vy + u(c.top_above_vector))) found = true;
        EXPECT_TRUE(found) << c.degrees;
    }
}

TEST_F(Hud, TheIlsBarsAreClampedAndDashedOffCourse) {
    gear_state = GEAR_DOWN;
    flight_data.localiser_needle = int32_t(0x7FFFFFFF);
    flight_data.glide_slope_needle = -int32_t(0x7FFFFFFF);
    draw();
    auto bar = [&](bool vertical) -> const RecordingPlot::Line* {
        for (const auto& l : plot.lines)
            if (vertical ? (l.x0 == l.x1 && near(l.y1 - l.y0, u(0.5))) : (l.y0 == l.y1 && near(l.x1 - l.x0, u(0.5)))) return &l;
        return nullptr;
    };
    ASSERT_NE(bar(true), nullptr);
    EXPECT_NEAR(bar(true)->x0, u(0.24), 4);
    EXPECT_FALSE(bar(true)->dashed);
    ASSERT_NE(bar(false), nullptr);
    EXPECT_NEAR(bar(false)->y0, u(-0.64), 4);
    ils_flag_off_course = 1;
    flight_data.localiser_needle = 0;
    draw();
    ASSERT_NE(bar(true), nullptr);
    EXPECT_NEAR(bar(true)->x0, u(-0.24), 4);
    EXPECT_TRUE(bar(true)->dashed);
    ils_flag_off_course = 0;
}

TEST_F(Hud, TheWindowIsTheGlassPartOnTheScreen) {
    draw();
    EXPECT_EQ(hud_on_screen, 1);
    EXPECT_EQ(current_plot.screen_x0, 208);
    EXPECT_EQ(current_plot.screen_y0, 140);
    EXPECT_EQ(current_plot.world_x0, u(-1.0));
    // Looking far up: the glass's lower half is above the screen's top.
    hud_window_y = 23 + 90;
    draw();
    EXPECT_EQ(hud_on_screen, 1);
    EXPECT_EQ(current_plot.screen_y0, 0);
    EXPECT_EQ(current_plot.screen_y1, 89);
    EXPECT_NEAR(current_plot.world_y1, 0, 2) << "the world window cut at the glass's middle";
    hud_window_x = 1700;  // looking left: the glass far to the right
    draw();
    EXPECT_EQ(hud_on_screen, 0);
    EXPECT_TRUE(plot.lines.empty() && plot.texts.empty());
}

// The ladder's right halves, level: per line its y and its strokes' x extents, tick and label.
struct Rung {
    std::vector<std::pair<double, double>> strokes;
    double tick = 0;  // the end tick's length, up positive
    std::string label;
};

TEST_F(Hud, ThePitchLadderChoosesItsShapesByTheirPitch) {
    auto rungs = [&](int pitch) {
        flight_data.pitch = uint32_t(int32_t(pitch * int64_t(DEGREE)));
        build_rotation_matrix(0, flight_data.pitch, 0, pose.matrix);
        draw();
        std::map<int32_t, Rung> found;  // by y, top first
        for (const auto& l : plot.lines) {
            if (l.x0 < u(0.09) || l.x0 > u(0.4) || l.y0 < u(-0.8) || std::abs(l.x0) < u(0.09)) continue;
            if (l.y0 == l.y1) found[-l.y0].strokes.push_back({l.x0 / double(HUD_ONE), l.x1 / double(HUD_ONE)});
            else if (l.x0 == l.x1 && near(l.x0, u(0.275))) found[-l.y0].tick = (l.y1 - l.y0) / double(HUD_ONE);
        }
        for (const auto& t : plot.texts)
            if (near(t.world_x, u(0.34)))
                for (auto& [y, rung] : found)
                    if (std::abs(-y - t.world_y) <= u(0.016)) rung.label = t.string;
        return found;
    };
    auto describe = [](const Rung& r) {
        std::string d = r.strokes.size() == 1 ? (r.strokes[0].second > 0.3 ? "horizon" : "solid") : std::to_string(r.strokes.size()) + " dashes";
        if (r.tick > 0) d += " tick up";
        if (r.tick < 0) d += " tick down";
        if (!r.label.empty()) d += " " + r.label;
        return d;
    };
    const struct {
        int pitch;
        std::vector<std::string> rungs;  // top down
    } cases[] = {
        {0, {"solid tick down 10", "horizon", "4 dashes tick up 10"}},
        // The third line is 15 degrees off the nose, below the glass.
        {35, {"solid tick down 40", "solid tick down 30"}},
        {-35, {"4 dashes tick up 30", "4 dashes tick up 40"}},
        {85, {"solid", "solid tick down 80"}},  // the zenith above
        {-85, {"4 dashes tick up 80", "4 dashes"}},  // the nadir below
    };
    for (const auto& c : cases) {
        std::vector<std::string> seen;
        for (const auto& [y, rung] : rungs(c.pitch)) seen.push_back(describe(rung));
        EXPECT_EQ(seen, c.rungs) << c.pitch << " degrees";
    }
}

TEST_F(Hud, UnderRollTheLadderTurnsAboutItsCentreWithTheWorld) {
    flight_data.roll = 30 * DEGREE;  // right wing down: the horizon's right end rises
    build_rotation_matrix(0, 0, flight_data.roll, pose.matrix);
    draw();
    const RecordingPlot::Line* right = nullptr;
    for (const auto& l : plot.lines) {
        const double dx = (l.x1 - l.x0) / double(HUD_ONE), dy = (l.y1 - l.y0) / double(HUD_ONE);
        if (l.x1 > l.x0 && std::abs(std::hypot(dx, dy) - 0.29) < 0.002) right = &l;
    }
    ASSERT_NE(right, nullptr) << "the horizon's right half";
    EXPECT_NEAR(std::atan2(right->y1 - right->y0, right->x1 - right->x0) * 180 / M_PI, 30, 0.5);
    // Its inner end 0.1 from the ladder's centre (the horizon runs through it when level).
    EXPECT_NEAR(std::hypot(right->x0 / double(HUD_ONE), right->y0 / double(HUD_ONE) + 0.13), 0.1, 0.04);
}

}  // namespace
}  // namespace vyr
