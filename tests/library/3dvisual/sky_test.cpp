#include "library/3dvisual/sky.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/stars.h"
#include "library/3dvisual/terrain_colours.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/graphics/palette.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "tests/library/3dvisual/world_fixtures.h"

namespace vyr {
namespace {
constexpr uint8_t GROUND = 77, BAND = 200, UNTOUCHED = 1;

// The sky passes in software on a 640 x 480 screen, the eye over the middle of the world.
class Sky : public SoftwareScreenWorld {
protected:
    static void SetUpTestSuite() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    void SetUp() override {
        SoftwareScreenWorld::SetUp();
        terrain_ground_colours[0] = GROUND;
        // The band's two colours shade to one of their own, whatever an earlier build left.
        set_shade_ramp(166, BAND, 0);
        set_shade_ramp(167, BAND, 0);
        view = {6, 0, 0, 0, -30 * int32_t(DEGREE), 0, 25000 * FOOT, 27000 * FOOT, 2, 3, WEATHER_CLEAR, 0, nullptr, 0};
        set_view_settings(&view);
    }
    void look(uint32_t heading, int32_t pitch_degrees, int32_t roll_degrees, int32_t z = 1000 * FOOT) {
        Pose eye{{1 << 27, 1 << 27, z}, {}};
        build_rotation_matrix(heading, uint32_t(pitch_degrees * int32_t(DEGREE)), uint32_t(roll_degrees * int32_t(DEGREE)),
                              eye.matrix);
        set_eye(&eye);
    }
    void render() {
        std::fill(pixels.begin(), pixels.end(), UNTOUCHED);
        draw_backdrop();
        draw_sky();
    }
    uint8_t at(int x, int y) const { return pixels[size_t(y) * W + x]; }
    int first_row_not(int x, uint8_t colour) const {
        int y = 0;
        while (y < H && at(x, y) == colour) ++y;
        return y;
    }
    std::set<uint8_t> colours() const { return {pixels.begin(), pixels.end()}; }

    ViewSettings view;
};

TEST_F(Sky, ALevelHorizonHasItsBandAnEighthOfTheWidthAboveIt) {
    look(0, 0, 0);
    render();
    for (int x : {5, 320, 630}) {
        EXPECT_EQ(first_row_not(x, 156), 160) << "the flat upper sky ends 80 pixels above the horizon";
        EXPECT_EQ(at(x, 200), BAND);
        EXPECT_EQ(at(x, 245), GROUND);
        EXPECT_EQ(at(x, 479), GROUND);
    }
    // Rolled, the horizon tilts: higher on one side than the other.
    look(0, 0, 20);
    render();
    EXPECT_NE(first_row_not(20, 156), first_row_not(620, 156));
}

TEST_F(Sky, SteepViewsAndSolidLayersFillTheWholeView) {
    const struct {
        int32_t pitch;
        int weather, flags;
        int32_t z;
        uint8_t colour;
    } cases[] = {
        {80, WEATHER_CLEAR, 0, 1000 * FOOT, 156},                        // the backdrop draws nothing
        {89, WEATHER_CLEAR, 0, 1000 * FOOT, 156},
        {-80, WEATHER_CLEAR, 0, 1000 * FOOT, GROUND},
        {-85, WEATHER_CLEAR, VIEW_CLOUDS, 30000 * FOOT, 166},            // on top of the deck
        {0, WEATHER_OVERCAST, 0, 14000 * FOOT, 166},  // inside an overcast at 13,000 to 15,000 ft
        {0, WEATHER_OVERCAST, VIEW_CLOUDS, 14000 * FOOT, 166},
    };
    for (const auto& c : cases) {
        view.weather = c.weather;
        view.flags = c.flags;
        cloud_random = 0;
        set_view_settings(&view);
        look(0, c.pitch, 0, c.z);
        render();
        EXPECT_EQ(colours(), std::set<uint8_t>{c.colour}) << c.pitch << " degrees, weather " << c.weather;
    }
}

TEST_F(Sky, FogBelowTheCloudsHidesTheCloudLayer) {
    view.weather = WEATHER_LIGHT_FOG;
    view.flags = VIEW_CLOUDS;
    set_view_settings(&view);
    look(0, 0, 0);
    render();
    EXPECT_FALSE(current_view.flags & VIEW_CLOUDS);
}

TEST_F(Sky, TheHorizonBallsBowAndTilt) {
    const uint32_t ground = 0x11111111, sky = 0x22222222;
    Pose pose{{0, 0, 0}, {}};
    // 200 x 200 at (100, 100): 100 plot units... 500 to a pixel; the half squares reach 44 pixels.
    build_rotation_matrix(0, 0, 0, pose.matrix);
    std::fill(pixels.begin(), pixels.end(), UNTOUCHED);
    draw_horizon_ball(100, 100, 200, 200, &pose, ground, sky);
    EXPECT_EQ(at(200, 170), 0x22);
    EXPECT_EQ(at(200, 230), 0x11);
    EXPECT_EQ(at(200, 150), UNTOUCHED) << "only the two half squares";
    build_rotation_matrix(0, 80 * DEGREE, 0, pose.matrix);
    draw_horizon_ball(100, 100, 200, 200, &pose, ground, sky);
    EXPECT_EQ(at(200, 240), 0x22) << "the sky's arc reaches 42 pixels below the centre";
    EXPECT_EQ(at(200, 243), 0x11);
    EXPECT_EQ(at(160, 240), 0x11) << "and rises to the sides";

    std::fill(pixels.begin(), pixels.end(), UNTOUCHED);
    build_rotation_matrix(0, 0, 0, pose.matrix);
    draw_attitude_ball(100, 100, 200, 200, &pose, ground, sky);
    for (int x : {101, 200, 298}) {
        EXPECT_EQ(at(x, 195), 0x22);
        EXPECT_EQ(at(x, 205), 0x11) << "a straight horizon";
    }
    EXPECT_EQ(at(50, 50), UNTOUCHED);
    for (int32_t pitch : {85, -85}) {
        build_rotation_matrix(0, uint32_t(pitch * int32_t(DEGREE)), 0, pose.matrix);
        draw_attitude_ball(100, 100, 200, 200, &pose, ground, sky);
        EXPECT_EQ(at(110, 110), pitch > 0 ? 0x22 : 0x11);
        EXPECT_EQ(at(290, 290), pitch > 0 ? 0x22 : 0x11);
    }
}

// Stars straight overhead, one per class a little apart, seen looking straight up.
class Stars : public Sky {
protected:
    void SetUp() override {
        Sky::SetUp();
        std::string map;
        for (int k = 0; k < 5; ++k) map += {char(k), char(32 + 2 * (k - 2)), char(32), char(64)};
        write_bytes(data / "korea.wz/starmap.bin", map);
        std::strcpy(world_settings.war_zone_directory, "KOREA.WZ\\");
        load_star_map();
    }
    std::set<uint8_t> stars_at(int32_t darkness, int flags, int32_t z) {
        view.darkness = darkness;
        view.flags = flags;
        view.sun_elevation = 30 * int32_t(DEGREE);  // no moon
        set_view_settings(&view);
        look(0, 90, 0, z);
        render();
        std::set<uint8_t> seen;
        for (uint8_t c : pixels)
            if (c >= 168 && c <= 172) seen.insert(c);
        return seen;
    }
};

TEST_F(Stars, ClassesShowByDarknessAndNeverUnderTheClouds) {
    EXPECT_EQ(star_count, 5);
    EXPECT_EQ(stars_at(644245094, 0, 1000 * FOOT), (std::set<uint8_t>{}));
    EXPECT_EQ(stars_at(644245095, 0, 1000 * FOOT), (std::set<uint8_t>{168, 169, 170}));
    EXPECT_EQ(stars_at(0x40000000, 0, 1000 * FOOT), (std::set<uint8_t>{168, 169, 170, 171}));
    EXPECT_EQ(stars_at(0x60000000, 0, 1000 * FOOT), (std::set<uint8_t>{168, 169, 170, 171, 172}));
    EXPECT_EQ(stars_at(0x60000000, VIEW_CLOUDS, 1000 * FOOT), (std::set<uint8_t>{}));
    EXPECT_EQ(stars_at(0x60000000, VIEW_CLOUDS, 30000 * FOOT).size(), 5u) << "above the layer";
}

TEST_F(Stars, TheSunShowsAheadAndGlaresOnlyNearTheViewCentre) {
    view.sun_heading = 0;  // the light comes from the south, 30 degrees up
    view.sun_elevation = -30 * int32_t(DEGREE);
    set_view_settings(&view);
    const struct {
        uint32_t heading;
        int32_t pitch;
        bool drawn, glare;
    } cases[] = {
        {0, 0, false, false},                 // behind the eye
        {0x80000000u, 30, true, true},        // straight ahead
        {0x80000000u + 30 * DEGREE, 25, true, false},
        {0x80000000u + 60 * DEGREE, 30, false, false},  // more than 100 pixels off the screen
    };
    for (const auto& c : cases) {
        sun_glare = 0;
        look(c.heading, c.pitch, 0);
        render();
        EXPECT_EQ(colours().count(191) == 1, c.drawn) << c.heading / DEGREE;
        EXPECT_EQ(sun_glare > 0, c.glare) << c.heading / DEGREE;
    }
}

TEST_F(Stars, ABadStarMapIsFatal) {
    const struct {
        std::string bytes;
        const char* message;
    } cases[] = {
        {std::string("\x01\x20\x20", 3) + "\x40\x02", "STARMAP.BIN file length is not a multiple of \\(sizeof\\) star."},
        {std::string("\x05\x20\x20\x40", 4), "STARMAP.BIN: star 0 has class 5"},
        {std::string("\x01\x20\x20\x40\x02\x41\x20\x20", 8), "STARMAP.BIN: star 1 has class 2 and direction 65"},
    };
    for (const auto& c : cases) {
        write_bytes(data / "korea.wz/starmap.bin", c.bytes);
        EXPECT_EXIT(
            {
                init_debug_text();
                load_star_map();
            },
            testing::ExitedWithCode(10), c.message);
    }
}

}  // namespace
}  // namespace vyr
