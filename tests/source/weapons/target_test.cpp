#include "source/weapons/target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <vector>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/3dvisual/world.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/drone/drone.h"
#include "tests/library/3dvisual/header_table.h"
#include "tests/source/drone/mission_fixture.h"
#include "tests/source/weapons/loose_drone.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {
constexpr int32_t TILE = 1 << 22;
constexpr int32_t CELL = 1 << POST_SHIFT;
constexpr int HOUSE = 1, MOVER = 2;

// Flat ground at 0 under tile (3, 4); solid houses of 40 ft radius and 30 ft height and solid
// movers of 100 ft and 50 ft; drones of the test's own, each with its embedded target.
class Targets : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        init_trig_tables();
        init_mobile_lists();
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        headers.add(HOUSE, 40 * FOOT, 30 * FOOT, OBJECT_SOLID);
        std::strcpy(headers.add(MOVER, 100 * FOOT, 50 * FOOT, OBJECT_SOLID).short_name, "Mover");
        saved_settings = current_world_settings;
        current_world_settings = &settings;
        settings.dynamic_ground_objects = dynamic;
    }
    void TearDown() override {
        for (Target* t : taken) release_target(t);
        init_mobile_lists();
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        terrain_max_height = 0;
        current_world_settings = saved_settings;
        ScratchDirectories::TearDown();
    }

    static Vector3 at_feet(int32_t x, int32_t y, int32_t z) { return {3 * TILE + x * FOOT, 4 * TILE + y * FOOT, z * FOOT}; }

    Target* fixed(const Vector3& p) { return taken.emplace_back(new_fixed_point_target(p)); }

    // Houses at the feet of tile (3, 4), all in its dynamic list.
    void houses(const std::vector<std::pair<int, int>>& feet) {
        list.assign(1 + 6 * feet.size(), 0);
        list[0] = int16_t(feet.size());
        ground_object* records = ground_object_records(list.data());
        for (size_t i = 0; i < feet.size(); ++i) records[i] = {HOUSE, uint16_t(feet[i].first), uint16_t(feet[i].second), 0, 0, 0};
        dynamic[tile_index(3, 4)] = list.data();
    }
    ground_object* house(int i) { return ground_object_records(list.data()) + i; }
    Target* house_target(int i) {
        return taken.emplace_back(new_ground_object_target(house(i), ground_object_position(tile_index(3, 4), *house(i))));
    }

    Drone* drone_at(const Vector3& p, int drone_class = DRONE_CLASS_TANK) {
        return add_loose_drone(drones, p, MOVER, drone_class);
    }

    HeaderTable headers{8};
    WorldSettings settings{};
    WorldSettings* saved_settings = nullptr;
    int16_t* dynamic[4096] = {};
    std::vector<int16_t> list;
    std::deque<Drone> drones;
    std::vector<Target*> taken;
};

TEST_F(Targets, TheFullPoolIsFatalAndAFreedSlotIsFoundFromTheHintOnThenFromTheStart) {
    std::vector<Target*> all;
    while (count_targets() < MAX_TARGETS) all.push_back(new_fixed_point_target({1, 2, 3}));
    EXPECT_FATAL(new_fixed_point_target({1, 2, 3}), "No target slots left");

    const Target* base = *std::min_element(all.begin(), all.end());
    const int hint = int(all.back() - base) + 1;
    Target* at_hint = const_cast<Target*>(base) + hint % MAX_TARGETS;
    Target* before_hint = const_cast<Target*>(base) + (hint + MAX_TARGETS - 1) % MAX_TARGETS;
    release_target(before_hint);
    release_target(at_hint);
    EXPECT_EQ(count_targets(), MAX_TARGETS - 2);
    EXPECT_EQ(at_hint->kind, TARGET_NONE);
    EXPECT_EQ(new_fixed_point_target({4, 5, 6}), at_hint);
    EXPECT_EQ(new_fixed_point_target({4, 5, 6}), before_hint);
    for (Target* t : all) release_target(t);
    EXPECT_EQ(count_targets(), 0);
}

// Releasing twice used to lower the count twice: a full pool then searched in vain and handed
// out nothing instead of ending the program.
TEST_F(Targets, ASecondReleaseKeepsTheCountAndAFullPoolStillEndsTheProgram) {
    Target* t = new_fixed_point_target({1, 2, 3});
    const int count = count_targets();
    release_target(t);
    release_target(t);
    EXPECT_EQ(count_targets(), count - 1);
    std::vector<Target*> all;
    while (count_targets() < MAX_TARGETS) all.push_back(new_fixed_point_target({1, 2, 3}));
    EXPECT_EQ(std::count(all.begin(), all.end(), nullptr), 0);
    EXPECT_FATAL(new_fixed_point_target({1, 2, 3}), "No target slots left");
    for (Target* t : all) release_target(t);
}

TEST_F(Targets, ADronesTargetIsItsOwnAndIsNeverFreed) {
    Drone* d = drone_at(at_feet(100, 100, 100));
    const int count = count_targets();
    Target* t = new_mobile_target(&d->object);
    EXPECT_EQ(t, &d->target);
    release_target(t);
    EXPECT_EQ(count_targets(), count);
    EXPECT_EQ(d->target.kind, TARGET_MOBILE);
    ObjectInstance round{};
    round.owner_kind = OWNER_ROUND;
    EXPECT_FATAL(new_mobile_target(&round), "no AMMs thank you!");
    ObjectInstance unknown{};
    EXPECT_FATAL(new_mobile_target(&unknown), "unknown user type!");
}

TEST_F(Targets, QueriesAnswerByKind) {
    houses({{1000, 1000}});
    house(0)->heading = 0x4000;  // a quarter turn: east
    house(0)->flags = 1u | (2u << 1) | (1u << 11);  // destroyed, enemy, lased
    Target* g = house_target(0);
    Vector3 out;
    get_target_direction(g, out);
    EXPECT_EQ(out.x, 0x7FFFFFFF);
    EXPECT_EQ(out.y, 0);
    EXPECT_EQ(out.z, 0);
    EXPECT_EQ(is_target_destroyed(g), 1);
    EXPECT_EQ(get_target_side(g), 2);
    EXPECT_EQ(is_target_lased(g), 1);
    EXPECT_EQ(get_target_object_number(g), HOUSE);
    EXPECT_EQ(get_target_domain(g), TARGET_DOMAIN_GROUND);
    EXPECT_EQ(get_target_speed(g), 0);

    Drone* tank = drone_at(at_feet(10, 20, 0));
    Drone* helicopter = drone_at(at_feet(10, 20, 500), DRONE_CLASS_HELICOPTER);
    EXPECT_EQ(get_target_domain(&tank->target), TARGET_DOMAIN_GROUND);
    EXPECT_EQ(get_target_domain(&helicopter->target), TARGET_DOMAIN_AIR);
    ASSERT_EQ(get_target_position(&helicopter->target, out), 1);
    EXPECT_EQ(out.z, 500 * FOOT);
    get_target_direction(&tank->target, out);
    EXPECT_EQ(out.y, tank->pose.matrix[1][1]);
    EXPECT_STREQ(get_target_name(&tank->target, 0), "Mover");
    tank->object.flags = INSTANCE_INACTIVE | (1 << INSTANCE_SIDE_SHIFT);
    EXPECT_EQ(is_target_destroyed(&tank->target), 1);
    EXPECT_EQ(get_target_side(&tank->target), 1);

    // A fixed point keeps the domain it was first found in.
    Target* point = fixed(at_feet(500, 500, 0));
    point->position.z = get_ground_height(point->position.x, point->position.y) + 1;
    EXPECT_EQ(get_target_domain(point), TARGET_DOMAIN_AIR);
    point->position.z -= 1;
    EXPECT_EQ(get_target_domain(point), TARGET_DOMAIN_AIR);
    get_target_direction(point, out);
    EXPECT_EQ(out.y, 1);
    EXPECT_STREQ(get_target_name(point, 1), "Fixed point target");

    Target none{};
    EXPECT_EQ(is_target_destroyed(&none), 1);
    EXPECT_STREQ(get_target_name(&none, 0), "No Target");
    EXPECT_FATAL(get_target_position(&none, out), "target of unknown type");
    none.kind = 7;
    EXPECT_FATAL(get_target_speed(&none), "illegal \\(7\\) type");

    EXPECT_TRUE(targets_equal(fixed(at_feet(1, 2, 3)), fixed(at_feet(1, 2, 3))));
    EXPECT_FALSE(targets_equal(fixed(at_feet(1, 2, 3)), fixed(at_feet(1, 2, 4))));
    EXPECT_TRUE(are_targets_within_cells(fixed({0, 0, 0}), fixed({TILE, 2 * TILE, 0}), 2 * TILE));
    EXPECT_FALSE(are_targets_within_cells(fixed({0, 0, 0}), fixed({TILE, 2 * TILE, 0}), TILE + TILE / 2));
    EXPECT_TRUE(are_targets_within_cells(fixed({0, 0, 0}), fixed({TILE, 2 * TILE, 0}), TILE + TILE / 2 + 1));
}

// Line 1000 ft north: F at 0, a house at 1000, drones A at 2000 and B at 3000, a point P at 1500.
// Line 3000 ft north: F2 at 0, drone C at 980 just short of a house at 1000. All 20 ft up.
TEST_F(Targets, LineOfSightTakesTheGroundThenTheNearestMoverOrGroundObject) {
    houses({{1000, 1000}, {1000, 3000}});
    Drone* a = drone_at(at_feet(2000, 1000, 20));
    Drone* b = drone_at(at_feet(3000, 1000, 20));
    Drone* c = drone_at(at_feet(980, 3000, 20));
    Target* f = fixed(at_feet(0, 1000, 20));
    Target* f2 = fixed(at_feet(0, 3000, 20));
    Target* g = house_target(0);
    Target* p = fixed(at_feet(1500, 1000, 20));
    const struct {
        const char* what;
        const Target *from, *to;
        int seen;
    } cases[] = {
        {"only the house, and it is the target", f, g, 1},
        {"only a house that is not the target", f, p, 0},
        {"the target mover beyond a house", f, &a->target, 0},
        {"the shooter itself is passed over", &a->target, &b->target, 1},
        {"another mover on the line", &b->target, f, 0},
        {"the target mover nearer than the house", f2, &c->target, 1},
    };
    for (const auto& k : cases) EXPECT_EQ(has_line_of_sight(k.from, k.to), k.seen) << k.what;

    // A 1000 ft hill two cells along a line 500 ft up hides its far end; 1500 ft up clears it.
    terrain_posts[2][10].height = 1000;
    terrain_max_height = 1000 * FOOT;
    Target* low = fixed({0, 10 * CELL, 500 * FOOT});
    Target* low_end = fixed({16 * CELL, 10 * CELL, 500 * FOOT});
    Target* high = fixed({0, 10 * CELL, 1500 * FOOT});
    Target* high_end = fixed({16 * CELL, 10 * CELL, 1500 * FOOT});
    EXPECT_EQ(has_line_of_sight(low, low_end), 0);
    EXPECT_EQ(has_line_of_sight(high, high_end), 1);
}

}  // namespace
}  // namespace vyr
