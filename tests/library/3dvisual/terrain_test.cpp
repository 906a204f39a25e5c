#include "library/3dvisual/terrain.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "library/3dvisual/terrain_colours.h"
#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/graphics/palette.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t POSTS_SIZE = 1188882;
constexpr int CELL = 1 << 20;

// A theatre whose texture k of each file holds k in every texel, on flat ground.
// The world settings the terrain loaders read their directories from.
void set_directories(const char* war_zone) {
    std::strcpy(world_settings.data_directory, "3DDATA\\");
    std::strcpy(world_settings.war_zone_directory, war_zone);
    current_world_settings = &world_settings;
}

class TerrainFiles : public ScratchDirectories {
protected:
    static void SetUpTestSuite() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    void SetUp() override {
        ScratchDirectories::SetUp();
        write_file("korea.wz/fxgrdpst.bin", Bytes(POSTS_SIZE));
        write_file("korea.wz/terrtext.bmp", numbered(194, 1024));
        write_file("korea.wz/text64.raw", numbered(194, 4096));
        write_file("korea.wz/text64sp.raw", numbered(62, 4096));
        write_file("3ddata/terrtext.cmp", numbered(4 * 97, 64));
    }
    void TearDown() override {
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        terrain_max_height = 0;
        ScratchDirectories::TearDown();
    }

    static Bytes numbered(int count, size_t size) {
        Bytes bytes(size_t(count) * size);
        for (size_t k = 0; k < bytes.size(); ++k) bytes[k] = uint8_t(k / size);
        return bytes;
    }

    void write_file(const std::string& name, const Bytes& bytes) const {
        write_bytes(data / name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

    static void load() {
        set_directories("KOREA.WZ\\");
        load_terrain();
    }
};

TEST_F(TerrainFiles, PostsAreReadFieldByField) {
    Bytes posts(POSTS_SIZE);
    const uint8_t record[18] = {0xFF, 0xFF, 200, 1, 2, 127, 0x81, 4, 5, 6, 7, 8, 90, 91, 0x5B, 0x85, 127, 9};
    std::memcpy(posts.data() + (3 * 257 + 5) * 18, record, sizeof record);
    write_file("korea.wz/fxgrdpst.bin", posts);
    load();
    const TerrainPost& post = terrain_posts[3][5];
    EXPECT_EQ(post.height, 65535);
    EXPECT_EQ(post.light, 200);
    EXPECT_EQ(post.vertex_normal[2], 127);
    EXPECT_EQ(post.face_normal[0][0], -127);
    EXPECT_EQ(post.face_normal[1][2], 8);
    EXPECT_EQ(post.colour[0], 90);
    EXPECT_EQ(post.colour[1], 91);
    EXPECT_EQ(post.classes, 0x5B);
    EXPECT_EQ(post.texture[0], 0x85);
    EXPECT_EQ(post.texture[1], 127);
    EXPECT_EQ(terrain_posts[3][4].height, 0);
    EXPECT_EQ(terrain_max_height, 16776960);
    EXPECT_EQ(terrain_detail_colours[3][96][63], 3 * 97 + 96 - 256);
}

TEST_F(TerrainFiles, TexturesByNumberAndSet) {
    load();
    const struct {
        int number, set;
        bool large;
        int width, holds;
    } cases[] = {
        {5, 0, true, 64, 5},            // TEXT64.RAW texture n of set 0 is file texture n
        {5, 1, true, 64, 97 + 5},       // of set 1, file texture 97 + n
        {100, 0, true, 64, 3},          // special: TEXT64SP.RAW texture n - 97
        {100, 1, true, 64, 31 + 3},
        {127, 1, true, 64, 31 + 30},
        {0x85, 0, true, 64, 5},         // the drawn-at-once bit is not part of the number
        {96, 1, false, 32, 97 + 96},
        {100, 1, false, 32, 97},        // no small special textures: texture 0 of the set
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        const TextureRecord* texture = c.large ? get_terrain_texture_64(c.number, c.set)
                                               : get_terrain_texture_32(c.number, c.set);
        EXPECT_EQ(texture->width, c.width);
        EXPECT_EQ(texture->width_class, c.large ? 2 : 1);
        EXPECT_EQ(texture->texels[c.width * c.width - 1], c.holds);
    }
}

TEST_F(TerrainFiles, ReloadingTexturesKeepsTheRecordsAndPosts) {
    load();
    terrain_posts[1][1].height = 77;
    const TextureRecord* record = get_terrain_texture_64(10, 0);
    Bytes texels(194 * 4096, 0xEE);
    write_file("israel.wz/terrtext.bmp", numbered(194, 1024));
    write_file("israel.wz/text64.raw", texels);
    write_file("israel.wz/text64sp.raw", numbered(62, 4096));
    set_directories("ISRAEL.WZ\\");
    reload_terrain_textures(&world_settings);
    EXPECT_EQ(get_terrain_texture_64(10, 0), record);
    EXPECT_EQ(record->texels[0], 0xEE);
    EXPECT_EQ(terrain_posts[1][1].height, 77);
}

TEST_F(TerrainFiles, AFileOfTheWrongSizeEndsTheProgramNamingIt) {
    const struct {
        const char* file;
        size_t size;
        const char* said;
    } cases[] = {
        {"korea.wz/fxgrdpst.bin", POSTS_SIZE - 1, "FXGRDPST.BIN is 1188881 bytes, expected 1188882"},
        {"korea.wz/fxgrdpst.bin", POSTS_SIZE + 18, "FXGRDPST.BIN is 1188900 bytes, expected 1188882"},
        {"korea.wz/terrtext.bmp", 0, "TERRTEXT.BMP is 0 bytes, expected 198656"},
        {"korea.wz/text64.raw", 794624 / 2, "TEXT64.RAW is 397312 bytes, expected 794624"},
        {"korea.wz/text64sp.raw", 253953, "TEXT64SP.RAW is 253953 bytes, expected 253952"},
        {"3ddata/terrtext.cmp", 24831, "TERRTEXT.CMP is 24831 bytes, expected 24832"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string saved = read_bytes(data / c.file);
        write_file(c.file, Bytes(c.size, 1));
        EXPECT_EXIT(load(), testing::ExitedWithCode(10), c.said);
        write_bytes(data / c.file, saved);
    }
    std::filesystem::remove(data / "korea.wz/text64sp.raw");
    EXPECT_EXIT(load(), testing::ExitedWithCode(10), "TEXT64SP.RAW");
}

// The cell (10, 20) with posts (i, j) 0, (i, j+1) 100, (i+1, j) 200 and (i+1, j+1) 300 ft.
class GroundHeight : public testing::Test {
protected:
    void SetUp() override {
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        terrain_posts[10][21].height = 100;
        terrain_posts[11][20].height = 200;
        terrain_posts[11][21].height = 300;
    }
    // The other tests of the world stand on flat ground.
    void TearDown() override { std::memset(terrain_posts, 0, sizeof terrain_posts); }
    static void set_diagonal(bool set) { terrain_posts[10][20].classes = set ? TERRAIN_DIAGONAL : 0; }
};

TEST_F(GroundHeight, FollowsTheTriangleOfThePosition) {
    const int x = 10 * CELL, y = 20 * CELL;
    const struct {
        int fx, fy;
        int split_clear, split_set;  // by the diagonal bit
    } cases[] = {
        {0x80000, 0x80000, 38400, 38400},  // centre
        {0x80000, 0, 25600, 25600},        // middle of the south edge
        {0xC0000, 0x40000, 44800, 44799},  // the set split truncates, then floors
        {0, 0, 0, 0},                      // on the posts
        {CELL, CELL, 76800, 76800},
        {0, CELL, 25600, 25600},
        {CELL, 0, 51200, 51200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fx << ", " << c.fy);
        set_diagonal(false);
        EXPECT_EQ(get_ground_height(x + c.fx, y + c.fy), c.split_clear);
        set_diagonal(true);
        EXPECT_EQ(get_ground_height(x + c.fx, y + c.fy), c.split_set);
    }
    for (int fx : {0, 0x33333, CELL - 1}) EXPECT_EQ(get_cell_max_height(x + fx, y + CELL - 1 - fx), 76800);
}

TEST_F(GroundHeight, TheWorldsEdges) {
    terrain_posts[256][7].height = 1000;
    terrain_posts[256][8].height = 1000;
    terrain_posts[7][256].height = 500;
    const int last = (1 << 28) - 1;
    EXPECT_EQ(get_ground_height(last, 7 * CELL), 1000 * 256 - 1);  // one unit short of row 256
    EXPECT_EQ(get_cell_max_height(last, 7 * CELL), 1000 * 256);
    EXPECT_EQ(get_cell_max_height(7 * CELL, last), 500 * 256);
    for (const auto& [x, y] : {std::pair{1 << 28, 0}, {-1, 0}, {0, 1 << 28}, {0, -1}, {INT32_MIN, INT32_MAX}}) {
        EXPECT_EQ(get_ground_height(x, y), 0);
        EXPECT_EQ(get_cell_max_height(x, y), 0);
    }
}

class TerrainColours : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        std::string triples;
        for (int k = 0; k < 64; ++k) triples += {char(k), char(2 * k), char(3 * k)};
        write_bytes(data / "korea.wz/terrain.rgb", triples);
        write_bytes(data / "korea.wz/terrcols.bin", std::string{char(9), char(20)});
    }
};

TEST_F(TerrainColours, RampsShadeRowsAndGroundColours) {
    reset_shade_table();
    set_directories("KOREA.WZ\\");
    current_view.visual_range = 9;
    load_terrain_colours();
    EXPECT_EQ(terrain_near_tiles, 5);
    EXPECT_EQ(terrain_far_tiles, 4);
    EXPECT_EQ(base_palette[3 * 134 + 1], 126);
    EXPECT_EQ(terrain_ground_colours[0], 167);  // whatever the file holds
    EXPECT_EQ(terrain_ground_colours[1], 20 + 71);
    // A terrain colour at full light is itself, at none the darkest of its ramp.
    for (const auto& [colour, darkest] : {std::pair{75, 71}, {98, 83}, {99, 99}, {126, 115}, {134, 127}}) {
        EXPECT_EQ(shade_table[colour * 256 + 255], colour);
        EXPECT_EQ(shade_table[colour * 256], darkest);
    }
    EXPECT_EQ(shade_table[203 * 256 + 255], 101 + 5);  // fade row: start 101, step 6
    EXPECT_EQ(shade_table[170 * 256 + 255], 87);
    // The hazed tables were made at 0.04 and 0.74 among others.
    EXPECT_EQ(terrain_haze_tables[0][82 * 256 + 255], 71 + 10);
    EXPECT_EQ(terrain_haze_tables[3][82 * 256 + 255], 73 + 1);
}

TEST(TerrainRamps, CloseInOnTheHazeColourAsTheFractionGrows) {
    static uint8_t table[256 * 256];
    current_remap_table = table;
    // Per ramp: first row, length, and where it starts and ends at the two fractions.
    const struct {
        int first, count;
        int low_004, high_004, low_074, high_074;
    } ramps[] = {
        {71, 12, 0, 12, 2, 5}, {83, 16, 0, 16, 3, 7}, {99, 16, 0, 16, 3, 7}, {115, 12, 0, 12, 5, 8}, {127, 8, 0, 8, 1, 4},
    };
    for (const float fraction : {0.04f, 0.74f}) {
        build_terrain_ramps(fraction);
        for (const auto& r : ramps) {
            SCOPED_TRACE(testing::Message() << fraction << " ramp " << r.first);
            const int low = fraction < 0.5f ? r.low_004 : r.low_074, high = fraction < 0.5f ? r.high_004 : r.high_074;
            const int last = r.count - 1, step = last * (high - low) / r.count;
            EXPECT_EQ(table[r.first * 256], r.first + low);
            EXPECT_EQ(table[r.first * 256 + 255], r.first + low);
            EXPECT_EQ(table[(r.first + last) * 256 + 255], r.first + low + 255 * step / 256);
        }
    }
    current_remap_table = nullptr;
}

}  // namespace
}  // namespace vyr
