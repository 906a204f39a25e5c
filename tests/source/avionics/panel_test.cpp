#include "source/avionics/panel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

#include "library/3dvisual/view.h"
#include "library/graphics/screen.h"
#include "library/maths/units.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/messages.h"
#include "source/avionics/mfd.h"
#include "source/avionics/panel_art.h"
#include "source/avionics/vcockpit.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/startup.h"
#include "tests/support/empty_flight_world.h"

namespace vyr {
namespace {

TEST(DialAngles, FollowTheirScalesAndStopAtTheTop) {
    build_rpm_dial_table();
    build_airspeed_dial_table();
    build_ftit_dial_table();
    struct Case {
        const char* dial;
        uint32_t (*angle)(int);
        int value;
        double degrees;
    };
    const Case cases[] = {
        {"rpm", rpm_dial_angle, 0, 0},          {"rpm", rpm_dial_angle, 59, 119},
        {"rpm", rpm_dial_angle, 60, 120},       {"rpm", rpm_dial_angle, 95, 294.125},
        {"rpm", rpm_dial_angle, 100, 320},      {"rpm", rpm_dial_angle, 130, 320},
        {"ftit", ftit_dial_angle, 950, 248.82}, {"ftit", ftit_dial_angle, 1100, 310},
        {"ftit", ftit_dial_angle, 4000, 310},   {"ftit", ftit_dial_angle, -20, 0},
        {"airspeed", airspeed_dial_angle, 100, 45}, {"airspeed", airspeed_dial_angle, 400, 230},
        {"airspeed", airspeed_dial_angle, 850, 350}, {"airspeed", airspeed_dial_angle, 900, 350},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(c.angle(c.value) / double(DEGREE), c.degrees, 0.01) << c.dial << " at " << c.value;
}

// The generated cockpit art on the panel picture, in the cockpit view, with the aircraft level.
class Panel : public EmptyFlightWorld {
protected:
    void SetUp() override {
        EmptyFlightWorld::SetUp();
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
        use_generated_data();
        view_settings.darkness = 0;
        aircraft = {{1 << 27, 1 << 27, 5000 * FOOT}, {}};
        aircraft.matrix[0][0] = aircraft.matrix[1][1] = aircraft.matrix[2][2] = 0x7fffffff;
        player_position = &aircraft;
        user_drone = nullptr;
        view_mode = VIEW_COCKPIT;
        system_failures = {};
        wheel_brake_state = 0;
        air_brake_state = AIR_BRAKE_CLOSED;
        flight_data = {};
        player_flight_data = {};
        game_clock = 0;
        accelerator_flag = 0;
        build_rpm_dial_table();
        build_airspeed_dial_table();
        build_ftit_dial_table();
        init_compass_tape();
        reset_ecm_failure_draw();
        init_message_area();
        load_cockpit_art();
        init_cockpit_overlay();
        // The panel draws the MFDs, whose pages need their pictures as in a flight.
        init_mfds();
    }
    void TearDown() override {
        free_cockpit();
        player_position = nullptr;
        system_failures = {};
        EmptyFlightWorld::TearDown();
    }

    static uint8_t panel_at(int x, int y) { return panel_screen->pixels[size_t(y) * (PANEL_WIDTH + panel_screen->row_pad) + x]; }
    static void poke(int x, int y, int width, int height, uint8_t colour) {
        for (int row = y; row < y + height; ++row)
            for (int column = x; column < x + width; ++column)
                panel_screen->pixels[size_t(row) * (PANEL_WIDTH + panel_screen->row_pad) + column] = colour;
    }
    // Whether the panel shows the image at the lamp's place.
    static bool shows(const PanelLamp& lamp, const uint8_t* image) {
        for (int y = 0; y < lamp.height; ++y)
            for (int x = 0; x < lamp.width; ++x)
                if (panel_at(lamp.x + x, lamp.y + y) != image[y * lamp.width + x]) return false;
        return true;
    }
    static bool lit(const PanelLamp& lamp) { return shows(lamp, lamp.on); }
    static bool unlit(const PanelLamp& lamp) { return shows(lamp, lamp.off); }
    // Whether the panel shows `rows` rows of a strip from `row` at (x, y), leaving out the first
    // and last, which the window's shade darkens.
    static bool shows_strip(CockpitArt strip, int row, int rows, int x, int y) {
        const PanelPicture& p = cockpit_art[strip];
        for (int r = 1; r < rows - 1; ++r)
            for (int c = 0; c < p.width; ++c)
                if (panel_at(x + c, y + r) != p.pixels[size_t(row + r) * p.width + c]) return false;
        return true;
    }
    // A needle pixel within a pixel of the point `fraction` of the way out along `degrees`.
    static bool needle_towards(CockpitArt dial, double degrees, double fraction = 0.55) {
        const PanelPicture& p = cockpit_art[dial];
        const double cx = p.x + p.width / 2.0, cy = p.y + p.height / 2.0, r = fraction * p.width / 2;
        const int x = int(std::lround(cx + r * std::sin(degrees * M_PI / 180)));
        const int y = int(std::lround(cy - r * std::cos(degrees * M_PI / 180)));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (panel_at(x + dx, y + dy) == NEEDLE_COLOUR) return true;
        return false;
    }

    Pose aircraft{};
};

TEST_F(Panel, TheGeneratedArtLoadsIntoItsRecords) {
    for (int art = 0; art < COCKPIT_ART_COUNT; ++art) {
        const PanelPicture& p = cockpit_art[art];
        ASSERT_NE(p.pixels, nullptr) << COCKPIT_ART[art].name;
        EXPECT_EQ(p.x, COCKPIT_ART[art].x) << COCKPIT_ART[art].name;
        EXPECT_EQ(p.y, COCKPIT_ART[art].y) << COCKPIT_ART[art].name;
    }
    EXPECT_EQ(cockpit_art[ART_FUEL_FLOW_DIGITS].cell_height, 11);
    EXPECT_EQ(cockpit_art[ART_ALTIMETER_DIGITS].cell_height, 7);
    EXPECT_EQ(cockpit_art[ART_DATA_DISPLAY].width, 102);
    EXPECT_EQ(cockpit_art[ART_DATA_DISPLAY].height, 31);
    const PanelLamp& third = threat_lamps[2];
    EXPECT_EQ(third.x, 413 + 2 * third.width);
    EXPECT_EQ(threat_lamps[5].y, 254);
    EXPECT_EQ(third.on, third.off + third.width * third.height) << "the lit half lies under the unlit one";
}

TEST_F(Panel, NeedlesPointAlongTheirDials) {
    struct Case {
        const char* what;
        void (*set)();
        CockpitArt dial;
        double degrees;
    };
    const Case cases[] = {
        {"RPM 95 %", [] { flight_data.engine_rpm = 95; }, ART_RPM_DIAL, 294.1},
        {"FTIT 950", [] { flight_data.ftit = 950; }, ART_FTIT_DIAL, 248.8},
        {"900 kt as 850", [] { flight_data.indicated_airspeed = 900; }, ART_AIRSPEED_DIAL, 350},
        {"throttle below 0 as 0", [] { flight_data.throttle = -10; }, ART_NOZZLE_DIAL, 30},
        {"throttle 100 %", [] { flight_data.throttle = 100; }, ART_NOZZLE_DIAL, 325},
        {"altimeter 250 ft", [] { flight_data.altitude = 250 * FOOT; }, ART_ALTIMETER_DIAL, 90},
        {"full internal fuel", [] { flight_data.internal_fuel = 9000; }, ART_FUEL_DIAL, 127},
        {"empty internal fuel", [] { flight_data.internal_fuel = 0; }, ART_FUEL_DIAL, -127},
    };
    for (const Case& c : cases) {
        flight_data = {};
        c.set();
        draw_cockpit_panel();
        EXPECT_TRUE(needle_towards(c.dial, c.degrees)) << c.what;
    }
}

TEST_F(Panel, DrumsRollOnlyWhereTheyShould) {
    // 1,950 ft: the hundreds drum half way from 9 to 0, and the thousands drum with it.
    flight_data.altitude = 1950 * FOOT;
    flight_data.mach = 0.85;
    flight_data.fuel_flow = 12345;
    draw_cockpit_panel();
    const PanelPicture& alt = cockpit_art[ART_ALTIMETER_DIGITS];
    EXPECT_TRUE(shows_strip(ART_ALTIMETER_DIGITS, 9 * 7 + 3, 7, alt.x, alt.y)) << "hundreds: 9 rolling";
    EXPECT_TRUE(shows_strip(ART_ALTIMETER_DIGITS, 1 * 7 + 3, 7, alt.x - 4, alt.y)) << "thousands roll behind a 9";
    EXPECT_TRUE(shows_strip(ART_ALTIMETER_DIGITS, 0, 7, alt.x - 8, alt.y)) << "ten thousands stay";
    EXPECT_TRUE(shows_strip(ART_ALTIMETER_DIGITS, 0, 7, 680, alt.y)) << "tens of feet always 0";
    const PanelPicture& mach = cockpit_art[ART_MACH_DIGITS];
    EXPECT_TRUE(shows_strip(ART_MACH_DIGITS, 8 * 7 + 3, 7, mach.x, mach.y)) << "tenths 8 rolling by half a cell";
    EXPECT_TRUE(shows_strip(ART_MACH_DIGITS, 0, 7, mach.x - 6, mach.y)) << "units 0";
    const PanelPicture& flow = cockpit_art[ART_FUEL_FLOW_DIGITS];
    EXPECT_TRUE(shows_strip(ART_FUEL_FLOW_DIGITS, 4 * 11 - 6, 22, flow.x - 22, flow.y - 6)) << "hundreds: 3 between 2 and 4";
    EXPECT_TRUE(shows_strip(ART_FUEL_FLOW_DIGITS, 6 * 11, 11, flow.x, flow.y)) << "units 5 as cell 6";
}

TEST_F(Panel, LampsDrawOnlyWhenTheirStateChanges) {
    set_failure(FAIL_FIRE);
    draw_cockpit_panel();
    EXPECT_TRUE(lit(fire_lamp));
    poke(fire_lamp.x, fire_lamp.y, fire_lamp.width, fire_lamp.height, 0);
    draw_cockpit_panel();
    EXPECT_EQ(panel_at(fire_lamp.x, fire_lamp.y), 0) << "an unchanged lamp is not drawn again";
    reset_system_failures();
    draw_cockpit_panel();
    EXPECT_TRUE(unlit(fire_lamp)) << "the restart's failure reset puts the fire out";

    set_failure(FAIL_HYDRAULICS);
    draw_cockpit_panel();
    clear_failure(FAIL_HYDRAULICS);
    draw_cockpit_panel();
    EXPECT_TRUE(lit(hydraulics_lamp)) << "lost hydraulics stay lost for the flight";
}

TEST_F(Panel, BrakeLampsFollowTheBrakeKeys) {
    draw_cockpit_panel();
    EXPECT_TRUE(unlit(brake_lamp) || !(brake_lamp.flags & LAMP_LIT));
    toggle_wheel_brakes(0);
    toggle_air_brake(0);
    draw_cockpit_panel();
    EXPECT_TRUE(lit(brake_lamp));
    EXPECT_TRUE(lit(disc_lamp));
    toggle_wheel_brakes(0);
    draw_cockpit_panel();
    EXPECT_TRUE(unlit(brake_lamp));
}

TEST_F(Panel, TheAoaIndexerLightsItsBandWithTheGearDown) {
    struct Case {
        double degrees;
        int lamp;
        const char* message;
    };
    const Case cases[] = {{10, 0, "AOA TOO LOW"}, {13, 1, "AOA OK"}, {16, 2, "AOA TOO HIGH"}, {20, -1, nullptr},
                          {8.5, -1, nullptr}};
    flight_data.gear_lamps[0] = flight_data.gear_lamps[1] = flight_data.gear_lamps[2] = 1;
    for (const Case& c : cases) {
        flight_data.angle_of_attack = int32_t(c.degrees * DEGREE);
        draw_cockpit_panel();
        fill_message_lines();
        const std::string shown = std::string(message_lines[0]) + message_lines[1] + message_lines[2];
        for (int k = 0; k < 3; ++k) EXPECT_EQ(lit(aoa_lamps[k]), k == c.lamp) << c.degrees << " degrees, lamp " << k;
        for (const char* text : {"AOA TOO LOW", "AOA OK", "AOA TOO HIGH"})
            EXPECT_EQ(shown.find(text) != std::string::npos, c.message && std::strcmp(text, c.message) == 0)
                << c.degrees << " degrees: " << shown;
    }
    flight_data.gear_lamps[0] = flight_data.gear_lamps[1] = flight_data.gear_lamps[2] = 0;
    flight_data.angle_of_attack = int32_t(13 * DEGREE);
    draw_cockpit_panel();
    EXPECT_FALSE(lit(aoa_lamps[1])) << "off with the gear up";
}

TEST_F(Panel, TheLowAltitudeLampFollowsTheSteerpointAltitude) {
    Drone drone{};
    Waypoint steerpoint{};
    drone.current_waypoint = &steerpoint;
    struct Case {
        int32_t steerpoint_feet;
        int32_t height;
        bool lit;
    };
    // Each case descends from well above, then to its height.
    const Case cases[] = {{1000, 201, false}, {1000, 200, true}, {150, 150, false}, {150, 100, true}, {0, 100, true}};
    flight_data.vertical_speed = -1000 * 256;
    for (const Case& c : cases) {
        steerpoint.z = c.steerpoint_feet * FOOT;
        user_drone = c.steerpoint_feet ? &drone : nullptr;
        flight_data.height_above_ground = 3000 * FOOT;
        draw_cockpit_panel();
        flight_data.height_above_ground = c.height * FOOT;
        draw_cockpit_panel();
        EXPECT_EQ(lit(low_altitude_lamp), c.lit) << c.height << " ft under a steerpoint at " << c.steerpoint_feet;
        EXPECT_EQ(bool(system_failures.lamp_word & LAMP_LOW_ALTITUDE), c.lit);
    }
    user_drone = nullptr;
}

class PanelArt : public ScratchDirectories {};

TEST_F(PanelArt, AMissingPictureIsNamedAndOneTooSmallIsRefused) {
    if (!std::filesystem::exists(GENERATED_DATA / "cockpits")) GTEST_SKIP() << "the sample data set is not built";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::filesystem::create_directories(data / "cockpits");
    for (const auto& entry : std::filesystem::directory_iterator(GENERATED_DATA / "cockpits"))
        if (entry.path().filename() != "caution.bbm")
            std::filesystem::copy_file(entry.path(), data / "cockpits" / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
    EXPECT_EXIT(load_cockpit_art(), testing::ExitedWithCode(10), "CAUTION.BBM is missing.");
    // The HSI bezel in place of the fuel needle's cap reaches off the panel.
    std::filesystem::copy_file(GENERATED_DATA / "cockpits" / "caution.bbm", data / "cockpits" / "caution.bbm",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::copy_file(GENERATED_DATA / "cockpits" / "hsibezel.bbm", data / "cockpits" / "fuelcntr.bbm",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EXIT(load_cockpit_art(), testing::ExitedWithCode(10), "FUELCNTR.BBM does not fit the panel");
}

}  // namespace
}  // namespace vyr
