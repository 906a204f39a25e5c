#include "source/menus/missions/mission_data.h"

#include <gtest/gtest.h>

#include <string>

#include "library/3dvisual/ground_objects.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/menus/front_end.h"
#include "source/menus/missions/catalogue.h"
#include "source/menus/missions/payload.h"
#include "source/menus/missions/tagged_text.h"
#include "tests/source/menus/missions/zone_fixture.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

constexpr int32_t TICKS_PER_HOUR = 720000;

// A data file read into the world (nothing else reset), and the world written back.
void read_data(std::string text) {
    mission_tag = TAG_UNKNOWN;
    parse_tagged_lines("test.dta", text.data(), text.size(), parse_mission_data, nullptr);
}

std::string written(const std::filesystem::path& work) {
    std::filesystem::create_directories(work / "missdata");
    write_mission_data("missdata\\written.dta");
    return read_bytes(work / "missdata" / "written.dta");
}

// The lines under a tag in a written data file, up to the next tag.
std::string section(const std::string& text, const std::string& tag) {
    size_t at = text.find(":" + tag + "\n");
    if (at == std::string::npos) return "missing";
    at += tag.size() + 2;
    size_t end = text.find("\n:", at - 1);
    return text.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at);
}

class MissionData : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        reset_mission_world();
        for (int pylon = 0; pylon < PAYLOAD_PYLONS; ++pylon) {
            set_pylon_count(pylon, 0, STORE_NONE);
            set_pylon_weapon(pylon, STORE_NONE);
        }
    }
};

TEST_F(MissionData, TimeAndWindAreWrittenBackAsRead) {
    read_data(":Time\n6:30\n:Wind Direction\n90\n");
    EXPECT_EQ(get_mission_start_time(), 6 * TICKS_PER_HOUR + 30 * 12000);
    EXPECT_EQ(wind_direction, 90u * 11930465u);
    std::string text = written(work);
    EXPECT_EQ(section(text, "Time"), "6:30\n");
    EXPECT_EQ(section(text, "Wind Direction"), "90\n");
    for (const char* degrees : {"0", "180", "359"}) {
        read_data(std::string(":Wind Direction\n") + degrees + "\n");
        EXPECT_EQ(section(written(work), "Wind Direction"), std::string(degrees) + "\n");
    }
}

TEST_F(MissionData, WeaponLinesOutOfRangeEmptyOrSkipTheirPylon) {
    read_data(":Weapon\n3,6,2\n4,9,3\n11,9,3\n-1,9,3\n");
    EXPECT_EQ(get_pylon_weapon(3), 6);
    read_data(":Weapon\n3,27,2\n4,9,7\n5,9,0\n");
    EXPECT_EQ(section(written(work), "Weapon"),
              "0,26,0\n1,26,0\n2,26,0\n3,26,0\n4,26,0\n5,26,0\n6,26,0\n7,26,0\n8,26,0\n9,26,0\n10,26,0\n");
    read_data(":Weapon\n2,9,3\n");
    EXPECT_EQ(get_pylon_weapon(2), 9);
    EXPECT_EQ(get_pylon_count(2), 3);
}

TEST_F(MissionData, The129thDestroyPointIsDropped) {
    std::string text = ":Destroy\n";
    for (int i = 0; i < 130; ++i) text += std::to_string(i * 256) + ",512\n";
    read_data(text);
    EXPECT_EQ(destroy_point_count, MAX_DESTROY_POINTS);
    int32_t x = 0, y = 0;
    EXPECT_EQ(get_destroy_point(127, &x, &y), 1);
    EXPECT_EQ(x, 127 * 256);
    EXPECT_EQ(y, 512);
    EXPECT_EQ(get_destroy_point(128, &x, &y), 0);
    clear_destroy_points();
    EXPECT_EQ(get_destroy_point(0, &x, &y), 0);
}

TEST_F(MissionData, GameplayTilesOutsideTheGridAreIgnored) {
    read_data(":Gameplay Sides\n70,3 1\n-1,2 2\n5,6 2\n:Gameplay AAA\n-300,5\n");
    EXPECT_EQ(section(written(work), "Gameplay Sides"), "5,6 2\n");
    EXPECT_EQ(section(written(work), "Gameplay AAA"), "");
}

TEST_F(MissionData, UnusedTagsCommentsAndUnknownTagsAreIgnored) {
    read_data("stray line before any tag\n# a comment\n:No Such Tag\n1,2,3\n:Allied Cap\n7\n:Time\n#9:00\n8:15\n");
    EXPECT_EQ(get_mission_start_time(), 8 * TICKS_PER_HOUR + 15 * 12000);
    read_data(":EOF\n:Time\n9:00\n");
    EXPECT_EQ(get_mission_start_time(), 8 * TICKS_PER_HOUR + 15 * 12000) << "nothing counts after EOF";
}

TEST_F(MissionData, MalformedLinesAreFatalNamingFileAndLine) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {":Gameplay\n1,2\n", "Gameplay should have no data in test.dta line 2"},
        {"\n:Time\n9\n", "1 values where 2 are needed in \"9\" in test.dta line 3"},
        {":Weapon\n3,9\n", "2 values where 3 are needed"},
        {":Destroy\nnorth\n", "0 values where 2 are needed"},
        {":Gameplay Sides\n600,3 1\n", "gameplay tile 600,3 lies far outside the world in test.dta line 2"},
        {":Gameplay Sides\n3,-5000 1\n", "gameplay tile 3,-5000 lies far outside the world"},
    };
    for (const Case& c : cases) EXPECT_DEATH(read_data(c.text), c.message) << c.text;
}

TEST_F(MissionData, ADestroyPointTurnsItsGroundObjectIntoItsWreck) {
    // Two buildings in tile (2, 3): object 680 at (1000, 1000) ft and 712 at (5000, 5000) ft.
    int16_t list[1 + 2 * 6] = {2};
    ground_object* records = ground_object_records(list);
    records[0] = {680, 1000, 1000, 0, 0, 0};
    records[1] = {712, 5000, 5000, 0, 0, 0};
    const int tile = 2 * 64 + 3;
    ground_object_tiles[tile] = list;
    const int32_t tile_x = 2 << 22, tile_y = 3 << 22;
    add_destroy_point(tile_x + 1050 * 256, tile_y + 1000 * 256);
    add_destroy_point(tile_x + 5000 * 256, tile_y + 5200 * 256);  // 200 ft off: too far
    apply_destroy_points();
    ground_object_tiles[tile] = nullptr;
    EXPECT_EQ(records[0].type, 710);
    EXPECT_EQ(records[0].flags & GROUND_DESTROYED, GROUND_DESTROYED);
    EXPECT_EQ(records[1].type, 712);
    EXPECT_EQ(records[1].flags, 0);
}

// Missions of Korea loaded from the player's directory over the generated data set.
class MissionFiles : public GeneratedZone {
protected:
    void SetUp() override { enter(2); }
    void TearDown() override {
        free_mission_catalogue();
        current_mission = nullptr;
        GeneratedZone::TearDown();
    }
    Mission* single(int number) {
        Mission* mission = create_mission_record();
        mission->flow = FLOW_SINGLE_MISSION;
        mission->number = number;
        return mission;
    }
};

TEST_F(MissionFiles, GoalCountsDecideWhetherTheMissionStartsSaved) {
    write_bytes(work / "missdata" / "KOREAS07.dta", ":Success Count\n4\n:Humans loaded count\n2\n");
    write_bytes(work / "missdata" / "KOREAS08.dta", ":Failure Count\n0\n:Success Count\n4\n");
    load_mission(single(7));
    EXPECT_EQ(mission_modified, 1);
    EXPECT_EQ(mission_success_count, 0);
    EXPECT_EQ(humans_loaded_count, 0);
    EXPECT_EQ(current_mission_number, 7);
    load_mission(single(8));
    EXPECT_EQ(mission_modified, 0);
    EXPECT_EQ(mission_failure_count, 0);
    EXPECT_EQ(mission_success_count, 4);
}

TEST_F(MissionFiles, ANewMissionTakesANumberWhoseTextAndDataFilesAreBothFree) {
    // The generated data hold KOREAS01 and KOREAS02; number 3 has a data file left over.
    write_bytes(work / "missdata" / "KOREAS03.dta", "left over\n");
    Mission* mission = single(0);
    current_mission = mission;
    save_current_mission();
    EXPECT_EQ(mission->number, 4);
    EXPECT_EQ(read_bytes(work / "missdata" / "KOREAS03.dta"), "left over\n");
    EXPECT_TRUE(std::filesystem::exists(work / "missdata" / "KOREAS04.dta"));
    Mission* second = single(0);
    find_spare_mission_slot(second);
    EXPECT_EQ(second->number, 5) << "the first one's data file keeps its number";
    Mission* quick = create_mission_record();
    quick->flow = FLOW_QUICK_START;
    find_spare_mission_slot(quick);
    EXPECT_EQ(quick->number, 3) << "after the generated KOREAQ01 and KOREAQ02";
    EXPECT_FALSE(std::filesystem::exists(work / "missdata" / "KOREAQ03.dta")) << "quick starts are never written";
}

TEST_F(MissionFiles, WithEveryNumberTakenSavingIsFatal) {
    for (int number = 1; number <= 149; ++number) {
        char name[32];
        std::snprintf(name, sizeof name, "KOREAS%02d.dta", number);
        write_bytes(work / "missdata" / name, "");
    }
    EXPECT_DEATH(find_spare_mission_slot(single(0)), "Too many missions - Cannot find a spare mission slot");
}

}  // namespace
}  // namespace vyr
