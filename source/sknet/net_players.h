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

constexpr int NET_NAME_LENGTH = 8;  // characters of a name on the wire
constexpr uint8_t NET_SLOT_EMPTY = 0xFF;
constexpr uint8_t NET_SLOT_REMOVED = 0xFE;
constexpr uint8_t NET_STATUS_BLUE_TEAM = 0x08;  // always set in deathmatch

// One player of a network game, indexed by player number.
struct NetPlayer {
    int32_t aircraft_id;  // task id << 16 | index in the task
    Drone* drone;         // the drone standing for the player here; null when none
    char name[16];  // 8 characters from the wire; "Connecting ...." while the slot waits
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
// The "/quack" command's switch: the humorous kill and leave lines in the chat area.
extern int32_t quack_messages;
// The one-second tries a network client makes to join its server (20..300, "/retry").
extern int32_t client_join_tries;

// 1 while a network game, lobby or flight, is active.
extern int32_t network_active;
// The player number of the message being dispatched.
extern int32_t current_sender;
extern int32_t other_player_count;
// 1 in a deathmatch or capture-the-flag flight, whose server collects the clients' states.
extern int32_t client_server_game;
// The player number of a client/server game's server (0 in the lobby).
extern int32_t server_player;
// The own name: 8 characters at most, "NO NAME" unless the "Network Name" setting gives one.
extern char own_network_name[9];

// Start of a network game: starts "Check Network" once, takes the own name from the settings,
// forgets the own number and the ready and joined bits, and empties the table.
void init_network_players();
// Every slot empty, named "Connecting ....".
void reset_player_table();
// The own name becomes the text's first 8 characters ("NO NAME" for null), in the own slot, the
// own node and the "Network Name" setting; nothing while the own number is unknown.
void set_network_name(const char* name);
// The own number becomes the own node's index; a slot left behind is named "Connecting ....".
void update_own_player_number();
// Fatal in a client/server game: `where` names the peer-to-peer routine's caller.
void assert_peer_to_peer(int where);
// Polls and dispatches until the broadcast queue has gone out.
void flush_network();

// A slot present in the game with a drone to show.
inline bool is_net_player_shown(const NetPlayer& player) {
    return player.slot_state != NET_SLOT_EMPTY && player.slot_state != NET_SLOT_REMOVED && player.drone;
}

}  // namespace vyr
