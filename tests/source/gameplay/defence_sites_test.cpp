#include "source/gameplay/defence_sites.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/world.h"
#include "library/maths/trig.h"
#include "source/mission/game_flow.h"
#include "source/weapons/target.h"
#include "tests/library/3dvisual/header_table.h"
#include "tests/source/gameplay/gameplay_world.h"

namespace vyr {

bool operator==(const ground_object& a, const ground_object& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

namespace {

using DynamicGroundObjects = GameplayWorld;

constexpr int TANK = 10, TOWER = 11, HUT = 12, UNKNOWN = 35, TREE = 13, HOUSE = 14;

std::vector<ground_object> list_of(int tile) {
    int16_t* list = dynamic_ground_object_tiles[tile];
    return {ground_object_records(list), ground_object_records(list) + ground_object_count(list)};
}

TEST_F(DynamicGroundObjects, ListsKeepTallestFirstAndPlacingOrderAmongEquals) {
    HeaderTable headers(40);
    headers.add(TANK, 10 * FOOT, 10 * FOOT, 0);
    headers.add(TOWER, 10 * FOOT, 50 * FOOT, 0);
    headers.add(HUT, 10 * FOOT, 5 * FOOT, 0);
    const int tile = 3 * 64 + 4;
    for (int32_t feet : {100, 200, 300}) add_dynamic_ground_object(at_feet(3, feet), at_feet(4, 50), TANK, 0, SIDE_ALLIED);
    add_dynamic_ground_object(at_feet(3, 400), at_feet(4, 50), UNKNOWN, 0, SIDE_ALLIED);  // no header: height 0
    add_dynamic_ground_object(at_feet(3, 500), at_feet(4, 50), HUT, 0, SIDE_ALLIED);
    add_dynamic_ground_object(at_feet(3, 600), at_feet(4, 50), TOWER, 0, SIDE_ALLIED);

    std::vector<std::pair<int, int>> order;
    for (const ground_object& r : list_of(tile)) order.emplace_back(r.type, r.x);
    EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{TOWER, 600}, {TANK, 100}, {TANK, 200}, {TANK, 300}, {HUT, 500}, {UNKNOWN, 400}}));
    EXPECT_EQ(dynamic_list_capacity[tile], DYNAMIC_LIST_FIRST_CAPACITY);
    EXPECT_EQ(world_settings.dynamic_ground_objects, dynamic_ground_object_tiles);
}

TEST_F(DynamicGroundObjects, RecordsHoldTheirFeetHeadingAndSide) {
    struct Case {
        int32_t heading;
        int side;
        uint16_t stored_heading, flags;
    };
    for (const Case c : {Case{0x40000000, SIDE_ALLIED, 0x4000, 2}, {int32_t(0x80000000), SIDE_ENEMY, 0x8000, 4},
                         {0x1234ffff, 7, 0x1234, 6}}) {
        const ground_object* r = add_dynamic_ground_object(at_feet(7, 16383), at_feet(8, 1), 99, c.heading, c.side);
        EXPECT_EQ(*r, (ground_object{100, 16383, 1, c.stored_heading, 0, c.flags})) << c.side;
    }
}

TEST_F(DynamicGroundObjects, AFullListGrowsByHalfKeepingItsRecords) {
    const int tile = 9 * 64 + 9;
    for (int i = 0; i < 32; ++i) add_dynamic_ground_object(at_feet(9, i), at_feet(9, 2 * i), HUT, i << 16, SIDE_ENEMY);
    const std::vector<ground_object> before = list_of(tile);
    add_dynamic_ground_object(at_feet(9, 1000), at_feet(9, 1000), HUT, 0, SIDE_ENEMY);
    EXPECT_EQ(dynamic_list_capacity[tile], 48);
    std::vector<ground_object> after = list_of(tile);
    ASSERT_EQ(after.size(), 33u);
    EXPECT_EQ(std::vector<ground_object>(after.begin(), after.begin() + 32), before);
    EXPECT_EQ(after[32].x, 1000);
    for (int i = 33; i < 49; ++i) add_dynamic_ground_object(at_feet(9, i), at_feet(9, 3000), HUT, 0, SIDE_ENEMY);
    EXPECT_EQ(dynamic_list_capacity[tile], 72);
    EXPECT_EQ(list_of(tile).size(), 49u);

    clear_dynamic_ground_objects();
    EXPECT_EQ(dynamic_ground_object_tiles[tile], nullptr);
    EXPECT_EQ(dynamic_list_capacity[tile], 0);
}

TEST_F(DynamicGroundObjects, ExactFindNeedsTheSameFoot) {
    const ground_object* r = add_dynamic_ground_object(at_feet(2, 40), at_feet(2, 60), HUT, 0, SIDE_ALLIED);
    EXPECT_EQ(find_dynamic_ground_object_at({at_feet(2, 40) + 255, at_feet(2, 60), 9999}), r);
    EXPECT_EQ(find_dynamic_ground_object_at({at_feet(2, 41), at_feet(2, 60), 0}), nullptr);
    EXPECT_EQ(find_dynamic_ground_object_at({at_feet(5, 40), at_feet(2, 60), 0}), nullptr);
    EXPECT_EQ(find_dynamic_ground_object_at({-1, 0, 0}), nullptr);
}

TEST_F(DynamicGroundObjects, NearestIgnoresTreesAndLooksNoFurtherThan100Feet) {
    const int tile = 6 * 64 + 6;
    add_static(tile, {{TREE, 1010, 1000, 0, 0, 0}, {HOUSE, 1050, 1000, 0, 0, 0}, {HOUSE, 1000, 1120, 0, 0, 0}});
    const int32_t x = at_feet(6, 1000), y = at_feet(6, 1000);
    const ground_object* house = &ground_object_records(ground_object_tiles[tile])[1];
    EXPECT_EQ(find_nearest_ground_object(x, y), house);
    EXPECT_EQ(find_nearest_ground_object(x, y + 300 * FOOT), nullptr);
    // As near as the house, a dynamic record wins; a record of type 0 is not passed over.
    const ground_object* site = add_dynamic_ground_object(x - 50 * FOOT, y, 0, 0, SIDE_ALLIED);
    EXPECT_EQ(find_nearest_ground_object(x, y), site);
    EXPECT_EQ(find_nearest_ground_object(-5, y), nullptr);
}

TEST_F(DynamicGroundObjects, OfTypeSearchesTheNeighbourTilesForIntactRecords) {
    // Near the north-east corner of tile (10, 10): a tank 30 ft into the diagonal neighbour.
    add_static(11 * 64 + 11, {{TANK, 20, 20, 0, 0, 0}});
    add_static(10 * 64 + 10, {{TANK, 16383 - 10, 16383 - 10, 0, 0, GROUND_DESTROYED}, {HUT, 16383, 16383, 0, 0, 0}});
    const int32_t x = at_feet(10, 16383), y = at_feet(10, 16383);
    int32_t distance = -1;
    EXPECT_EQ(find_ground_object_of_type(x, y, TANK, distance), ground_object_records(ground_object_tiles[11 * 64 + 11]));
    EXPECT_EQ(distance, 29);  // (21, 21) feet away
    const ground_object* near = add_dynamic_ground_object(x - 5 * FOOT, y, TANK, 0, SIDE_ENEMY);
    EXPECT_EQ(find_ground_object_of_type(x, y, TANK, distance), near);
    EXPECT_EQ(distance, 5);

    distance = -1;
    EXPECT_EQ(find_ground_object_of_type(at_feet(20, 0), at_feet(20, 0), TANK, distance), nullptr);
    EXPECT_EQ(distance, -1);
    EXPECT_EQ(find_ground_object_of_type(0, 0, HUT, distance), nullptr);  // tiles clipped at the edge
}

TEST_F(DynamicGroundObjects, LaserPointsFlagTheirNearestUnflaggedRecords) {
    const int tile = 4 * 64 + 4;
    add_static(tile, {{HOUSE, 100, 100, 0, 0, 0}, {HOUSE, 5000, 5000, 0, 0, GROUND_LASED}});
    add_static(5 * 64 + 5, {{HOUSE, 100, 100, 0, 0, GROUND_LASED}});
    add_dynamic_ground_object(at_feet(4, 120), at_feet(4, 100), TANK, 0, SIDE_ENEMY);
    add_static(63 * 64 + 4, {{HOUSE, 10, 10, 0, 0, 0}});
    add_gameplay_object(GAMEPLAY_LASER, at_feet(4, 105), at_feet(4, 100));
    add_gameplay_object(GAMEPLAY_LASER, at_feet(4, 104), at_feet(4, 100));
    add_gameplay_object(GAMEPLAY_LASER, at_feet(63, 10), at_feet(4, 10));  // the last column is left out
    add_gameplay_object(GAMEPLAY_LASER, at_feet(7, 10), at_feet(7, 10));    // a tile without records

    flag_lased_ground_objects();

    const ground_object* statics = ground_object_records(ground_object_tiles[tile]);
    EXPECT_TRUE(statics[0].flags & GROUND_LASED);      // the first point's nearest
    EXPECT_TRUE(list_of(tile)[0].flags & GROUND_LASED);  // the second's, the nearer one being taken
    EXPECT_FALSE(statics[1].flags & GROUND_LASED);
    EXPECT_FALSE(ground_object_records(ground_object_tiles[5 * 64 + 5])[0].flags & GROUND_LASED);
    EXPECT_FALSE(ground_object_records(ground_object_tiles[63 * 64 + 4])[0].flags & GROUND_LASED);
}

TEST_F(DynamicGroundObjects, BadPlacesAreFatal) {
    EXPECT_DEATH(add_dynamic_ground_object(1 << 28, 0, HUT, 0, SIDE_ALLIED), "Cannot play dynamic ground object outside map");
    add_gameplay_object(GAMEPLAY_SAM, at_feet(3, 10), at_feet(3, 10));  // never placed
    EXPECT_DEATH(link_defence_targets(), "Couldn't find dynamic ground object's ground_object instance");
}

// The sites of a theatre of the generated data set, whose war zone the table reads.
class DefenceSites : public GameplayWorld {
protected:
    void open_war_zone(int zone) {
        setenv("VYR_DATA", GENERATED_DATA.c_str(), 1);
        find_read_only_path("vyr.rop");
        init_trig_tables();
        set_war_zone(zone);
        adopt_loaded_static_lists();
        reset_gameplay_grid();
    }

    static void set_tile_side(int side, int tx, int ty) { set_cell_side(side, at_feet(tx, 0), at_feet(ty, 0)); }
    static const GameplayCell& cell(int tx, int ty) { return gameplay_grid[tx * 64 + ty]; }
    static const ground_object* record_of(const GameplayObject* object) {
        return find_dynamic_ground_object_at({object->x, object->y, 0});
    }
};

TEST_F(DefenceSites, VehiclesBySideAndWarZone) {
    if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    struct Case {
        int zone, side, aaa, sam, tank, apc;
    };
    for (const Case c : {Case{1, SIDE_ENEMY, 99, 84, 90, 54}, {1, SIDE_ALLIED, 211, 80, 244, 208},
                         {1, SIDE_NOT_GIVEN, 211, 80, 244, 208}, {3, SIDE_ENEMY, 450, 469, 456, 208},
                         {3, SIDE_ALLIED, 211, 469, 456, 208}}) {
        open_war_zone(c.zone);
        EXPECT_EQ(aaa_site_object(c.side), c.aaa) << c.zone << " " << c.side;
        EXPECT_EQ(sam_site_object(c.side), c.sam) << c.zone << " " << c.side;
        EXPECT_EQ(tank_site_object(c.side), c.tank) << c.zone << " " << c.side;
        EXPECT_EQ(apc_site_object(c.side), c.apc) << c.zone << " " << c.side;
    }
}

TEST_F(DefenceSites, SitesBecomeGroundObjectsWithTargets) {
    if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    open_war_zone(1);
    set_tile_side(SIDE_ENEMY, 20, 20);
    set_tile_side(SIDE_ALLIED, 21, 20);
    add_gameplay_object(GAMEPLAY_AAA, at_feet(20, 100), at_feet(20, 100));
    add_gameplay_object(GAMEPLAY_AAA, at_feet(20, 100), at_feet(20, 100));  // on the same foot
    add_gameplay_object(GAMEPLAY_TANK, at_feet(20, 300), at_feet(20, 100));
    add_gameplay_object(GAMEPLAY_AAA, at_feet(21, 100), at_feet(20, 100));
    add_gameplay_object(GAMEPLAY_RECON, at_feet(21, 200), at_feet(20, 100));
    add_gameplay_object(GAMEPLAY_SAM, at_feet(63, 100), at_feet(20, 100));
    add_gameplay_object(GAMEPLAY_APC, at_feet(5, 100), at_feet(63, 100));

    place_defence_objects();

    const GameplayCell& enemy = cell(20, 20);
    const ground_object* shilka = record_of(enemy.aaa[0]);
    ASSERT_NE(shilka, nullptr);
    EXPECT_EQ(shilka->type, 100);
    EXPECT_EQ(shilka->heading, 0x8000);
    EXPECT_EQ(shilka->flags & GROUND_SIDE_MASK, SIDE_ENEMY << GROUND_SIDE_SHIFT);
    EXPECT_EQ(record_of(enemy.tank[0])->type, 90);
    EXPECT_EQ(list_of(20 * 64 + 20).size(), 3u);
    for (const GameplayObject* site : enemy.aaa) {
        ASSERT_NE(site->defence_target, nullptr);
        EXPECT_EQ(site->defence_target->kind, TARGET_GROUND_OBJECT);
        EXPECT_EQ(site->defence_target->object, shilka);
        EXPECT_EQ(site->defence_target->position.x, at_feet(20, 100));
    }
    EXPECT_EQ(enemy.tank[0]->defence_target, nullptr);

    const ground_object* vulcan = record_of(cell(21, 20).aaa[0]);
    ASSERT_NE(vulcan, nullptr);
    EXPECT_EQ(vulcan->type, 211);
    EXPECT_EQ(vulcan->heading, 0);
    EXPECT_EQ(list_of(21 * 64 + 20).size(), 1u);  // the recon point is no site

    EXPECT_EQ(dynamic_ground_object_tiles[63 * 64 + 20], nullptr);
    EXPECT_EQ(cell(63, 20).sam[0]->defence_target, nullptr);
    EXPECT_EQ(dynamic_ground_object_tiles[5 * 64 + 63], nullptr);

    // Placed again, every site holds one target of the new table.
    place_defence_objects();
    EXPECT_EQ(enemy.aaa[0]->defence_target->object, record_of(enemy.aaa[0]));
}

TEST_F(DefenceSites, EnemySitesFaceSouthInCyprusToo) {
    if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    open_war_zone(3);
    set_tile_side(SIDE_ENEMY, 30, 30);
    add_gameplay_object(GAMEPLAY_SAM, at_feet(30, 10), at_feet(30, 10));
    add_gameplay_object(GAMEPLAY_SAM, at_feet(31, 10), at_feet(30, 10));
    place_defence_objects();
    const ground_object* enemy = record_of(cell(30, 30).sam[0]);
    const ground_object* other = record_of(cell(31, 30).sam[0]);
    ASSERT_TRUE(enemy && other);
    EXPECT_EQ(enemy->type, 469);
    EXPECT_EQ(enemy->heading, 0x8000);
    EXPECT_EQ(other->type, 469);
    EXPECT_EQ(other->heading, 0);
    EXPECT_EQ(other->flags & GROUND_SIDE_MASK, SIDE_NOT_GIVEN << GROUND_SIDE_SHIFT);
}

}  // namespace
}  // namespace vyr
