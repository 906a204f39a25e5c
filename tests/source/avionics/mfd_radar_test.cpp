#include "source/avionics/mfd_radar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "source/avionics/failures.h"
#include "source/weapons/target.h"
#include "tests/source/radar/radar_world.h"
#include "tests/support/recording_plot.h"

namespace vyr {
namespace {

// The page's degree: 2^32 / 360 rounded down.
constexpr int32_t PAGE_DEGREE = 11930465;

class RadarPage : public RadarWorld {
protected:
    void SetUp() override {
        RadarWorld::SetUp();
        radar_on = 1;
        air_scan_ran = ground_scan_ran = 0;
        ground_name_display = 0;
        right_mfd_page = MFD_HSI;
    }
    void TearDown() override {
        air_scan_ran = ground_scan_ran = 0;
        radar_on = 0;
        RadarWorld::TearDown();
    }
    void air() {
        radar_air_mode = 1;
        radar_ground_mode = 0;
        air_scan_ran = 1;
    }
    void ground() {
        radar_air_mode = 0;
        radar_ground_mode = 1;
        ground_scan_ran = 1;
    }
    void draw() {
        plot.clear();
        draw_mfd_radar_page(LEFT_MFD_RECT, MFD_RADAR);
    }
    // The text drawn at a page point, or "" when none.
    std::string text_at(int32_t x, int32_t y) const {
        for (const RecordingPlot::Text& t : plot.texts)
            if (t.world_x == x && t.world_y == y) return t.string;
        return "";
    }
    bool has_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const {
        return std::any_of(plot.lines.begin(), plot.lines.end(), [&](const RecordingPlot::Line& l) {
            return l.x0 == x0 && l.y0 == y0 && l.x1 == x1 && l.y1 == y1;
        });
    }

    RecordingPlot plot;
};

TEST_F(RadarPage, AnOffOrFailedRadarSaysSoInEitherMode) {
    for (const bool in_air : {true, false}) {
        in_air ? air() : ground();
        radar_on = 0;
        draw();
        EXPECT_EQ(plot.all_text(), "RADAR INACTIVE");
        EXPECT_EQ(plot.texts[0].world_x, 0);
        radar_on = 1;
        set_failure(FAIL_RADAR);
        draw();
        EXPECT_EQ(plot.all_text(), "FAILED");
        EXPECT_TRUE(plot.lines.empty());
        system_failures = {};
    }
}

TEST_F(RadarPage, NothingIsDrawnUntilTheMatchingScanHasRun) {
    radar_air_mode = 0;
    radar_ground_mode = 1;
    air_scan_ran = 1;  // the last tick swept the air: the mode was just switched
    draw();
    EXPECT_TRUE(plot.texts.empty());
    EXPECT_TRUE(plot.lines.empty());
    radar_scan_timer = 1.0f;  // a scan is due
    sweep();
    draw();
    EXPECT_EQ(text_at(-68, 68), "GVT");
    EXPECT_EQ(text_at(-69, 37), "10");
    EXPECT_EQ(text_at(-49, 68), "CUR") << "MFD 1 has the focus";
}

TEST_F(RadarPage, TheAttitudeBarMovesWithPitch) {
    constexpr int32_t E = 1000000;
    EXPECT_NEAR(radar_attitude_offset(uint32_t(-35 * PAGE_DEGREE), E), 3 * E / 2, 1);
    EXPECT_EQ(radar_attitude_offset(0x31c71c72, E), 0);
    EXPECT_EQ(radar_attitude_offset(0, E), E);
}

TEST_F(RadarPage, GroundTargetsAreLabelledByTheNamingSwitchAndSide) {
    ground();
    struct Case {
        int side;
        int32_t named;
        std::string prefix;
    } const cases[] = {{ENEMY, 0, "TGT: "}, {ENEMY, 1, "ETGT: "}, {ALLIED, 1, "FTGT: "}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        Drone* target = tank(c.side, ahead(2 * NAUTICAL_MILE));
        designated_target = target->target;
        ground_name_display = c.named;
        draw();
        const std::string name = get_target_name(&designated_target, 0);
        const std::string expected = c.prefix == "ETGT: " ? c.prefix + name + "(" + std::to_string(TANK) + ")"
                                                          : c.prefix + name;
        EXPECT_EQ(text_at(-30, 68), expected);
        char miles[16];
        std::snprintf(miles, sizeof miles, "%.2f", estimate_distance_3d(0, 2 * NAUTICAL_MILE, -ALTITUDE) / double(NAUTICAL_MILE));
        EXPECT_EQ(text_at(50, -37), miles);
    }
}

TEST_F(RadarPage, AnAirTargetShowsItsAltitudeBearingClosingAndOwnSpeed) {
    air();
    Drone* target = fighter(ENEMY, ahead(0, -5 * NAUTICAL_MILE, 12000 * FOOT), 0x40000000);
    target->speed = 250 * 432;
    designated_target = target->target;
    designated_target.offset = {-5 * NAUTICAL_MILE, 0, 2000 * FOOT};
    designated_target.vector = {-300 * 432, 0, 0};
    draw();
    EXPECT_EQ(text_at(-46, 68), "120") << "hundreds of feet";
    EXPECT_EQ(text_at(-30, 68), std::string("TGT: ") + get_target_name(&designated_target, 0));
    EXPECT_EQ(text_at(50, 68), "270") << "due west of a northbound aircraft";
    EXPECT_NEAR(std::stoi(text_at(50, -37)), 300, 2) << "closing knots";
    EXPECT_EQ(text_at(50, -45), "250");
    EXPECT_EQ(text_at(-68, 68), "TWS");
    EXPECT_EQ(text_at(-68, 60), "CUR");
}

TEST_F(RadarPage, TheFrameCarriesScalesCaretsAndArrows) {
    air();
    scan_azimuth_limit = 30 * PAGE_DEGREE;
    scan_azimuth = 10 * PAGE_DEGREE;
    scan_elevation_limit = 0;
    scan_elevation = -5 * PAGE_DEGREE;
    draw();
    EXPECT_TRUE(has_line(18, -61, 22, -61)) << "10 of 30 degrees on a 60-unit scale";
    EXPECT_TRUE(has_line(20, -61, 20, -64));
    EXPECT_TRUE(has_line(-54, -7, -54, -3)) << "a zero limit plots whole degrees";
    EXPECT_TRUE(has_line(-62, 0, -57, 0));
    EXPECT_TRUE(has_line(0, -69, 0, -64));
    EXPECT_TRUE(has_line(-60, 40, -57, 40));
    EXPECT_FALSE(has_line(-60, 30, -57, 30)) << "30 is written, not ticked";
    EXPECT_EQ(text_at(-60, 30), "3");
    EXPECT_EQ(text_at(-30, -64), "3");
    EXPECT_TRUE(has_line(-69, 39, -66, 42)) << "the range-up arrow";
    EXPECT_TRUE(has_line(60, -35, 68, -35));
    EXPECT_EQ(text_at(-67, 7), std::to_string(2 * scan_half_width_deg));
    EXPECT_EQ(text_at(-67, -2), std::to_string(scan_figure));

    air_submode = RADAR_RCR;
    draw();
    EXPECT_TRUE(has_line(-2, -61, 2, -61)) << "RCR centres both carets";
    EXPECT_TRUE(has_line(-54, -2, -54, 2));
    EXPECT_EQ(text_at(-68, 68), "RCR");
    air_submode = RADAR_TWS;
}

}  // namespace
}  // namespace vyr
