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


// What the game reads of the recognition viewer's objects: their ranges, collisions and framing
// stand on these, so their models may change only within them.
TEST_F(ObjectSet, TheViewersObjectsKeepTheirSizes) {
    const struct {
        int32_t number, radius, height, min_x, max_x, min_y, max_y, min_z, max_z;
    } sizes[] = {
        {34, 17744, 9520, -16896, 16896, -12800, 12544, 1424, 9520},
        {3, 7744, 3344, -3712, 3712, -6912, 6784, 816, 3344},
        {237, 7744, 3344, -3712, 3712, -6912, 6784, 816, 3344},
        {228, 8240, 3824, -2176, 2176, -7312, 7168, 816, 3824},
        {234, 8560, 3776, -2688, 2688, -7840, 7680, 816, 3776},
        {225, 8560, 3776, -2688, 2688, -7840, 7680, 816, 3776},
        {606, 8592, 1184, -5120, 5120, -6400, 6912, -608, 1184},
        {453, 8560, 3776, -2688, 2688, -7840, 7680, 816, 3776},
        {932, 17744, 9520, -16896, 16896, -12800, 12544, 1424, 9520},
        {1038, 21024, 9520, -16640, 16640, -18928, 18560, 896, 9520},
        {1085, 21024, 9520, -16640, 16640, -18928, 18560, 896, 9520},
        {1145, 21024, 9520, -16640, 16640, -18928, 18560, 896, 9520},
        {1056, 6992, 3120, -1536, 1536, -6272, 6144, 800, 3120},
        {1066, 8240, 3824, -2176, 2176, -7312, 7168, 816, 3824},
        {64, 7856, 3584, -2096, 2096, -7008, 4608, 0, 3584},
        {307, 8240, 3840, -1024, 1024, -7296, 4608, 0, 3840},
        {507, 7856, 3584, -2096, 2096, -7008, 4608, 0, 3584},
        {607, 7856, 3584, -2096, 2096, -7008, 4608, 0, 3584},
        {686, 8240, 3840, -1024, 1024, -7296, 4608, 0, 3840},
        {54, 3200, 2000, -1456, 1456, -2560, 2560, 0, 2000},
        {71, 3760, 1920, -1184, 1184, -3072, 3072, 48, 1920},
        {74, 3760, 1920, -1184, 1184, -3072, 3072, 48, 1920},
        {77, 6624, 6400, -1536, 1536, -2816, 2592, 48, 6400},
        {80, 3824, 3072, -1456, 1456, -2560, 2560, 0, 3072},
        {84, 3200, 3072, -1456, 1456, -2560, 2560, 0, 3072},
        {87, 3200, 3072, -1456, 1456, -2560, 2560, 0, 3072},
        {90, 4960, 1696, -1664, 1664, -3072, 4736, 0, 1696},
        {1076, 4960, 1696, -1664, 1664, -3072, 4736, 0, 1696},
        {96, 3200, 2000, -1456, 1456, -2560, 2560, 0, 2000},
        {99, 3200, 2000, -1456, 1456, -2560, 2560, 0, 2000},
        {201, 3200, 2000, -1232, 1232, -2560, 2560, 48, 2000},
        {203, 3200, 3072, -1456, 1456, -2560, 2560, 0, 3072},
        {204, 4176, 896, -1280, 1280, -3584, 4096, 32, 896},
        {208, 3200, 2000, -1456, 1456, -2560, 2560, 0, 2000},
        {211, 3776, 3072, -1456, 1456, -2560, 3072, 0, 3072},
        {244, 4960, 1696, -1664, 1664, -3072, 4736, 0, 1696},
        {256, 3200, 2000, -1232, 1232, -2560, 2560, 48, 2000},
        {299, 4512, 2304, -1568, 1568, -2816, 4096, 0, 2304},
        {450, 3776, 3072, -1456, 1456, -2560, 3072, 0, 3072},
        {456, 4960, 1696, -1664, 1664, -3072, 4736, 0, 1696},
        {460, 51984, 8192, -3840, 3840, -51200, 51200, 0, 8192},
        {464, 4960, 1696, -1664, 1664, -3072, 4736, 0, 1696},
        {469, 3200, 3072, -1456, 1456, -2560, 2560, 0, 3072},
        {496, 3200, 2000, -1456, 1456, -2560, 2560, 0, 2000},
        {526, 6624, 6400, -1536, 1536, -2816, 2592, 48, 6400},
        {912, 2208, 1536, -928, 928, -1664, 1664, 48, 1536},
        {916, 1856, 1792, -224, 224, -512, 512, 0, 1792},
        {984, 1856, 1792, -224, 224, -512, 512, 0, 1792},
        {924, 2208, 1536, -928, 928, -1664, 1664, 48, 1536},
        {1045, 3760, 1920, -1184, 1184, -3072, 3072, 48, 1920},
        {1050, 4960, 1696, -1664, 1664, -3072, 4736, 0, 1696},
        {130, 106656, 14336, -13568, 13568, -104960, 104960, -6656, 14336},
        {253, 28176, 7680, -3312, 3312, -28160, 28160, -3312, 7680},
        {316, 17184, 9984, -3664, 3664, -16640, 16640, -1664, 9984},
        {320, 57488, 23552, -5888, 5888, -56960, 56960, -3840, 23552},
        {484, 28176, 7680, -3312, 3312, -28160, 28160, -3312, 7680},
        {489, 49248, 23552, -5888, 5888, -48640, 48640, -3840, 23552},
        {514, 17184, 9984, -3664, 3664, -16640, 16640, -1664, 9984},
    };
    for (const auto& o : sizes) {
        const ObjectHeader* h = get_object_header(o.number);
        ASSERT_NE(h, nullptr) << o.number;
        EXPECT_EQ(h->radius, o.radius) << o.number;
        EXPECT_EQ(h->height, o.height) << o.number;
        EXPECT_EQ(h->box_min_x, o.min_x) << o.number;
        EXPECT_EQ(h->box_max_x, o.max_x) << o.number;
        EXPECT_EQ(h->box_min_y, o.min_y) << o.number;
        EXPECT_EQ(h->box_max_y, o.max_y) << o.number;
        EXPECT_EQ(h->box_min_z, o.min_z) << o.number;
        EXPECT_EQ(h->box_max_z, o.max_z) << o.number;
    }
}

}  // namespace
}  // namespace vyr::vyrgen
