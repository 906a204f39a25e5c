#include "tools/vyrgen/missions/missions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "tools/vyrgen/war_zones.h"
#include "tools/vyrgen/world/ground_objects.h"
#include "tools/vyrgen/world/theatre.h"

namespace vyr::vyrgen {
namespace {

int32_t word_at(const std::vector<uint8_t>& bytes, size_t at) {
    return int32_t(uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
                   uint32_t(bytes[at + 3]) << 24);
}

class MissionFiles : public testing::Test {
protected:
    static void SetUpTestSuite() {
        for (DataFile& file : mission_files()) files[file.name] = std::move(file.bytes);
    }
    static std::map<std::string, std::vector<uint8_t>> files;
};
std::map<std::string, std::vector<uint8_t>> MissionFiles::files;

TEST_F(MissionFiles, EveryTextFileEndsInALineFeed) {
    for (const auto& [name, bytes] : files) {
        if (name.ends_with(".blk")) continue;
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(bytes.back(), '\n') << name;
        EXPECT_EQ(std::find(bytes.begin(), bytes.end(), '\r'), bytes.end()) << name;
    }
}

TEST_F(MissionFiles, EachTheatreHasItsQuickStartsAndCampaignTextsTrainingIsInNevada) {
    for (const char* code : {"isral", "korea", "cypus", "afghn"}) {
        for (const char* kind : {"q01", "q02", "s01", "s02", "c01", "c02"})
            for (const char* extension : {".txt", ".mis", ".dta"})
                EXPECT_TRUE(files.count("missdata/" + std::string(code) + kind + extension)) << code << kind << extension;
        for (int number = 0; number <= 10; ++number) {
            char name[16];
            std::snprintf(name, sizeof name, "%sl%02d", code, number);
            EXPECT_TRUE(files.count("missdata/" + std::string(name) + ".txt")) << name;
            EXPECT_TRUE(files.count("missdata/french/" + std::string(name) + ".txt")) << name;
            EXPECT_FALSE(files.count("missdata/" + std::string(name) + ".mis")) << name;
            EXPECT_FALSE(files.count("missdata/" + std::string(name) + ".dta")) << name;
        }
    }
    for (const char* extension : {".txt", ".mis", ".dta"}) EXPECT_TRUE(files.count(std::string("missdata/usat01") + extension));
}

TEST_F(MissionFiles, EveryLanguageHasAMissionsBlkOfTheMissionsWithHeaders) {
    std::set<std::string> headers;
    for (const auto& [name, bytes] : files)
        if (name.ends_with(".mis")) headers.insert(std::string(bytes.begin(), bytes.end()));
    for (const char* folder : {"", "usa/", "french/", "german/", "spanish/", "italian/"}) {
        const std::vector<uint8_t>& blk = files.at("missdata/" + std::string(folder) + "missions.blk");
        size_t at = 0;
        int records = 0;
        while (word_at(blk, at) != -1) {
            at += 4;
            for (int block = 0; block < 2; ++block) {
                const int32_t length = word_at(blk, at);
                ASSERT_GE(length, 0);
                ASSERT_LE(at + 4 + size_t(length), blk.size());
                const std::string text(blk.begin() + long(at) + 4, blk.begin() + long(at) + 4 + length);
                EXPECT_EQ(text.back(), '\n');
                if (block == 1) {
                    EXPECT_TRUE(headers.count(text)) << text;
                }
                at += 4 + size_t(length);
            }
            ++records;
        }
        EXPECT_EQ(at + 4, blk.size()) << "-1 ends the file, with no padding";
        EXPECT_EQ(records, 4 * 6 + 1);
    }
}

// Only the ground-attack quick start of the theatre with a lake by its runway gains the drone
// that explodes at the start; it stands on dry, flat ground a little way off the water, within
// three posts of the runway start.
TEST_F(MissionFiles, TheCyprusGroundQuickStartBlowsUpADroneOnALakeShore) {
    for (const auto& [name, bytes] : files) {
        if (!name.ends_with(".dta")) continue;
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_EQ(text.find(":Drone explode") != std::string::npos, name == "missdata/cypusq02.dta") << name;
    }
    const MissionWorld world = build_mission_world(3, MissionKind::GROUND, false, true);
    const MissionDrone& wreck = world.tasks.back().drones.back();
    ASSERT_TRUE(wreck.explode);
    const RoutePoint& start = world.tasks.front().drones.front().route.front();
    const double post = 1 << 20;
    const Point at = {wreck.route.front().x / post, wreck.route.front().y / post};
    EXPECT_LT(distance(at, {start.x / post, start.y / post}), 3.0);
    const TheatreLayout& layout = theatre_layout(2);
    EXPECT_FALSE(layout.is_water(at));
    EXPECT_TRUE(layout.is_flat(int(at.x), int(at.y)));
    bool lake_near = false;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) lake_near |= layout.ground_at(int(at.x) + dx, int(at.y) + dy) == Ground::LAKE;
    EXPECT_TRUE(lake_near);
}

// Shadows from the first frame of the ground-attack quick start: a helicopter 200 ft up ahead of
// the player on the runway and two tanks parked beside it, at noon; the other missions keep theirs.
TEST(QuickStartScene, TheGroundAttackQuickStartShowsAHoveringHelicopterAndParkedTanks) {
    for (int zone = 1; zone <= 4; ++zone) {
        SCOPED_TRACE(zone);
        const MissionWorld quick = build_mission_world(zone, MissionKind::GROUND, false, true);
        const RoutePoint& start = quick.tasks.front().drones.front().route.front();
        int helicopters = 0, parked = 0;
        for (const MissionTask& task : quick.tasks)
            for (const MissionDrone& drone : task.drones) {
                const RoutePoint& first = drone.route.front();
                const double posts = std::hypot(first.x - start.x, first.y - start.y) / (1 << 20);
                if (drone.object_number == 103) {
                    ++helicopters;
                    EXPECT_EQ(first.z, 200 * 256);
                    EXPECT_LT(posts, 1.0) << "in view of the start";
                }
                if (drone.object_number == 68 && first.speed == 0 && posts < 0.5) {
                    ++parked;
                    EXPECT_EQ(first.z, 0);
                    EXPECT_GT(posts, 0.0);
                }
            }
        EXPECT_EQ(helicopters, 1);
        EXPECT_EQ(parked, 2);
        EXPECT_EQ(quick.hours, 12);
        const MissionWorld strike = build_mission_world(zone, MissionKind::GROUND, false, false);
        size_t exploding = 0;  // the lake-shore wreck of a theatre with a lake by the runway
        for (const MissionTask& task : quick.tasks)
            for (const MissionDrone& drone : task.drones) exploding += drone.explode ? 1 : 0;
        EXPECT_EQ(strike.tasks.size() + 2 + exploding, quick.tasks.size());
        EXPECT_EQ(strike.hours, 14);
    }
}

// The war model maps each side's radar cover from the radar sites standing on ground of its side.
TEST(TheatreSides, EveryTheatreHasRadarSitesOfBothSidesOnTheirOwnGround) {
    const std::set<int> radar_sites = {46, 77, 111, 328, 526};
    for (int zone = 0; zone < int(WAR_ZONES.size()); ++zone) {
        SCOPED_TRACE(WAR_ZONES[size_t(zone)].directory);
        const MissionWorld mission = build_mission_world(zone + 1, MissionKind::AIR, false, false);
        std::set<int> sides;
        for (const GroundObjectPlace& place : place_ground_objects(zone))
            if (radar_sites.contains(place.type)) sides.insert(mission.cell_sides[place.x >> 22][place.y >> 22]);
        EXPECT_TRUE(sides.contains(1));
        EXPECT_TRUE(sides.contains(2));
    }
}

}  // namespace
}  // namespace vyr::vyrgen
