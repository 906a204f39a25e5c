#include "tools/vyrgen/world/terrain_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "library/3dvisual/terrain.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/os/file.h"
#include "tests/support/scratch.h"
#include "tools/vyrgen/terrain_textures.h"
#include "tools/vyrgen/war_zones.h"
#include "tools/vyrgen/world/theatre.h"

namespace vyr::vyrgen {
namespace {

std::map<std::string, std::vector<uint8_t>> files_by_name() {
    std::map<std::string, std::vector<uint8_t>> files;
    for (DataFile& file : terrain_files()) files[file.name] = std::move(file.bytes);
    return files;
}

TEST(TerrainFiles, EveryFileHasTheSizeItsReaderTakes) {
    const auto files = files_by_name();
    std::map<std::string, size_t> sizes = {{"3ddata/terrtext.cmp", 24832}};
    for (const WarZone& zone : WAR_ZONES) {
        const std::string directory = zone.directory;
        sizes[directory + "/fxgrdpst.bin"] = 1188882;
        sizes[directory + "/terrtext.bmp"] = 198656;
        sizes[directory + "/text64sp.raw"] = 253952;
        sizes[directory + "/terrcols.bin"] = 2;
    }
    EXPECT_EQ(files.size(), sizes.size());
    for (const auto& [name, size] : sizes) {
        SCOPED_TRACE(name);
        ASSERT_EQ(files.count(name), 1u);
        EXPECT_EQ(files.at(name).size(), size);
    }
}

// Each theatre written as the game finds it and read back by the game's loader.
class GeneratedTheatres : public testing::Test {
protected:
    void SetUp() override {
        write_bytes(directory / "vyr.rop", "");
        std::filesystem::create_directories(directory / "3ddata");
        for (const DataFile& file : terrain_files()) write_bytes(directory / file.name, file.bytes);
        for (size_t zone = 0; zone < WAR_ZONES.size(); ++zone)
            write_bytes(directory / WAR_ZONES[zone].directory / "text64.raw", terrain_textures(int(zone)));
        setenv("VYR_DATA", directory.path().c_str(), 1);
        init_debug_text();
        find_read_only_path("vyr.rop");
    }

    static void load(int zone) {
        std::snprintf(world_settings.data_directory, WORLD_DIRECTORY_SIZE, "3ddata\\");
        std::snprintf(world_settings.war_zone_directory, WORLD_DIRECTORY_SIZE, "%s\\", WAR_ZONES[size_t(zone)].directory);
        current_world_settings = &world_settings;
        load_terrain();
    }

    static int height_at(Point p) { return get_ground_height(world_units(p.x), world_units(p.y)); }

    ScratchDirectory directory;
};

TEST_F(GeneratedTheatres, LoadWithEverythingTheLayoutUsesFlatAtHeightZero) {
    for (size_t zone = 0; zone < WAR_ZONES.size(); ++zone) {
        SCOPED_TRACE(WAR_ZONES[zone].directory);
        load(int(zone));
        const TheatreLayout& layout = theatre_layout(int(zone));
        EXPECT_LT(terrain_max_height, 16000 * 256);
        for (const Airfield& airfield : layout.airfields) {
            Point first, second;
            runway_ends(airfield, first, second);
            for (const Point p : {first, second, airfield.centre, airfield.apron}) EXPECT_EQ(height_at(p), 0) << airfield.name;
        }
        for (const Town& town : layout.towns) EXPECT_EQ(height_at(town.centre), 0) << town.name;
        for (const DefenceArea& area : layout.defence_areas) EXPECT_EQ(height_at(area.centre), 0);
        for (const auto* routes : {&layout.rivers, &layout.roads, &layout.railways})
            for (const Route& route : *routes)
                for (const Point p : route.line) {
                    const bool in_world = p.x >= 0 && p.x < 256 && p.y >= 0 && p.y < 256;
                    EXPECT_TRUE(!in_world || height_at(p) == 0) << p.x << ", " << p.y;
                }
        int flat_cells = 0;
        for (int i = 0; i < CELLS; ++i)
            for (int j = 0; j < CELLS; ++j) {
                const TerrainPost& post = terrain_posts[i][j];
                // Features are drawn over these cells, so their triangles must not be sorted.
                const bool at_once = layout.is_under_feature(i, j);
                EXPECT_EQ((post.texture[0] & TERRAIN_DRAW_AT_ONCE) != 0, at_once) << i << ", " << j;
                EXPECT_EQ((post.texture[1] & TERRAIN_DRAW_AT_ONCE) != 0, at_once) << i << ", " << j;
                EXPECT_LT(post.texture[0] & TERRAIN_TEXTURE_MASK, REGULAR_TERRAIN_TEXTURES);
                if (!layout.is_flat(i, j)) continue;
                ++flat_cells;
                EXPECT_EQ(post.height | terrain_posts[i + 1][j].height | terrain_posts[i][j + 1].height |
                              terrain_posts[i + 1][j + 1].height, 0) << i << ", " << j;
            }
        EXPECT_GT(flat_cells, 0);
    }
}

// The five places keep their character: where the sea is, how high the land rises.
TEST(TheatreLayouts, LookLikeTheirPlaces) {
    const struct {
        int zone;
        std::vector<Point> sea, land;
        int highest_min, highest_max;  // feet
        double high_share;             // of posts above 6,000 ft, at least
        double low_share;              // of posts at 0, at least
    } cases[] = {
        {0, {{2, 128}, {2, 30}}, {{200, 128}, {100, 20}}, 3000, 7000, 0, 0.2},         // coastal plain, desert hills
        {1, {{4, 128}, {252, 128}}, {{120, 128}, {120, 250}}, 5000, 10000, 0.01, 0.1},  // mountains and valleys
        {2, {{4, 4}, {252, 252}, {128, 40}}, {{110, 135}, {70, 115}}, 5000, 9000, 0, 0.5},  // an island in the sea
        {3, {}, {{4, 4}, {128, 128}, {252, 252}}, 12000, 15999, 0.25, 0},            // high mountains
        {4, {}, {{4, 4}, {128, 128}, {252, 252}}, 8000, 13000, 0.01, 0.4},             // basins and ranges
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WAR_ZONES[size_t(c.zone)].directory);
        const TheatreLayout& layout = theatre_layout(c.zone);
        for (const Point p : c.sea) EXPECT_TRUE(layout.is_water(p)) << p.x << ", " << p.y;
        for (const Point p : c.land) EXPECT_FALSE(layout.is_water(p)) << p.x << ", " << p.y;
        int highest = 0, high = 0, low = 0;
        for (uint16_t h : layout.heights) {
            highest = std::max<int>(highest, h);
            high += h > 6000;
            low += h == 0;
        }
        EXPECT_GE(highest, c.highest_min);
        EXPECT_LE(highest, c.highest_max);
        EXPECT_GE(double(high) / double(layout.heights.size()), c.high_share);
        EXPECT_GE(double(low) / double(layout.heights.size()), c.low_share);
    }
}

}  // namespace
}  // namespace vyr::vyrgen
