#include "library/3dvisual/ground_objects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "library/3dvisual/plan_map.h"
#include "library/3dvisual/tiles.h"
#include "library/3dvisual/world.h"
#include "library/graphics/plot.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "tests/library/3dvisual/header_table.h"
#include "tests/library/3dvisual/object_files.h"
#include "tests/support/scratch.h"

namespace vyr {

bool operator==(const ground_object& a, const ground_object& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

namespace {

constexpr int32_t TILE = 1 << 22;
constexpr int HOUSE = 1, TREE = 2, TOWER = 3, RUIN = 4, ROAD = 125, WALL = 906;

using Records = std::vector<ground_object>;
using Tiles = std::map<int, Records>;  // by tile index, x-major

std::vector<uint8_t> build_ground_file(const Tiles& tiles) {
    testing_objects::Writer w;
    w.bytes.resize(16384, 0);
    for (const auto& [tile, records] : tiles) {
        w.put32(4 * size_t(tile), int64_t(w.size()));
        w.i16(int(records.size()));
        for (const ground_object& r : records)
            for (uint16_t v : {r.type, r.x, r.y, r.heading, r.state_mask, r.flags}) w.i16(v);
    }
    return w.bytes;
}

// A house (solid, 40 ft round, 30 ft high) whose wreck is the ruin, a tree (not solid), a tower
// (solid, 210 ft round, 200 ft high) without a wreck, and the road and wall types of the set.
class GroundObjects : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        init_trig_tables();
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        headers.add(HOUSE, 40 * FOOT, 30 * FOOT, OBJECT_SOLID).destroyed_type = RUIN;
        headers.add(TREE, 20 * FOOT, 30 * FOOT, 0);
        headers.add(TOWER, 210 * FOOT, 200 * FOOT, OBJECT_SOLID);
        headers.add(RUIN, 40 * FOOT, 5 * FOOT, OBJECT_SOLID).destroyed_type = 77;
        headers.add(ROAD, 0, 0, 0);
        headers.add(WALL, 20 * FOOT, 10 * FOOT, OBJECT_SOLID);
        std::strcpy(settings.war_zone_directory, "TEST.WZ\\");
        saved_settings = current_world_settings;
        current_world_settings = &settings;
        std::filesystem::create_directories(work / "test.wz");
    }
    void TearDown() override {
        current_world_settings = saved_settings;
        ScratchDirectories::TearDown();
    }

    void load(const std::vector<uint8_t>& bytes) {
        std::ofstream(work / "test.wz" / "gndobjs.bin", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        load_ground_objects();
    }

    // A dynamic list for `tile` in the world settings.
    void add_dynamic(int tile, const Records& records) {
        std::vector<int16_t>& list = dynamic_lists.emplace_back(1 + 6 * records.size());
        list[0] = int16_t(records.size());
        std::memcpy(list.data() + 1, records.data(), records.size() * sizeof(ground_object));
        dynamic[tile] = list.data();
        settings.dynamic_ground_objects = dynamic;
    }

    static Records list_of(int tile) {
        int16_t* list = ground_object_tiles[tile];
        if (!list) return {};
        ground_object* r = ground_object_records(list);
        return Records(r, r + ground_object_count(list));
    }

    HeaderTable headers{1000};
    WorldSettings settings{};
    WorldSettings* saved_settings = nullptr;
    std::deque<std::vector<int16_t>> dynamic_lists;
    int16_t* dynamic[4096] = {};
};

TEST_F(GroundObjects, LoadsEveryTileListPresettingRoadsAndEmptyingUnknownTypes) {
    const Tiles tiles = {{tile_index(0, 0), {{HOUSE, 0, 16383, 0x4000, 3, 0x2004}}},
                         {tile_index(2, 5), {{ROAD, 1, 2, 0, 0, 0}, {999, 3, 4, 0, 0, 0}, {0, 5, 6, 0, 0, 0},
                                             {WALL, 7, 8, 0, 0, 2}}},
                         {tile_index(63, 63), {}}};
    load(build_ground_file(tiles));
    EXPECT_EQ(list_of(tile_index(0, 0)), (Records{{HOUSE, 0, 16383, 0x4000, 3, 0x2004}}));
    EXPECT_EQ(list_of(tile_index(2, 5)),
              (Records{{ROAD, 1, 2, 0, 0, 1}, {0, 3, 4, 0, 0, 0}, {0, 5, 6, 0, 0, 0}, {WALL, 7, 8, 0, 0, 3}}));
    ASSERT_NE(ground_object_tiles[tile_index(63, 63)], nullptr);
    EXPECT_EQ(ground_object_count(ground_object_tiles[tile_index(63, 63)]), 0);
    EXPECT_EQ(ground_object_tiles[tile_index(0, 1)], nullptr);
    EXPECT_EQ(ground_object_count(ground_object_tiles[tile_index(0, 1)]), 0);
    EXPECT_EQ(ground_object_records(ground_object_tiles[tile_index(0, 1)]), nullptr) << "no offset on a null list";

    // A reload brings back what the flight destroyed.
    set_ground_object_destroyed_type(ground_object_records(ground_object_tiles[0]));
    load(build_ground_file(tiles));
    EXPECT_EQ(list_of(tile_index(0, 0))[0].type, HOUSE);
}

struct BrokenFile {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> spoil;
    const char* message;
};

void put32(std::vector<uint8_t>& b, size_t at, int64_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t((v >> (8 * i)) & 0xFF);
}

// The file holds tile (0, 1)'s list of two records at 16384.
const BrokenFile BROKEN_FILES[] = {
    {"short table", [](auto& b) { b.resize(16383); }, "TEST.WZ.GNDOBJS.BIN is too short to hold its table"},
    {"list in the table", [](auto& b) { put32(b, 4, 16382); }, "list of tile \\(0, 1\\) lies outside the file.s lists at 16382"},
    {"list past the end", [](auto& b) { put32(b, 4, int64_t(b.size()) - 1); }, "lies outside the file.s lists at 16409"},
    {"negative offset", [](auto& b) { put32(b, 4, -4); }, "lies outside the file.s lists at -4"},
    {"negative count", [](auto& b) { b[16385] = 0xFF; }, "list of tile \\(0, 1\\) has a count of -254"},
    {"records past the end", [](auto& b) { b.pop_back(); }, "runs past the end of the file with 2 records"},
};

class BrokenGroundFiles : public GroundObjects, public ::testing::WithParamInterface<BrokenFile> {};

TEST_P(BrokenGroundFiles, EndWithAFatalNamingTheFile) {
    std::vector<uint8_t> bytes = build_ground_file({{tile_index(0, 1), {{HOUSE, 1, 1, 0, 0, 0}, {TREE, 2, 2, 0, 0, 0}}}});
    GetParam().spoil(bytes);
    EXPECT_EXIT(load(bytes), ::testing::ExitedWithCode(10), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Table, BrokenGroundFiles, ::testing::ValuesIn(BROKEN_FILES), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name)
        if (ch == ' ') ch = '_';
    return name;
});

TEST_F(GroundObjects, MissingFileIsFatal) {
    EXPECT_EXIT(load_ground_objects(), ::testing::ExitedWithCode(10), "GNDOBJS.BIN");
}

// Tile (3, 4): a house at (1000, 1000) ft with a tree on it, a tower at (1500, 1000) ft; a
// dynamic house at (1000, 1050) ft.
class GroundQueries : public GroundObjects {
protected:
    void SetUp() override {
        GroundObjects::SetUp();
        load(build_ground_file({{tile, {{TREE, 1000, 1000, 0, 0, 0}, {HOUSE, 1000, 1000, 0, 0, 0},
                                        {0, 1000, 1000, 0, 0, 0}, {TOWER, 1500, 1000, 0, 0, 0}}},
                                {tile_index(4, 4), {{HOUSE, 10, 1000, 0, 0, 0}}}}));
        add_dynamic(tile, {{HOUSE, 1000, 1050, 0, 0, 0}});
        statics = ground_object_records(ground_object_tiles[tile]);
        dynamics = ground_object_records(dynamic[tile]);
    }
    static Vector3 at_feet(int32_t x, int32_t y, int32_t z) { return {3 * TILE + x * FOOT, 4 * TILE + y * FOOT, z * FOOT}; }

    const int tile = tile_index(3, 4);
    ground_object* statics = nullptr;
    ground_object* dynamics = nullptr;
    Vector3 position{};
};

TEST_F(GroundQueries, PointQueryWithinRadiusAndHeight) {
    EXPECT_EQ(find_ground_object_at_point(at_feet(1000, 1000, 30), position, nullptr), &statics[1]);
    EXPECT_EQ(position.x, at_feet(1000, 1000, 0).x);
    EXPECT_EQ(position.z, 0);
    EXPECT_EQ(find_ground_object_at_point(at_feet(1000, 1000, 31), position, nullptr), nullptr) << "over the house";
    EXPECT_EQ(find_ground_object_at_point(at_feet(1000, 1030, 0), position, &statics[1]), &dynamics[0])
        << "static list first, then the dynamic one";
    EXPECT_EQ(find_ground_object_at_point(at_feet(1040, 1000, 0), position, nullptr), nullptr) << "radius exact";
    EXPECT_EQ(find_ground_object_at_point(at_feet(1500, 1000, 200), position, nullptr), &statics[3]);
    EXPECT_EQ(find_ground_object_at_point(at_feet(1500, 1000, 201), position, nullptr), nullptr)
        << "above the tallest object";
}

TEST_F(GroundQueries, SegmentQueryNearestAcrossTilesAboveNothing) {
    const Vector3 a = at_feet(900, 1030, 20), b = at_feet(1200, 1030, 20);
    EXPECT_EQ(find_ground_object_on_segment(a, b, position, nullptr), &dynamics[0]);
    EXPECT_EQ(position.y, at_feet(0, 1050, 0).y);
    EXPECT_EQ(find_ground_object_on_segment(a, b, position, &dynamics[0]), &statics[1]);
    EXPECT_EQ(find_ground_object_on_segment(at_feet(900, 1000, 100), at_feet(1600, 1000, 100), position, nullptr),
              &statics[3])
        << "only the tower is that tall";
    EXPECT_EQ(find_ground_object_on_segment(at_feet(900, 1000, 201), at_feet(1200, 1000, 250), position, nullptr),
              nullptr);
    // Into the next tile east.
    EXPECT_EQ(find_ground_object_on_segment(at_feet(16300, 1000, 10), at_feet(16420, 1000, 10), position, nullptr),
              ground_object_records(ground_object_tiles[tile_index(4, 4)]));
}

TEST_F(GroundQueries, RadiusSearchStaticThenDynamicTileByTile) {
    std::vector<ground_object*> found;
    for (ground_object* r = search_ground_objects(at_feet(1050, 1000, 0), 17000 * FOOT, position, 0); r;
         r = search_ground_objects({}, 0, position, 1))
        found.push_back(r);
    const std::vector<ground_object*> expected = {&statics[0], &statics[1], &statics[3], &dynamics[0],
                                                  ground_object_records(ground_object_tiles[tile_index(4, 4)])};
    EXPECT_EQ(found, expected);
    EXPECT_EQ(search_ground_objects(at_feet(1000, 1000, 101), 100 * FOOT, position, 0), nullptr)
        << "a radius below the point's height";
    EXPECT_EXIT(search_ground_objects({}, 0, position, 1), ::testing::ExitedWithCode(10),
                "Attempted to continue completed search\\.");
}

TEST_F(GroundQueries, ContinuingBeforeAnySearchIsFatal) {
    EXPECT_EXIT(search_ground_objects({}, 0, position, 1), ::testing::ExitedWithCode(10),
                "Attempted to continue invalid search\\.");
}

TEST_F(GroundQueries, ExactMatchOnWholeFeet) {
    EXPECT_EQ(find_ground_object_exact(at_feet(1000, 1050, 0)), &dynamics[0]);
    EXPECT_EQ(find_ground_object_exact({at_feet(1000, 1000, 0).x + 255, at_feet(1000, 1000, 0).y, 999}), &statics[0]);
    EXPECT_EQ(find_ground_object_exact(at_feet(1001, 1000, 0)), nullptr);
}

TEST_F(GroundQueries, WreckSwapAndEmptySlots) {
    set_ground_object_destroyed_type(&statics[1]);
    EXPECT_EQ(statics[1].type, RUIN);
    set_ground_object_destroyed_type(&statics[1]);
    EXPECT_EQ(statics[1].type, 0) << "a wreck naming no object";
    set_ground_object_destroyed_type(&statics[3]);
    EXPECT_EQ(statics[3].type, 0);
    EXPECT_EQ(find_ground_object_at_point(at_feet(1000, 1000, 0), position, nullptr), nullptr)
        << "an empty slot keeps its place and is never found";
    EXPECT_EQ(find_ground_object_exact(at_feet(1000, 1000, 0)), &statics[0]);
}

// The plan map of tile (5, 7) on a 64 x 64 screen, 5 ft a pixel, the tile's corner at the bottom
// left: a record at (160, 160) ft lands on pixel (32, 32). The side-dependent types 10 (turned
// by its heading) and 11 (unrotated) and the plain type 12 have a map outline 80 ft wide and
// 200 ft long.
class PlanMapGroundObjects : public GroundObjects {
protected:
    static constexpr int SITE = 10, BUNKER = 11, PLAIN = 12, TX = 5, TY = 7;
    static constexpr int CENTRE = 32, REACH = 15;  // pixels from the centre: inside lengthwise, not across

    void SetUp() override {
        GroundObjects::SetUp();
        testing_objects::Writer w;
        w.i16(1);
        w.i16(4);
        for (auto [x, y] : {std::pair{-640, -1600}, {-640, 1600}, {640, 1600}, {640, -1600}}) {
            w.i16(x);
            w.i16(y);
        }
        outline = w.bytes;
        for (int type : {SITE, BUNKER, PLAIN}) {
            ObjectHeader& h = headers.add(type, 60 * FOOT, 20 * FOOT, OBJECT_SOLID);
            h.map_outline = outline.data();
            h.gameplay_flags = type == PLAIN ? 0 : OBJECT_SIDE_DEPENDENT;
            h.unrotated = type == BUNKER;
        }
        screen = create_screen(64, 64);
        select_screen(screen);
        set_plot(0, 0, 64, 64, TX * TILE, TY * TILE, TX * TILE + 320 * FOOT, TY * TILE + 320 * FOOT);
        set_plot_rotation(0);
        set_plot_offset(TX * TILE, TY * TILE);
        map_tile_x = TX;
        map_tile_y = TY;
        clear();
    }
    void TearDown() override {
        select_screen(nullptr);
        destroy_screen(screen);
        plan_map_options = {0, 0};
        GroundObjects::TearDown();
    }

    void clear() { std::fill(screen->pixels, screen->pixels + 64 * 64, uint8_t(0)); }
    // Screen y grows downwards, world y upwards.
    uint8_t at(int dx, int dy) const { return screen->pixels[(CENTRE - dy) * 64 + CENTRE + dx]; }
    int count(uint8_t colour) const { return int(std::count(screen->pixels, screen->pixels + 64 * 64, colour)); }

    std::vector<uint8_t> outline;
    Screen* screen = nullptr;
};

TEST_F(PlanMapGroundObjects, SidesShowAsOutlinesInTheirColoursTurnedByTheirHeading) {
    constexpr uint16_t ALLIED = 2, ENEMY = 4, THIRD = 6;
    const struct {
        const char* name;
        ground_object record;
        int colour;  // 0: nothing drawn
        bool lengthwise_north;
    } cases[] = {
        {"allied", {SITE, 160, 160, 0, 0, ALLIED}, 205, true},
        {"enemy, a quarter turn", {SITE, 160, 160, 0x4000, 0, ENEMY}, 206, false},
        {"side 3, a half turn", {SITE, 160, 160, 0x8000, 0, THIRD}, 207, true},
        {"unrotated, heading ignored", {BUNKER, 160, 160, 0x4000, 0, ALLIED}, 205, true},
        {"neutral", {SITE, 160, 160, 0, 0, 0}, 0, true},
        {"destroyed", {SITE, 160, 160, 0, 0, ALLIED | GROUND_DESTROYED}, 0, true},
        {"not side-dependent", {PLAIN, 160, 160, 0, 0, ENEMY}, 0, true},
        {"empty slot", {0, 160, 160, 0, 0, ENEMY}, 0, true},
    };
    plan_map_options.flags = PLAN_MAP_OUTLINES;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clear();
        draw_map_ground_object(&c.record);
        if (c.colour == 0) {
            EXPECT_EQ(count(0), 64 * 64);
            continue;
        }
        EXPECT_EQ(at(0, 0), c.colour);
        EXPECT_EQ(at(0, REACH) == c.colour, c.lengthwise_north);
        EXPECT_EQ(at(REACH, 0) == c.colour, !c.lengthwise_north);
        EXPECT_EQ(count(uint8_t(c.colour)) + count(0), 64 * 64) << "one colour only";
        EXPECT_NEAR(count(uint8_t(c.colour)), 16 * 40, 16 * 40 / 5);
    }
    // Without outlines a record is one point.
    plan_map_options.flags = 0;
    clear();
    const ground_object site{SITE, 160, 160, 0, 0, ENEMY};
    draw_map_ground_object(&site);
    ASSERT_EQ(count(206), 1);
    const long point = std::find(screen->pixels, screen->pixels + 64 * 64, 206) - screen->pixels;
    EXPECT_LE(std::abs(point % 64 - CENTRE), 1);
    EXPECT_LE(std::abs(point / 64 - CENTRE), 1);
}

TEST_F(PlanMapGroundObjects, TheDynamicRecordsOfTheTileOnlyWhenAsked) {
    load(build_ground_file({{tile_index(TX, TY), {{SITE, 80, 160, 0, 0, 2}}}, {tile_index(TX + 1, TY), {{SITE, 160, 160, 0, 0, 2}}}}));
    add_dynamic(tile_index(TX, TY), {{SITE, 240, 160, 0, 0, 4}});
    for (int flags : {PLAN_MAP_OUTLINES, PLAN_MAP_OUTLINES | PLAN_MAP_DYNAMIC_OBJECTS}) {
        clear();
        const PlanMapOptions options{1000, flags};
        set_plan_map_options(&options);
        draw_map_ground_objects();
        EXPECT_EQ(at(-16, 0), 205) << "the static record of the tile";
        EXPECT_EQ(at(0, 0), 0) << "another tile's record";
        EXPECT_EQ(at(16, 0) == 206, (flags & PLAN_MAP_DYNAMIC_OBJECTS) != 0);
    }
}

}  // namespace
}  // namespace vyr
