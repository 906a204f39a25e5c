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
    const int fixed[] = {1, 4, 6, 8, 15, 16, 19, 20, 21, 22};
    const int variable[] = {0, 2, 3, 5, 7, 9, 10, 11, 12, 13, 14, 17, 18, 23};
    for (int i : fixed) EXPECT_NE(get_object_header(player->sub_objects[i].type), nullptr) << i;
    for (int i : variable) EXPECT_EQ(player->sub_objects[i].type, 0) << i;
    auto children = [player](int part) { return get_object_header(player->sub_objects[part].type)->sub_object_count; };
    EXPECT_EQ(children(1), 2);   // nose leg and door
    EXPECT_EQ(children(4), 2);   // muzzle flash and centre station
    EXPECT_EQ(children(15), 2);  // fairing and flaperon
    EXPECT_EQ(children(16), 2);
    EXPECT_EQ(children(19), 4);  // air brake petals
    EXPECT_EQ(children(22), 1);  // rudder
    for (int32_t leg : {1094, 1096}) EXPECT_EQ(get_object_header(leg)->sub_object_count, 1) << leg;
    // The nozzle's ring vertices are the ones its shaping moves.
    EXPECT_EQ(get_object_header(1210)->vertex_count, 91);
}

TEST_F(ObjectSet, FacesNameTexturesThatHoldTheirAcceleratorPicture) {
    ASSERT_GE(texture_count, 2 + 6 * 42 + 1);
    for (int k = 0; k < 43; ++k) {
        ASSERT_NE(texture_table[k], nullptr);
        ASSERT_NE(texture_table[2 + 6 * k], nullptr);
        EXPECT_EQ(std::memcmp(texture_table[k]->texels, texture_table[2 + 6 * k]->texels, 4096), 0) << k;
    }
}

}  // namespace
}  // namespace vyr::vyrgen
