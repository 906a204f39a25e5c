#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/features.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/terrain_soft.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/visibility.h"
#include "library/3dvisual/world.h"
#include "library/3dvisual/world_palette.h"
#include "library/graphics/palette.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "platform/accel/framebuffer.h"
#include "tests/library/3dvisual/accel_frame.h"
#include "tests/library/3dvisual/world_fixtures.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace accel = platform::accel;
constexpr int32_t TILE = 1 << 22;
constexpr uint8_t UNTOUCHED = 1;

// The distance haze with four near tiles of 2^22 and two far ones, through a remap that is not
// the identity, so that every colour is seen to pass through it.
TEST(DistanceColourPattern, NearSolidThenHazeStepsThenTheFarHaze) {
    for (int c = 0; c < 256; ++c) colour_remap[c] = uint8_t(255 - c);
    auto solid = [](int c) { return uint32_t(255 - c) * 0x01010101u; };
    auto dithered = [](int c1, int c2) { return (uint32_t(255 - c2) | uint32_t(255 - c1) << 8) * 0x00010001u; };
    const struct {
        int near_tiles, far_tiles;
        uint32_t distance;
        int colour;
        uint32_t pattern;
    } cases[] = {
        {5, 2, 5 * TILE - 1, 90, solid(90)},
        {5, 2, 5 * TILE + (1 << 20), 90, dithered(139, 140)},  // first byte remap(140)
        {5, 2, 5 * TILE + (2 << 20), 90, solid(140)},
        {5, 2, 7 * TILE, 90, solid(138)},
        {5, 2, 7 * TILE, 20, solid(138)},
        {5, 2, 5 * TILE + (1 << 20), 255, dithered(151, 152)},  // 255 stands for 79, of ramp 1
        {5, 2, 5 * TILE + (1 << 20), 20, dithered(147, 148)},   // below the terrain: as 115
        {5, 2, 5 * TILE - 1, 20, solid(20)},
        {5, 2, 5 * TILE + (1 << 20), 100, dithered(143, 144)},
        {5, 2, UINT32_MAX, 90, solid(138)},
        {5, -5, 6 * TILE, 90, solid(135)},  // the range of visual range 0
    };
    for (const auto& c : cases) {
        terrain_near_tiles = c.near_tiles;
        terrain_far_tiles = c.far_tiles;
        EXPECT_EQ(get_distance_colour_pattern(c.distance, c.colour), c.pattern)
            << c.distance << " colour " << c.colour << " far " << c.far_tiles;
    }
    for (int c = 0; c < 256; ++c) colour_remap[c] = uint8_t(c);
}

using Bytes = std::vector<uint8_t>;

// One feature on tile (32, 32), built from its records: `vertices` as (flags, X0, Y0) with flags
// 0 or FEATURE_VERTEX_FAR, and polygon lists as raw records.
struct Feature {
    Bytes vertices, polygons, far_polygons;
    FeatureEntry entry{};

    Feature(std::initializer_list<std::array<int, 3>> points, Bytes near, Bytes far = {}) {
        vertices = {uint8_t(points.size()), 0};
        for (const auto& p : points) vertices.insert(vertices.end(), {uint8_t(p[0]), uint8_t(p[1]), uint8_t(p[2])});
        polygons = std::move(near);
        far_polygons = std::move(far);
        entry = {vertices.data(), polygons.data(), far_polygons.empty() ? nullptr : far_polygons.data()};
    }
};

Bytes list(int count, Bytes records) {
    records.insert(records.begin(), {uint8_t(count), 0});
    return records;
}

// A square a little inside the tile and its halves, corners listed clockwise from above.
const std::initializer_list<std::array<int, 3>> SQUARE = {
    {0, 130, 130}, {0, 130, 142}, {0, 142, 142}, {0, 142, 130}, {0, 136, 142}, {0, 136, 130}};

// The features of tile (32, 32) drawn on a 640 x 480 screen, the eye 12,000 ft over the tile's
// middle looking straight down with north at the top, or wherever a test puts it.
class FeatureDrawing : public SoftwareScreenWorld {
protected:
    void SetUp() override {
        SoftwareScreenWorld::SetUp();
        for (int c = 0; c < 256; ++c) colour_remap[c] = uint8_t(c);
        terrain_near_tiles = 5;
        terrain_far_tiles = 2;
        tile_far_flag = 0;
        look(32 * TILE + TILE / 2, 32 * TILE + TILE / 2, 12000, -90);
    }
    void TearDown() override {
        feature_layer[32][32] = nullptr;
        accelerator_flag = 0;
        accel::shut_down();
        SoftwareScreenWorld::TearDown();
    }

    void look(int32_t x, int32_t y, int32_t feet, int32_t pitch_degrees) {
        Pose eye{{x, y, feet * FOOT}, {}};
        build_rotation_matrix(0, uint32_t(pitch_degrees * DEGREE), 0, eye.matrix);
        set_eye(&eye);
        const Vector3 corner = {32 * TILE - x, 32 * TILE - y, -feet * FOOT};
        Vector3 e;
        rotate_vector(view_matrix, corner, e);
        tile_corner_eye[0] = e.x;
        tile_corner_eye[1] = e.y;
        tile_corner_eye[2] = e.z;
    }
    void draw(Feature& feature) {
        std::fill(pixels.begin(), pixels.end(), UNTOUCHED);
        feature_layer[32][32] = &feature.entry;
        render_tile_x = render_tile_y = 32;
        draw_tile_features();
    }
    // The pixel over the point of coarse bytes (X0, Y0) of the tile, looking down from the middle.
    static int screen_x(double x0) { return int(W / 2 + (x0 - 136) * 1024 * 320 / 12000.0); }
    static int screen_y(double y0) { return int(H / 2 - (y0 - 136) * 1024 * 320 / 12000.0); }
    uint8_t at(double x0, double y0) const { return pixels[size_t(screen_y(y0)) * W + size_t(screen_x(x0))]; }
    std::set<uint8_t> colours_in(double x0a, double x0b, double y0a, double y0b) const {
        std::set<uint8_t> seen;
        for (int y = screen_y(y0b); y <= screen_y(y0a); ++y)
            for (int x = screen_x(x0a); x <= screen_x(x0b); ++x) seen.insert(pixels[size_t(y) * W + size_t(x)]);
        return seen;
    }

};

TEST_F(FeatureDrawing, FlatPolygonsHazeByTheirNearestVertexDitheredOnesDoNot) {
    Feature f(SQUARE, list(2, {FEATURE_MODE_FLAT, FEATURE_ROAD, 4, 90, 0, 1, 4, 5,  //
                               FEATURE_MODE_DITHER, FEATURE_RUNWAY, 4, 20, 30, 5, 4, 2, 3}));
    draw(f);
    const std::set<uint8_t> dither{20, 30};
    EXPECT_EQ(at(133, 136), 90) << "within the near tiles";
    EXPECT_EQ(colours_in(137, 141, 131, 141), dither);
    EXPECT_EQ(at(128.5, 136), UNTOUCHED);

    terrain_near_tiles = 0;  // everything past the near range: the nearest corner is ~12,700 ft off
    draw(f);
    const uint8_t hazed = at(133, 136);
    EXPECT_TRUE(hazed >= 139 && hazed <= 142) << int(hazed);
    EXPECT_EQ(colours_in(137, 141, 131, 141), dither) << "no haze";
}

TEST_F(FeatureDrawing, ALineOfNVerticesDrawsNMinusOneSegments) {
    Feature f(SQUARE, list(1, {FEATURE_MODE_LINES, FEATURE_ROAD, 4, 50, 0, 1, 2, 3}));
    draw(f);
    int drawn = 0;
    for (int y = screen_y(142) + 2; y < screen_y(130) - 2; ++y) drawn += pixels[size_t(y) * W + screen_x(130)] == 50;
    EXPECT_GT(drawn, 100) << "the west side";
    EXPECT_EQ(at(136, 142), 50) << "the north side";
    int south = 0;
    for (int x = screen_x(130) + 2; x < screen_x(142) - 2; ++x)
        for (int dy = -1; dy <= 1; ++dy) south += pixels[size_t(screen_y(130) + dy) * W + x] == 50;
    EXPECT_EQ(south, 0) << "no closing segment";
}

TEST_F(FeatureDrawing, PointsArePixelsAtTheirVertices) {
    Feature f(SQUARE, list(1, {FEATURE_MODE_POINTS, FEATURE_ROAD, 2, 50, 0, 2}));
    draw(f);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 50), 2);
    int near_corner = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) near_corner += pixels[size_t(screen_y(130) + dy) * W + screen_x(130) + dx] == 50;
    EXPECT_EQ(near_corner, 1);
}

TEST_F(FeatureDrawing, FarTilesDrawTheirFarListOrElseTheirOwn) {
    set_shade_ramp(134, 0, 256);
    set_shade_ramp(133, 0, 256);
    Feature with_far({{FEATURE_VERTEX_FAR, 130, 130}, {FEATURE_VERTEX_FAR, 130, 142}, {FEATURE_VERTEX_FAR, 142, 142},
                      {0, 142, 130}},
                     list(1, {FEATURE_MODE_FLAT, FEATURE_LAKE, 4, 40, 0, 1, 2, 3}),
                     list(1, {FEATURE_MODE_GOURAUD, FEATURE_LAKE, 3, 40, 0, 100, 1, 100, 2, 100}));
    draw(with_far);
    EXPECT_EQ(at(132, 136), 40);
    tile_far_flag = 1;
    draw(with_far);
    EXPECT_EQ(at(132, 136), 100) << "the far list's Gouraud triangle, its shade byte the level, its colour ignored";
    EXPECT_EQ(at(140, 132), UNTOUCHED) << "outside the triangle";
    Feature without_far(SQUARE, list(1, {FEATURE_MODE_FLAT, FEATURE_LAKE, 4, 40, 0, 1, 2, 3}));
    draw(without_far);
    EXPECT_EQ(at(140, 132), 40);
}

// The format lets a vertex lie off its tile; one behind the eye must be clipped away even on a tile
// wholly in view, not projected.
TEST_F(FeatureDrawing, AVertexBehindTheEyeIsClipped) {
    look(32 * TILE + TILE / 2, 31 * TILE, 2000, -10);
    Feature f({{0, 132, 140}, {0, 140, 140}, {0, 136, 0}}, list(1, {FEATURE_MODE_FLAT, FEATURE_ROAD, 3, 70, 0, 1, 2}));
    draw(f);
    EXPECT_GT(std::count(pixels.begin(), pixels.end(), 70), 1000);
}

// Centre-line dashes seen from a cockpit on them, the eye level one step above the middle of two
// strips one step wide: one from four steps behind the eye to four ahead, a gap of two, the other
// to twelve ahead. Perspective alone makes a wedge of them: each row's span is half as wide as the
// row is below the horizon; the gap's rows stay bare and nothing lies outside the wedge.
TEST_F(FeatureDrawing, DashesUnderTheEyeCoverTheirOwnRowsOfTheWedgeAndNothingElse) {
    look(32 * TILE + TILE / 2 + TILE / 32, 32 * TILE + TILE / 4, 1024, 0);
    Feature f({{0, 136, 128}, {0, 136, 136}, {0, 137, 136}, {0, 137, 128},  //
               {0, 136, 138}, {0, 136, 144}, {0, 137, 144}, {0, 137, 138}},
              list(2, {FEATURE_MODE_FLAT, FEATURE_RUNWAY, 4, 70, 0, 1, 2, 3,  //
                       FEATURE_MODE_FLAT, FEATURE_RUNWAY, 4, 70, 4, 5, 6, 7}));
    draw(f);
    // The row of ground `steps` ahead (the up axis is stretched by 4/3 on this screen).
    const auto row_at = [](double steps) { return 239 + 240 * 4.0 / 3.0 / steps; };
    const double bands[2][2] = {{row_at(4), H}, {row_at(12), row_at(6)}};
    int stray = 0, missing = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const double half_width = (y + 0.5 - 239) / 2, off = std::abs(x + 0.5 - 320);
            bool inside = false, deep_inside = false;
            for (const auto& band : bands) {
                inside |= y > band[0] - 2 && y < band[1] + 2 && off < half_width + 2;
                deep_inside |= y > band[0] + 2 && y < band[1] - 2 && off < half_width - 2;
            }
            const bool drawn = pixels[size_t(y) * W + size_t(x)] == 70;
            stray += drawn && !inside;
            missing += !drawn && deep_inside;
        }
    EXPECT_EQ(stray, 0) << "pixels beyond the dashes";
    EXPECT_EQ(missing, 0) << "pixels of the dashes left out";
    EXPECT_EQ(pixels[size_t(H - 1) * W + 320 - 115], 70) << "the bottom row is 240 px wide";
    EXPECT_EQ(pixels[size_t(row_at(5)) * W + 320], UNTOUCHED) << "the gap";
}

TEST_F(FeatureDrawing, RiversAndLakesAreTranslucentWithAnOpaqueOutlineTheSeaIsOpaque) {
    accel::open_display();
    accelerator_flag = 1;
    set_depth_scale(6);
    working_palette[3 * 60] = 200, working_palette[3 * 60 + 1] = 0, working_palette[3 * 60 + 2] = 0;
    working_palette[3 * 61] = 0, working_palette[3 * 61 + 1] = 200, working_palette[3 * 61 + 2] = 0;
    Feature f(SQUARE, list(2, {FEATURE_MODE_FLAT, FEATURE_RIVER, 4, 60, 0, 1, 4, 5,  //
                               FEATURE_MODE_FLAT, FEATURE_OCEAN, 4, 61, 5, 4, 2, 3}));
    accel::clear_buffer(0x000000FF);
    draw(f);
    write_frame(std::string(VYR_BUILD_DIR) + "/features_water.ppm");
    const Rgb river = pixel(screen_x(133), screen_y(136)), sea = pixel(screen_x(139), screen_y(136));
    EXPECT_GT(river.r, 150);
    EXPECT_LT(river.r, 190) << "216 parts in 255 of the river over the black";
    EXPECT_GT(sea.g, 190) << "opaque";
    int outline = 0;
    for (int x = screen_x(129); x < screen_x(136); ++x) outline += pixel(x, screen_y(136)).r > 190;
    EXPECT_GE(outline, 1) << "the river's west edge in its full colour";
}

}  // namespace
}  // namespace vyr
