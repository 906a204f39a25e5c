#include "source/weapons/object_types.h"

#include <gtest/gtest.h>

#include <set>

#include "library/debug/fatal.h"
#include "tests/library/3dvisual/header_table.h"

namespace vyr {
namespace {

TEST(ObjectTypes, TheTableRunsFromTheNullRowToTheBlueFlagWithoutRepeats) {
    EXPECT_EQ(object_type_table[0].object_number, 0);
    EXPECT_STREQ(object_type_table[0].short_name, "!!NULL!!");
    EXPECT_EQ(object_type_table[OBJECT_TYPE_ROWS - 1].object_number, OBJ_BLUE_FLAG);
    std::set<int> numbers;
    for (const ObjectTypeInfo& row : object_type_table) numbers.insert(row.object_number);
    EXPECT_EQ(numbers.size(), size_t(OBJECT_TYPE_ROWS));
}

TEST(ObjectTypes, TheHeadersTakeTheRowsAndAnUnlistedObjectKeepsTheDefaults) {
    struct Row {
        int number, strength, hardness;
        const char *long_name, *short_name;
        int category, radar_size;
    };
    const Row rows[] = {
        {1, 300, 3, "Bulk Fuel Store", "FuelStore", OBJECT_CATEGORY_BUILDING, 10000},
        {9, 255, 255, "AIM 9L Sidewinder", "AIM 9L", OBJECT_CATEGORY_AIR_MISSILE, 50000},
        {93, 10, 3, "T80 (MBT)", "T80(MBT)", OBJECT_CATEGORY_VEHICLE, 30000},
        {450, 10, 1, "GDF SPAAG", "GDF (AAA)", OBJECT_CATEGORY_VEHICLE, 50000},
        {476, 150, 0, "Hangar ", "Hangar", OBJECT_CATEGORY_BUILDING, 10000},
        {606, 30, 2, "Vyr Hovren Talsweep", "Vyr", OBJECT_CATEGORY_AIRCRAFT, 30000},
        {640, 2, 0, "Infantry", "Infantry", OBJECT_CATEGORY_NONE, 10000},
        {994, 255, 255, "Red Flag", "Red Flag", OBJECT_CATEGORY_BUILDING, 10000},
        {995, 255, 255, "Blue Flag", "Blue Flag", OBJECT_CATEGORY_BUILDING, 10000},
        {612, 255, 255, "!! Unnamed Object 612 !!", "!Unnamed 612!", OBJECT_CATEGORY_NONE, 10000},
    };
    HeaderTable table(1238);
    for (const Row& r : rows) table.add(r.number, 0, 0, 0).category = 99;
    apply_object_type_table();  // rows for numbers without a header are passed over
    for (const Row& r : rows) {
        const ObjectHeader* h = get_object_header(r.number);
        EXPECT_EQ(h->strength, r.strength) << r.number;
        EXPECT_EQ(h->hardness, r.hardness) << r.number;
        EXPECT_STREQ(h->long_name, r.long_name) << r.number;
        EXPECT_STREQ(h->short_name, r.short_name) << r.number;
        EXPECT_EQ(h->category, r.category) << r.number;
        EXPECT_EQ(h->radar_size, r.radar_size) << r.number;
    }
}

TEST(ObjectTypes, NamesComeFromTheTableAndANumberWithoutARowIsTheNullObject) {
    EXPECT_STREQ(get_object_type_name(0), "!! Null Object !!");
    EXPECT_STREQ(get_object_type_name(2), "!! Null Object !!");
    EXPECT_STREQ(get_object_type_name(1), "Bulk Fuel Store");
    EXPECT_STREQ(get_object_type_name(995), "Blue Flag");
    EXPECT_STREQ(get_object_type_name(1237), "!! Null Object !!");
}

TEST(ObjectTypes, RadarSitesCoverTheirRadiusDownToTheirFloor) {
    struct Site {
        int number, radius, floor;
    };
    const Site sites[] = {{46, 10, 128000}, {111, 10, 128000}, {77, 5, 12800}, {328, 5, 76800}, {526, 5, 12800}};
    for (const Site& s : sites) {
        EXPECT_EQ(is_radar_object(s.number), 1) << s.number;
        EXPECT_EQ(get_radar_cover_radius(s.number, 0), s.radius) << s.number;
        EXPECT_EQ(get_radar_floor(s.number, 0), s.floor) << s.number;
    }
    EXPECT_EQ(is_radar_object(93), 0);
    EXPECT_EXIT(
        {
            init_debug_text();
            get_radar_floor(93, 0);
        },
        testing::ExitedWithCode(10), "93\\(T80 \\(MBT\\)\\)");
}

}  // namespace
}  // namespace vyr
