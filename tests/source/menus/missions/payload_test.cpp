#include "source/menus/missions/payload.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "source/models/integration.h"
#include "source/weapons/stores.h"
#include "tests/source/mission/payload_fixture.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

// The payload files read over a data directory holding the generated ones, or files of a test's own.
class Payload : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        init_pylon_types();
        init_sensor_types();
        load_generated_payload(data);
        for (int pylon = 0; pylon < PAYLOAD_HARDPOINTS; ++pylon) unload_pylon(pylon);
    }
    void TearDown() override {
        for (Hardpoint& point : hardpoints) {
            delete[] point.stations;
            point = {};
        }
        for (SensorSlot& slot : sensor_slots) slot = {};
        ScratchDirectories::TearDown();
    }

    void put_file(const char* name, const std::string& text) { write_bytes(work / "menuscrn" / name, text); }

    static void load(int pylon, int store, int count) {
        payload_pylons[pylon].weapon = store;
        load_pylon(pylon, count);
    }
};

TEST_F(Payload, TheGeneratedFilesDescribeElevenMirroredHardpoints) {
    for (int pylon = 0; pylon < 10; ++pylon) {
        const int mirror = payload_pylons[pylon].reflection - 1;
        EXPECT_EQ(mirror, pylon < 5 ? pylon + 5 : pylon - 5) << pylon;
    }
    EXPECT_EQ(payload_pylons[10].reflection, 0);
    EXPECT_EQ(payload_pylons[4].allowed[STORE_LEFT_POD], 1);
    EXPECT_EQ(payload_pylons[9].allowed[STORE_RIGHT_POD], 1);
    EXPECT_EQ(payload_weapons[11].short_description, "GBU-12");
    EXPECT_EQ(multi_positions[2][2], 5);
}

TEST_F(Payload, DescriptionsSplitAfterTheir20thCharacter) {
    put_file("wpn.dat", ":WpnFile\n:WpnId 3\n:WpnDescription <1234567890123456789>\n:WpnId 4\n"
                        ":WpnDescription <12345678901234567890>\n:WpnId 5 :WpnDescription\n<123456789012345678901>\n"
                        ":WpnId 6 :WpnWeight\n  is heavy: -12\n:WpnShortDesc <" + std::string(45, 'x') + ">\n:EndFile");
    load_weapon_file();
    EXPECT_EQ(payload_weapons[3].description_1, "1234567890123456789");
    EXPECT_FALSE(payload_weapons[3].has_description_2);
    EXPECT_EQ(payload_weapons[4].description_1, "12345678901234567890");
    EXPECT_TRUE(payload_weapons[4].has_description_2);
    EXPECT_EQ(payload_weapons[4].description_2, "");
    EXPECT_EQ(payload_weapons[5].description_2, "1");
    EXPECT_EQ(payload_weapons[6].weight, -12);
    EXPECT_EQ(payload_weapons[6].short_description, std::string(39, 'x'));
}

struct BadFile {
    const char* name;
    const char* text;
    const char* message;
};

void PrintTo(const BadFile& f, std::ostream* out) { *out << f.name << ": " << f.message; }

const BadFile BAD_FILES[] = {
    {"pylon.dat", ":WpnFile\n:EndFile\n", "pylon.dat is not a pylon data file"},
    {"wpn.dat", " :PylonFile\n:EndFile\n", "wpn.dat is not a weapon data file"},
    {"pylon.dat", ":PylonFile\n:PylonId 1\n:PylonColour 3\n:EndFile\n", "Unknown pylon tag type :PylonColour"},
    {"wpn.dat", ":WpnFile\n:WpnID 1\n:EndFile\n", "Unknown wpn tag type :WpnID"},
    {"pylon.dat", ":PylonFile\n:PylonFile\n:EndFile\n", "tag type :PylonFile is not valid for payload data"},
    {"pylon.dat", ":PylonFile\n:PylonId 12\n:EndFile\n", "pylon.dat: :PylonId is outside 1..11"},
    {"pylon.dat", ":PylonFile\n:PylonId 0\n:EndFile\n", "pylon.dat: :PylonId is outside 1..11"},
    {"wpn.dat", ":WpnFile\n:WpnId 26\n:EndFile\n", "wpn.dat: :WpnId is outside 0..25"},
    {"pylon.dat", ":PylonFile\n:PylonX 3\n:EndFile\n", "pylon.dat: a field comes before the first :PylonId"},
    {"wpn.dat", ":WpnFile\n:WpnWeight 3\n:EndFile\n", "wpn.dat: a field comes before the first :WpnId"},
    {"pylon.dat", ":PylonFile\n:PylonId 1 :PylonReflection 12\n:EndFile\n", ":PylonReflection is outside 0..11"},
    {"pylon.dat", ":PylonFile\n:PylonId 1 :PylonMaxWpns -1\n:EndFile\n", ":PylonMaxWpns is negative"},
    {"pylon.dat",
     ":PylonFile\n:PylonId 1 :PylonMaxWpns 9 :PylonWpnSet 7 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n:EndFile\n",
     "an allowed count is outside 0..6"},
    {"pylon.dat",
     ":PylonFile\n:PylonId 1 :PylonMaxWpns 1 :PylonWpnSet 0 0 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n:EndFile\n",
     "an allowed count is above :PylonMaxWpns"},
    {"pylon.dat", ":PylonFile\n:MultiWpnsPosns 4 3 5 3 4 5 0 2 6 8 0 2 4 6 9\n:EndFile\n",
     "a position code is outside 0..8"},
    {"pylon.dat", ":PylonFile\n:PylonId 1\n", "pylon.dat: no :EndFile"},
    {"pylon.dat", ":PylonFile\n:PylonId 1 :PylonWpnSet 1 2 3", "pylon.dat: a number is missing"},
    {"pylon.dat", ":PylonFile\n:PylonId 1 :PylonX 99999999999\n:EndFile\n", "pylon.dat: a number is too large"},
    {"wpn.dat", ":WpnFile\n:WpnId 1 :WpnShortDesc <AIM", "wpn.dat: a text has no >"},
    {"wpn.dat", ":WpnFile\n:WpnId 1 :WpnShortDesc AIM", "wpn.dat: a text has no <"},
};

class BadPayloadFiles : public Payload, public testing::WithParamInterface<BadFile> {};

TEST_P(BadPayloadFiles, AreFatalNamingTheFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    put_file(GetParam().name, GetParam().text);
    const bool pylons = std::string(GetParam().name) == "pylon.dat";
    EXPECT_DEATH(pylons ? load_pylon_file() : load_weapon_file(),
                 testing::AllOf(testing::HasSubstr(GetParam().message), testing::HasSubstr(GetParam().name)));
}

INSTANTIATE_TEST_SUITE_P(Table, BadPayloadFiles, testing::ValuesIn(BAD_FILES));

TEST_F(Payload, AMissingFileIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::filesystem::remove(data / "menuscrn" / "wpn.dat");
    EXPECT_DEATH(load_weapon_file(), "error loading weapon data file menuscrn.wpn\\.dat");
}

TEST_F(Payload, AGuidedBombBringsBothPods) {
    load(2, 11, 1);  // GBU-12
    EXPECT_EQ(get_pylon_weapon(7), 11);
    EXPECT_EQ(get_pylon_count(7), 1);
    EXPECT_EQ(get_pylon_weapon(4), STORE_LEFT_POD);
    EXPECT_EQ(get_pylon_weapon(9), STORE_RIGHT_POD);
    EXPECT_EQ(get_pylon_count(9), 1);
    EXPECT_EQ(payload_pylons[9].weight, payload_weapons[STORE_RIGHT_POD].weight);
    unload_pylon(9);
    load(2, 9, 2);  // an unguided bomb brings nothing
    EXPECT_EQ(get_pylon_weapon(4), PAYLOAD_EMPTY);
}

TEST_F(Payload, MirrorsLoadAndUnloadTogether) {
    load(1, 9, 6);
    EXPECT_EQ(get_pylon_weapon(6), 9);
    EXPECT_EQ(get_pylon_count(6), 6);
    EXPECT_EQ(payload_pylons[6].weight, 6 * payload_weapons[9].weight);
    EXPECT_TRUE(is_pylon_overweight()) << "six MK-82s are over the outer hardpoints' limit";
    unload_pylon(6);
    for (int pylon : {1, 6}) {
        EXPECT_EQ(get_pylon_weapon(pylon), PAYLOAD_EMPTY);
        EXPECT_EQ(get_pylon_count(pylon), 0);
        EXPECT_EQ(payload_pylons[pylon].weight, 0);
    }
    load(10, 24, 1);
    EXPECT_EQ(get_pylon_weapon(10), 24) << "the centre line has no mirror";
}

TEST_F(Payload, TheMissionFileKeepsOnlyWhatTheHardpointTakes) {
    set_pylon_weapon(0, 9);  // no bombs on the wing tips
    EXPECT_EQ(get_pylon_weapon(0), PAYLOAD_EMPTY);
    set_pylon_count(1, 7, 9);
    EXPECT_EQ(get_pylon_count(1), 0);
    set_pylon_count(1, 6, 9);
    set_pylon_weapon(1, 9);
    set_pylon_weight(1, 6, 9);
    EXPECT_EQ(get_pylon_count(1), 6);
    EXPECT_EQ(payload_pylons[1].weight, 3000);
    set_pylon_weapon(1, 27);
    EXPECT_EQ(get_pylon_weapon(1), PAYLOAD_EMPTY);
}

TEST_F(Payload, SalvoSizesStepWithinTheirLimitsOnBothWings) {
    load(2, 18, 2);  // CBU-87B, its own salvo 2
    for (int i = 0; i < 5; ++i) step_salvo_size(2, 1);
    EXPECT_EQ(payload_pylons[2].salvo_size, 4);
    EXPECT_EQ(payload_pylons[7].salvo_size, 4);
    for (int i = 0; i < 5; ++i) step_salvo_size(7, 0);
    EXPECT_EQ(payload_pylons[2].salvo_size, 2);
    step_salvo_size(2, 1);
    reset_salvo_size(2);
    EXPECT_EQ(payload_pylons[7].salvo_size, 2);
}

TEST_F(Payload, TheWeightText) {
    EXPECT_EQ(format_payload_weight(), "\tTOT AUW: 26000\t\tMAX G: 9.0");
    load(3, 15, 1);  // MK-84 under both inner hardpoints
    EXPECT_EQ(get_all_up_weight(), 30000);
    EXPECT_EQ(format_payload_weight(), "\tTOT AUW: 30000\t\tMAX G: 9.0");
    load(1, 9, 6);
    EXPECT_EQ(format_payload_weight(), "\tTOT AUW: 36000\t\tMAX G: 5.5");
}

TEST_F(Payload, ApplyLoadoutFitsTheStores) {
    load(5, 1, 1);   // AIM-9M on the wing tips
    load(6, 9, 3);   // three MK-82 on the outer hardpoints
    load(7, 6, 2);   // two AGM-65G on the middle ones
    load(8, 25, 1);  // wing tanks
    load(10, 24, 1);
    load(4, STORE_LEFT_POD, 1);
    apply_loadout();

    EXPECT_EQ(hardpoints[9].weapon_id, 21) << "the gun";
    const struct {
        int hardpoint, pylon_type, base_type, weapon_id, count;
    } fitted[] = {{8, 0, 0, 23, 1}, {7, 0, 0, 23, 1}, {6, 5, 4, 30, 3},
                  {5, 5, 4, 30, 3}, {4, 7, 4, 28, 2}, {3, 7, 4, 28, 2}};
    for (const auto& f : fitted) {
        const Hardpoint& point = hardpoints[f.hardpoint];
        EXPECT_EQ(point.pylon_type, f.pylon_type) << f.hardpoint;
        EXPECT_EQ(point.base_pylon_type, f.base_type) << f.hardpoint;
        EXPECT_EQ(point.weapon_id, f.weapon_id) << f.hardpoint;
        EXPECT_EQ(point.loaded_count, f.count) << f.hardpoint;
    }
    EXPECT_EQ(sensor_slots[6].sensor_type, SENSOR_TYPE_WING_TANK);
    EXPECT_EQ(sensor_slots[5].sensor_type, SENSOR_TYPE_WING_TANK);
    EXPECT_EQ(sensor_slots[0].sensor_type, SENSOR_TYPE_CENTRE_TANK);
    EXPECT_EQ(sensor_slots[2].sensor_type, SENSOR_TYPE_TARGETING_POD);
    // The tanks' fuel is the engine's to carry: only their frames stay in the stores' weight.
    EXPECT_EQ(get_stores_weight(), double(get_payload_weight()) - 2104 + 100 - 2 * 2590 + 240);
}

TEST_F(Payload, AnImpossibleCountAtMissionStartIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    load(6, 9, 3);
    payload_pylons[6].count = 7;
    EXPECT_DEATH(apply_loadout(), "Illegal number of weapons on pylon : 6");
}

TEST_F(Payload, LimitsFollowTheRoundsLeft) {
    load(6, 9, 6);  // 3000 lb of MK-82 on hardpoints 6 and 5, limit 2500
    load(7, 3, 2);  // two pods of 19 rockets
    apply_loadout();
    auto fill = [](int hardpoint, int rounds_each, int stations) {
        for (int s = 0; s < stations; ++s) hardpoints[hardpoint].stations[s].rounds = rounds_each;
    };
    fill(6, 1, 6);
    fill(4, 19, 2);
    EXPECT_EQ(check_loadout_limits(), 0);
    EXPECT_EQ(g_limit, 5.0);
    hardpoints[6].stations[0].rounds = 0;  // one bomb gone: 2500 lb
    EXPECT_EQ(check_loadout_limits(), 1);
    EXPECT_EQ(g_limit, 9.0);

    payload_pylons[7].weight_limit = payload_pylons[7].weight - 1;
    EXPECT_EQ(check_loadout_limits(), 0) << "both pods full";
    hardpoints[4].stations[0].rounds = 18;
    EXPECT_EQ(check_loadout_limits(), 1) << "one rocket fired weighs 1/38 of the pair";

    payload_pylons[7].count = 0;  // a mission line gave a store and no count
    EXPECT_EQ(check_loadout_limits(), 1);
}

TEST_F(Payload, ASensorStoreWeighsUntilItIsGone) {
    load(10, 24, 1);
    apply_loadout();
    payload_pylons[10].weight_limit = 100;
    EXPECT_EQ(check_loadout_limits(), 0);
    sensor_slots[0].sensor_type = SENSOR_TYPE_NONE;  // jettisoned
    EXPECT_EQ(check_loadout_limits(), 1);
    EXPECT_EQ(get_gun_pod_weight(), payload_weapons[STORE_GUN_POD].weight);
}

}  // namespace
}  // namespace vyr
