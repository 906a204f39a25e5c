#include "tools/vyrgen/missions/missions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "tools/vyrgen/sound/sounds.h"
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
        EXPECT_EQ(records, 4 * 17 + 2) << "seventeen missions a theatre and two training missions";
    }
}

// Every level 1 to 10 of a campaign finds a mission with its texts, briefing and speech; level 3,
// where campaigns start, is one mission in Korea and in Israel.
TEST_F(MissionFiles, EveryCampaignLevelHasItsMissionsWithTextsAndSpeech) {
    std::set<std::string> speech;
    for (const DataFile& file : menu_speech_files()) speech.insert(file.name);
    for (int zone = 1; zone <= 4; ++zone) {
        const char* code = std::array{"isral", "korea", "cypus", "afghn"}[size_t(zone - 1)];
        std::map<int, int> per_level;
        for (int number = 1; files.count("missdata/" + std::string(code) + "c" + (number < 10 ? "0" : "") +
                                         std::to_string(number) + ".mis");
             ++number) {
            char name[16];
            std::snprintf(name, sizeof name, "%sc%02d", code, number);
            const auto& header = files.at("missdata/" + std::string(name) + ".mis");
            const std::string h(header.begin(), header.end());
            ASSERT_EQ(h.find(":Game Flow\n4\n:War Zone\n" + std::to_string(zone) + "\n:Campaign Level\n"), 0u) << name;
            ++per_level[std::stoi(h.substr(h.rfind('\n', h.size() - 2) + 1))];
            const auto& text = files.at("missdata/" + std::string(name) + ".txt");
            for (const char* tag : {":Description\n", ":Briefing\n", ":Success\n", ":Failure\n"})
                EXPECT_NE(std::string(text.begin(), text.end()).find(tag), std::string::npos) << name << tag;
            if (zone <= 3) {
                EXPECT_TRUE(speech.count("speech/" + std::string(name) + ".raw")) << name;
            }
        }
        for (int level = 1; level <= 10; ++level) EXPECT_GE(per_level[level], 1) << code << " level " << level;
        if (zone <= 2) {
            EXPECT_EQ(per_level[3], 1) << code;
        }
    }
}

// What each kind of campaign mission asks, and that the player can do it: Korea's reconnaissance
// starts in the air within the recon equipment's 3,000 m of its waypoint; Israel's approach has
// no goal and no Target waypoint.
TEST(CampaignGoals, EachKindOfMissionHasAGoalThePlayerCanMeet) {
    constexpr int RECON = 6, TARGET = 4, LANDING = 7;
    for (int zone = 1; zone <= 4; ++zone) {
        const MissionWorld air = build_campaign_world(zone, MissionKind::AIR);
        EXPECT_EQ(air.success_count, 1);
        int flagged = 0;
        for (const MissionTask& task : air.tasks)
            for (const MissionDrone& drone : task.drones) flagged += drone.kill_success && task.side == 2;
        EXPECT_EQ(flagged, 1) << zone;

        const MissionWorld ground = build_campaign_world(zone, MissionKind::GROUND);
        EXPECT_EQ(ground.success_count, 1);
        const RoutePoint* target = nullptr;
        for (const RoutePoint& p : ground.tasks.front().drones.front().route)
            if (p.type == TARGET) target = &p;
        ASSERT_NE(target, nullptr);
        std::set<int> at_target;
        for (const GameplaySite& site : ground.sites)
            if (site.x == target->x && site.y == target->y) at_target.insert(site.type);
        EXPECT_EQ(at_target, (std::set<int>{3, 8})) << "the armour, flagged as the mission's target";
        EXPECT_EQ(ground.cell_sides[target->x >> 22][target->y >> 22], 2);
    }
    const std::vector<RoutePoint> recon = build_campaign_world(2, MissionKind::RECON).tasks.front().drones.front().route;
    EXPECT_GT(recon[0].z, 0) << "in the air";
    EXPECT_EQ(recon[1].type, RECON);
    EXPECT_LT(std::hypot(double(recon[1].x - recon[0].x), double(recon[1].y - recon[0].y)), 3000 / 0.3048 * 256);

    const MissionWorld approach = build_campaign_world(1, MissionKind::APPROACH);
    EXPECT_EQ(approach.success_count, 0);
    for (const RoutePoint& p : approach.tasks.front().drones.front().route) EXPECT_NE(p.type, TARGET);
    EXPECT_EQ(approach.tasks.front().drones.front().route.back().type, LANDING);
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

// Every mission that starts on the ground starts on its home runway, near the threshold, facing
// its next waypoint (as the placement turns the player) along the runway's line.
TEST(RunwayStarts, EveryGroundStartIsOnItsHomeRunwayLinedUpWithIt) {
    const double post = 1 << 20;
    for (int zone = 1; zone <= 4; ++zone) {
        const TheatreLayout& layout = theatre_layout(zone - 1);
        const Airfield& home =
            *std::find_if(layout.airfields.begin(), layout.airfields.end(), [](const Airfield& a) { return a.side == 1; });
        const double runway = double(home.heading) / 4294967296.0 * 2 * std::numbers::pi;
        const Point along{std::sin(runway), std::cos(runway)};
        for (MissionKind kind : {MissionKind::AIR, MissionKind::GROUND})
            for (bool quick_start : {false, true}) {
                SCOPED_TRACE(testing::Message() << "zone " << zone << (kind == MissionKind::AIR ? " air" : " ground")
                                                << (quick_start ? " quick start" : ""));
                const MissionWorld world = build_mission_world(zone, kind, false, quick_start);
                const std::vector<RoutePoint>& route = world.tasks.front().drones.front().route;
                const Point start{route[0].x / post, route[0].y / post};
                const Point d = start - home.centre;
                const double on = d.x * along.x + d.y * along.y, aside = d.x * along.y - d.y * along.x;
                EXPECT_LT(std::abs(aside), home.runway_width / 2) << "on the runway, not beside it";
                EXPECT_LT(on, -home.runway_length / 2 * 0.8) << "near the threshold";
                EXPECT_GT(on, -home.runway_length / 2);
                const double facing = std::atan2(route[1].x - route[0].x, route[1].y - route[0].y);
                EXPECT_NEAR(std::remainder(facing - runway, 2 * std::numbers::pi), 0.0, 0.005) << "lined up";
            }
    }
}

// Shadows from the first frame of the ground-attack quick start: a helicopter 200 ft up ahead of
// the player and two tanks parked either side of its way, at noon; and soldiers beside the runway
// ahead of the player: a squad, a stretcher party and a manned machine gun. The other missions keep
// theirs. The player starts facing its route's next waypoint: what it is to see lies within 30
// degrees of that bearing.
TEST(QuickStartScene, TheGroundAttackQuickStartShowsAHoveringHelicopterParkedTanksAndSoldiers) {
    for (int zone = 1; zone <= 4; ++zone) {
        SCOPED_TRACE(zone);
        const MissionWorld quick = build_mission_world(zone, MissionKind::GROUND, false, true);
        const std::vector<RoutePoint>& route = quick.tasks.front().drones.front().route;
        const RoutePoint& start = route[0];
        const double facing = std::atan2(route[1].y - start.y, route[1].x - start.x);
        auto in_view = [&](const RoutePoint& p) {
            const double off = std::remainder(std::atan2(p.y - start.y, p.x - start.x) - facing, 2 * std::numbers::pi);
            return std::abs(off) < std::numbers::pi / 6;
        };
        int helicopters = 0, parked = 0;
        std::vector<int> formations;
        for (const MissionTask& task : quick.tasks)
            for (const MissionDrone& drone : task.drones) {
                const RoutePoint& first = drone.route.front();
                const double posts = std::hypot(first.x - start.x, first.y - start.y) / (1 << 20);
                if (drone.object_number == 103) {
                    ++helicopters;
                    EXPECT_EQ(first.z, 200 * 256);
                    EXPECT_LT(posts, 0.5);
                    EXPECT_TRUE(in_view(first));
                }
                // Soldiers and a machine gun; Korea's squad comes by helicopter (checked with the movers).
                if ((drone.object_number == 916 || drone.object_number == 852) && drone.onboard == 0) {
                    formations.push_back(drone.formation);
                    EXPECT_LT(posts, 0.15) << "in view of the start";
                    EXPECT_EQ(first.type, 10) << "a soldiers' waypoint";
                }
                if (drone.object_number == 68 && first.speed == 0 && posts < 0.5) {
                    ++parked;
                    EXPECT_EQ(first.z, 0);
                    EXPECT_GT(posts, 0.0);
                    EXPECT_TRUE(in_view(first));
                }
            }
        EXPECT_EQ(helicopters, 1);
        EXPECT_EQ(parked, 2);
        const std::vector<int> expected = zone == 2 ? std::vector<int>{141, 133} : std::vector<int>{90, 141, 133};
        EXPECT_EQ(formations, expected);
        EXPECT_EQ(quick.hours, 12);
        const MissionWorld strike = build_mission_world(zone, MissionKind::GROUND, false, false);
        size_t exploding = 0;  // the lake-shore wreck of a theatre with a lake by the runway
        for (const MissionTask& task : quick.tasks)
            for (const MissionDrone& drone : task.drones) exploding += drone.explode ? 1 : 0;
        const size_t movers = zone == 2 ? 9 : 0;  // Korea's show of the movers, the squad and its truck
        const size_t afghan = zone == 4 ? 1 + 2 : 0;  // Afghanistan's fighter taking off, radar and SAM site
        EXPECT_EQ(strike.tasks.size() + 3 + exploding + movers + afghan, quick.tasks.size());
        EXPECT_EQ(strike.hours, 14);
    }
}

// Posts from a point of the world to the nearest centre line of the routes.
double posts_off(const std::vector<Route>& routes, const RoutePoint& p) {
    const double post = 1 << 20;
    const Point q{p.x / post, p.y / post};
    double best = 1e9;
    for (const Route& route : routes)
        for (size_t i = 1; i < route.line.size(); ++i) {
            const Point a = route.line[i - 1], b = route.line[i], d = b - a;
            const double t = std::clamp(((q.x - a.x) * d.x + (q.y - a.y) * d.y) / (d.x * d.x + d.y * d.y), 0.0, 1.0);
            best = std::min(best, distance(q, a + d * t));
        }
    return best;
}

const MissionDrone* find_drone(const MissionWorld& world, int object_number, int task_type) {
    for (const MissionTask& task : world.tasks)
        for (const MissionDrone& drone : task.drones)
            if (drone.object_number == object_number && task.type == task_type) return &drone;
    return nullptr;
}

bool at_sea(const TheatreLayout& layout, const RoutePoint& p) {
    return p.z == 0 && layout.is_water({p.x / double(1 << 20), p.y / double(1 << 20)});
}

// Afghanistan's ground quick start: a fighter parked on the runway ahead of the player, short of its
// Departure point, slow enough to roll to it; out to a Cap Start it loops for minutes, back by an
// Approach waypoint and down on the runway. No other mission has it.
TEST(QuickStartScene, AfghanistansGroundAttackQuickStartHasAFighterTakingOffAhead) {
    const auto fighters_on_the_ground = [](const MissionWorld& world) {
        std::vector<const MissionDrone*> found;
        for (const MissionTask& task : world.tasks)
            for (const MissionDrone& d : task.drones)
                if (d.object_number == 225 && d.route.front().z == 0) found.push_back(&d);
        return found;
    };
    for (int zone = 1; zone <= 4; ++zone)
        for (bool quick_start : {false, true})
            for (bool airborne : {false, true}) {
                if (zone == 4 && quick_start && !airborne) continue;
                EXPECT_TRUE(fighters_on_the_ground(build_mission_world(zone, MissionKind::GROUND, airborne, quick_start)).empty())
                    << zone;
            }
    const MissionWorld quick = build_mission_world(4, MissionKind::GROUND, false, true);
    const std::vector<const MissionDrone*> fighters = fighters_on_the_ground(quick);
    ASSERT_EQ(fighters.size(), 1u);
    const std::vector<RoutePoint>& route = fighters[0]->route;
    const RoutePoint& start = quick.tasks.front().drones.front().route.front();
    ASSERT_GE(route.size(), 6u);
    EXPECT_LE(route[0].speed, 20 * 432);
    EXPECT_EQ(route[1].type, 1);  // Departure
    EXPECT_EQ(route[1].z, 0);
    EXPECT_LE(route[1].speed, 20 * 432);
    const double post = 1 << 20;
    EXPECT_LT(std::hypot(route[0].x - start.x, route[0].y - start.y) / post, 0.6) << "near the player";
    EXPECT_GT(std::hypot(route[0].x - start.x, route[0].y - start.y) / post, 0.4) << "beyond the player's take-off roll";
    EXPECT_GT(std::hypot(route[1].x - start.x, route[1].y - start.y), std::hypot(route[0].x - start.x, route[0].y - start.y))
        << "the Departure point beyond the parking point";
    int cap = -1, approach = -1;
    for (size_t i = 0; i < route.size(); ++i) {
        if (route[i].type == 3) cap = int(i);
        if (route[i].type == 8) approach = int(i);
    }
    ASSERT_GT(cap, 1);
    EXPECT_GE(route[size_t(cap)].wait, 60 * 200);
    EXPECT_LE(route[size_t(cap)].wait, 10 * 60 * 200);
    ASSERT_GT(approach, cap + 1) << "the loop closes before the approach";
    EXPECT_GT(route[size_t(approach)].z, 0);
    EXPECT_EQ(route[size_t(approach) + 1].z, 0);
    EXPECT_EQ(route.back().z, 0);
}

TEST(QuickStartScene, KoreasGroundAttackQuickStartShowsTheMovers) {
    const TheatreLayout& layout = theatre_layout(1);
    const MissionWorld quick = build_mission_world(2, MissionKind::GROUND, false, true);
    const RoutePoint& start = quick.tasks.front().drones.front().route.front();
    auto posts_from_start = [&start](const RoutePoint& p) { return std::hypot(p.x - start.x, p.y - start.y) / (1 << 20); };

    // The diamond: onto the road, along it and off it again, ahead of the player.
    const MissionDrone* diamond = find_drone(quick, 93, 9);
    ASSERT_NE(diamond, nullptr);
    EXPECT_EQ(diamond->formation, 1);
    ASSERT_EQ(diamond->route.size(), 4u);
    const double half_road = 0.006;
    EXPECT_GT(posts_off(layout.roads, diamond->route[0]), 0.05);
    EXPECT_LT(posts_off(layout.roads, diamond->route[1]), half_road);
    EXPECT_LT(posts_off(layout.roads, diamond->route[2]), half_road);
    EXPECT_GT(posts_off(layout.roads, diamond->route[3]), 0.05);
    for (const RoutePoint& p : diamond->route) EXPECT_LT(posts_from_start(p), 1.5);

    // The helicopter comes down on a ground waypoint near the start, waits and takes off.
    const MissionDrone* landing = find_drone(quick, 307, 7);
    ASSERT_NE(landing, nullptr);
    EXPECT_GT(landing->route[0].z, 0);
    EXPECT_EQ(landing->route[1].z, 0);
    EXPECT_GT(landing->route[1].wait, 0);
    EXPECT_GT(landing->route[2].z, 0);
    EXPECT_LT(posts_from_start(landing->route[1]), 1.0);

    // It carries the squad, which gets out where it lands and holds a point within rifle reach of
    // an enemy truck; the stretcher party walks a loop.
    const MissionDrone* squad = nullptr;
    const MissionDrone* party = nullptr;
    const MissionDrone* truck = nullptr;
    for (const MissionTask& task : quick.tasks)
        for (const MissionDrone& d : task.drones) {
            if (d.formation == 90) squad = &d;
            if (d.formation == 141) party = &d;
            if (d.object_number == 54 && task.side == 2) truck = &d;
        }
    ASSERT_TRUE(squad && party && truck);
    EXPECT_NE(landing->cargo, 0);
    EXPECT_EQ(squad->onboard, landing->cargo);
    EXPECT_EQ(squad->notify, 3) << "Landed";
    ASSERT_EQ(squad->route.size(), 2u);
    EXPECT_EQ(squad->route[0].type, 15) << "Deploy";
    EXPECT_EQ(squad->route[0].x, landing->route[1].x);
    EXPECT_EQ(squad->route[0].y, landing->route[1].y);
    EXPECT_EQ(squad->route[1].type, 11) << "Human defend";
    EXPECT_GT(squad->route[1].wait, 0);
    const double reach = std::hypot(truck->route[0].x - squad->route[1].x, truck->route[0].y - squad->route[1].y);
    EXPECT_LT(reach, 1000 * 256 - 100 * 256) << "within an AK47's 1,000 ft, with room for the formation";
    ASSERT_EQ(party->route.size(), 4u);
    for (const RoutePoint& p : party->route) EXPECT_GT(p.speed, 0);

    const MissionDrone* train = find_drone(quick, 523, 9);
    ASSERT_NE(train, nullptr);
    EXPECT_EQ(train->formation, 58);
    for (const RoutePoint& p : train->route) EXPECT_LT(posts_off(layout.railways, p), 0.001);
    EXPECT_NE(find_drone(quick, 54, 21), nullptr);  // the looping truck

    const MissionDrone* frigate = find_drone(quick, 320, 9);
    const MissionDrone* ship = find_drone(quick, 130, 9);
    const MissionDrone* parked = nullptr;  // the helicopter on the assault ship
    for (const MissionTask& task : quick.tasks)
        for (const MissionDrone& d : task.drones)
            if (d.object_number == 307 && &d != landing) parked = &d;
    ASSERT_TRUE(frigate && ship && parked);
    for (const RoutePoint& p : frigate->route) EXPECT_TRUE(at_sea(layout, p));
    EXPECT_NE(frigate->route.front().speed, 0);  // so that it patrols round and round
    EXPECT_TRUE(at_sea(layout, ship->route.front()));
    EXPECT_EQ(parked->route.front().x, ship->route.front().x);  // on the deck as it starts
    EXPECT_EQ(parked->route.front().y, ship->route.front().y);
    EXPECT_TRUE(at_sea(layout, parked->route.front()));
    EXPECT_TRUE(at_sea(layout, parked->route.back()));  // and back on it at the end
    EXPECT_GT(parked->route[1].z, 0);

    const std::string text = encode_mission_data(quick);
    EXPECT_NE(text.find(":Drone\n:Formation Type\n1\n:Waypoint"), std::string::npos);
    EXPECT_NE(text.find(":Drone onboard\n1\n:Drone notify\n3\n"), std::string::npos);
    EXPECT_NE(text.find(":Drone cargo\n1\n"), std::string::npos);
}

TEST(QuickStartScene, AfghanistansGroundAttackQuickStartPassesEmittersWithAPod) {
    const MissionWorld quick = build_mission_world(4, MissionKind::GROUND, false, true);
    const std::vector<RoutePoint>& route = quick.tasks.front().drones.front().route;
    const MissionDrone* radar = find_drone(quick, 77, 9);
    const MissionDrone* sam = find_drone(quick, 450, 9);
    ASSERT_TRUE(radar && sam);
    // Both within 3 nm of the way out from the runway to the first turn, between its ends.
    for (const MissionDrone* d : {radar, sam}) {
        const RoutePoint& a = route[0];
        const RoutePoint& b = route[2];
        const double lx = b.x - a.x, ly = b.y - a.y, length = std::hypot(lx, ly);
        const double along = ((d->route[0].x - a.x) * lx + (d->route[0].y - a.y) * ly) / length;
        const double aside = std::abs((d->route[0].x - a.x) * ly - (d->route[0].y - a.y) * lx) / length;
        EXPECT_GT(along, 0);
        EXPECT_LT(along, length);
        EXPECT_LT(aside, 3 * 1555456.0);
    }
    EXPECT_EQ(quick.pylons[9][0], 22);
    // The other theatres' ground quick starts carry no pod and pass no such emitters.
    const MissionWorld korea = build_mission_world(2, MissionKind::GROUND, false, true);
    EXPECT_EQ(find_drone(korea, 77, 9), nullptr);
    EXPECT_NE(korea.pylons[9][0], 22);
}

// The war model maps each side's radar cover from the radar sites standing on ground of its side.
// Korea's air quick start: the player's task gains two wingmen on his route, and ahead of the
// start, on dry ground within 30 degrees of his bearing, an allied and an enemy tank formation of
// battle cell 1 face each other, each leader on three waypoints with a Target between the others.
// No other quick start has wingmen (the missions from the runway have their own), and no other
// mission a battle cell.
TEST(QuickStartScene, KoreasAirQuickStartFliesWithTwoWingmenOverATankBattle) {
    const auto battle_tasks = [](const MissionWorld& world) {
        std::vector<const MissionTask*> found;
        for (const MissionTask& task : world.tasks)
            if (task.battle_cell) found.push_back(&task);
        return found;
    };
    for (int zone = 1; zone <= 4; ++zone)
        for (MissionKind kind : {MissionKind::AIR, MissionKind::GROUND})
            for (bool quick_start : {false, true}) {
                const bool airborne = kind == MissionKind::AIR;
                if (zone == 2 && quick_start && airborne) continue;
                const MissionWorld world = build_mission_world(zone, kind, airborne, quick_start);
                EXPECT_TRUE(battle_tasks(world).empty()) << zone;
                const size_t wingmen = quick_start || airborne ? 0 : kind == MissionKind::GROUND ? 2 : 1;
                EXPECT_EQ(world.tasks.front().drones.size(), 1 + wingmen) << zone;
            }
    const MissionWorld quick = build_mission_world(2, MissionKind::AIR, true, true);
    const std::vector<MissionDrone>& own = quick.tasks.front().drones;
    ASSERT_EQ(own.size(), 3u);
    for (size_t i = 1; i < own.size(); ++i) {
        EXPECT_EQ(own[i].object_number, 1232);
        EXPECT_EQ(own[i].route.size(), own[0].route.size());
        EXPECT_EQ(own[i].route.front().z, own[0].route.front().z);
    }
    const std::vector<RoutePoint>& route = own[0].route;
    const RoutePoint& start = route[0];
    const double facing = std::atan2(route[1].y - start.y, route[1].x - start.x);
    const std::vector<const MissionTask*> battle = battle_tasks(quick);
    ASSERT_EQ(battle.size(), 2u);
    std::set<int> sides;
    const TheatreLayout& layout = theatre_layout(1);
    for (const MissionTask* task : battle) {
        sides.insert(task->side);
        EXPECT_EQ(task->battle_cell, 1);
        EXPECT_EQ(task->type, 8) << "a tank formation";
        ASSERT_EQ(task->drones.size(), 1u);
        const MissionDrone& leader = task->drones.front();
        EXPECT_NE(leader.formation, 0);
        ASSERT_EQ(leader.route.size(), 3u);
        EXPECT_EQ(leader.route[1].type, 4) << "the Target waypoint";
        for (const RoutePoint& p : leader.route) {
            const double off = std::remainder(std::atan2(p.y - start.y, p.x - start.x) - facing, 2 * std::numbers::pi);
            EXPECT_LT(std::abs(off), std::numbers::pi / 6) << "in view of the start";
            EXPECT_EQ(p.z, 0);
            EXPECT_GT(p.speed, 0);
        }
        const double post = 1 << 20;
        EXPECT_FALSE(layout.is_water({leader.route[1].x / post, leader.route[1].y / post}));
    }
    EXPECT_EQ(sides, (std::set<int>{1, 2}));
}

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

namespace vyr::vyrgen {
namespace {

// The map of a single mission shows a flight: the player leads one wingman on patrol, two on a
// strike, each on a route of his own; and a strike's Target waypoint has a mission target and a
// site to spare beside it.
TEST(SingleMissionFlight, WingmenFlyBesideThePlayerAndTheStrikeTargetHasItsSites) {
    for (int zone = 1; zone <= 4; ++zone)
        for (MissionKind kind : {MissionKind::AIR, MissionKind::GROUND}) {
            SCOPED_TRACE(testing::Message() << "zone " << zone << (kind == MissionKind::AIR ? " air" : " ground"));
            const bool strike = kind == MissionKind::GROUND;
            const MissionWorld world = build_mission_world(zone, kind, false, false);
            const std::vector<MissionDrone>& flight = world.tasks.front().drones;
            ASSERT_EQ(flight.size(), strike ? 3u : 2u);
            const RoutePoint& target = flight[0].route[3];
            for (size_t k = 1; k < flight.size(); ++k) {
                EXPECT_EQ(flight[k].route.size(), flight[0].route.size());
                EXPECT_TRUE(flight[k].route[3].x != target.x || flight[k].route[3].y != target.y) << "a route of its own";
                EXPECT_EQ(flight[k].route[0].z, 0) << "from the runway";
            }
            std::multiset<int> near_target;
            for (const GameplaySite& site : world.sites)
                if (std::hypot(site.x - target.x, site.y - target.y) < 2.0 * (1 << 20)) near_target.insert(site.type);
            EXPECT_EQ(near_target.count(8), strike ? 1u : 0u);
            EXPECT_EQ(near_target.count(7), strike ? 1u : 0u);
            EXPECT_EQ(build_mission_world(zone, kind, false, true).tasks.front().drones.size(), 1u)
                << "the quick starts fly alone";
        }
}

}  // namespace
}  // namespace vyr::vyrgen
