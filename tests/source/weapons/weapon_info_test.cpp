#include "source/weapons/weapon_info.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/library/3dvisual/header_table.h"
#include "tests/support/scratch.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

constexpr int32_t FT = 256;

TEST(WeaponInfo, TheTableHoldsTheListInWorldUnitsAndBinaryAngles) {
    struct Case {
        const char* what;
        double got, expected;
    };
    const Case cases[] = {
        {"Chain Gun blast 5 ft", double(weapon_table[1].blast_radius), 1280},
        {"Unarmed all-round arc -180 degrees", double(uint32_t(weapon_table[0].arc_half_width)), 0x80000000u},
        {"SAM-Radar lowest pitch 30.5 degrees", double(weapon_table[54].arc_min_pitch), 363879173},
        {"Chain Gun lowest pitch -60 degrees", double(weapon_table[1].arc_min_pitch), -715827883},
        {"HydraM255 arc 5 degrees, rounded", double(weapon_table[4].arc_half_width), 59652324},
        {"MK-82 drag", weapon_table[30].drag_coefficient, 256000.0},
        {"Tank Gun max_range", double(weapon_table[50].max_range), -41856},
        {"R60 AAM round weight", double(weapon_table[9].round_weight), 55},
        {"R60 AAM mount weight", double(weapon_table[9].mount_weight), 50},
        {"AIM-9M closing time", weapon_table[23].closing_time_factor, double(30.21f)},
        {"AGM-114A motor 280 ft/s2", double(weapon_table[2].motor_acceleration), 280 * FT},
        {"Stinger guidance start in world units", double(weapon_table[6].guidance_start_distance), 108480},
        {"GUN rounds", double(weapon_table[21].rounds_per_station), 512},
        {"AMRAAM top speed in world units", double(weapon_table[24].top_speed), 993600},
        {"Flare as Chaff: its fire interval", double(weapon_table[7].fire_interval), 400},
        {"AIM-9M as Sparrow: Sparrow's launch speed", double(weapon_table[23].launch_speed), 30 * FT},
        {"jettisoned CBU-15 falls as the MK-82", double(weapon_table[108].round_class), ROUND_CLASS_BOMB},
        {"jettisoned CBU-15 model", double(weapon_table[108].round_object), 1157},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;
}

TEST(WeaponInfo, TheTablesScriptFindsItsOutputCurrentAndRefusesAWrongFamily) {
    const std::string script = std::string("python3 ") + VYR_SOURCE_DIR + "/tools/tables/write_tables.py --check";
    EXPECT_EQ(std::system((script + " 2>/dev/null").c_str()), 0);

    // The decoys claimed as guns: weapon 7's kind is the decoys'.
    ScratchDirectory scratch;
    std::ifstream in(std::string(VYR_SOURCE_DIR) + "/tools/tables/weapon_families.txt");
    std::ofstream out(scratch / "families.txt");
    for (std::string line; std::getline(in, line);)
        out << (line.rfind("decoys:", 0) == 0 ? "decoys: round_class 4, weapon_kind 8: 7 8" : line) << "\n";
    out.close();
    const std::string wrong = script + " --families " + (scratch / "families.txt").string() + " 2>/dev/null";
    EXPECT_NE(std::system(wrong.c_str()), 0);
}

class WeaponRecords : public testing::Test {
protected:
    void SetUp() override { init_weapon_info(); }
    HeaderTable headers{1238};
};

TEST_F(WeaponRecords, StartUpFillsTheRecordsAndCopyingLeavesWeightsPartAndClosingTimeAlone) {
    EXPECT_EQ(weapon_info[29].motor_burn_time, 600);
    // Record 6 onto 9 keeps 9's own weights, store part and closing time; its other fields and its
    // drone flags are 6's, and a flag above the drones' three stays.
    weapon_info[9].store_part_object = 1234;
    weapon_info[9].closing_time_factor = 7.5f;
    weapon_info[9].weapon_flags = 0x80 | WEAPON_FLAG_BURST;
    copy_weapon_info(6, 9);
    EXPECT_EQ(weapon_info[9].round_weight, 55);
    EXPECT_EQ(weapon_info[9].mount_weight, 50);
    EXPECT_EQ(weapon_info[9].store_part_object, 1234);
    EXPECT_EQ(weapon_info[9].closing_time_factor, 7.5f);
    EXPECT_EQ(weapon_info[9].weapon_flags, 0x80 | WEAPON_FLAG_SEEKER);
    EXPECT_EQ(weapon_info[9].damage, weapon_info[6].damage);
    EXPECT_EQ(weapon_info[9].round_object, weapon_info[6].round_object);
    EXPECT_EQ(weapon_info[9].max_range, weapon_info[6].max_range);

    init_weapon_info();  // a start-up again gives the table's record back
    EXPECT_EQ(weapon_info[9].damage, 15);
}

TEST(WeaponInfo, NamesAreReadThroughOneLookupThatAnswersErfForIdsWithoutOne) {
    EXPECT_STREQ(get_weapon_name(0), "Unarmed");
    EXPECT_STREQ(get_weapon_name(75), "R60 AAM");
    EXPECT_STREQ(get_weapon_name(9), "R60 AAM");
    EXPECT_STREQ(get_weapon_name(107), "!!Erf!!");
    EXPECT_STREQ(get_weapon_name(108), "!!Erf!!");  // a real weapon without a name
    EXPECT_STREQ(get_weapon_name(20), "!!Erf!!");
    EXPECT_STREQ(get_weapon_name(-1), "!!Erf!!");
}

TEST(WeaponInfo, PylonAndSensorTypes) {
    init_pylon_types();
    init_sensor_types();
    EXPECT_EQ(pylon_types[PYLON_NONE].stations, 1);
    EXPECT_EQ(pylon_types[6].object_number, 1109);
    EXPECT_EQ(pylon_types[6].stations, 6);
    EXPECT_EQ(sensor_types[SENSOR_TYPE_CENTRE_TANK].weight_lb, 2104);
    EXPECT_EQ(sensor_types[SENSOR_TYPE_WING_TANK].object_number, 1179);
    EXPECT_EQ(sensor_types[2].object_number, 0);
}

}  // namespace
}  // namespace vyr
