// The kind of game being played and the war zone it is played in, which the flight and the
// screens both read.
#pragma once

#include <cstdint>

namespace vyr {

enum WarZone : int32_t {
    WAR_ZONE_ISRAEL = 1,
    WAR_ZONE_KOREA = 2,
    WAR_ZONE_CYPRUS = 3,
    WAR_ZONE_AFGHAN = 4,
    WAR_ZONE_NEVADA = 5,
};
// Loads the zone's theatre and stores it as "Set Map"; the present zone again does nothing. A
// zone outside 1 to 5 (an edited settings file) is taken as Cyprus, so a theatre is always loaded.
void set_war_zone(int war_zone);
// 0 until the first set_war_zone.
int get_war_zone();

enum GameFlow : int32_t {
    FLOW_NONE = 0,
    FLOW_QUICK_START = 1,
    FLOW_TRAINING = 2,
    FLOW_SINGLE_MISSION = 3,
    FLOW_CAMPAIGN = 4,
    FLOW_DEATHMATCH = 5,
    FLOW_CAPTURE_FLAG = 6,
    // No menu enters flow 7, though the catalogue reads its mission files.
    FLOW_RESERVED = 7,
    // A mission set of its own: its list, and the drones' loadouts while it lasts.
    FLOW_ALTERNATE = 8,
};
int get_game_flow();
void set_game_flow(int flow);

}  // namespace vyr
