#include "library/3dvisual/world_palette.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/stars.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/ui/clip.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {
constexpr int32_t BASE = 10000 * FOOT, TOP = 12000 * FOOT;

std::string triples(int count, int first_value) {
    std::string bytes;
    for (int i = 0; i < count; ++i)
        for (int k = 0; k < 3; ++k) bytes += char(first_value + i);
    return bytes;
}

// A theatre's palette files: colour i of 3DPAL.RGB is (i, i, i) but for the colours the remap
// cases need; each sky set and fog file its own values.
class WorldPalette : public ScratchDirectories {
protected:
    static void SetUpTestSuite() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    void SetUp() override {
        ScratchDirectories::SetUp();
        init_trig_tables();
        std::string palette;
        for (int i = 0; i < 224; ++i) palette += std::string(3, char(i));
        set_rgb(palette, 20, 200, 200, 200);  // an object colour of luminance 200
        set_rgb(palette, 160, 100, 100, 100);  // a sky colour of luminance 100
        write_bytes(data / "3ddata/3dpal.rgb", palette);
        write_bytes(data / "3ddata/clear.rgb", triples(13, 10));
        write_bytes(data / "3ddata/overcast.rgb", triples(13, 40));
        write_bytes(data / "3ddata/above.rgb", triples(13, 70));
        write_bytes(data / "korea.wz/fog.rgb", triples(20, 100));
        write_bytes(data / "korea.wz/fogdull.rgb", triples(20, 130));
        write_bytes(data / "korea.wz/glass.cmp", std::string(256, char(9)));
        write_bytes(data / "korea.wz/terrain.rgb", triples(64, 0));
        write_bytes(data / "korea.wz/terrcols.bin", std::string(2, char(3)));
        std::strcpy(world_settings.data_directory, "3DDATA\\");
        std::strcpy(world_settings.war_zone_directory, "KOREA.WZ\\");
        current_world_settings = &world_settings;
        view = {6, 0, 0, 0, -0x15555555, 0, BASE, TOP, 2, 3, WEATHER_CLEAR, 0, nullptr, VIEW_CLOUDS};
        set_view_settings(&view);
        build_world_palette();
        sky_state = SKY_BELOW_CLOUDS;
        eye_pose.position.z = 0;
    }
    void TearDown() override {
        restore_world_palette();
        ScratchDirectories::TearDown();
    }

    static void set_rgb(std::string& palette, int colour, int r, int g, int b) {
        palette[3 * colour] = char(r);
        palette[3 * colour + 1] = char(g);
        palette[3 * colour + 2] = char(b);
    }
    static const PaletteEffect* effect_of_class(int effect_class) {
        for (const PaletteEffect* e = get_palette_effect_list(); e; e = e->next)
            if (e->effect_class == effect_class) return e;
        return nullptr;
    }
    void install(int weather, int flags) {
        view.weather = weather;
        view.flags = flags;
        set_view_settings(&view);
    }

    ViewSettings view;
};

TEST_F(WorldPalette, TheBuildLaysOutColoursRampsAndRemaps) {
    EXPECT_EQ(base_palette[3 * 50], 50);
    EXPECT_EQ(base_palette[3 * 203 + 2], 128) << "203 is the plain blue";
    EXPECT_EQ(base_palette[3 * 135], 100) << "the clear weather's fog";
    EXPECT_EQ(base_palette[3 * 154], 119);
    // Each object colour shades down to the darkest of its ramp.
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(shade_table[(5 + k) * 256 + 0], 5);
        EXPECT_EQ(shade_table[(5 + k) * 256 + 255], 5 + k);
    }
    EXPECT_EQ(shade_table[167 * 256 + 0], 156);
    EXPECT_EQ(shade_table[155 * 256 + 255], 155);
    // The glass keeps the sky one step lighter and the cockpit colours as they are.
    EXPECT_EQ(glass_remap[100], 9);
    EXPECT_EQ(glass_remap[155], 155);
    EXPECT_EQ(glass_remap[160], 159);
    EXPECT_EQ(glass_remap[240], 240);
    EXPECT_EQ(feature_remap[11], 202);
    EXPECT_EQ(feature_remap[127], 200);
    EXPECT_EQ(feature_remap[12], 2);
    EXPECT_EQ(night_vision_remap[20], 223) << "luminance 200";
    EXPECT_EQ(night_vision_remap[160], 208) << "a dark sky colour";
    EXPECT_EQ(night_vision_remap[1], 208);
    EXPECT_EQ(night_vision_remap[250], 208);
    EXPECT_EQ(night_vision_remap[180], 208 + (180 - 24 - 32) / 12);
    for (int c = 0; c < 256; ++c) ASSERT_EQ(identity_remap[c], c);
}

TEST_F(WorldPalette, APaletteFileOfAnyOtherSizeIsFatal) {
    const struct {
        const char *name, *named;
    } files[] = {{"3ddata/3dpal.rgb", "3DPAL.RGB"},
                 {"3ddata/above.rgb", "ABOVE.RGB"},
                 {"korea.wz/fogdull.rgb", "FOGDULL.RGB"},
                 {"korea.wz/glass.cmp", "GLASS.CMP"}};
    for (const auto& [name, named] : files) {
        write_bytes(data / name, read_bytes(data / name) + "x");
        EXPECT_EXIT(
            {
                init_debug_text();
                build_world_palette();
            },
            testing::ExitedWithCode(10), std::string("FATAL .*") + named + " is [0-9]+ bytes, expected [0-9]+");
        std::string bytes = read_bytes(data / name);
        write_bytes(data / name, bytes.substr(0, bytes.size() - 1));
    }
}

TEST_F(WorldPalette, TheSkySetFollowsWeatherAndLayer) {
    const struct {
        int weather, flags;
        SkyState state;
        int first_value;
    } cases[] = {
        {WEATHER_CLEAR, VIEW_CLOUDS, SKY_IN_CLOUDS, 10},     {WEATHER_OVERCAST, VIEW_CLOUDS, SKY_BELOW_CLOUDS, 40},
        {WEATHER_LIGHT_FOG, 0, SKY_IN_CLOUDS, 40},           {WEATHER_LIGHT_FOG, 0, SKY_ABOVE_CLOUDS, 10},
        {WEATHER_LIGHT_FOG, VIEW_CLOUDS, SKY_ABOVE_CLOUDS, 70}, {WEATHER_OVERCAST, 0, SKY_ABOVE_CLOUDS, 70},
    };
    for (const auto& c : cases) {
        install(c.weather, c.flags);
        sky_state = c.state;
        load_sky_colours();
        EXPECT_EQ(base_palette[3 * 155], c.first_value) << c.weather << " " << c.state;
        EXPECT_EQ(base_palette[3 * 167], c.first_value + 12);
    }
}

TEST_F(WorldPalette, TheHazeRisesThroughTheLayer) {
    const struct {
        int weather, flags;
        int32_t z;
        int grey;
        int32_t level;
    } cases[] = {
        {WEATHER_CLEAR, VIEW_CLOUDS, BASE - 600 * FOOT, 187, 0},
        {WEATHER_CLEAR, VIEW_CLOUDS, BASE - 256 * FOOT, 187, (0x1FFFF - 0x10000) << 14},
        {WEATHER_CLEAR, VIEW_CLOUDS, BASE - 1, 187, (0x1FFFF - 1) << 14},
        {WEATHER_CLEAR, VIEW_CLOUDS, BASE + 100 * FOOT, 187, EFFECT_FULL_LEVEL},
        {WEATHER_CLEAR, VIEW_CLOUDS, TOP - 64 * FOOT, 255, (0xFFFF - 0x4000) << 15},
        {WEATHER_CLEAR, VIEW_CLOUDS, TOP + 128 * FOOT, 255, (0x1FFFF - 0x8000) << 14},
        {WEATHER_CLEAR, VIEW_CLOUDS, TOP + 600 * FOOT, 255, 0},
        {WEATHER_THICK_FOG, VIEW_CLOUDS, BASE - 5000 * FOOT, 187, 0x30000000},
        {WEATHER_LIGHT_FOG, VIEW_CLOUDS, BASE - 256 * FOOT, 187, ((0x1FFFF - 0x10000) << 13) + 0x20000000},
        {WEATHER_CLEAR, 0, BASE + 100 * FOOT, 187, 0},
    };
    for (const auto& c : cases) {
        install(c.weather, c.flags);
        eye_pose.position.z = c.z;
        sky_state = c.z < BASE ? SKY_BELOW_CLOUDS : c.z < TOP ? SKY_IN_CLOUDS : SKY_ABOVE_CLOUDS;
        update_sky_palette();
        const PaletteEffect* haze = effect_of_class(5);
        ASSERT_NE(haze, nullptr);
        EXPECT_EQ(haze->level, c.level) << c.z / FOOT << " ft";
        if (c.level) {
            EXPECT_EQ(haze->red, c.grey << 16) << c.z / FOOT << " ft";
        }
    }
}

TEST_F(WorldPalette, EffectsFollowTheViewAndAGlareLastsOneRender) {
    view.darkness = 0x7FFFFFFF;
    set_view_settings(&view);
    sun_glare = 0x1234567;
    update_sky_palette();
    EXPECT_EQ(effect_of_class(2)->level, 1964947537) << "darkness stops short of black";
    EXPECT_EQ(effect_of_class(3)->level, 0x1234567);
    EXPECT_EQ(sun_glare, 0);
    update_sky_palette();
    EXPECT_EQ(effect_of_class(3)->level, 0);

    view.night_vision = 1;
    set_view_settings(&view);
    update_sky_palette();
    EXPECT_EQ(effect_of_class(1)->level, 1);
    EXPECT_EQ(effect_of_class(2)->level, 0) << "night vision sees in the dark";

    view.night_vision = NIGHT_VISION_ALTERNATE;
    set_view_settings(&view);
    select_colour_remap();
    EXPECT_EQ(std::memcmp(colour_remap, night_vision_remap, 256), 0);
    view.night_vision = 0;
    set_view_settings(&view);
    select_colour_remap();
    EXPECT_EQ(std::memcmp(colour_remap, identity_remap, 256), 0);

    restore_world_palette();
    for (const PaletteEffect* e = get_palette_effect_list(); e; e = e->next) EXPECT_EQ(e->level, 0);
}

}  // namespace
}  // namespace vyr
