#include "library/3dvisual/visibility.h"

#include <gtest/gtest.h>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/graphics/plot.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {
constexpr int32_t TILE = 1 << 22;

class Visibility : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        init_trig_tables();
        world_settings.flags = 0;
        init_world(&world_settings);
        set_viewport(0, 0, 640, 480);
        view = {7, 0, 0, 0, -30 * int32_t(DEGREE), 0, 25000 * FOOT, 27000 * FOOT, 2, 3, WEATHER_CLEAR, 0, nullptr, 0};
        set_view_settings(&view);
    }
    void TearDown() override {
        shutdown_world();
        ScratchDirectories::TearDown();
    }
    static void look_from(int32_t x, int32_t y, int32_t z, uint32_t heading, int32_t pitch_degrees) {
        Pose eye{{x, y, z}, {}};
        build_rotation_matrix(heading, uint32_t(pitch_degrees * int32_t(DEGREE)), 0, eye.matrix);
        set_eye(&eye);
    }
    static bool holds(const OffsetRange& r, int x, int y) {
        return r.x_lowest <= x && x <= r.x_highest && r.y_lowest <= y && y <= r.y_highest;
    }

    ViewSettings view;
};

TEST_F(Visibility, NearTilesStayInTheWorldAndTheVisualRange) {
    const struct {
        int32_t x, y, z;
        uint32_t heading;
        int32_t pitch;
    } eyes[] = {
        {1 << 27, 1 << 27, 1000 * FOOT, 0, 0},        {100, 100, 1000 * FOOT, 0xC0000000u, -10},
        {(1 << 28) - 100, 5 * TILE, 5000 * FOOT, 0x40000000u, -5}, {3 * TILE, (1 << 28) - 1, 300 * FOOT, 0, 20},
        {1 << 27, 1 << 27, 200000 * FOOT, 0, -90},
    };
    for (const auto& e : eyes) {
        look_from(e.x, e.y, e.z, e.heading, e.pitch);
        const int count = find_visible_tiles();
        const OffsetRange& r = visible_tile_range;
        ASSERT_GT(count, 0) << e.x << ", " << e.y;
        EXPECT_EQ(count, (r.x_highest - r.x_lowest + 1) * (r.y_highest - r.y_lowest + 1));
        EXPECT_GE(eye_tile_x + r.x_lowest, 0);
        EXPECT_LE(eye_tile_x + r.x_highest, 63);
        EXPECT_GE(eye_tile_y + r.y_lowest, 0);
        EXPECT_LE(eye_tile_y + r.y_highest, 63);
        EXPECT_GE(r.x_lowest, -7);
        EXPECT_LE(r.y_highest, 7);
        EXPECT_TRUE(holds(r, 0, 0)) << "the eye's own tile";
    }
    EXPECT_EQ(find_visible_tiles(), 15 * 15) << "high above, looking down, range 7 gives 15 x 15";
    // Looking level north the tiles behind the eye are out of view and those ahead are not.
    look_from(1 << 27, 1 << 27, 1000 * FOOT, 0, 0);
    find_visible_tiles();
    EXPECT_EQ(visible_tile_range.y_lowest, 0);
    EXPECT_EQ(visible_tile_range.y_highest, 7);
}

TEST_F(Visibility, LookingStraightUpFromLowDownKeepsTheTilesAround) {
    // No ground is in view, but high ground around the eye may rise into it.
    look_from((1 << 27) + TILE / 2, (1 << 27) + TILE / 2, 1000 * FOOT, 0, 90);
    EXPECT_EQ(find_visible_tiles(), 9);
    EXPECT_TRUE(holds(visible_tile_range, -1, -1));
    EXPECT_TRUE(holds(visible_tile_range, 1, 1));
    // Above the tile boxes, looking up sees no tile at all.
    look_from(1 << 27, 1 << 27, 20000 * FOOT, 0, 90);
    EXPECT_EQ(find_visible_tiles(), 0);
}

TEST_F(Visibility, TheCloudTilesCoverTheViewWedge) {
    const struct {
        int32_t x, z;
        uint32_t heading;
        int32_t pitch;
        OffsetRange range;
    } cases[] = {
        {1 << 27, 1000 * FOOT, 0, 0, {-14, 13, -1, 14}},  // north: the row behind the eye as well
        {1 << 27, 1000 * FOOT, 0x40000000u, 0, {-1, 14, -13, 14}},
        {1 << 27, 1000 * FOOT, 0, 75, {-3, 3, -3, 3}},
        {1 << 27, 30000 * FOOT, 0, 0, {-14, 14, -14, 14}},  // above the clouds
        {5 * TILE, 30000 * FOOT, 0, 0, {-4, 14, -14, 14}},  // fitted to tiles 1..62
    };
    for (const auto& c : cases) {
        look_from(c.x, 1 << 27, c.z, c.heading, c.pitch);
        const int count = find_cloud_tiles();
        const OffsetRange& r = cloud_tile_range;
        EXPECT_EQ(r.x_lowest, c.range.x_lowest) << c.heading / DEGREE << " " << c.z / FOOT;
        EXPECT_EQ(r.y_lowest, c.range.y_lowest) << c.heading / DEGREE << " " << c.z / FOOT;
        EXPECT_EQ(r.x_highest, c.range.x_highest) << c.heading / DEGREE << " " << c.z / FOOT;
        EXPECT_EQ(r.y_highest, c.range.y_highest) << c.heading / DEGREE << " " << c.z / FOOT;
        EXPECT_EQ(count, (r.x_highest - r.x_lowest + 1) * (r.y_highest - r.y_lowest + 1));
    }
}

TEST_F(Visibility, TheFarBlockRingGrowsAt2000Feet) {
    // The eye in the lower half of its block, looking level north.
    const int32_t x = (1 << 27) + (1 << 20);
    look_from(x, 1 << 27, 1999 * FOOT, 0, 0);
    EXPECT_GT(find_visible_far_blocks(), 0);
    EXPECT_EQ(visible_block_range.x_lowest, -2);
    EXPECT_EQ(visible_block_range.x_highest, 1);
    EXPECT_EQ(visible_block_range.y_lowest, 0) << "the ground behind is not in view";
    look_from(x, 1 << 27, 2000 * FOOT, 0, 0);
    find_visible_far_blocks();
    EXPECT_EQ(visible_block_range.x_lowest, -3);
    EXPECT_EQ(visible_block_range.x_highest, 2);
    // Only the sky in view, or an eye far off the grid: nothing to draw.
    look_from(x, 1 << 27, 1999 * FOOT, 0, 60);
    EXPECT_EQ(find_visible_far_blocks(), 0);
    look_from(-0x30000000, 1 << 27, 1999 * FOOT, 0xC0000000u, 0);
    EXPECT_EQ(find_visible_far_blocks(), 0);
}

TEST_F(Visibility, TilesAndBlocksAreClassedAgainstTheView) {
    look_from((1 << 27) + TILE / 2, (1 << 27) + TILE / 2, 1000 * FOOT, 0, 0);
    // The eye's own tile crosses the view's edges; one far behind is out of view.
    for (int axis = 0; axis < 3; ++axis) tile_corner_eye[axis] = tile_origin_eye[axis];
    EXPECT_EQ(test_tile_visible(), 1);
    Vector3 behind{-TILE / 2, -5 * TILE, -1000 * FOOT}, ahead{-TILE / 8, 6 * TILE, -1000 * FOOT};
    for (auto [offset, expected] : {std::pair{behind, 0}, std::pair{ahead, 2}}) {
        Vector3 e;
        rotate_vector(view_matrix, offset, e);
        tile_corner_eye[0] = e.x;
        tile_corner_eye[1] = e.y;
        tile_corner_eye[2] = e.z;
        EXPECT_EQ(test_tile_visible(), expected);
    }
    for (int axis = 0; axis < 3; ++axis) block_corner_eye[axis] = far_block_origin_eye[axis];
    EXPECT_EQ(test_far_block_visible(), 1);
}

TEST_F(Visibility, ThePlanMapFindsTheBlocksOfItsWindow) {
    const struct {
        int32_t x0, y0, x1, y1;
        int count;
    } windows[] = {
        {1 << 20, 1 << 20, (1 << 28) - TILE, (1 << 28) - TILE, 16},  // the world: blocks 6..9 each way
        {-0x30000000, 0, -0x20000000, 1 << 27, 0},  // wholly west of the grid
        {(1 << 26) + TILE, 1 << 26, (1 << 26) + 2 * TILE, (1 << 26) + TILE, 1},
    };
    PlotWindow saved;
    save_plot(saved);
    for (const auto& w : windows) {
        set_plot(0, 0, 200, 200, w.x0, w.y0, w.x1, w.y1);
        set_plot_rotation(0);  // north up, whatever turn an earlier test left
        EXPECT_EQ(find_map_far_blocks(), w.count) << w.x0;
    }
    restore_plot(saved);
}

}  // namespace
}  // namespace vyr
