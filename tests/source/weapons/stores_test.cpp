#include "source/weapons/stores.h"

#include <gtest/gtest.h>

#include "source/skill.h"
#include "tests/source/weapons/stores_world.h"

namespace vyr {
namespace {

using Stores = StoresWorld;

constexpr int PYLON_SINGLE = 1, PYLON_TRIPLE = 5, PYLON_SIX = 6;
constexpr int AIM_9M = WEAPON_AIM_9M, MK82 = WEAPON_MK_82;

TEST_F(Stores, FittingTakesTheMirrorAndAPlaceHoldsAPylonOrASensor) {
    const struct {
        const char* what;
        void (*fit)();
        int hardpoint_emptied[2];
        int slot_emptied[2];
    } cases[] = {
        {"a three-station pylon on 1 is also on 2 and empties slots 5 and 6",
         [] { carry(1, PYLON_TRIPLE, MK82, 3); }, {-1, -1}, {5, 6}},
        {"a centre tank empties hardpoint 0", [] { fit_sensor(0, SENSOR_TYPE_CENTRE_TANK); }, {0, -1}, {-1, -1}},
        {"even no sensor in slot 3 empties hardpoints 3 and 4", [] { fit_sensor(3, SENSOR_TYPE_NONE); }, {3, 4},
         {-1, -1}},
    };
    for (const auto& c : cases) {
        for (int h = 0; h < STORES_HARDPOINTS; ++h) carry(h, PYLON_SINGLE, MK82, 1);
        for (int s = 0; s < STORES_SENSOR_SLOTS; ++s) sensor_slots[s].sensor_type = SENSOR_TYPE_ECM_POD;
        c.fit();
        for (int h : c.hardpoint_emptied) {
            if (h < 0) continue;
            EXPECT_EQ(hardpoints[h].stations, nullptr) << c.what;
            EXPECT_EQ(hardpoints[h].weapon_id, 0) << c.what;
            EXPECT_EQ(hardpoints[h].pylon_type, PYLON_NONE) << c.what;
        }
        for (int s : c.slot_emptied) {
            if (s < 0) continue;
            EXPECT_EQ(sensor_slots[s].sensor_type, SENSOR_TYPE_NONE) << c.what;
        }
    }
    EXPECT_EQ(sensor_slots[0].sensor_type, SENSOR_TYPE_ECM_POD) << "slot 0 is its own mirror: untouched by slot 3";
    cases[0].fit();
    EXPECT_EQ(hardpoints[1].station_count, 3);
    EXPECT_EQ(hardpoints[2].station_count, 3);
    EXPECT_EQ(hardpoints[2].stations[2].weapon_id, MK82);
}

TEST_F(Stores, ReleaseQuantitiesAreHeldForBombsAndOneForEverythingElse) {
    const struct {
        int weapon, asked, kept;
    } cases[] = {{MK82, 0, 1}, {MK82, 20, 12}, {MK82, 6, 6}, {AIM_9M, 4, 1}};
    for (const auto& c : cases) {
        carry(3, PYLON_SINGLE, c.weapon, 1, c.asked);
        EXPECT_EQ(hardpoints[3].release_quantity, c.kept) << c.weapon << " asked " << c.asked;
        EXPECT_EQ(hardpoints[4].release_quantity, c.kept) << "the mirror";
    }
}

TEST_F(Stores, LoadingArmsTheLoadedStationsAndCountsTheDecoys) {
    carry(5, PYLON_SIX, MK82, 4);
    carry(9, PYLON_NONE, WEAPON_GUN, 1);
    load_stores();
    for (int s = 0; s < 6; ++s) EXPECT_EQ(get_station_rounds(5, s), s < 4 ? 1 : 0) << s;
    EXPECT_EQ(get_weapon_rounds(MK82), 8) << "hardpoints 5 and 6";
    EXPECT_EQ(get_weapon_rounds(WEAPON_GUN), 512);
    EXPECT_EQ(first_hardpoint[MK82], 5);
    EXPECT_EQ(first_hardpoint[AIM_9M], -1);
    EXPECT_EQ(get_weapon_rounds(WEAPON_FLARE), 15);
    EXPECT_EQ(get_weapon_rounds(WEAPON_CHAFF), 30);
    EXPECT_EQ(selected_hardpoint, -1);
    EXPECT_EQ(count_hardpoint_rounds(-1), 0);
    EXPECT_EQ(get_station_rounds(-1, 0), 0);

    rounds_per_weapon[WEAPON_FLARE] = 3;
    hardpoints[5].stations[0].rounds = hardpoints[5].stations[1].rounds = 0;
    hardpoints[5].stations[2].rounds = hardpoints[5].stations[3].rounds = 0;
    selected_weapon = MK82;
    weapon_selected = 1;
    recount_stores();
    EXPECT_EQ(get_weapon_rounds(MK82), 4);
    EXPECT_EQ(first_hardpoint[MK82], 5) << "the lowest hardpoint with the weapon's stations";
    EXPECT_EQ(get_weapon_rounds(WEAPON_FLARE), 3) << "the decoys are kept";
    EXPECT_EQ(weapon_selected, 0);
}

TEST_F(Stores, TanksCountOnlyTheirFramesAndTheGunReachFollowsTheForces) {
    fit_sensor(5, SENSOR_TYPE_WING_TANK);
    set_stores_weight(3000);
    EXPECT_EQ(get_stores_weight(), 3000 - 2 * 2590 + 240);
    EXPECT_EQ(get_wing_tank_weight(), 2590);
    EXPECT_EQ(get_centre_tank_weight(), 0);
    remove_sensor_weight(SENSOR_TYPE_WING_TANK);
    EXPECT_EQ(get_stores_weight(), 3000 - 2 * 2590 + 120);
    unlimited_weapons = 1;
    remove_store_weight(MK82);
    EXPECT_EQ(get_stores_weight(), 3000 - 2 * 2590 + 120) << "nothing is used up";
    unlimited_weapons = 0;

    const int32_t kept = forces_type;
    const struct {
        int forces;
        int32_t range;
    } ranges[] = {{0, 1023232}, {9, 256000}, {12, 256000}};
    for (const auto& r : ranges) {
        forces_type = r.forces;
        reset_stores();
        EXPECT_EQ(weapon_info[WEAPON_GUN].max_range, r.range) << r.forces;
    }
    forces_type = kept;
}

TEST_F(Stores, FittingOutOfRangeIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(fit_pylon(10, 1), "Hardpoint does not exist on Vyr");
    EXPECT_DEATH(fit_pylon(1, 8), "Pylon type is out of range");
    EXPECT_DEATH(fit_sensor(7, 1), "sensor slot does not exist on Vyr");
    EXPECT_DEATH(fit_sensor(1, 6), "sensor type is out of range");
    EXPECT_DEATH(load_hardpoint(1, 109, 1, 1), "Weapon type is out of range");
    EXPECT_DEATH(load_hardpoint(1, MK82, 1, 1), "weapons array not allocated");
}

}  // namespace
}  // namespace vyr
