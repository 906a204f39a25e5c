#include "tools/vyrgen/objects/object_set.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "library/3dvisual/objects.h"
#include "library/debug/fatal.h"
#include "tests/support/scratch.h"
#include "tools/vyrgen/objects/shapes.h"

namespace vyr::vyrgen {
namespace {

// The set is loaded once through the game's own loader, which checks every list, index and
// offset of it.
class ObjectSet : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const ScratchDirectory directory;
        for (const DataFile& file : object_files()) write_bytes(directory / file.name, file.bytes);
        const WorkingDirectory inside(directory.path());
        init_debug_text();
        reload_objects("3DDATA\\");
    }
};

TEST_F(ObjectSet, LoadsWithEveryNumberOfTheTable) {
    EXPECT_EQ(object_count, 1238);
    EXPECT_EQ(get_object_header(0), nullptr);
    for (int32_t n = 1; n < 1238; ++n) EXPECT_NE(get_object_header(n), nullptr) << n;
    EXPECT_GT(tallest_object, 100 * 256);
}

TEST_F(ObjectSet, ThePlayersAircraftHasThePartsItsAnimationMoves) {
    const ObjectHeader* player = get_object_header(606);
    ASSERT_NE(player, nullptr);
    ASSERT_EQ(player->sub_object_count, 24);
    const int fixed[] = {1, 2, 4, 6, 8, 15, 16, 19, 20, 21, 22};
    const int variable[] = {0, 3, 5, 7, 9, 10, 11, 12, 13, 14, 17, 18, 23};
    for (int i : fixed) EXPECT_NE(get_object_header(player->sub_objects[i].type), nullptr) << i;
    for (int i : variable) EXPECT_EQ(player->sub_objects[i].type, 0) << i;
    auto children = [player](int part) { return get_object_header(player->sub_objects[part].type)->sub_object_count; };
    EXPECT_EQ(children(1), 2);   // nose leg and door
    EXPECT_EQ(children(2), 1);   // the gun's muzzle carries sensor slot 1
    EXPECT_EQ(children(4), 2);   // muzzle flash and centre station
    EXPECT_EQ(children(15), 2);  // fairing and flaperon
    EXPECT_EQ(children(16), 2);
    EXPECT_EQ(children(19), 4);  // air brake petals
    EXPECT_EQ(children(22), 1);  // rudder
    for (int32_t leg : {1094, 1096}) EXPECT_EQ(get_object_header(leg)->sub_object_count, 1) << leg;
    // The nozzle's ring vertices are the ones its shaping moves.
    EXPECT_EQ(get_object_header(1210)->vertex_count, 91);
}

TEST_F(ObjectSet, TheAssaultShipHasNineDeckSlotsOnItsFlightDeck) {
    const ObjectHeader* ship = get_object_header(130);
    int slots = 0;
    for (int i = 0; i < ship->sub_object_count; ++i) {
        const SubObject& part = ship->sub_objects[i];
        if (part.type != 0) continue;
        ++slots;
        // On the deck, which is the top of the hull's box, within its outline.
        EXPECT_EQ(part.offset.position.z, ship->box_max_z) << i;
        EXPECT_GT(part.offset.position.y, ship->box_min_y) << i;
        EXPECT_LT(part.offset.position.y, ship->box_max_y) << i;
        EXPECT_GT(part.offset.position.x, ship->box_min_x) << i;
        EXPECT_LT(part.offset.position.x, ship->box_max_x) << i;
    }
    EXPECT_GE(slots, 9);
}

TEST_F(ObjectSet, FacesNameTexturesThatHoldTheirAcceleratorPicture) {
    ASSERT_GE(texture_count, 2 + 6 * 42 + 1);
    for (int k = 0; k < 43; ++k) {
        ASSERT_NE(texture_table[k], nullptr);
        ASSERT_NE(texture_table[2 + 6 * k], nullptr);
        EXPECT_EQ(std::memcmp(texture_table[k]->texels, texture_table[2 + 6 * k]->texels, 4096), 0) << k;
    }
}

// Military things carry their side: the airfield's and the defences' structures and the fighting
// vehicles; towns, scenery, aircraft and stores do not.
TEST_F(ObjectSet, MilitaryThingsAreSideDependent) {
    const struct {
        int32_t number;
        bool side_dependent;
    } cases[] = {
        {264, true},  {904, true},   {1186, true}, {270, true},  {328, true},  {46, true},  {38, true},
        {18, true},   {243, true},   {334, true},  {214, true},  {1, true},    {31, true},  {105, true},
        {395, true},  {80, true},    {99, true},   {84, true},   {93, true},   {54, true},  {205, true},
        {74, true},   {77, true},    {151, false}, {350, false}, {156, false}, {13, false}, {125, false},
        {295, false}, {387, false},  {906, false}, {1203, false}, {722, false}, {606, false}, {3, false},
        {9, false},   {1101, false}, {130, false}, {924, false},
    };
    for (const auto& c : cases) {
        const ObjectHeader* header = get_object_header(c.number);
        ASSERT_NE(header, nullptr) << c.number;
        EXPECT_EQ((header->gameplay_flags & OBJECT_SIDE_DEPENDENT) != 0, c.side_dependent) << c.number;
        EXPECT_EQ(header->gameplay_flags & ~(OBJECT_SIDE_DEPENDENT | OBJECT_TARGET_FLAG), 0) << c.number;
    }
}

// Buildings, sites, bridges, vehicles and ships are targets that explode and leave a wreck: lower
// than they stood, neither solid nor a target itself; scenery is none.
TEST_F(ObjectSet, EveryTargetTypeHasAWreckAndAnExplosionRadius) {
    for (int32_t n : {215, 151, 93, 320, 46, 264, 316, 64}) {
        const ObjectHeader* header = get_object_header(n);
        ASSERT_NE(header, nullptr) << n;
        EXPECT_TRUE(header->gameplay_flags & OBJECT_TARGET_FLAG) << n;
    }
    for (int32_t n : {13, 125, 295, 11, 9}) EXPECT_FALSE(get_object_header(n)->gameplay_flags & OBJECT_TARGET_FLAG) << n;
    int targets = 0;
    for (int32_t n = 1; n < object_count; ++n) {
        const ObjectHeader* header = get_object_header(n);
        if (!header || !(header->gameplay_flags & OBJECT_TARGET_FLAG)) continue;
        ++targets;
        EXPECT_GT(header->damage_radius, 0) << n;
        const ObjectHeader* wreck = get_object_header(header->destroyed_type);
        ASSERT_NE(wreck, nullptr) << n;
        EXPECT_LT(wreck->box_max_z, header->box_max_z) << n;
        EXPECT_FALSE(wreck->flags & OBJECT_SOLID) << n;
        EXPECT_EQ(wreck->gameplay_flags, 0) << n;
        EXPECT_EQ(wreck->destroyed_type, -1) << n;
    }
    EXPECT_GT(targets, 100);
}

// Each object with vertices carries one outline polygon: its footprint, convex, clockwise seen
// from above, inside its box and filling the ground plan of a box-shaped building.
TEST_F(ObjectSet, MapOutlinesAreTheFootprintsOfTheObjects) {
    int outlined = 0;
    for (int32_t n = 1; n < object_count; ++n) {
        const ObjectHeader* h = get_object_header(n);
        if (!h->vertices) continue;
        ASSERT_NE(h->map_outline, nullptr) << n;
        auto word = [h](int k) { return int16_t(uint16_t(h->map_outline[2 * k] | h->map_outline[2 * k + 1] << 8)); };
        const int polygons = word(0);
        ASSERT_LE(polygons, 1) << n;
        if (polygons == 0) continue;
        const int points = word(1);
        ASSERT_GE(points, 3) << n;
        ASSERT_LE(points, h->vertex_count) << n;
        for (int k = 0; k < points; ++k) {
            const int32_t x = word(2 + 2 * k) * 16, y = word(3 + 2 * k) * 16;
            EXPECT_TRUE(x >= h->box_min_x && x <= h->box_max_x && y >= h->box_min_y && y <= h->box_max_y)
                << n << " corner " << k;
            // Every turn to the right: convex and clockwise.
            const int64_t ax = word(2 + 2 * ((k + 1) % points)) - word(2 + 2 * k);
            const int64_t ay = word(3 + 2 * ((k + 1) % points)) - word(3 + 2 * k);
            const int64_t bx = word(2 + 2 * ((k + 2) % points)) - word(2 + 2 * ((k + 1) % points));
            const int64_t by = word(3 + 2 * ((k + 2) % points)) - word(3 + 2 * ((k + 1) % points));
            EXPECT_LT(ax * by - ay * bx, 0) << n << " corner " << k;
        }
        ++outlined;
    }
    EXPECT_GT(outlined, 300);
    // A hangar stands on its box: its footprint is the box's ground plan.
    const ObjectHeader* hangar = get_object_header(264);
    const uint8_t* o = hangar->map_outline;
    auto word = [o](int k) { return double(int16_t(uint16_t(o[2 * k] | o[2 * k + 1] << 8))); };
    double twice = 0;
    for (int k = 0, points = int(word(1)); k < points; ++k) {
        const int j = (k + 1) % points;
        twice += word(2 + 2 * j) * word(3 + 2 * k) - word(2 + 2 * k) * word(3 + 2 * j);
    }
    const double box = double(hangar->box_max_x - hangar->box_min_x) * (hangar->box_max_y - hangar->box_min_y) / 256;
    EXPECT_NEAR(twice / 2, box, box / 50);
}

}  // namespace
}  // namespace vyr::vyrgen
