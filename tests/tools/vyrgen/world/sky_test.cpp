#include "tools/vyrgen/world/sky.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/stars.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/3dvisual/world_palette.h"
#include "library/debug/fatal.h"
#include "library/gfxinit/glide.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/os/file.h"
#include "platform/accel/framebuffer.h"
#include "tests/support/headless_world.h"
#include "tests/library/3dvisual/accel_frame.h"
#include "tests/support/glide_start.h"
#include "tests/support/scratch.h"
#include "tools/vyrgen/war_zones.h"
#include "tests/support/paths.h"

namespace vyr::vyrgen {
namespace {

namespace accel = platform::accel;

// The world renders send their palettes to the display through the window thread.
const testing::Environment* const window_thread = testing::AddGlobalTestEnvironment(new WindowThreadEnvironment);

std::map<std::string, std::vector<uint8_t>> files_by_name() {
    std::map<std::string, std::vector<uint8_t>> files;
    for (DataFile& file : sky_files()) files[file.name] = std::move(file.bytes);
    return files;
}

TEST(SkyFiles, HaveTheSizesTheirReadersTakeAndAFullNightSky) {
    const auto files = files_by_name();
    for (const char* name : {"3ddata/clear.rgb", "3ddata/overcast.rgb", "3ddata/above.rgb"})
        EXPECT_EQ(files.at(name).size(), 39u) << name;
    for (const WarZone& zone : WAR_ZONES) {
        const std::string directory = zone.directory;
        EXPECT_EQ(files.at(directory + "/fog.rgb").size(), 60u);
        EXPECT_EQ(files.at(directory + "/fogdull.rgb").size(), 60u);
        EXPECT_EQ(files.at(directory + "/glass.cmp").size(), 256u);
        const std::vector<uint8_t>& stars = files.at(directory + "/starmap.bin");
        ASSERT_EQ(stars.size() % 4, 0u);
        int by_class[5] = {};
        for (size_t i = 0; i < stars.size(); i += 4) {
            ASSERT_LT(stars[i], 5);
            ++by_class[stars[i]];
            for (int k = 1; k < 4; ++k) ASSERT_LE(stars[i + k], 64);
            EXPECT_GT(stars[i + 3], 32) << "every star above the horizon";
        }
        for (int k = 0; k < 5; ++k) EXPECT_EQ(by_class[k], STARS_BY_CLASS[k]);
    }
    // Overhead the clear sky is a deeper blue than at the horizon.
    const std::vector<uint8_t>& clear = files.at("3ddata/clear.rgb");
    EXPECT_GT(clear[3 + 2], clear[3]);
    EXPECT_GT(clear[36] + clear[37], clear[3] + clear[4]);
}

// The generated data set as a flight sees it: Korea loaded and the accelerator started as a
// flight starts them, the eye 3,000 ft over the middle of the theatre.
class SkyRenders : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        use_generated_data();
        init_trig_tables();
        open_world_with_glide("korea.wz");
    }
    void TearDown() override {
        close_world_with_glide();
        ScratchDirectories::TearDown();
    }

    // The sun (or moon) low ahead, 25 degrees right of where the view looks: in sight, but too far
    // from the centre to glare.
    void render(const char* name, int weather, int32_t sun_elevation_degrees, int32_t darkness) {
        ViewSettings view = view_settings;
        view.weather = weather;
        view.flags = weather == WEATHER_CLEAR ? VIEW_SHADOWS : VIEW_CLOUDS | VIEW_SHADOWS;
        view.sun_heading = 0x60000000;
        view.sun_elevation = -sun_elevation_degrees * DEGREE;
        view.darkness = darkness;
        set_view_settings(&view);
        build_world_palette();
        Pose eye{{1 << 27, 1 << 27, 3000 * FOOT}, {}};
        build_rotation_matrix(uint32_t(view.sun_heading) + 0x80000000u - 25 * DEGREE, 12 * DEGREE, 0, eye.matrix);
        // The second frame shows the glare the sun left in the first.
        for (int frame = 0; frame < 2; ++frame) render_world(&eye);
        write_frame(std::string(VYR_BUILD_DIR) + "/sky_" + name + ".ppm");
    }
    static int brightness(const Rgb& c) { return c.r + c.g + c.b; }
    static int count_bright_in_top(int limit) {
        int n = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < accel::SCREEN_WIDTH; ++x) n += brightness(pixel(x, y)) > limit;
        return n;
    }
};

TEST_F(SkyRenders, NoonDuskAndNightUnderAClearSky) {
    render("noon_clear", WEATHER_CLEAR, 60, 0);
    const Rgb top = pixel(320, 5), horizon = pixel(320, 300);
    EXPECT_GT(top.b, top.r + 60) << "a blue sky overhead";
    EXPECT_GT(brightness(horizon), brightness(top)) << "paling to the horizon";
    EXPECT_EQ(count_bright_in_top(600), 0) << "no stars by day";

    render("dusk_clear", WEATHER_CLEAR, 14, 0x18000000);
    const Rgb dusk_top = pixel(320, 5);
    EXPECT_LT(brightness(dusk_top), brightness(top)) << "darker than at noon";
    EXPECT_GT(brightness(pixel(469, 232)), 600) << "the sun low over the horizon";

    render("night_clear", WEATHER_CLEAR, 40, 0x70000000);
    const Rgb night_top = pixel(320, 5);
    EXPECT_LT(brightness(night_top), 60) << "a dark sky";
    EXPECT_GT(count_bright_in_top(200), 100) << "full of stars";
}

TEST_F(SkyRenders, NoonDuskAndNightUnderAnOvercast) {
    for (const auto& [name, darkness] : {std::pair{"noon_overcast", 0}, std::pair{"dusk_overcast", 0x18000000},
                                         std::pair{"night_overcast", 0x70000000}}) {
        render(name, WEATHER_OVERCAST, 40, darkness);
        const Rgb top = pixel(320, 5);
        EXPECT_LT(std::abs(top.r - top.b), 40) << name << ": grey";
        EXPECT_EQ(count_bright_in_top(brightness(top) + 150), 0) << name << ": no sun, moon or stars below the deck";
    }
}

}  // namespace
}  // namespace vyr::vyrgen
