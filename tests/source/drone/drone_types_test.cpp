#include "source/drone/drone_types.h"

#include <gtest/gtest.h>

#include "library/debug/fatal.h"
#include "library/maths/trig.h"
#include "library/os/file.h"
#include "source/drone/drone.h"
#include "source/mission/game_flow.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

class DroneTypes : public testing::Test {
protected:
    void SetUp() override { init_drone_types(); }
    void TearDown() override { init_drone_types(); }
};

TEST_F(DroneTypes, RowZeroHoldsTheDefaultsAndAnythingOutsideTheTableReadsIt) {
    for (int n : {0, -1, 1239, 100000}) {
        EXPECT_EQ(get_drone_type_class(n), DRONE_CLASS_NONE) << n;
        EXPECT_EQ(get_drone_type_flight_profile(n), FLIGHT_PROFILE_SURFACE) << n;
        EXPECT_EQ(get_drone_type_ship_kind(n), SHIP_KIND_NONE) << n;
        EXPECT_EQ(get_drone_type_combat_profile(n), -1) << n;
        EXPECT_EQ(get_drone_type_current_weapon(n), 0) << n;
    }
    EXPECT_EQ(get_drone_type_class(1), DRONE_CLASS_NONE);
    EXPECT_EQ(get_drone_type_combat_profile(1), 0);
    EXPECT_EQ(get_drone_type_defined(1), 0);
}

TEST_F(DroneTypes, TheClassesAndProfilesAreThoseOfTheList) {
    struct Row {
        int object, drone_class, profile, ship_kind;
    };
    const Row rows[] = {
        {64, 1, 4, 6},   {990, 1, 4, 6},  {34, 2, 0, 6},   {932, 2, 0, 6},  {1145, 2, 0, 6}, {1085, 2, 1, 6},
        {1066, 2, 2, 6}, {606, 2, 3, 6},  {1232, 2, 3, 6}, {1076, 3, 5, 6}, {80, 4, 5, 6},   {96, 4, 5, 6},
        {426, 4, 5, 6},  {924, 4, 5, 6},  {206, 5, 5, 6},  {1045, 5, 5, 6}, {995, 6, 5, 6},  {574, 7, 5, 0},
        {130, 7, 5, 1},  {571, 7, 5, 2},  {489, 7, 5, 3},  {419, 7, 5, 4},  {1016, 7, 5, 4}, {514, 7, 5, 5},
        {562, 8, 5, 6},  {920, 9, 5, 6},  {1013, 9, 5, 6},
    };
    int defined = 0;
    for (int n = 0; n < DRONE_TYPE_ROWS; ++n) defined += get_drone_type_defined(n);
    EXPECT_EQ(defined, 114);
    for (const Row& r : rows) {
        EXPECT_EQ(get_drone_type_defined(r.object), DRONE_TYPE_DEFINED) << r.object;
        EXPECT_EQ(get_drone_type_class(r.object), r.drone_class) << r.object;
        EXPECT_EQ(get_drone_type_flight_profile(r.object), r.profile) << r.object;
        EXPECT_EQ(get_drone_type_ship_kind(r.object), r.ship_kind) << r.object;
    }
    const int profiles[][2] = {{225, 0}, {231, 1}, {453, 2}, {1056, 3}, {228, 4}, {234, 5}, {1066, 6}, {606, 0}};
    for (const auto& p : profiles) EXPECT_EQ(get_drone_type_combat_profile(p[0]), p[1]) << p[0];
}

TEST_F(DroneTypes, TheLoadoutsAreThoseOfTheList) {
    struct Row {
        int object;
        int weapons[5], rounds[5], slot;
    };
    const Row rows[] = {
        {3, {10, 58}, {UNLIMITED_ROUNDS, 4}, 0},
        {54, {0, 61, 53}, {0, 5, 500}, 1},
        {87, {0, 0, 70}, {0, 0, UNLIMITED_ROUNDS}, 2},
        {208, {0, 0, 53, 81}, {0, 0, UNLIMITED_ROUNDS, 5}, 2},
        {234, {60, 58, 74, 73}, {250, 2, 4, 4}, 1},
        {917, {43, 43, 43, 43}, {6, 6, 6, 6}, 2},
        {984, {0, 2}, {0, 0}, 2},
        {1232, {21, 31, 28, 24, 39}, {512, 4, 6, 4, 2}, 0},
        {1013, {}, {}, 2},
    };
    for (const Row& r : rows) {
        for (int s = 0; s < DRONE_TYPE_SLOTS; ++s) {
            EXPECT_EQ(get_drone_type_weapon(r.object, s), r.weapons[s]) << r.object << " slot " << s;
            EXPECT_EQ(get_drone_type_rounds(r.object, s), r.rounds[s]) << r.object << " slot " << s;
        }
        EXPECT_EQ(get_drone_type_current_slot(r.object), r.slot) << r.object;
    }
    EXPECT_EQ(get_drone_type_current_weapon(234), 58);
}

TEST_F(DroneTypes, OnlyTheEnemyGetsTheSideVariant) {
    // The war zone of a test run is none, so the type's bit decides for the enemy.
    EXPECT_EQ(get_drone_type_side_flag(93, SIDE_ENEMY), 1);
    EXPECT_EQ(get_drone_type_side_flag(93, SIDE_ALLIED), 0);
    EXPECT_EQ(get_drone_type_side_flag(93, SIDE_NEUTRAL), 0);
    EXPECT_EQ(get_drone_type_side_flag(225, SIDE_ENEMY), 0);
    EXPECT_EQ(get_drone_type_side_flag(80, SIDE_ENEMY), 0);  // copied before its source's bit was set
}

// The second theatre's enemies have no faces of their own. Its world is loaded in a child
// process, so that no other test runs in that theatre.
TEST_F(DroneTypes, WarZoneTwoShowsNoSideVariant) {
    ScratchDirectory home;  // for the maths tables the world writes
    EXPECT_EXIT(
        {
            init_debug_text();
            WorkingDirectory work(home.path());
            setenv("VYR_HOME", home.path().c_str(), 1);
            setenv("VYR_DATA", GENERATED_DATA.c_str(), 1);
            find_read_only_path("vyr.rop");
            init_trig_tables();
            set_war_zone(1);
            const bool zone_one = get_drone_type_side_flag(93, SIDE_ENEMY) == 1;
            set_war_zone(2);
            const bool zone_two = get_drone_type_side_flag(93, SIDE_ENEMY) == 0;
            std::_Exit(zone_one && zone_two ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(DroneTypes, FlowEightInAndOutLeavesTheCopiedRowsWithTheirSideVariant) {
    set_flow8_drone_types();
    EXPECT_EQ(get_drone_type_side_flag(80, SIDE_ENEMY), 1);
    EXPECT_EQ(get_drone_type_side_flag(253, SIDE_ENEMY), 1);
    EXPECT_EQ(get_drone_type_ship_kind(416), 2);
    EXPECT_EQ(get_drone_type_ship_kind(419), 2);
    EXPECT_EQ(get_drone_type_ship_kind(514), 3);
    EXPECT_EQ(get_drone_type_weapon(3, 0), 60);
    EXPECT_EQ(get_drone_type_rounds(74, 1), 12);
    EXPECT_EQ(get_drone_type_weapon(234, 3), 0);
    EXPECT_EQ(get_drone_type_current_slot(228), 0);
    EXPECT_EQ(get_drone_type_rounds(1056, 1), 32);

    reset_drone_types();
    EXPECT_EQ(get_drone_type_side_flag(80, SIDE_ENEMY), 1);
    EXPECT_EQ(get_drone_type_side_flag(932, SIDE_ENEMY), 1);
    EXPECT_EQ(get_drone_type_ship_kind(416), 4);
    EXPECT_EQ(get_drone_type_ship_kind(419), 4);
    EXPECT_EQ(get_drone_type_weapon(3, 0), 10);
    EXPECT_EQ(get_drone_type_rounds(74, 1), 24);
    EXPECT_EQ(get_drone_type_current_slot(228), 1);
}

}  // namespace
}  // namespace vyr
