#include "library/3dvisual/fragments.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "library/maths/random.h"
#include "tests/library/3dvisual/effect_scene.h"

namespace vyr {
namespace {

constexpr int32_t TENTH_SECOND = 0x7FFFFFFF / 10;

class Fragments : public EffectScene {
protected:
    ObjectInstance* node(int32_t type, std::vector<ObjectInstance*> children = {}) {
        Pose& pose = poses.emplace_back();
        pose.position = ahead(5000, 2000 * EFFECT_FEET);
        build_z_rotation(0x10000000, pose.matrix);
        ObjectInstance& instance = instances.emplace_back();
        instance.object_type = type;
        instance.state_mask = uint32_t(type) * 3;
        instance.pose = &pose;
        std::vector<ObjectInstance*>& slots = child_lists.emplace_back(std::move(children));
        instance.sub_instances = slots.data();
        instance.count = int32_t(slots.size());
        return &instance;
    }

    std::deque<Pose> poses;
    std::deque<ObjectInstance> instances;
    std::deque<std::vector<ObjectInstance*>> child_lists;
};

TEST_F(Fragments, EveryNodeOfATreeFliesOffRootFirstAndDepthFirst) {
    ObjectInstance* root = node(1, {node(2, {node(3)}), nullptr, node(4)});
    spawn_fragments(root);
    ASSERT_EQ(fragment_cursor, 4);
    for (int i = 0; i < 4; ++i) {
        const Fragment& f = fragments[i];
        EXPECT_EQ(f.kind, 1);
        EXPECT_EQ(f.instance.object_type, i + 1);
        EXPECT_EQ(f.instance.state_mask, uint32_t(i + 1) * 3);
        EXPECT_EQ(f.instance.pose, &f.pose);
        EXPECT_EQ(f.instance.count, 0);
        EXPECT_EQ(f.instance.flags, INSTANCE_INACTIVE);
        EXPECT_EQ(f.pose.position.z, root->pose->position.z);
        EXPECT_EQ(f.pose.matrix.m[0][0], root->pose->matrix.m[0][0]);
        EXPECT_GE(f.velocity.z, 0) << "never launched downwards";
        EXPECT_LT(estimate_distance_3d(f.velocity.x, f.velocity.y, f.velocity.z), 19200 + 600);
        const int32_t axis = measure_distance_3d(f.spin_axis.x >> 8, f.spin_axis.y >> 8, f.spin_axis.z >> 8);
        EXPECT_NEAR(axis, 1 << 23, 1 << 12) << "a unit spin axis";
    }
}

TEST_F(Fragments, ATreeOfSeventyNodesKeepsItsLastSixtyFour) {
    std::vector<ObjectInstance*> leaves;
    for (int i = 1; i < 70; ++i) leaves.push_back(node(i));
    spawn_fragments(node(0, leaves));
    EXPECT_EQ(fragment_cursor, 70 - MAX_FRAGMENTS);
    for (int slot = 0; slot < MAX_FRAGMENTS; ++slot)
        EXPECT_EQ(fragments[slot].instance.object_type, slot < 6 ? MAX_FRAGMENTS + slot : slot) << slot;
}

TEST_F(Fragments, AFragmentFallsAndComesToRestOnLand) {
    spawn_fragments(node(7));
    Fragment& f = fragments[0];
    f.velocity = {0, 0, 0};
    const int32_t start = f.pose.position.z;
    update_world_effects(TENTH_SECOND);
    EXPECT_EQ(f.velocity.z, -819) << "a tenth of a second of gravity";
    EXPECT_LT(f.pose.position.z, start);
    for (int step = 0; step < 200 && f.velocity.z != 0; ++step) update_world_effects(TENTH_SECOND);
    EXPECT_EQ(f.kind, 1) << "still drawn";
    EXPECT_EQ(f.pose.position.z, 0);
    EXPECT_EQ(f.spin_rate, 0);
    const Pose rest = f.pose;
    update_world_effects(TENTH_SECOND);
    EXPECT_EQ(f.pose.position.x, rest.position.x);
    EXPECT_EQ(f.pose.position.z, rest.position.z);
    queue_fragments();
    EXPECT_EQ(queued(NODE_MOBILE_OBJECT), (std::vector<void*>{&f.instance}));
}

TEST_F(Fragments, AnUnknownKindIsFatal) {
    fragments[9].kind = 3;
    EXPECT_EXIT(update_fragments(), ::testing::ExitedWithCode(10), "Invalid fragment type\\.");
}

}  // namespace
}  // namespace vyr
