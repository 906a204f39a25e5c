// The weapon modes' aiming symbols in HUD units, recorded.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "source/avionics/hud.h"
#include "source/weapons/target.h"
#include "tests/source/avionics/hud_fixture.h"

namespace vyr {
namespace {


class HudAiming : public Hud {
protected:
    void SetUp() override {
        Hud::SetUp();
        kept_weapons = weapon_info[WEAPON_AIM_9M];
        init_weapon_info();
    }
    void TearDown() override {
        designated_target = {};
        Hud::TearDown();
    }
    // A fixed point `ahead` feet north of the aircraft and `up` feet above it.
    void designate(int32_t east, int32_t ahead, int32_t up = 0) {
        designated_target = {};
        designated_target.kind = TARGET_FIXED_POINT;
        designated_target.position = {pose.position.x + east * FOOT, pose.position.y + ahead * FOOT, pose.position.z + up * FOOT};
    }
    bool has_line(double x0, double y0, double x1, double y1) const {
        for (const auto& l : plot.lines)
            if ((near(l.x0, u(x0)) && near(l.y0, u(y0)) && near(l.x1, u(x1)) && near(l.y1, u(y1))) ||
                (near(l.x0, u(x1)) && near(l.y0, u(y1)) && near(l.x1, u(x0)) && near(l.y1, u(y0))))
                return true;
        return false;
    }
    int points_within(double cx, double cy, double radius) const {
        int n = 0;
        for (const auto& p : plot.points)
            if (std::abs(std::hypot(p.x - u(cx), p.y - u(cy)) - u(radius)) < u(0.005)) ++n;
        return n;
    }
    WeaponInfo kept_weapons{};
};

TEST_F(HudAiming, AShortRangeMissileWithNothingDesignatedShowsTheCentredDiamondAlone) {
    selected_weapon = WEAPON_AIM_9M;
    draw();
    // The diamond about the reticle centre (0, -0.13).
    EXPECT_TRUE(has_line(0, -0.03, 0.1, -0.13));
    EXPECT_TRUE(has_line(-0.1, -0.13, 0, -0.03));
    EXPECT_FALSE(shows("LOCK"));
    EXPECT_FALSE(shows("--")) << "no time to impact";
    for (const auto& t : plot.texts) EXPECT_FALSE(near(t.world_x, u(0.5)) && near(t.world_y, u(0.3))) << "no range scale: " << t.string;
    EXPECT_EQ(points_within(0, 0.27, 0.17), 1) << "the range arc's single dot at 3 degrees";
}

TEST_F(HudAiming, ATargetBehindSitsOnTheBorderCrossedWithALocatorLine) {
    selected_weapon = WEAPON_AIM_9M;
    designate(300, -6000);  // behind and a little right
    draw();
    const RecordingPlot::Line* locator = nullptr;
    for (const auto& l : plot.lines)
        if (std::abs(std::hypot(l.x0 - 0, l.y0 - u(-0.09)) - u(0.08)) < u(0.002)) locator = &l;
    ASSERT_NE(locator, nullptr) << "a line from 0.08 off the boresight";
    const bool on_border = std::abs(locator->x1) >= u(1.0) - 4 || std::abs(locator->y1) >= u(0.8) - 4;
    EXPECT_TRUE(on_border) << locator->x1 / double(HUD_ONE) << ", " << locator->y1 / double(HUD_ONE);
    const double c = 0.1125;
    const double x = locator->x1 / double(HUD_ONE), y = locator->y1 / double(HUD_ONE);
    EXPECT_TRUE(has_line(x - c, y - c, x + c, y + c)) << "the diagonal cross through the box";
    EXPECT_TRUE(has_line(x - 0.075, y - 0.075, x + 0.075, y - 0.075)) << "the box itself";
}

TEST_F(HudAiming, TheStrafeCueBreaksAwayInsideMinimumRange) {
    selected_weapon = WEAPON_GUN;
    radar_air_mode = 0;
    radar_ground_mode = 1;
    pose.matrix = {};
    build_rotation_matrix(0, uint32_t(-int32_t(20 * DEGREE)), 0, pose.matrix);
    flight_data.pitch = -int32_t(20 * DEGREE);
    flight_data.airspeed = 300;  // the minimum range grows by the aircraft's run: 506 ft
    designate(0, 50, -20);
    draw();
    EXPECT_TRUE(has_line(1.0, 0.8, -1.0, -0.8));
    EXPECT_TRUE(has_line(-1.0, 0.8, 1.0, -0.8));
    designate(0, 4000, -1500);
    draw();
    EXPECT_FALSE(has_line(1.0, 0.8, -1.0, -0.8)) << "no break-away at a fair range";
}

TEST_F(HudAiming, ThePipperOffTheHudSitsOnTheBoresightUnderASmallCross) {
    selected_weapon = WEAPON_GUN;
    radar_air_mode = 0;
    radar_ground_mode = 1;
    flight_data.airspeed = 300;  // level: the gun's line never meets the ground ahead
    draw();
    EXPECT_TRUE(has_line(-0.03, -0.12, 0.03, -0.06));
    bool circle = false;
    for (const auto& c : plot.circles) circle |= c.x == 0 && near(c.y, u(-0.09)) && near(c.radius, u(0.03));
    EXPECT_TRUE(circle);
}

TEST_F(HudAiming, TheGunFunnelIsAFlatBarWithoutAnAirTargetAndConvergesOnOne) {
    selected_weapon = WEAPON_GUN;
    draw();
    ASSERT_EQ(caption(), "EEGS AUTO");
    // Strokes at the boresight's height other than the boresight cross's own arms.
    auto flat_strokes = [&] {
        int n = 0;
        for (const auto& l : plot.lines)
            n += near(l.y0, u(-0.09)) && near(l.y1, u(-0.09)) && !(near(std::abs(l.x0), u(0.02)) && near(std::abs(l.x1), u(0.08)));
        return n;
    };
    EXPECT_EQ(flat_strokes(), 10) << "five strokes a side";
    designate(0, 3000, 300);
    designated_target.kind = TARGET_FIXED_POINT;
    draw();
    EXPECT_LT(flat_strokes(), 10) << "the funnel turned towards the lead point";
}

TEST_F(HudAiming, TheRangeArcRunsFromOneDotAtMinimumRangeToAClosedCircle) {
    selected_weapon = WEAPON_AIM_9M;
    designate(0, 10);
    draw();
    EXPECT_EQ(points_within(0, 0.27, 0.17), 1);
    designate(0, 60 * 6076);
    draw();
    EXPECT_EQ(points_within(0, 0.27, 0.17), 120) << "dots every 3 degrees all round";
}

TEST_F(HudAiming, TheRangeScaleWithNoRangeShowsItsFrameAlone) {
    selected_weapon = WEAPON_M151_HE;  // rockets: no ten-mile scale without a lock
    radar_on = 0;
    radar_air_mode = 0;
    radar_ground_mode = 1;
    designate(0, 8000, -2000);
    draw();
    const RecordingPlot::Text* label = nullptr;
    for (const auto& t : plot.texts)
        if (near(t.world_x, u(0.5)) && near(t.world_y, u(0.3))) label = &t;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->string, "0");
    EXPECT_TRUE(has_line(0.5, -0.1, 0.5, 0.2)) << "the axis up to 0.3";
    for (const auto& l : plot.lines) EXPECT_FALSE(near(l.x0, u(0.43)) && l.x1 == u(0.5) + 0) << "no caret";
}

}  // namespace
}  // namespace vyr
