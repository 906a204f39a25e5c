#include "library/3dvisual/object_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "library/3dvisual/objects.h"

namespace vyr {
namespace {

std::vector<const BufferNode*> drawn;

void record(BufferNode* node) { drawn.push_back(node); }

// Every drawer records into `drawn`; object 1 is flat, object 2 stands up.
class ObjectBuffer : public testing::Test {
protected:
    void SetUp() override {
        std::copy(std::begin(buffer_drawers), std::end(buffer_drawers), saved);
        std::fill(std::begin(buffer_drawers), std::end(buffer_drawers), record);
        flat.box_max_z = 0;
        standing.box_max_z = 512;
        saved_table = object_table;
        saved_count = object_count;
        object_table = headers;
        object_count = 3;
        drawn.clear();
        reset_object_buffer();
    }

    void TearDown() override {
        std::copy(std::begin(saved), std::end(saved), buffer_drawers);
        object_table = saved_table;
        object_count = saved_count;
        reset_object_buffer();
    }

    BufferNode* queue(int32_t type, int32_t key, int32_t word0 = 0, int32_t word4 = 0) {
        BufferNode* node = alloc_buffer_node();
        node->type = type;
        node->key = key;
        node->payload[0] = word0;
        node->payload[4] = word4;
        queue_buffer_node(node);
        return node;
    }

    BufferDrawer saved[BUFFER_NODE_TYPES];
    ObjectHeader flat{}, standing{};
    ObjectHeader* headers[3] = {nullptr, &flat, &standing};
    ObjectHeader** saved_table = nullptr;
    int32_t saved_count = 0;
};

TEST_F(ObjectBuffer, KeysMapToBucketsThatWidenWithDistance) {
    const struct {
        int32_t key;
        int bucket;
    } cases[] = {{-1, -1},         {0, 0},           {4095, 0},        {4096, 1},        {(1 << 20) - 1, 255},
                 {1 << 20, 272},   {(1 << 24) - 1, 511}, {1 << 24, 576}, {(1 << 26) - 1, 767}, {1 << 26, 767},
                 {0x7fffffff, 767}};
    for (const auto& c : cases) EXPECT_EQ(find_buffer_bucket(c.key), c.bucket) << c.key;
}

TEST_F(ObjectBuffer, FlushDrawsFlatObjectsThenFarToNearThenBehindTheEye) {
    BufferNode* near = queue(NODE_SMOKE, 0);
    BufferNode* behind_first = queue(NODE_EXPLOSION, -1);
    BufferNode* far = queue(NODE_MOBILE_OBJECT, 1 << 26);
    BufferNode* farther = queue(NODE_HAZE, 0x7fffffff);  // the same bucket, sorted by key
    BufferNode* flat_behind = queue(NODE_GROUND_OBJECT, -500, 1);
    BufferNode* standing_object = queue(NODE_GROUND_OBJECT, 1 << 20, 2);
    BufferNode* flat_far = queue(NODE_GROUND_OBJECT, 1 << 24, 1);
    BufferNode* behind_last = queue(NODE_CLOUD, -100);

    flush_object_buffer();
    const std::vector<const BufferNode*> want = {flat_far, flat_behind, farther, far, standing_object,
                                                 near,     behind_last, behind_first};
    EXPECT_EQ(drawn, want);
    EXPECT_EQ(get_object_buffer_count(), 8);
    EXPECT_EQ(get_object_buffer_back_count(), 2) << "a flat object is not counted behind the eye";
}

TEST_F(ObjectBuffer, EqualKeysKeepQueueOrderExceptTerrainByItsTieBreak) {
    BufferNode* a = queue(NODE_SMOKE, 5000);
    BufferNode* b = queue(NODE_HAZE, 5000);
    BufferNode* low = queue(NODE_TERRAIN, 9000, 0, 10);
    BufferNode* high = queue(NODE_TERRAIN, 9000, 0, 20);
    BufferNode* last = queue(NODE_TERRAIN, 9000, 0, 20);
    flush_object_buffer();
    const std::vector<const BufferNode*> want = {high, last, low, a, b};
    EXPECT_EQ(drawn, want);
}

TEST_F(ObjectBuffer, ThePoolHoldsOneFrameOfNodes) {
    for (int i = 0; i < MAX_BUFFER_NODES; ++i) ASSERT_NE(alloc_buffer_node(), nullptr) << i;
    EXPECT_EQ(alloc_buffer_node(), nullptr);
    EXPECT_EQ(get_object_buffer_count(), MAX_BUFFER_NODES);
    reset_object_buffer();
    EXPECT_EQ(get_object_buffer_count(), 0);
    EXPECT_NE(alloc_buffer_node(), nullptr);
    flush_object_buffer();
    EXPECT_TRUE(drawn.empty()) << "taken but not filed, so not drawn";
}

}  // namespace
}  // namespace vyr
