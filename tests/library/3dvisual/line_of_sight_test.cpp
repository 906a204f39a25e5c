#include "library/3dvisual/line_of_sight.h"

#include <gtest/gtest.h>

#include <cstring>

#include "library/3dvisual/terrain.h"
#include "library/maths/units.h"

namespace vyr {
namespace {

constexpr int32_t CELL = 1 << POST_SHIFT;
constexpr int ROW = 10;  // the lines run east along the southern edge of this row of cells

class LineOfSight : public testing::Test {
protected:
    void TearDown() override {
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        terrain_max_height = 0;
    }
    // Flat ground at `feet` with one post raised to `ridge_feet` at `ridge_cell` along the row.
    static void ground(int feet, int ridge_cell = -1, int ridge_feet = 0) {
        for (auto& row : terrain_posts)
            for (TerrainPost& post : row) post.height = uint16_t(feet);
        terrain_max_height = feet * FOOT;
        if (ridge_cell >= 0) {
            terrain_posts[ridge_cell][ROW].height = uint16_t(ridge_feet);
            terrain_max_height = ridge_feet * FOOT;
        }
    }
    // From the row's first post, sixteen cells east: coarse samples every two cells from cell 2 to
    // cell 14, fine ones every quarter cell below cell 2.
    static Vector3 at_cell(int cell, int feet) { return {cell * CELL, ROW * CELL, feet * FOOT}; }
};

TEST_F(LineOfSight, RidgesAreFoundOnlyWhereASampleFallsOnThem) {
    const struct {
        const char* what;
        int ridge_cell;
        int line_feet;
        int expected;
    } cases[] = {
        {"ridge under the fine stretch", 1, 500, 0},
        {"ridge under the fine stretch, line above it", 1, 1500, 1},
        {"ridge between two coarse samples", 3, 500, 1},
        {"ridge at the first coarse sample", 2, 500, 0},
        {"ridge at the last coarse sample", 14, 500, 0},
        {"ridge beyond the last sample, at the far end", 16, 500, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ground(0, c.ridge_cell, 1000);
        EXPECT_EQ(check_line_of_sight(at_cell(0, c.line_feet), at_cell(16, c.line_feet), 3), c.expected);
    }
}

// Both ends above the highest post answer at once: a highest post that understates the ground
// shows that no height was read.
TEST_F(LineOfSight, EndsAboveTheHighestPostNeedNoHeights) {
    ground(0, 1, 1000);
    EXPECT_EQ(check_line_of_sight(at_cell(0, 500), at_cell(16, 500), 3), 0);
    terrain_max_height = 400 * FOOT;
    EXPECT_EQ(check_line_of_sight(at_cell(0, 500), at_cell(16, 500), 3), 1);
    EXPECT_EQ(check_line_of_sight(at_cell(0, 500), at_cell(16, 300), 3), 0);
}

TEST_F(LineOfSight, AnObserverOnTheGroundSeesUp) {
    ground(700);
    EXPECT_EQ(check_line_of_sight(at_cell(0, 700), at_cell(16, 2000), 3), 1);
    EXPECT_EQ(check_line_of_sight(at_cell(0, 699), at_cell(16, 2000), 3), 0);
}

// The far end is never sampled: a target just under the ground is seen from above, but from the
// target the first sample already lies below the ground.
TEST_F(LineOfSight, SwappedEndsCanAnswerDifferently) {
    ground(700);
    const Vector3 high = at_cell(0, 2000), buried = at_cell(16, 690);
    EXPECT_EQ(check_line_of_sight(high, buried, 3), 1);
    EXPECT_EQ(check_line_of_sight(buried, high, 3), 0);
}

// Ends far apart in a coordinate do not wrap the steps.
TEST_F(LineOfSight, FarApartEndsDoNotWrap) {
    ground(0);
    const Vector3 a{0, ROW * CELL, 2000000000}, b{(1 << 28) - 1, ROW * CELL, -2000000000};
    EXPECT_EQ(check_line_of_sight(a, b, 3), 0);
}

}  // namespace
}  // namespace vyr
