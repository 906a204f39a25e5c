#include "library/3dvisual/mobile.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/view.h"
#include "library/debug/fatal.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "tests/library/3dvisual/header_table.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

constexpr int32_t TILE = 1 << 22;
constexpr int SOLID = 1, GHOST = 2, SHADOWED = 3;

std::vector<std::string> hook_calls;
void note_link(ObjectInstance* instance) { hook_calls.push_back("link " + std::to_string(instance->object_type)); }
void note_unlink(ObjectInstance* instance) { hook_calls.push_back("unlink " + std::to_string(instance->object_type)); }

// Movers of the test's own, each a root instance at a world position.
class MobileLists : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        init_trig_tables();
        init_mobile_lists();
        set_mobile_link_hook(note_link);
        set_mobile_unlink_hook(note_unlink);
        hook_calls.clear();
        headers.add(SOLID, 100 * FOOT, 50 * FOOT, OBJECT_SOLID);
        headers.add(GHOST, 100 * FOOT, 50 * FOOT, 0);
        headers.add(SHADOWED, 100 * FOOT, 50 * FOOT, OBJECT_SOLID | OBJECT_CASTS_SHADOW);
    }
    void TearDown() override {
        init_mobile_lists();
        ScratchDirectories::TearDown();
    }

    ObjectInstance* mover(int32_t type, int32_t x, int32_t y, int32_t z, bool linked = true) {
        Pose& pose = poses.emplace_back();
        pose.position = {x, y, z};
        set_identity_matrix(pose.matrix);
        ObjectInstance& instance = instances.emplace_back();
        instance.object_type = type;
        instance.pose = &pose;
        if (linked) link_mobile_object(&instance);
        return &instance;
    }

    static std::vector<const ObjectInstance*> list_of(int tx, int ty) {
        std::vector<const ObjectInstance*> out;
        const ObjectInstance* previous = nullptr;
        for (const ObjectInstance* at = mobile_object_tiles[tx][ty]; at; at = at->next) {
            EXPECT_EQ(at->prev, previous);
            previous = at;
            out.push_back(at);
        }
        return out;
    }

    HeaderTable headers{8};
    std::deque<Pose> poses;
    std::deque<ObjectInstance> instances;
};

using Calls = std::vector<std::string>;

TEST_F(MobileLists, HooksOnlyWhenAMoverChangesTileOrLeavesTheWorld) {
    ObjectInstance* a = mover(SOLID, TILE - 2000, 10, 0);
    ObjectInstance* b = mover(GHOST, TILE - 1000, 10, 0);
    EXPECT_EQ(hook_calls, (Calls{"link 1", "link 2"}));
    EXPECT_EQ(list_of(0, 0), (std::vector<const ObjectInstance*>{b, a})) << "newest first";

    hook_calls.clear();
    move_mobile_object(a, 1000, 0, 500);
    EXPECT_EQ(hook_calls, Calls{}) << "within its tile";
    EXPECT_EQ(a->pose->position.z, 500);
    move_mobile_object(a, 1000, 0, 0);
    EXPECT_EQ(hook_calls, (Calls{"unlink 1", "link 1"}));
    EXPECT_EQ(list_of(0, 0), (std::vector<const ObjectInstance*>{b}));
    EXPECT_EQ(list_of(1, 0), (std::vector<const ObjectInstance*>{a}));

    hook_calls.clear();
    place_mobile_object(a, -5, 10, 0);
    place_mobile_object(a, -TILE - 5, 10, 0);
    EXPECT_EQ(hook_calls, (Calls{"unlink 1"})) << "leaving once, nothing further out";
    EXPECT_TRUE(list_of(1, 0).empty());
    place_mobile_object(a, 63 * TILE, 63 * TILE, 0);
    EXPECT_EQ(hook_calls, (Calls{"unlink 1", "link 1"})) << "filed again on coming back";
    EXPECT_EQ(list_of(63, 63), (std::vector<const ObjectInstance*>{a}));
}

TEST_F(MobileLists, UnlinkingOneNotUnderItsPosition) {
    ObjectInstance* active = mover(SOLID, 10, 10, 0);
    ObjectInstance* inactive = mover(GHOST, 20, 10, 0);
    ObjectInstance* loose = mover(SOLID, 30, 10, 0, false);
    // Moved by their owners without relinking.
    active->pose->position.x += 3 * TILE;
    inactive->pose->position.x += 3 * TILE;
    inactive->flags |= INSTANCE_INACTIVE;
    loose->flags |= INSTANCE_INACTIVE;
    hook_calls.clear();

    unlink_mobile_object(active);
    unlink_mobile_object(loose);
    EXPECT_EQ(hook_calls, Calls{}) << "an active one stays, one in no list is left alone";
    unlink_mobile_object(inactive);
    EXPECT_EQ(hook_calls, (Calls{"unlink 2"}));
    EXPECT_EQ(list_of(0, 0), (std::vector<const ObjectInstance*>{active})) << "taken out of the list it was in";
    unlink_mobile_object(inactive);
    EXPECT_EQ(hook_calls, (Calls{"unlink 2"})) << "only once";

    // The active one crossing back files it once, leaving its old list with a hook.
    hook_calls.clear();
    place_mobile_object(active, 3 * TILE + 10, TILE + 10, 0);
    EXPECT_EQ(hook_calls, (Calls{"unlink 1", "link 1"}));
    EXPECT_TRUE(list_of(0, 0).empty());
    EXPECT_EQ(list_of(3, 1), (std::vector<const ObjectInstance*>{active}));
}

TEST_F(MobileLists, LinkingTwiceOrAfterTheListsWereEmptiedFilesOnce) {
    ObjectInstance* a = mover(SOLID, 10, 10, 0);
    ObjectInstance* b = mover(SOLID, 20, 10, 0);
    link_mobile_object(a);
    EXPECT_EQ(list_of(0, 0), (std::vector<const ObjectInstance*>{a, b}));
    init_mobile_lists();
    // a's links still name b, which is no longer filed anywhere.
    link_mobile_object(a);
    EXPECT_EQ(list_of(0, 0), (std::vector<const ObjectInstance*>{a}));
    EXPECT_EQ(b->prev, a) << "b is not written through a's stale links";
}

TEST_F(MobileLists, PointQueryAnswersTheFirstSolidMoverInRangeNotTheNearest) {
    const Vector3 point = {5000 * FOOT, 5000 * FOOT, 1000 * FOOT};
    mover(SOLID, point.x + 90 * FOOT, point.y, point.z);
    ObjectInstance* near = mover(SOLID, point.x + 10 * FOOT, point.y, point.z);
    ObjectInstance* ghost = mover(GHOST, point.x, point.y, point.z);
    ObjectInstance* far = mover(SOLID, point.x, point.y - 20 * FOOT, point.z + 90 * FOOT);
    EXPECT_EQ(find_mobile_object_at_point(point, nullptr, nullptr), far) << "newest first, within radius";
    EXPECT_EQ(find_mobile_object_at_point(point, far, nullptr), near);
    EXPECT_NE(find_mobile_object_at_point(point, far, near), ghost) << "a mover that is not solid is never hit";
    EXPECT_EQ(find_mobile_object_at_point({-1, point.y, point.z}, nullptr, nullptr), nullptr);
    EXPECT_EQ(find_mobile_object_at_point({point.x, point.y, point.z + 200 * FOOT}, nullptr, nullptr), nullptr);
}

TEST_F(MobileLists, SegmentQueryAnswersTheMoverNearestTheSegment) {
    const Vector3 a = {TILE - 1000 * FOOT, 100 * FOOT, 500 * FOOT};
    const Vector3 b = {TILE + 1000 * FOOT, 100 * FOOT, 500 * FOOT};
    ObjectInstance* off = mover(SOLID, TILE - 500 * FOOT, 150 * FOOT, 500 * FOOT);
    ObjectInstance* close = mover(SOLID, TILE + 500 * FOOT, 120 * FOOT, 500 * FOOT);
    mover(SOLID, b.x + 50 * FOOT, b.y, b.z);  // abeam, beyond the end
    mover(GHOST, TILE, 100 * FOOT, 500 * FOOT);
    EXPECT_EQ(find_mobile_object_on_segment(a, b, nullptr, nullptr), close) << "across the tile edge";
    EXPECT_EQ(find_mobile_object_on_segment(b, a, close, nullptr), off);
    EXPECT_EQ(find_mobile_object_on_segment(a, b, close, off), nullptr);
    // On a tie the first found, the newer in its list, stays.
    ObjectInstance* twin = mover(SOLID, TILE + 500 * FOOT, 80 * FOOT, 500 * FOOT);
    EXPECT_EQ(find_mobile_object_on_segment(a, b, nullptr, nullptr), twin);
    close->pose->position.y = 90 * FOOT;
    EXPECT_EQ(find_mobile_object_on_segment(a, b, nullptr, nullptr), close);
    EXPECT_EQ(find_mobile_object_on_segment(a, {b.x, -1, b.z}, nullptr, nullptr), nullptr);
}

std::vector<ObjectInstance*> run_search(const Vector3& point, int32_t radius) {
    std::vector<ObjectInstance*> found;
    for (ObjectInstance* at = search_mobile_objects(point, radius, 0); at; at = search_mobile_objects({}, 0, 1))
        found.push_back(at);
    return found;
}

TEST_F(MobileLists, RadiusSearchWalksTilesInOrderAndStopsAtTheWorldEdge) {
    const int32_t r = 1000 * FOOT;
    ObjectInstance* east = mover(GHOST, TILE + 100, TILE - 100, 0);
    ObjectInstance* home = mover(SOLID, TILE - 100, TILE - 200, 0);
    ObjectInstance* home_too = mover(SOLID, TILE - 300, TILE - 300, 0);
    mover(SOLID, TILE - 100, TILE - 200, r + 10);  // above the radius
    ObjectInstance* north = mover(SOLID, TILE - 100, TILE + 100, 0);
    mover(SOLID, TILE + 100, TILE + 2 * r, 0);  // in a tile the search reaches, beyond the radius
    EXPECT_EQ(run_search({TILE - 10, TILE - 10, 0}, r), (std::vector<ObjectInstance*>{home_too, home, north, east}));

    // A start outside the world answers nothing and leaves a running search going.
    EXPECT_EQ(search_mobile_objects({TILE + 100, TILE - 100, 0}, 10, 0), east);
    EXPECT_EQ(search_mobile_objects({-1, 10, 0}, r, 0), nullptr);
    EXPECT_EQ(search_mobile_objects({}, 0, 1), nullptr);
    EXPECT_EQ(run_search({63 * TILE + 5, 63 * TILE + 5, 0}, 2 * TILE), std::vector<ObjectInstance*>{});
}

TEST_F(MobileLists, ContinuingAFinishedSearchIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    run_search({10, 10, 0}, 100);
    EXPECT_EXIT(search_mobile_objects({}, 0, 1), ::testing::ExitedWithCode(10),
                "Attempted to continue completed search\\.");
}

TEST_F(MobileLists, BoxesOfATreeStrictForTheTreeInclusiveForOneInstance) {
    ObjectInstance* root = mover(SOLID, 5000 * FOOT, 5000 * FOOT, 0, false);
    build_z_rotation(0x40000000, root->pose->matrix);  // turned a quarter
    ObjectInstance* part = mover(GHOST, 0, 0, 0, false);
    ObjectInstance* slots[2] = {nullptr, part};
    root->sub_instances = slots;
    root->count = 2;
    part->pose->position = {5000 * FOOT, 5000 * FOOT, 40 * FOOT};
    const int32_t half = 512, height = 50 * FOOT;

    const Vector3 face = {5000 * FOOT + half, 5000 * FOOT, 10};
    EXPECT_EQ(test_point_in_instance_box(root, face), 1);
    EXPECT_EQ(find_instance_containing_point(root, face), nullptr);
    EXPECT_EQ(find_instance_containing_point(root, {face.x - 1, face.y, face.z}), root);
    const Vector3 above = {5000 * FOOT, 5000 * FOOT, height + 10};
    EXPECT_EQ(test_point_in_instance_box(root, above), 0);
    EXPECT_EQ(find_instance_containing_point(root, above), part) << "its part's box, depth first";
    EXPECT_EQ(find_instance_containing_point(root, {face.x + 10, face.y, face.z}), nullptr);
}

struct Drawn {
    int type;
    const ObjectInstance* instance;
    int32_t key;
    bool operator==(const Drawn&) const = default;
};
std::vector<Drawn> drawn;
void record_node(BufferNode* node) { drawn.push_back({node->type, static_cast<ObjectInstance*>(node->object), node->key}); }

// An eye looking north over tile (10, 10), a cloud layer from 5000 to 6000 ft, and the buffer's
// mover drawers replaced by a record of what they were given.
class MobileQueue : public MobileLists {
protected:
    void SetUp() override {
        MobileLists::SetUp();
        settings = view_settings;
        settings.flags = VIEW_CLOUDS;
        settings.weather = WEATHER_CLEAR;
        settings.object_near_limit = 0;
        settings.object_visual_range = 20000 * FOOT;
        settings.cloud_base = 5000 * FOOT;
        settings.cloud_top = 6000 * FOOT;
        set_view_settings(&settings);
        saved[0] = buffer_drawers[NODE_MOBILE_OBJECT];
        saved[1] = buffer_drawers[NODE_SHADOW];
        buffer_drawers[NODE_MOBILE_OBJECT] = buffer_drawers[NODE_SHADOW] = record_node;
        drawn.clear();
    }
    void TearDown() override {
        buffer_drawers[NODE_MOBILE_OBJECT] = saved[0];
        buffer_drawers[NODE_SHADOW] = saved[1];
        MobileLists::TearDown();
    }

    // Queues tile (10, 10) from an eye at `z` feet, leaving `spare` nodes of the buffer, and
    // flushes it.
    void queue_from(int32_t z, int spare = MAX_BUFFER_NODES) {
        Pose eye{{X, Y, z * FOOT}, {}};
        set_identity_matrix(eye.matrix);
        set_eye(&eye);
        shadows_active = 1;
        shadow_step_x = 1 << 28;  // a foot east for each foot of height
        shadow_step_y = 0;
        reset_object_buffer();
        for (int i = spare; i < MAX_BUFFER_NODES; ++i) alloc_buffer_node();
        render_tile_x = render_tile_y = 10;
        queue_mobile_objects();
        flush_object_buffer();
    }

    // A mover `ahead` feet north of the eye at `z` feet.
    ObjectInstance* ahead(int type, int32_t ahead, int32_t z) { return mover(type, X, Y + ahead * FOOT, z * FOOT); }

    static Drawn shadow_of(const ObjectInstance* instance, int32_t z) {
        const Vector3& p = instance->pose->position;
        const Vector3& e = eye_pose.position;
        return {NODE_SHADOW, instance, estimate_distance_3d(p.x + p.z - z - e.x, p.y - e.y, z - e.z)};
    }
    static Drawn object(const ObjectInstance* instance) {
        const Vector3& p = instance->pose->position;
        const Vector3& e = eye_pose.position;
        return {NODE_MOBILE_OBJECT, instance, estimate_distance_3d(p.x - e.x, p.y - e.y, p.z - e.z)};
    }

    static constexpr int32_t X = 10 * TILE + TILE / 2, Y = 10 * TILE + 100;
    ViewSettings settings{};
    BufferDrawer saved[2];
};

TEST_F(MobileQueue, BelowTheCloudsMoversUnderTheBaseCastShadowsOnTheGround) {
    ObjectInstance* plane = ahead(SHADOWED, 1500, 500);
    ObjectInstance* truck = ahead(SOLID, 1000, 0);
    ahead(SHADOWED, 1200, 5000);   // in the cloud layer
    ahead(SHADOWED, -100, 500);    // behind the eye
    ahead(SHADOWED, 20000, 500);   // beyond the object range
    queue_from(1000);
    EXPECT_EQ(drawn, (std::vector<Drawn>{shadow_of(plane, 0), object(plane), object(truck)}));

    // Without clouds shown a clear sky hides nothing, even from inside the layer.
    drawn.clear();
    settings.flags = 0;
    set_view_settings(&settings);
    queue_from(5500);
    EXPECT_EQ(drawn.size(), 5u);
}

TEST_F(MobileQueue, AboveTheCloudsShadowsFallOnTheCloudTopWithinRange) {
    ObjectInstance* near = ahead(SHADOWED, 1000, 6500);
    ObjectInstance* far = ahead(SHADOWED, 4000, 6500);
    ahead(SHADOWED, 1000, 1000);  // under the deck
    queue_from(7000);
    EXPECT_EQ(drawn, (std::vector<Drawn>{object(far), shadow_of(near, 6000 * FOOT), object(near)}));

    drawn.clear();
    queue_from(5500);
    EXPECT_TRUE(drawn.empty()) << "inside shown clouds";
}

TEST_F(MobileQueue, AFullBufferDropsAnObjectWhoseShadowFoundNoNodeBelowTheClouds) {
    ObjectInstance* low = ahead(SHADOWED, 1000, 500);
    queue_from(1000, 1);
    EXPECT_TRUE(drawn.empty());
    place_mobile_object(low, X, Y + 1000 * FOOT, 6500 * FOOT);
    queue_from(7000, 1);
    EXPECT_EQ(drawn, (std::vector<Drawn>{object(low)})) << "above them the object is filed first";
}

}  // namespace
}  // namespace vyr
