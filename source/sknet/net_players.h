// The players of a linked game.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"
#include "library/network/transport.h"

namespace vyr {

// This machine's player number in a linked game, -1 until known; its drone is the user task's
// drone of that index.
extern int32_t own_player_number;
struct Drone;
// The other player's aircraft in a two-player game; null when there is none.
extern Drone* other_player_drone;

constexpr uint8_t NET_SLOT_EMPTY = 0xFF;
constexpr uint8_t NET_SLOT_REMOVED = 0xFE;
constexpr uint8_t NET_STATUS_BLUE_TEAM = 0x08;  // always set in deathmatch

// One player of a network game, indexed by player number.
struct NetPlayer {
    int32_t aircraft_id;  // task id << 16 | index in the task
    Drone* drone;         // the drone standing for the player here; null when none
    char name[9];
    Pose pose;
    int32_t speed;
    int32_t aircraft_object;
    int32_t weapon, weapon_random_state, target_kind;
    int32_t target_data[3];
    double last_update_time;
    int8_t list_line;
    uint8_t slot_state = NET_SLOT_EMPTY;  // the player number while present, or NET_SLOT_REMOVED
    uint8_t status_bits;
};

extern NetPlayer net_players[MAX_NET_PLAYERS];
// The deathmatch kill count of each player.
extern int32_t player_scores[MAX_NET_PLAYERS];
// This machine's index in the transport's node table; MAX_NET_PLAYERS or more outside a network
// game.
extern int32_t own_node_number;
// The "/map" command's switch: other players' aircraft on the HSI.
extern int32_t show_players_on_map;

// A slot present in the game with a drone to show.
inline bool is_net_player_shown(const NetPlayer& player) {
    return player.slot_state != NET_SLOT_EMPTY && player.slot_state != NET_SLOT_REMOVED && player.drone;
}

}  // namespace vyr
