// The sample theatres on the plan map, kept beside the build as pictures to look at: each drawn
// whole in the menus' colouring, and an airfield close up.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "library/3dvisual/features.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/map_terrain.h"
#include "library/3dvisual/plan_map.h"
#include "library/3dvisual/terrain.h"
#include "library/graphics/plot.h"
#include "library/graphics/screen.h"
#include "library/os/file.h"
#include "tests/support/paths.h"
#include "tests/tools/vyrgen/world/generated_world.h"
#include "tools/vyrgen/war_zones.h"
#include "tools/vyrgen/world/geometry.h"
#include "tools/vyrgen/world/theatre.h"

namespace vyr::vyrgen {
namespace {

constexpr int WIDTH = 640, HEIGHT = 480;
constexpr int MENU_BASE = 99, MENU_STEPS = 15, WATER = 200, RUNWAY = 202;
constexpr int32_t WORLD = 1 << 28;

class TheatreMaps : public GeneratedWorld {
protected:
    void SetUp() override {
        GeneratedWorld::SetUp();
        screen = create_screen(WIDTH, HEIGHT);
        select_screen(screen);
        saved_alt = map_alt_colouring;
        saved_base = map_background_colour;
        map_background_colour = MENU_BASE;
    }
    void TearDown() override {
        map_alt_colouring = saved_alt;
        map_background_colour = saved_base;
        plan_map_options = {0, 0};
        select_screen(nullptr);
        destroy_screen(screen);
        GeneratedWorld::TearDown();
    }

    static void open_theatre(const char* directory) {
        use_war_zone(directory);
        load_terrain();
        load_features();
        load_ground_objects();
        compute_terrain_max_height();
    }

    // The map round (cx, cy), half_height above and below, as wide as the screen's shape gives.
    static void draw_map(int32_t cx, int32_t cy, int32_t half_height, uint32_t turn, PlanMapOptions options) {
        const int32_t half_width = int32_t(int64_t(half_height) * WIDTH / HEIGHT);
        set_plot(0, 0, WIDTH, HEIGHT, cx - half_width, cy - half_height, cx + half_width, cy + half_height);
        set_plot_rotation(turn);
        set_plot_offset(0, 0);
        set_plan_map_options(&options);
        draw_plan_map();
    }

    int64_t count(int colour) const {
        return std::count(screen->pixels, screen->pixels + WIDTH * HEIGHT, uint8_t(colour));
    }

    // The 3D palette with the theatre's terrain colours over 71..134.
    void keep_picture(const std::string& name, const char* zone) const {
        std::string palette = read_bytes(GENERATED_DATA / "3ddata" / "3dpal.rgb");
        palette.resize(256 * 3);
        const std::string terrain = read_bytes(GENERATED_DATA / zone / "terrain.rgb");
        std::copy(terrain.begin(), terrain.end(), palette.begin() + 71 * 3);
        const std::filesystem::path kept = std::filesystem::path(VYR_BUILD_DIR) / "captures" / "plan_map";
        std::filesystem::create_directories(kept);
        std::ofstream ppm(kept / (name + ".ppm"), std::ios::binary);
        ppm << "P6\n" << WIDTH << " " << HEIGHT << "\n255\n";
        for (int i = 0; i < WIDTH * HEIGHT; ++i) ppm.write(palette.data() + 3 * screen->pixels[i], 3);
    }

    Screen* screen = nullptr;
    int32_t saved_alt = 0, saved_base = 0;
};

TEST_F(TheatreMaps, EachTheatreDrawnWholeShowsItsGroundByHeightAndItsWater) {
    map_alt_colouring = 1;
    for (const WarZone& zone : WAR_ZONES) {
        SCOPED_TRACE(zone.directory);
        open_theatre(zone.directory);
        draw_map(WORLD / 2, WORLD / 2, WORLD / 2 + WORLD / 16, 0,
                 {250, PLAN_MAP_TERRAIN | PLAN_MAP_TERRAIN_LINES | PLAN_MAP_OUTLINES});
        int steps_seen = 0;
        for (int step = 0; step <= MENU_STEPS; ++step) steps_seen += count(MENU_BASE + step) > 0;
        EXPECT_GE(steps_seen, 8) << "low ground to high by the height steps";
        EXPECT_GT(count(WATER), 200) << "rivers, lakes or sea";
        EXPECT_EQ(count(MAP_CONTOUR_COLOUR), 0) << "no contour lines in the menus' colouring";
        keep_picture(zone.directory, zone.directory);
    }
}

// Korea's first airfield, north up by class and turned by height: its runway in the runway grey,
// as long and as wide as it is either way.
TEST_F(TheatreMaps, AnAirfieldCloseUpShowsItsRunwayInEitherColouring) {
    open_theatre("korea.wz");
    const Airfield& field = theatre_layout(1).airfields.front();
    const int32_t half = world_units(field.runway_length * 0.6);
    const double pixel_feet = 2.0 * half / 256 / HEIGHT, post_feet = 4096;  // 256 units a foot
    const double area = field.runway_length * field.runway_width * post_feet * post_feet / (pixel_feet * pixel_feet);
    const struct {
        int32_t alt_colouring;
        uint32_t turn;
        const char* name;
    } cases[] = {{0, 0, "airfield_by_class"}, {1, 0x15550000u, "airfield_by_height_turned"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        map_alt_colouring = c.alt_colouring;
        draw_map(world_units(field.centre.x), world_units(field.centre.y), half, c.turn, {1000, PLAN_MAP_TERRAIN | PLAN_MAP_OUTLINES});
        EXPECT_GT(count(RUNWAY), 0.7 * area);
        EXPECT_LT(count(RUNWAY), 1.1 * area);
        keep_picture(c.name, "korea.wz");
    }
}

}  // namespace
}  // namespace vyr::vyrgen
