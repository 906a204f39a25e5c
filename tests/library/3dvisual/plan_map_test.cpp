// The plan map over a small hand-made theatre: tiles 32 and 33 each way, drawn into a 64 x 64
// plot window of an 8-bit screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "library/3dvisual/features.h"
#include "library/3dvisual/grid_offsets.h"
#include "library/3dvisual/map_terrain.h"
#include "library/3dvisual/plan_map.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/visibility.h"
#include "library/graphics/line.h"
#include "library/graphics/plot.h"
#include "tests/library/3dvisual/world_fixtures.h"

namespace vyr {
namespace {

constexpr int32_t TILE = 1 << 22;
constexpr int32_t BLOCK = 1 << 26;
constexpr int S = 64;             // the plot window's side in pixels
constexpr int32_t PIXEL = 1 << 17;  // half a coarse step: 32 pixels a tile
constexpr uint32_t TURN_45 = 0x20000000u;
constexpr int BACKGROUND = 99, FILL_BY_CLASS = 192, CONTOUR = 199, WATER = 200, RUNWAY = 202, OTHER = 2;

using Bytes = std::vector<uint8_t>;

// A feature of one polygon list: vertices as coarse byte pairs (128 is the tile's south-west
// corner, 16 a tile), or for a super feature block and coarse pairs.
struct MapFeature {
    Bytes vertices, polygons;
    FeatureEntry entry{};

    MapFeature(std::initializer_list<Bytes> points, Bytes records, int count) {
        vertices = {uint8_t(points.size()), 0};
        for (const Bytes& p : points) {
            vertices.push_back(0);  // flags
            vertices.insert(vertices.end(), p.begin(), p.end());
        }
        polygons = {uint8_t(count), 0};
        polygons.insert(polygons.end(), records.begin(), records.end());
        entry = {vertices.data(), polygons.data(), nullptr};
    }
};

// A flat polygon record of four vertices from `first` on.
Bytes square(int colour, int first = 0) {
    return {2, 6, 4, uint8_t(colour), uint8_t(first), uint8_t(first + 1), uint8_t(first + 2), uint8_t(first + 3)};
}

class PlanMap : public SoftwareScreenWorld {
protected:
    static void clear_layers() {
        for (auto& column : feature_layer) std::fill(std::begin(column), std::end(column), nullptr);
        for (auto& column : super_layer) std::fill(std::begin(column), std::end(column), nullptr);
        std::memset(terrain_posts, 0, sizeof terrain_posts);
    }
    void SetUp() override {
        SoftwareScreenWorld::SetUp();
        saved_alt = map_alt_colouring;
        saved_base = map_background_colour;
        map_alt_colouring = 0;
        map_background_colour = BACKGROUND;
        terrain_map_max_height = 0;
        clear_layers();  // a test of the loaded features may have left its blocks behind
    }
    void TearDown() override {
        clear_layers();
        map_alt_colouring = saved_alt;
        map_background_colour = saved_base;
        plan_map_options = {0, 0};
        terrain_map_max_height = 0;
        SoftwareScreenWorld::TearDown();
    }

    // The world window (x0, y0)..(x1, y1) in the S x S plot window at the screen's corner.
    static void show(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t turn = 0) {
        set_plot(0, 0, S, S, x0, y0, x1, y1);
        set_plot_rotation(turn);
        set_plot_offset(0, 0);
    }
    // Tiles 32 and 33 each way, 32 pixels a tile.
    static void show_tiles() { show(32 * TILE, 32 * TILE, 32 * TILE + (S - 1) * PIXEL, 32 * TILE + (S - 1) * PIXEL); }

    void draw(int32_t value, int32_t flags) {
        std::fill(pixels.begin(), pixels.end(), uint8_t(0));
        const PlanMapOptions options = {value, flags};
        set_plan_map_options(&options);
        draw_plan_map();
    }

    int count(int colour) const {
        int n = 0;
        for (int y = 0; y < S; ++y)
            for (int x = 0; x < S; ++x) n += pixels[size_t(y) * W + x] == colour;
        return n;
    }
    int count_between(int low, int high) const {
        int n = 0;
        for (int c = low; c <= high; ++c) n += count(c);
        return n;
    }
    uint8_t at(int x, int y) const { return pixels[size_t(y) * W + x]; }

    int32_t saved_alt = 0, saved_base = 0;
};

// Ground rising eastwards over tiles 32 and 33 (0 ft at x post 128 to 3,200 ft at post 136),
// every triangle of class 0.
void slope_terrain() {
    for (int i = 128; i <= 136; ++i)
        for (int j = 128; j <= 136; ++j) terrain_posts[i][j].height = uint16_t((i - 128) * 400);
}

TEST_F(PlanMap, WhatTheWalkDrawsByOptionsAndColouring) {
    // A water square over tile (32, 32), a runway square over (33, 33).
    MapFeature water({{128, 128}, {128, 144}, {144, 144}, {144, 128}}, square(127), 1);
    MapFeature runway({{128, 128}, {128, 144}, {144, 144}, {144, 128}}, square(11), 1);
    const struct {
        const char* name;
        int32_t alt_colouring;
        int32_t flags;
        bool hidden_triangles;  // texture bit 7 on every triangle
        std::vector<int> present, absent;
    } cases[] = {
        {"by class, contours", 0, PLAN_MAP_TERRAIN | PLAN_MAP_TERRAIN_LINES, false, {193, 194, CONTOUR, WATER, RUNWAY}, {}},
        {"by height: no contours", 1, PLAN_MAP_TERRAIN | PLAN_MAP_TERRAIN_LINES, false, {BACKGROUND + 2, BACKGROUND + 8, WATER, RUNWAY}, {CONTOUR, 193}},
        {"no terrain flag: bare background", 0, 0, false, {FILL_BY_CLASS, WATER, RUNWAY}, {193, 194, CONTOUR}},
        {"no terrain flag, by height", 1, 0, false, {BACKGROUND, WATER, RUNWAY}, {BACKGROUND + 8, 193}},
        {"hidden triangles by class", 0, PLAN_MAP_TERRAIN, true, {FILL_BY_CLASS, WATER}, {193, 194}},
        {"hidden triangles by height", 1, PLAN_MAP_TERRAIN, true, {BACKGROUND, WATER}, {BACKGROUND + 8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        slope_terrain();
        for (int i = 128; i < 136; ++i)
            for (int j = 128; j < 136; ++j)
                for (uint8_t& texture : terrain_posts[i][j].texture) texture = c.hidden_triangles ? 0x85 : 5;
        feature_layer[32][32] = &water.entry;
        feature_layer[33][33] = &runway.entry;
        map_alt_colouring = c.alt_colouring;
        show_tiles();
        draw(250, c.flags);
        for (int colour : c.present) EXPECT_GT(count(colour), 0) << colour;
        for (int colour : c.absent) EXPECT_EQ(count(colour), 0) << colour;
        // The water square is the map's south-west quarter, the runway its north-east one.
        EXPECT_EQ(at(S / 4, S * 3 / 4), WATER);
        EXPECT_EQ(at(S * 3 / 4, S / 4), RUNWAY);
        EXPECT_EQ(plan_map_options.flags & PLAN_MAP_TERRAIN_LINES,
                  c.alt_colouring && (c.flags & PLAN_MAP_TERRAIN) ? 0 : c.flags & PLAN_MAP_TERRAIN_LINES)
            << "the menus' colouring drops the contour flag";
    }
}

// West of the world no tile is reached; the far block west of it still draws its super feature
// over the background.
TEST_F(PlanMap, AWindowOutsideTheTilesDrawsTheBackgroundAndTheFarBlocksItReaches) {
    // Far block 5 runs from x = -2^26 to 0 (block 6 starts at the world's west edge).
    MapFeature sea({{8, 8, 128, 128}, {8, 9, 128, 128}, {9, 9, 128, 128}, {9, 8, 128, 128}}, square(127), 1);
    super_layer[5][6] = &sea.entry;
    slope_terrain();
    show(-BLOCK - TILE, 0, -BLOCK + TILE, 2 * TILE);
    draw(250, PLAN_MAP_TERRAIN);
    EXPECT_EQ(find_map_tiles(), 0);
    EXPECT_EQ(count(WATER) + count(FILL_BY_CLASS), S * S);
    EXPECT_EQ(at(S / 4, S / 2), FILL_BY_CLASS) << "block 4 has nothing";
    EXPECT_EQ(at(S * 3 / 4, S / 2), WATER) << "block 5's sea";
}

// Turned 45 degrees the window's corners reach a wider rectangle of tiles; the tiles of its
// corners lie outside the window and are rejected, the middle ones are wholly inside.
TEST_F(PlanMap, ATurnedWindowVisitsItsCornersRectangleAndRejectsTilesOutsideIt) {
    show(30 * TILE, 30 * TILE, 36 * TILE, 36 * TILE, TURN_45);
    build_plan_map_offset_tables(current_plot.cosine, current_plot.sine);
    ASSERT_EQ(find_map_tiles(), 10 * 10);  // the corners lie 3 x sqrt(2) tiles from the centre
    EXPECT_EQ(map_tile_range.x_lowest, 28);
    EXPECT_EQ(map_tile_range.y_highest, 37);
    auto tile_class = [](int x, int y) {
        set_plot_offset(x * TILE, y * TILE);
        rotate_into_plot(0, 0, map_tile_origin[0], map_tile_origin[1]);
        return test_map_tile_visible();
    };
    EXPECT_EQ(tile_class(28, 28), PLOT_ALL_OUTSIDE);
    EXPECT_EQ(tile_class(37, 37), PLOT_ALL_OUTSIDE);
    EXPECT_EQ(tile_class(28, 37), PLOT_ALL_OUTSIDE);
    EXPECT_EQ(tile_class(32, 32), PLOT_ALL_INSIDE);
    EXPECT_EQ(tile_class(29, 33), PLOT_PARTLY_INSIDE);
}

TEST_F(PlanMap, FeaturesTakeTheMapsColoursAndLinesAreCutSegmentBySegment) {
    EXPECT_EQ(plan_map_colour_remap[11], RUNWAY);
    EXPECT_EQ(plan_map_colour_remap[111], WATER);
    EXPECT_EQ(plan_map_colour_remap[127], WATER);
    EXPECT_EQ(std::count(plan_map_colour_remap.begin(), plan_map_colour_remap.end(), OTHER), 253);
    // A line from beyond the window's west edge into tile (32, 32) and out of its south edge, then
    // along outside: the first segment cut at the west edge, the second at the south edge, the
    // third skipped.
    MapFeature line({{96, 136}, {136, 136}, {136, 100}, {96, 100}}, {1, 4, 4, 50, 0, 1, 2, 3}, 1);
    feature_layer[32][32] = &line.entry;
    show_tiles();
    draw(250, 0);
    EXPECT_EQ(count(OTHER), 17 + 17 - 1) << "along row 47 to column 16, then down it";
    for (int x = 0; x <= 16; ++x) EXPECT_EQ(at(x, 47), OTHER) << x;
    for (int y = 47; y < S; ++y) EXPECT_EQ(at(16, y), OTHER) << y;
}

// Contour lines of one triangle in a window of one unit a pixel: the points climbing its long and
// short sides, joined at every tenth level.
TEST_F(PlanMap, ContoursJoinTheLongAndShortSidesAtEachMultipleOfTheInterval) {
    const struct {
        const char* name;
        int32_t interval;
        MapContourCorner corners[3];
        std::vector<std::array<int32_t, 4>> lines;  // plan end points
    } cases[] = {
        // Levels of 25 ft: 0, 9 and 30; lines at levels 10 and 20 (250 and 500 ft), none at 0.
        {"250: 0, 240, 760 ft", 250, {{0, 0, 0}, {0, 90, 240}, {300, 0, 760}}, {{100, 0, 14, 86}, {200, 0, 154, 46}}},
        // The short side starts at the second corner, on the first's level.
        {"250: two corners on the top level", 250, {{0, 0, 760}, {0, 90, 0}, {300, 0, 760}}, {{100, 60, 0, 60}, {200, 30, 0, 30}}},
        {"1000: 1000..1099 ft", 1000, {{0, 0, 1000}, {0, 90, 1099}, {300, 0, 1050}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        plan_map_options = {c.interval, 0};
        std::fill(pixels.begin(), pixels.end(), uint8_t(0));
        set_plot(0, 0, 320, 320, 0, 0, 319, 319);
        draw_triangle_contours(c.corners);
        std::vector<uint8_t> drawn = pixels;
        std::fill(pixels.begin(), pixels.end(), uint8_t(0));
        for (const auto& l : c.lines) draw_line(CONTOUR, l[0], 319 - l[1], l[2], 319 - l[3]);
        EXPECT_EQ(drawn, pixels);
    }
}

// A cell of 2,750 ft corners with no highest post known (or one of exactly 500 ft) scales as if
// the highest were 6,000 ft: t = 31, step 7, fraction 3, so of each 2 x 2 pixels the one whose
// threshold is 3 shows B + 7 and the others B + 8.
TEST_F(PlanMap, TheHeightDitherOfA2750FootCell) {
    for (int32_t highest : {0, 500, 6000}) {
        SCOPED_TRACE(highest);
        terrain_map_max_height = highest;
        show_tiles();
        std::fill(pixels.begin(), pixels.end(), uint8_t(0));
        fill_map_cell_by_height(10, 29, 30, 9, 2750, 2750, 2750, 2750);
        EXPECT_EQ(count(BACKGROUND + 8), 300);
        EXPECT_EQ(count(BACKGROUND + 7), 100);
        for (int y = 10; y < 30; y += 2)
            for (int x = 10; x < 30; x += 2) {
                const int low = (at(x, y) == BACKGROUND + 7) + (at(x + 1, y) == BACKGROUND + 7) +
                                (at(x, y + 1) == BACKGROUND + 7) + (at(x + 1, y + 1) == BACKGROUND + 7);
                EXPECT_EQ(low, 1) << x << ", " << y;
            }
    }
}

// A cell of 16 x 16 pixels turned with the map: it is filled as its own quadrilateral, north up
// exactly the columns x0..x1 - 1 and rows y1 + 1..y0.
TEST_F(PlanMap, ACellIsFilledAsItsQuadrilateralHoweverTheMapTurns) {
    const int32_t centre = 32 * TILE + 32 * PIXEL, side = 16 * PIXEL;
    for (uint32_t turn : {0u, 0x20000000u, 0x40000000u, 0x80000000u, 0xE0000000u}) {
        SCOPED_TRACE(turn);
        show(centre - 32 * PIXEL, centre - 32 * PIXEL, centre + 31 * PIXEL, centre + 31 * PIXEL, turn);
        std::fill(pixels.begin(), pixels.end(), uint8_t(0));
        int32_t x0, y0, x1, y1;
        project_plot_point(centre - side / 2, centre - side / 2, x0, y0);
        project_plot_point(centre + side / 2, centre + side / 2, x1, y1);
        fill_map_cell_by_height(x0, y0, x1, y1, 0, 0, 0, 0);
        const int drawn = count(BACKGROUND);
        EXPECT_NEAR(drawn, 256, 20) << "the cell's area";
        EXPECT_EQ(at(32, 32), BACKGROUND) << "its middle";
        if (turn == 0) {
            EXPECT_EQ(drawn, (x1 - x0) * (y0 - y1));
            EXPECT_EQ(at(x0, y0), BACKGROUND);
            EXPECT_EQ(at(x1 - 1, y1 + 1), BACKGROUND);
            EXPECT_NE(at(x1, y1 + 1), BACKGROUND);
            EXPECT_NE(at(x0, y1), BACKGROUND);
        }
        // A corner of the square round the cell is outside it once the cell is turned 45 degrees.
        if (turn == 0x20000000u) {
            EXPECT_NE(at(32 - 7, 32 - 7), BACKGROUND);
        }
    }
}

// A vertex beyond the window moves onto its edge, or its corner, and takes the height of the
// ground at the world point it now shows: with the map turned half round, the window's west edge
// shows the east of the slope. Beyond both sides at once is no place, and it stays.
TEST_F(PlanMap, AVertexClippedToTheWindowTakesTheGroundsHeightWhereItNowLies) {
    slope_terrain();  // 0 ft at the window's west edge, 3,150 ft at its east edge
    const int32_t west = 32 * TILE, east = west + (S - 1) * PIXEL, middle = (west + east) / 2;
    const struct {
        uint32_t turn;
        int32_t x, y, outcode;
        int32_t moved_x, moved_y, feet;
    } cases[] = {
        {0, west - TILE, middle, PLOT_LEFT, west, middle, 0},
        {0, east + TILE, east + TILE, PLOT_RIGHT | PLOT_ABOVE, east, east, 3150},
        {0x80000000u, west - TILE, middle, PLOT_LEFT, west, middle, 3150},
        {0, middle, middle, PLOT_LEFT | PLOT_RIGHT, middle, middle, 1234},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.outcode);
        show(west, west, east, east, c.turn);
        PolyVertex v{};
        v.x = c.x;
        v.y = c.y;
        v.z = 1234;
        v.outcode = c.outcode;
        clip_map_vertex_to_window(v);
        EXPECT_EQ(v.x, c.moved_x);
        EXPECT_EQ(v.y, c.moved_y);
        EXPECT_NEAR(v.z, c.feet, 1);
        if (c.feet != 1234) {
            EXPECT_EQ(v.screen_x, plot_screen_x(c.moved_x));
        }
    }
}

}  // namespace
}  // namespace vyr
