#include "source/mission/mission_data.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "library/3dvisual/features.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/terrain.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/task.h"
#include "source/drone/waypoint.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/menus/missions/catalogue.h"
#include "source/mission/game_flow.h"
#include "source/mission/payload.h"
#include "source/mission/quick_start.h"
#include "source/mission/tagged_text.h"
#include "tests/source/mission/payload_fixture.h"
#include "tests/source/mission/zone_fixture.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

constexpr int32_t TICKS_PER_HOUR = 720000;

// A data file read into the world (nothing else reset), and the world written back.
void read_data(std::string text) {
    mission_tag = TAG_UNKNOWN;
    parse_tagged_lines("test.dta", text.data(), text.size(), parse_mission_data, nullptr);
}

std::filesystem::path written(const std::filesystem::path& work) {
    write_mission_data("missdata\\written.dta");
    return work / "missdata" / "written.dta";
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
        load_generated_payload(data);
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
    std::string text = read_bytes(written(work));
    EXPECT_EQ(section(text, "Time"), "6:30\n");
    EXPECT_EQ(section(text, "Wind Direction"), "90\n");
    for (const char* degrees : {"0", "180", "359"}) {
        read_data(std::string(":Wind Direction\n") + degrees + "\n");
        EXPECT_EQ(section(read_bytes(written(work)), "Wind Direction"), std::string(degrees) + "\n");
    }
}

TEST_F(MissionData, WeaponLinesOutOfRangeEmptyOrSkipTheirPylon) {
    read_data(":Weapon\n3,6,2\n4,9,3\n11,9,3\n-1,9,3\n");
    EXPECT_EQ(get_pylon_weapon(3), 6);
    read_data(":Weapon\n3,27,2\n4,9,7\n5,9,0\n");
    EXPECT_EQ(section(read_bytes(written(work)), "Weapon"),
              "0,26,0\n1,26,0\n2,26,0\n3,26,0\n4,26,0\n5,26,0\n6,26,0\n7,26,0\n8,26,0\n9,26,0\n10,26,0\n");
    read_data(":Weapon\n2,9,3\n");
    EXPECT_EQ(get_pylon_weapon(2), 9);
    EXPECT_EQ(get_pylon_count(2), 3);
}

TEST_F(MissionData, AStoreOrCountTheHardpointRefusesWeighsNothing) {
    read_data(":Weapon\n0,9,3\n1,9,6\n2,1,1\n3,15,2\n");
    EXPECT_EQ(get_pylon_weapon(0), STORE_NONE) << "no bombs on the wing tips";
    EXPECT_EQ(payload_pylons[0].weight, 0);
    EXPECT_EQ(payload_pylons[1].weight, 6 * payload_weapons[9].weight);
    EXPECT_EQ(payload_pylons[2].weight, 0) << "no AIM-9 on the middle hardpoints";
    EXPECT_EQ(get_pylon_count(3), 0) << "one MK-84 at most on the inner hardpoints";
    EXPECT_EQ(payload_pylons[3].weight, 0);
    EXPECT_EQ(get_all_up_weight(), EMPTY_AIRCRAFT_WEIGHT + 6 * payload_weapons[9].weight);
}

TEST_F(MissionData, ARefusedCountEmptiesItsHardpointSoSaveLoadSaveChangesNothing) {
    read_data(":Weapon\n1,9,6\n3,15,2\n");
    const std::string first = read_bytes(written(work));
    EXPECT_EQ(section(first, "Weapon"),
              "0,26,0\n1,9,6\n2,26,0\n3,26,0\n4,26,0\n5,26,0\n6,26,0\n7,26,0\n8,26,0\n9,26,0\n10,26,0\n");
    read_data(first);
    EXPECT_EQ(read_bytes(written(work)), first);
}

// A bad file among the data's missions is the game's fault; among the player's own, only the file's.
TEST_F(MissionData, ABadFileOfTheDatasIsFatalAndOneOfThePlayersRefused) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    write_bytes(data / "missdata" / "koreas07.dta", "");
    EXPECT_DEATH(refuse_tagged_file("missdata\\KOREAS07.dta", "what is wrong"), "FATAL \\*\\*\\* what is wrong");
    write_bytes(work / "missdata" / "koreas07.dta", "");
    testing::internal::CaptureStderr();
    refuse_tagged_file("missdata\\KOREAS07.dta", "what is wrong");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "vyr: This mission cannot be loaded: what is wrong\n");
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
    EXPECT_EQ(section(read_bytes(written(work)), "Gameplay Sides"), "5,6 2\n");
    EXPECT_EQ(section(read_bytes(written(work)), "Gameplay AAA"), "");
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
        {":Time\n2147483647:0\n", "the time 2147483647:0 is too far from midnight in test.dta line 2"},
        {":Time\n-2147483648:-2147483648\n", "the time -2147483648:-2147483648 is too far from midnight"},
        {":Time\n0:2147483647\n", "the time 0:2147483647 is too far from midnight"},
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
    void SetUp() override {
        GeneratedZone::SetUp();
        enter(2);
        init_drone_types();
        load_pylon_file();
        load_weapon_file();
    }
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

TEST_F(MissionFiles, APlayersBadDataFileIsRefusedLeavingTheWorldEmptyAndTheFileAsItWas) {
    const std::string bad = ":Task\n:Time\n9\n";
    write_bytes(work / "missdata" / "koreas07.dta", bad);
    current_mission_number = 5;
    testing::internal::CaptureStderr();
    EXPECT_EQ(load_mission(single(7)), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "vyr: This mission cannot be loaded: 1 values where 2 are needed "
                                                      "in \"9\" in missdata\\KOREAS07.dta line 3\n");
    EXPECT_EQ(get_first_ai_task(), nullptr) << "the task read before the bad line is gone";
    EXPECT_EQ(current_mission_number, 5);
    EXPECT_EQ(read_bytes(work / "missdata" / "koreas07.dta"), bad);

    // A quick start leaves no record of its own behind in the catalogue.
    Mission* before = mission_catalogue;
    write_bytes(work / "missdata" / "koreaq01.dta", bad);
    write_bytes(work / "missdata" / "koreaq02.dta", bad);
    testing::internal::CaptureStderr();
    EXPECT_EQ(prepare_quick_mission(), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("in missdata\\KOREAQ0"), std::string::npos);
    EXPECT_EQ(mission_catalogue, before);
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

TEST_F(MissionFiles, LinesOutsideTheirTablesOrBeforeTheirTaskOrDroneAreFatal) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {":Side\n1\n", "a task's line before any task in test.dta line 2"},
        {":User Task\n", "a task's line before any task in test.dta line 1"},
        {":Drone\n", "a task's line before any task"},
        {":Task\n:Drone Type\n225\n", "a drone's line before any drone in test.dta line 3"},
        {":Task\n:Waypoint\n1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n", "a drone's line before any drone"},
        {":Task\n:Kill Success\n", "a drone's line before any drone"},
        {":Task\n:Task Type\n23\n", "task type 23 is not one of 0 to 22"},
        {":Task\n:Drone\n:Drone Type\n1239\n", "object number 1239 is not one of 0 to 1238"},
        {":Task\n:Drone\n:Formation Type\n-1\n", "formation type -1 is not one of 0 to 163"},
        {":Task\n:Drone\n:Waypoint\n1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17\n", "17 values where 18 are needed"},
    };
    for (const Case& c : cases) {
        reset_mission_world();
        EXPECT_DEATH(read_data(c.text), c.message) << c.text;
    }
}

TEST_F(MissionFiles, AFortiethWaypointIsDropped) {
    reset_mission_world();
    std::string text = ":Task\n:Drone\n:Drone Type\n225\n";
    for (int i = 0; i < 41; ++i) text += ":Waypoint\n2," + std::to_string((i + 1) << 20) + ",83886080,2560000,-1,100000,-1,0,0,0,0,0,0,0,0,0,0,0\n";
    read_data(text);
    Drone* drone = get_task_first_drone(get_first_task());
    int count = 0;
    for (Waypoint* w = drone->first_waypoint; w; w = w->next) ++count;
    EXPECT_EQ(count, MAX_ROUTE_WAYPOINTS);
    EXPECT_EQ(get_last_waypoint(drone->first_waypoint)->x, 39 << 20);
}

// The same world in the writer's own form and hand-written: comments, mixed case, another order.
const char* const CANONICAL =
    ":Task\n:User Task\n:Side\n1\n:Task Type\n5\n"
    ":Drone\n:Drone Type\n606\n:Kill Failure\n:Start Waypoint\n1\n"
    ":Waypoint\n1,87033088,113246208,0,-1,0,-1,0,0,0,0,0,0,0,0,0,0,0\n"
    ":Waypoint\n4,94371840,209715200,2499584,-1,194400,-1,48336965,3000,2,5,0,0,0,0,0,0,400\n"
    ":Drone explode\n1\n"
    ":Task\n:Side\n2\n:Task Type\n8\n:Battle Cell\n2\n"
    ":Drone\n:Drone Type\n240\n:Waypoint\n1,94371840,209715200,0,-1,6480,-1,0,0,0,0,0,0,0,0,0,0,0\n"
    ":Gameplay\n:Gameplay Sides\n5,6 2\n7,6 1\n"
    ":Gameplay AAA\n23068672,25165824\n:Gameplay SAM\n:Gameplay Tanks\n:Gameplay APC\n:Gameplay Recon\n"
    ":Gameplay Laser\n:Gameplay Keep\n:Gameplay Extra\n"
    ":Weapon\n0,1,1\n1,26,0\n2,26,0\n3,26,0\n4,26,0\n5,1,1\n6,26,0\n7,26,0\n8,26,0\n9,26,0\n10,24,1\n"
    ":Gun\n0\n:Laser Timeout\n0\n:Wind Speed\n10\n:Wind Direction\n270\n:Weather Condition\n1\n:Time\n6:30\n"
    ":Failure Count\n0\n:Success Count\n2\n:Outstanding Count\n0\n:Humans loaded count\n0\n:Humans deployed count\n0\n"
    ":Destroy\n1024,2048\n";
const char* const HAND_WRITTEN =
    "# times and weather first\n:TIME\n6:30\n:wind direction\n270\n:Wind Speed\n10\n:Weather Condition\n1\n"
    ":Destroy\n1024,2048\n:Success Count\n2\n:Failure Count\n0\n"
    ":Gameplay Sides\n7,6 1\n5,6 2\n:Gameplay AAA\n23068700,25165900\n"
    ":Weapon\n10,24,1\n9,26,0\n8,26,0\n7,26,0\n6,26,0\n5,1,1\n4,26,0\n3,26,0\n2,26,0\n1,26,0\n0,1,1\n"
    ":Gun\n250\n"
    ":Task\n:Side\n2\n:Battle Cell\n2\n:Task Type\n8\n:Drone\n:Drone Type\n240\n"
    "# a ground vehicle's altitude comes up to the ground\n"
    ":Waypoint\n1,94371840,209715200,-5000,-1,6480,-1,0,0,0,0,0,0,0,0,0,0,0,99\n"
    ":Task\n:User Task\n:Task Type\n5\n:Side\n1\n:Drone\n:Drone Type\n606\n:Start Waypoint\n1\n"
    ":Waypoint\n1,87033088,113246208,0,-1,0,-1,0,0,0,0,0,0,0,0,0,0,0\n:Kill Failure\n:Drone explode\n1\n"
    ":Waypoint\n4,94371840,209715200,2499584,-1,194400,-1,48336965,3000,2,5,0,0,0,0,0,0,400\n"
    ":Allied Cap\n3\n";

TEST_F(MissionFiles, AHandWrittenFileLoadsToTheSameWorldAsTheCanonicalOne) {
    write_bytes(work / "missdata" / "KOREAS07.dta", CANONICAL);
    write_bytes(work / "missdata" / "KOREAS08.dta", HAND_WRITTEN);
    load_mission(single(7));
    ASSERT_EQ(read_bytes(written(work)), CANONICAL) << "the canonical file writes back as it was";
    load_mission(single(8));
    EXPECT_EQ(read_bytes(written(work)), CANONICAL);
}

// Every quick start of every theatre, as a quick-start button loads it.
TEST_F(MissionFiles, EveryGeneratedQuickStartLoadsOnItsTheatresGroundAndWritesBackAsItWas) {
    for (int zone = 1; zone <= 4; ++zone) {
        set_war_zone(zone);
        for (int kind = 1; kind <= 2; ++kind) {
            SCOPED_TRACE("zone " + std::to_string(zone) + " kind " + std::to_string(kind));
            quick_start_kind = kind;
            prepare_quick_mission();
            EXPECT_EQ(current_mission_number, 0);
            EXPECT_EQ(mission_modified, 0);
            Task* user = get_user_task();
            ASSERT_NE(user, nullptr);
            const Waypoint* start = get_task_first_drone(user)->first_waypoint;
            ASSERT_NE(start, nullptr);
            const bool airborne = start->z > get_ground_height(start->x, start->y) + 1000 * 256;
            EXPECT_TRUE(airborne || get_feature_kind(start->x, start->y) == FEATURE_RUNWAY) << start->x << ", " << start->y;
            int drones = 0;
            for (Task* task = get_first_task(); task; task = get_next_task(task)) {
                for (Drone* drone = get_task_first_drone(task); drone; drone = get_next_drone(drone), ++drones) {
                    const bool flies = drone->drone_class == DRONE_CLASS_AIRCRAFT || drone->drone_class == DRONE_CLASS_HELICOPTER;
                    for (const Waypoint* w = drone->first_waypoint; w; w = w->next) {
                        const int ground = get_ground_height(w->x, w->y);
                        if (flies) EXPECT_GE(w->z, ground);
                        else EXPECT_EQ(w->z, ground) << "object " << get_drone_object_number(drone);
                    }
                }
            }
            EXPECT_GE(drones, 5);
            // The gameplay grid keeps only objects standing where the ground lies at 0.
            int sites = 0;
            for (GameplayCell& cell : gameplay_grid)
                for (int type = GAMEPLAY_AAA; type <= GAMEPLAY_TARGET; ++type)
                    for (GameplayObject* object : get_gameplay_slots(cell, type))
                        if (object) {
                            ++sites;
                            EXPECT_EQ(get_ground_height(object->x, object->y), 0) << object->x << ", " << object->y;
                        }
            EXPECT_GE(sites, 8);
            char name[16];
            std::snprintf(name, sizeof name, "%sq%02d.dta", std::array{"isral", "korea", "cypus", "afghn"}[size_t(zone - 1)], kind);
            EXPECT_EQ(read_bytes(written(work)), read_bytes(GENERATED_DATA / "missdata" / name));
        }
    }
}

TEST_F(MissionFiles, EveryGeneratedMissionWritesBackAsItWas) {
    struct Case {
        int zone, flow, number;
        const char* name;
    };
    const Case cases[] = {{1, 3, 1, "israls01"}, {2, 3, 2, "koreas02"}, {3, 4, 1, "cypusc01"},
                          {4, 4, 2, "afghnc02"}, {5, 2, 1, "usat01"}};
    for (const Case& c : cases) {
        set_war_zone(c.zone);
        Mission* mission = create_mission_record();
        mission->flow = c.flow;
        mission->number = c.number;
        load_mission(mission);
        EXPECT_EQ(current_mission_number, c.number);
        EXPECT_EQ(read_bytes(written(work)), read_bytes(GENERATED_DATA / "missdata" / (std::string(c.name) + ".dta")))
            << c.name;
    }
}

}  // namespace
}  // namespace vyr
