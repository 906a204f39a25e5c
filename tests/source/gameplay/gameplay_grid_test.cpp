#include "source/gameplay/gameplay_grid.h"

#include <gtest/gtest.h>

#include "library/3dvisual/features.h"
#include "library/3dvisual/objects.h"
#include "tests/library/3dvisual/header_table.h"
#include "tests/source/gameplay/gameplay_world.h"

namespace vyr {
namespace {

using GameplayGrid = GameplayWorld;

void set_tile_side(int side, int tx, int ty) { set_cell_side(side, at_feet(tx, 100), at_feet(ty, 100)); }
int distance_at(int tx, int ty) { return get_front_line_distance(at_feet(tx, 100), at_feet(ty, 100)); }

void fill_sides(int side) {
    for (int tx = 0; tx < 64; ++tx)
        for (int ty = 0; ty < 64; ++ty) set_tile_side(side, tx, ty);
}

TEST_F(GameplayGrid, ResetLeavesEveryCellWithoutSideOrObjectAndThePoolFree) {
    add_gameplay_object(GAMEPLAY_TANK, at_feet(3, 10), at_feet(4, 10));
    add_gameplay_object(GAMEPLAY_LASER, at_feet(5, 10), at_feet(6, 10));
    set_tile_side(SIDE_ENEMY, 3, 4);
    ASSERT_EQ(pool_in_use(), 2);

    reset_gameplay_grid();

    EXPECT_EQ(pool_in_use(), 0);
    for (GameplayCell& cell : gameplay_grid) {
        ASSERT_EQ(cell.side, SIDE_NOT_GIVEN);
        for (int type = GAMEPLAY_AAA; type <= GAMEPLAY_TARGET; ++type)
            for (GameplayObject* slot : get_gameplay_slots(cell, type)) ASSERT_EQ(slot, nullptr);
    }
}

TEST_F(GameplayGrid, PositionsOutsideTheWorldAreIgnored) {
    set_cell_side(SIDE_ENEMY, -1, 5);
    set_cell_side(SIDE_ENEMY, 1 << 28, 5);
    add_gameplay_object(GAMEPLAY_TANK, 5, -1);
    EXPECT_EQ(get_cell_side(-1, 5), SIDE_NEUTRAL);
    EXPECT_EQ(get_cell_side(5, 1 << 28), SIDE_NEUTRAL);
    EXPECT_EQ(get_front_line_distance(-1, 0), -1);
    EXPECT_EQ(pool_in_use(), 0);
    remove_nearest_gameplay_object(GAMEPLAY_TANK, -5, 0);
    remove_gameplay_objects(GAMEPLAY_TANK, -5, 0);
}

TEST_F(GameplayGrid, SideKeepsItsThreeBits) {
    set_tile_side(0x0F, 7, 7);
    EXPECT_EQ(get_cell_side(at_feet(7, 0), at_feet(7, 0)), 7);
}

TEST_F(GameplayGrid, OneSideEverywhereHasNoFrontLine) {
    fill_sides(SIDE_ALLIED);
    update_front_line_distances();
    for (uint8_t d : front_line_distance) ASSERT_EQ(d, 255);
}

TEST_F(GameplayGrid, DistancesCountFourNeighbourStepsFromTheSeeds) {
    fill_sides(SIDE_ALLIED);
    set_tile_side(SIDE_ENEMY, 10, 10);  // it and its four neighbours are seeds
    update_front_line_distances();
    struct Case {
        int tx, ty, distance;
    };
    for (const Case c : {Case{10, 10, 0}, {9, 10, 0}, {10, 11, 0}, {11, 11, 1}, {12, 12, 3}, {10, 20, 9},
                         {20, 20, 19}, {0, 0, 19}, {63, 63, 105}, {63, 10, 52}})
        EXPECT_EQ(distance_at(c.tx, c.ty), c.distance) << c.tx << ", " << c.ty;
}

TEST_F(GameplayGrid, TheOuterRingIsNeverASeed) {
    fill_sides(SIDE_ENEMY);
    for (int ty = 0; ty < 64; ++ty) set_tile_side(SIDE_ALLIED, 0, ty);  // the sides meet between columns 0 and 1
    update_front_line_distances();
    EXPECT_EQ(distance_at(1, 5), 0);
    EXPECT_EQ(distance_at(0, 5), 1);
    EXPECT_EQ(distance_at(1, 0), 1);  // on the ring itself: reached from (1, 1)
    EXPECT_EQ(distance_at(0, 0), 2);
    EXPECT_EQ(distance_at(5, 5), 4);

    // Sides that meet only between the ring's own cells give no seed at all.
    fill_sides(SIDE_ENEMY);
    set_tile_side(SIDE_ALLIED, 0, 0);
    update_front_line_distances();
    for (uint8_t d : front_line_distance) ASSERT_EQ(d, 255);
}

TEST_F(GameplayGrid, ObjectsStandOnTheFootBelowTheirPosition) {
    add_gameplay_object(GAMEPLAY_RECON, 1000, 1300);
    const GameplayObject* object = gameplay_grid[0].recon[0];
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->type, GAMEPLAY_RECON);
    EXPECT_EQ(object->x, 768);
    EXPECT_EQ(object->y, 1280);
    EXPECT_EQ(object->defence_target, nullptr);
}

TEST_F(GameplayGrid, FullSlotsAndRaisedGroundAddNothing) {
    const int32_t x = at_feet(20, 500), y = at_feet(30, 500);
    for (int i = 0; i < 3; ++i) add_gameplay_object(GAMEPLAY_AAA, x + i * FOOT, y);
    EXPECT_EQ(pool_in_use(), 2);
    const GameplayCell& cell = gameplay_grid[20 * 64 + 30];
    EXPECT_EQ(cell.aaa[1]->x, x + FOOT);

    // A post 100 ft high at the corner of tile (8, 8): ground above 0 takes no tank.
    terrain_posts[32][32].height = 100;
    add_gameplay_object(GAMEPLAY_TANK, 32 << 20, 32 << 20);
    EXPECT_EQ(gameplay_grid[8 * 64 + 8].tank[0], nullptr);
    EXPECT_EQ(pool_in_use(), 2);
}

TEST_F(GameplayGrid, AFullPoolAddsNothing) {
    for (int i = 0; i < MAX_GAMEPLAY_OBJECTS; ++i) add_gameplay_object(GAMEPLAY_TANK, at_feet(i / 4 / 64, 10), at_feet(i / 4 % 64, 10));
    ASSERT_EQ(pool_in_use(), MAX_GAMEPLAY_OBJECTS);
    add_gameplay_object(GAMEPLAY_SAM, at_feet(40, 10), at_feet(40, 10));
    EXPECT_EQ(gameplay_grid[40 * 64 + 40].sam[0], nullptr);
}

TEST_F(GameplayGrid, NearestRemovalReachesObjectsAfterAGap) {
    const int32_t x = at_feet(12, 1000), y = at_feet(13, 1000);
    add_gameplay_object(GAMEPLAY_TANK, x, y);
    add_gameplay_object(GAMEPLAY_TANK, x + 500 * FOOT, y);
    add_gameplay_object(GAMEPLAY_TANK, x + 900 * FOOT, y);
    GameplayCell& cell = gameplay_grid[12 * 64 + 13];
    GameplayObject* second = cell.tank[1];
    GameplayObject* third = cell.tank[2];

    remove_nearest_gameplay_object(GAMEPLAY_TANK, x - 50 * FOOT, y);
    EXPECT_EQ(cell.tank[0], nullptr);
    EXPECT_EQ(cell.tank[1], second);  // the others keep their slots

    remove_nearest_gameplay_object(GAMEPLAY_TANK, x + 800 * FOOT, y);
    EXPECT_EQ(cell.tank[2], nullptr);
    EXPECT_EQ(third->type, 0);
    EXPECT_EQ(cell.tank[1], second);

    add_gameplay_object(GAMEPLAY_TANK, x, y);  // the first gap is filled first
    EXPECT_NE(cell.tank[0], nullptr);
    EXPECT_EQ(cell.tank[2], nullptr);

    remove_gameplay_objects(GAMEPLAY_TANK, x, y);
    for (GameplayObject* slot : cell.tank) EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(pool_in_use(), 0);
    remove_nearest_gameplay_object(GAMEPLAY_TANK, x, y);  // nothing left: nothing happens
    remove_nearest_gameplay_object(9, x, y);
}

TEST_F(GameplayGrid, NearestRemovalTakesTheFirstOfEquallyNearObjects) {
    const int32_t x = at_feet(2, 1000), y = at_feet(2, 1000);
    add_gameplay_object(GAMEPLAY_APC, x - 100 * FOOT, y);
    add_gameplay_object(GAMEPLAY_APC, x + 100 * FOOT, y);
    GameplayCell& cell = gameplay_grid[2 * 64 + 2];
    remove_nearest_gameplay_object(GAMEPLAY_APC, x, y);
    EXPECT_EQ(cell.apc[0], nullptr);
    EXPECT_NE(cell.apc[1], nullptr);
}

TEST_F(GameplayGrid, SwappingTwiceRestoresEverySide) {
    for (int tx = 0; tx < 64; ++tx)
        for (int ty = 0; ty < 64; ++ty) set_tile_side((tx + ty) % 4, tx, ty);
    swap_cell_sides();
    EXPECT_EQ(gameplay_grid[1].side, SIDE_ENEMY);
    EXPECT_EQ(gameplay_grid[2].side, SIDE_ALLIED);
    EXPECT_EQ(gameplay_grid[0].side, SIDE_NEUTRAL);
    EXPECT_EQ(gameplay_grid[3].side, SIDE_NOT_GIVEN);
    swap_cell_sides();
    for (int tx = 0; tx < 64; ++tx)
        for (int ty = 0; ty < 64; ++ty) ASSERT_EQ(gameplay_grid[tx * 64 + ty].side, (tx + ty) % 4);
}

TEST_F(GameplayGrid, CellSidesGoIntoTheSideDependentStaticObjects) {
    constexpr int BUNKER = 30, HOUSE = 31;
    HeaderTable headers(40);
    headers.add(BUNKER, 10 * FOOT, 10 * FOOT, 0).gameplay_flags = OBJECT_SIDE_DEPENDENT;
    headers.add(HOUSE, 10 * FOOT, 10 * FOOT, 0);
    const uint16_t kept = GROUND_DESTROYED | GROUND_LASED;
    add_static(5 * 64 + 6, {{BUNKER, 10, 10, 0, 0, uint16_t(kept | 2 << GROUND_SIDE_SHIFT)},
                            {HOUSE, 20, 20, 0, 0, 2 << GROUND_SIDE_SHIFT},
                            {77, 30, 30, 0, 0, 0}});  // a number without a header
    add_static(9 * 64 + 9, {{BUNKER, 10, 10, 0, 0, 0}});
    set_tile_side(SIDE_ALLIED, 5, 6);

    apply_cell_sides();

    const ground_object* records = ground_object_records(ground_object_tiles[5 * 64 + 6]);
    EXPECT_EQ(records[0].flags, kept | 1 << GROUND_SIDE_SHIFT);
    EXPECT_EQ(records[1].flags, 2 << GROUND_SIDE_SHIFT);
    EXPECT_EQ(records[2].flags, 0);
    EXPECT_EQ(ground_object_records(ground_object_tiles[9 * 64 + 9])[0].flags, 3 << GROUND_SIDE_SHIFT);
}

// A runway over the whole of tile (4, 5).
class FriendlyRunway : public GameplayWorld {
protected:
    void SetUp() override {
        GameplayWorld::SetUp();
        saved = feature_layer[4][5];
        feature_layer[4][5] = &runway;
    }
    void TearDown() override {
        feature_layer[4][5] = saved;
        GameplayWorld::TearDown();
    }

    static constexpr uint8_t VERTICES[] = {4, 0, 0, 128, 128, 0, 128, 144, 0, 144, 144, 0, 144, 128};
    static constexpr uint8_t POLYGONS[] = {1, 0, FEATURE_MODE_FLAT, FEATURE_RUNWAY, 4, 9, 0, 1, 2, 3};
    const FeatureEntry runway = {VERTICES, POLYGONS, nullptr};
    const FeatureEntry* saved = nullptr;
    const Waypoint* const last = reinterpret_cast<const Waypoint*>(VERTICES);  // only its presence is read
};

TEST_F(FriendlyRunway, IsTheRunwayOfACellOfThePlayersSideOrOfNone) {
    const int32_t x = at_feet(4, 8000), y = at_feet(5, 8000);
    ASSERT_EQ(get_feature_kind(x, y), FEATURE_RUNWAY);
    struct Case {
        int side, friendly;
    };
    for (const Case c : {Case{SIDE_NOT_GIVEN, 1}, {SIDE_ALLIED, 1}, {SIDE_ENEMY, 0}, {SIDE_NEUTRAL, 0}, {5, 0}}) {
        set_tile_side(c.side, 4, 5);
        EXPECT_EQ(is_friendly_runway(x, y, last), c.friendly) << c.side;
    }
    set_tile_side(SIDE_ALLIED, 4, 6);
    EXPECT_EQ(is_friendly_runway(x, at_feet(6, 8000), last), 0);
}

TEST_F(GameplayGrid, BadCallsAreFatal) {
    EXPECT_DEATH(add_gameplay_object(9, 5000, 5000), "Adding Unknown Gameplay Object");
    EXPECT_DEATH(is_friendly_runway(5000, 5000, nullptr), "could not find last waypoint");
}

}  // namespace
}  // namespace vyr
