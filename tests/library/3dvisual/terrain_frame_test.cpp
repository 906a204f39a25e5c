#include "library/3dvisual/terrain_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain_accel.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

TEST(TerrainRange, SplitsTheVisualRangeIntoNearAndFarTiles) {
    const struct {
        int range, near, far;
    } cases[] = {{1, 0, 1}, {2, 0, 2}, {3, 2, 1}, {4, 2, 2}, {5, 3, 2}, {6, 4, 2}, {7, 5, 2}, {12, 5, 7}, {0, 5, -5}, {-2, 5, -7}};
    for (const auto& c : cases) {
        int32_t near = -1, far = -1;
        split_terrain_range(c.range, near, far);
        EXPECT_EQ(near, c.near) << c.range;
        EXPECT_EQ(far, c.far) << c.range;
    }
}

std::vector<BufferNode> queued;
void record_node(BufferNode* node) { queued.push_back(*node); }

// Flat ground of texture 5 under an eye over the middle of tile (32, 32), looking north.
class TerrainQueue : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        init_trig_tables();
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        for (auto& row : terrain_posts)
            for (TerrainPost& post : row) {
                post.light = 200;
                post.classes = TERRAIN_DIAGONAL;
                post.texture[0] = post.texture[1] = 5;
            }
        std::copy(std::begin(buffer_drawers), std::end(buffer_drawers), saved);
        buffer_drawers[NODE_TERRAIN] = record_node;
        queued.clear();
        set_viewport(0, 0, 640, 480);
        view(7, 3);
    }
    // The other tests of the world stand on flat ground.
    void TearDown() override {
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        std::copy(std::begin(saved), std::end(saved), buffer_drawers);
        ScratchDirectories::TearDown();
    }

    static void view(int range, int detail) {
        ViewSettings v = view_settings;
        v.visual_range = range;
        v.terrain_detail = detail;
        set_view_settings(&v);
    }

    static void look(int32_t feet) {
        Pose eye{{(32 << 22) + (1 << 21), (32 << 22) + (1 << 21), feet * FOOT}, {}};
        set_identity_matrix(eye.matrix);
        set_eye(&eye);
        visible_tile_range = {-2, 2, -2, 2};
        prepare_terrain_frame();
    }

    // Queues the tile at offsets from the eye's and draws the buffer into `queued`.
    static void queue(int dx, int dy, bool software = false) {
        reset_object_buffer();
        render_tile_x = eye_tile_x + dx;
        render_tile_y = eye_tile_y + dy;
        if (software) queue_terrain_tile_soft();
        else queue_terrain_tile_accel();
        flush_object_buffer();
    }

    BufferDrawer saved[BUFFER_NODE_TYPES];
};

TEST_F(TerrainQueue, ATileAheadQueuesItsTrianglesWithTheirCellAndFlags) {
    look(1000);
    queue(0, 1);
    ASSERT_EQ(queued.size(), 32u);
    int near = 0;
    for (const BufferNode& node : queued) {
        EXPECT_EQ(node.type, NODE_TERRAIN);
        const TerrainPost& post = terrain_node_post(&node);
        const int i = int(&post - &terrain_posts[0][0]) / TERRAIN_POSTS, j = int(&post - &terrain_posts[0][0]) % TERRAIN_POSTS;
        EXPECT_GE(i, 128);
        EXPECT_LT(i, 132);
        EXPECT_GE(j, 132);
        EXPECT_LT(j, 136);
        const PolyVertex* a = terrain_node_vertex(&node, 0, 0);
        EXPECT_EQ(a, &terrain_vertex_grid[i - terrain_first_post_x][j - terrain_first_post_y]);
        EXPECT_GT(node.key, 0);
        EXPECT_EQ(node.payload[TERRAIN_DETAIL], 3);
        EXPECT_EQ(node.payload[TERRAIN_FLAGS] & (TERRAIN_NODE_AT_ONCE | TERRAIN_NODE_NO_TEXTURE), 0);
        // Near: within three cells of the eye's post (130, 130).
        const bool expect_near = std::abs(130 - i) < 3 && std::abs(130 - j) < 3;
        EXPECT_EQ((node.payload[TERRAIN_FLAGS] & TERRAIN_NODE_NEAR) != 0, expect_near) << i << ", " << j;
        near += expect_near;
    }
    EXPECT_EQ(near, 4 * 1 * 2);
    EXPECT_EQ(std::count_if(queued.begin(), queued.end(),
                            [](const BufferNode& n) { return n.payload[TERRAIN_FLAGS] & TERRAIN_NODE_FIRST; }),
              16);
}

TEST_F(TerrainQueue, CellsBehindTheEyeOrBeyondTheRangeQueueNothing) {
    look(1000);
    queue(0, -2);
    EXPECT_TRUE(queued.empty());
    view(0, 3);  // 5 near and -5 far tiles: no distance passes
    look(1000);
    queue(0, 1);
    EXPECT_TRUE(queued.empty());
}

TEST_F(TerrainQueue, NoNearCellsForAHighEye) {
    look(8192);
    queue(0, 1);
    ASSERT_FALSE(queued.empty());
    for (const BufferNode& node : queued) EXPECT_EQ(node.payload[TERRAIN_FLAGS] & TERRAIN_NODE_NEAR, 0);
}

TEST_F(TerrainQueue, UntexturedAndAtOnceTriangles) {
    terrain_posts[129][133].texture[0] = 127;
    terrain_posts[130][133].texture[1] = 0x80 | 5;  // drawn while queued, never buffered
    look(1000);
    queue(0, 1);
    EXPECT_EQ(queued.size(), 31u);
    for (const BufferNode& node : queued) {
        const TerrainPost& post = terrain_node_post(&node);
        const bool untextured = &post == &terrain_posts[129][133] && (node.payload[TERRAIN_FLAGS] & TERRAIN_NODE_FIRST);
        EXPECT_EQ((node.payload[TERRAIN_FLAGS] & TERRAIN_NODE_NO_TEXTURE) != 0, untextured);
        EXPECT_FALSE(&post == &terrain_posts[130][133] && !(node.payload[TERRAIN_FLAGS] & TERRAIN_NODE_FIRST));
    }
}

TEST_F(TerrainQueue, AShortRangeTakesTheDetailDownAndSoftwareFarCellsLoseIt) {
    view(3, 3);  // 2 near tiles, 1 far
    look(1000);
    queue(0, 2, true);
    EXPECT_EQ(current_view.terrain_detail, 1);
    ASSERT_FALSE(queued.empty());
    for (const BufferNode& node : queued) {
        const PolyVertex* a = terrain_node_vertex(&node, 0, 0);
        const int32_t tiles = estimate_distance_3d(a->x, a->y, a->z) / (1 << 22);
        EXPECT_EQ(node.payload[TERRAIN_DETAIL], tiles < 2 ? 1 : 0);
    }
}

TEST_F(TerrainQueue, APostAbove33000FeetStandsAtTheTopOfTheHeightTable) {
    terrain_posts[131][134].height = 32768;
    look(1000);
    const PolyVertex top = terrain_vertex_grid[131 - terrain_first_post_x][134 - terrain_first_post_y];
    terrain_posts[131][134].height = 65535;
    look(1000);
    const PolyVertex& high = terrain_vertex_grid[131 - terrain_first_post_x][134 - terrain_first_post_y];
    EXPECT_EQ(high.x, top.x);
    EXPECT_EQ(high.y, top.y);
    EXPECT_EQ(high.z, top.z);
    EXPECT_GT(high.z, 0);
}

TEST_F(TerrainQueue, AWindowWiderThanTheGridIsHeldToItAndToTheWorld) {
    view(16, 3);
    look(1000);
    visible_tile_range = {-40, 40, -40, 40};
    prepare_terrain_frame();
    EXPECT_EQ(terrain_first_post_x, (32 - 14) * 4);
    EXPECT_EQ(terrain_first_post_y, (32 - 14) * 4);
    queue(0, 14);
    EXPECT_FALSE(queued.empty());
    queued.clear();
    queue(0, 15);  // beyond the grid's 29 tiles: nothing
    EXPECT_TRUE(queued.empty());
}

TEST_F(TerrainQueue, TheCloudLayerDroopsWithDistanceBelowTheClouds) {
    look(1000);
    ViewSettings v = current_view;
    int32_t heights[2] = {};
    for (const int weather : {WEATHER_CLEAR, WEATHER_OVERCAST}) {
        v.weather = weather;
        current_view = v;
        prepare_cloud_layer({-4, 4, -4, 4}, 20000);
        const PolyVertex& middle = cloud_vertex_grid[130][134];  // 4 posts ahead
        const PolyVertex& far = cloud_vertex_grid[130][146];     // 16 posts ahead
        EXPECT_EQ(middle.shade, 200 << 23);
        // The eye looks level, so up is the height above it wherever the point lies.
        EXPECT_LT(far.z, middle.z) << weather;
        heights[weather] = far.z;
    }
    EXPECT_LT(heights[WEATHER_CLEAR], heights[WEATHER_OVERCAST]);
    sky_state = SKY_ABOVE_CLOUDS;
    prepare_cloud_layer({-4, 4, -4, 4}, 20000);
    EXPECT_EQ(cloud_vertex_grid[130][146].z, cloud_vertex_grid[130][134].z);
}

}  // namespace
}  // namespace vyr
