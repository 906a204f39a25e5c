// The missions of the sample data set: for each theatre of war its two quick starts (air combat
// and ground attack), single and campaign missions with their texts, headers and data files, the
// campaign texts, the training mission over Nevada, and the catalogue file missions.blk of every
// language. Every text file ends in a line feed; the data files are in the form the game's own
// writer gives them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/vyrgen/data_set.h"

namespace vyr::vyrgen {

// One point of a route, the eighteen values of a ":Waypoint" line.
struct RoutePoint {
    int type;
    int32_t x, y, z;
    int32_t speed;
    int32_t wait;
};

struct MissionDrone {
    int object_number;
    std::vector<RoutePoint> route;
    bool explode = false;  // destroyed as the flight starts
    int formation = 0;     // when not 0, written in place of the object number (its leader's)
    // A transport's passengers have its cargo value as their onboard value and wait for `notify`.
    int cargo = 0, onboard = 0, notify = 0;
    bool kill_success = false;  // its destruction counts towards the mission's success count
};

struct MissionTask {
    int side, type;
    std::vector<MissionDrone> drones;
    int battle_cell = 0;  // 1..4 pairs an allied and an enemy tank formation fighting over one point
};

struct GameplaySite {
    int type;  // 1 AAA .. 8 mission target
    int32_t x, y;
};

struct MissionWorld {
    std::vector<MissionTask> tasks;  // the user task first
    int cell_sides[64][64];          // [x][y]
    std::vector<GameplaySite> sites;
    int pylons[11][2];  // store, count
    int laser_timeout, wind_speed, wind_degrees, weather;
    int hours, minutes;
    int success_count;
};

// Kinds of mission a theatre is given.
enum class MissionKind { AIR, GROUND, RECON, APPROACH };

// The quick starts: from the ground, a drone that explodes at the start on the shore of a lake near
// the runway when the theatre has one there; the ground-attack one also shows a helicopter 200 ft
// up, tanks beside the runway, and soldiers beside it ahead of the player: a squad, a stretcher
// party and a heavy machine gun with its gunner. Korea's ground-attack one shows the movers: in
// view of the start a tank diamond driving onto the road that crosses ahead and off it again, and a
// helicopter landing and taking off; elsewhere a train, a looping truck, a frigate's patrol and,
// at sea, the assault ship with a helicopter parked on its deck that flies a round and lands back.
// Afghanistan's ground-attack one carries a targeting pod and passes an enemy early-warning radar
// and a SAM site on its first leg.
MissionWorld build_mission_world(int zone, MissionKind kind, bool airborne_start, bool quick_start);
// The data file in canonical form.
std::string encode_mission_data(const MissionWorld& world);
// missions.blk: per mission its number, text and header, then -1.
struct CatalogueEntry {
    int32_t number;
    std::string text, header;
};
std::vector<uint8_t> encode_mission_catalogue(const std::vector<CatalogueEntry>& entries);

// A campaign mission's world with goals a player can meet: AIR a fighter of the enemy's patrol to
// shoot down; GROUND the armour at its Target waypoint on the front; RECON a reconnaissance
// waypoint to report, the player starting in the air within reach of it; APPROACH none, the
// player on the approach to the home runway.
MissionWorld build_campaign_world(int zone, MissionKind kind);

std::vector<DataFile> mission_files();

}  // namespace vyr::vyrgen
