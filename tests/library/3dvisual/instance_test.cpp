#include "library/3dvisual/instance.h"

#include <gtest/gtest.h>

#include "library/3dvisual/objects.h"
#include "tests/library/3dvisual/object_files.h"

namespace vyr {
namespace {

using namespace testing_objects;

constexpr int32_t ONE = 0x7FFFFFFF;

// 1 a plain cube; 2 holds a variable part and 1; 3 holds 2 and then a variable part, so that
// 2's variable part is taken first; 4 holds a variable part 4 ft ahead, turned to its left.
class InstanceTrees : public ObjectFiles {
protected:
    void SetUp() override {
        ObjectFiles::SetUp();
        TestObject inner = cube(), outer = cube(), turned = cube();
        inner.subs = {{0, IDENTITY_AT(0, 0, 0)}, {1, IDENTITY_AT(1024, 0, 0)}};
        outer.subs = {{2, IDENTITY_AT(0, 2048, 0)}, {0, IDENTITY_AT(-1024, 0, 0)}};
        turned.subs = {{0, {0, 1024, 0, 0, ONE, 0, -ONE, 0, 0, 0, 0, ONE}}};
        write_files(build_object_file({std::nullopt, cube(), inner, outer, turned}).bytes, build_texture_file(1));
        reload_objects("3DDATA\\");
    }
};

TEST_F(InstanceTrees, VariablePartsAreTakenDepthFirstAndZeroOrAShortListLeavesThemEmpty) {
    const int32_t types[] = {1, 4};
    const VariableList list{types, 2};
    ObjectInstance* root = create_object_instance(3, nullptr, nullptr, &list);
    ASSERT_EQ(root->count, 2);
    ObjectInstance* inner = root->sub_instances[0];
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->offset->position.y, 2048);
    ASSERT_EQ(inner->count, 2);
    EXPECT_EQ(inner->sub_instances[0]->object_type, 1);  // the first value, taken inside 2
    EXPECT_EQ(inner->sub_instances[1]->object_type, 1);
    EXPECT_EQ(root->sub_instances[1]->object_type, 4);
    EXPECT_EQ(root->sub_instances[1]->sub_instances[0], nullptr);  // the list ran out
    EXPECT_EQ(root->offset, nullptr);
    free_object_instance(root);

    const int32_t zero[] = {0, 0};
    const VariableList zeros{zero, 2};
    root = create_object_instance(3, nullptr, nullptr, &zeros);
    EXPECT_EQ(root->sub_instances[0]->sub_instances[0], nullptr);
    EXPECT_EQ(root->sub_instances[1], nullptr);
    free_object_instance(root);
}

TEST_F(InstanceTrees, ATypeWithoutPartsInTheCallersBlocksAllocatesNothing) {
    ObjectInstance record{};
    Pose pose{};
    record.flags = INSTANCE_SIDE_VARIANT | 2;
    record.owner_kind = OWNER_DRONE;
    EXPECT_EQ(create_object_instance(1, &record, &pose, nullptr), &record);
    EXPECT_EQ(record.allocation, nullptr);
    EXPECT_EQ(record.pose, &pose);
    EXPECT_EQ(record.flags, 2);
    EXPECT_EQ(record.owner_kind, OWNER_DRONE);
    free_object_instance(&record);
}

TEST_F(InstanceTrees, AVariablePartWithoutAListIsFatal) {
    EXPECT_EXIT(create_object_instance(2, nullptr, nullptr, nullptr), ::testing::ExitedWithCode(10),
                "Variable sub-object list is a NULL pointer.");
}

TEST_F(InstanceTrees, PlacementFollowsTheParentsAxesAndScaleMovesOnlyPositions) {
    const int32_t types[] = {1};
    const VariableList list{types, 1};
    Pose pose{{1000, 2000, 3000}, {}};
    // The root faces east: its forward axis is world +x, its right axis world -y.
    pose.matrix = {{{0, -ONE, 0}, {ONE, 0, 0}, {0, 0, ONE}}};
    ObjectInstance* root = create_object_instance(4, nullptr, &pose, &list);
    place_sub_instances(root);
    const Pose& part = *root->sub_instances[0]->pose;
    EXPECT_EQ(part.position.x, 1000 + 1024);
    EXPECT_EQ(part.position.y, 2000);
    EXPECT_EQ(part.position.z, 3000);
    // Its part, turned a quarter to the left of it, faces north: forward is world +y.
    EXPECT_NEAR(part.matrix[1][1], ONE, 2);
    EXPECT_EQ(root->pose->position.x, 1000);

    set_instance_scale(root, 0.5, 0.5, 0.5);
    EXPECT_EQ(root->sub_instances[0]->scale_y, 1 << 23);
    place_sub_instances(root);
    EXPECT_EQ(part.position.x, 1000 + 512);
    EXPECT_NEAR(part.matrix[1][1], ONE, 2);

    // An offset that scales to nothing sits on its parent, still turned.
    set_instance_scale(root, 0, 0, 0);
    place_sub_instances(root);
    EXPECT_EQ(part.position.x, 1000);
    EXPECT_NEAR(part.matrix[1][1], ONE, 2);
    free_object_instance(root);
}

}  // namespace
}  // namespace vyr
