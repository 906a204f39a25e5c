#include "source/sknet/net_players.h"

#include <cstdio>
#include <cstring>

#include "library/config/prefs.h"
#include "library/debug/fatal.h"
#include "library/system/exit.h"
#include "source/sknet/net_lobby.h"
#include "source/sknet/net_screens.h"
#include "source/weapons/object_types.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/sknet/net_players";
constexpr const char* WAITING_NAME = "Connecting ....";
constexpr uint8_t STATUS_READY = 0x01, STATUS_JOINED = 0x02;

int32_t leave_registered = 0;

bool valid_player(int player) { return player >= 0 && player < MAX_NET_PLAYERS; }

void copy_name(char (&name)[16], const char* text) {
    std::snprintf(name, sizeof name, "%s", text);
}

}  // namespace

int32_t own_player_number = -1;
Drone* other_player_drone = nullptr;
NetPlayer net_players[MAX_NET_PLAYERS] = {};
int32_t player_scores[MAX_NET_PLAYERS] = {};
int32_t own_node_number = MAX_NET_PLAYERS;
int32_t show_players_on_map = 1;
int32_t quack_messages = 0;
int32_t client_join_tries = 60;
int32_t network_active = 0;
int32_t current_sender = -1;
int32_t other_player_count = 0;
int32_t client_server_game = 0;
int32_t server_player = 0;
char own_network_name[9] = "NO NAME";

void init_network_players() {
    if (network_active) {
        start_network_check();
        char name[9] = {};
        if (!get_pref_string("Network Name", name, sizeof name) || !name[0]) std::strcpy(name, "NO NAME");
        std::strcpy(own_network_name, name);
        own_player_number = -1;
        for (NetPlayer& player : net_players) player.status_bits &= uint8_t(~(STATUS_READY | STATUS_JOINED));
    }
    reset_player_table();
    if (!leave_registered) {
        leave_registered = 1;
        add_exit_handler(leave_network_game);
    }
}

void reset_player_table() {
    for (NetPlayer& player : net_players) {
        player.slot_state = NET_SLOT_EMPTY;
        copy_name(player.name, WAITING_NAME);
    }
}

void update_own_player_number() {
    int own = find_own_node();
    if (own != own_player_number && valid_player(own_player_number)) {
        copy_name(net_players[own_player_number].name, WAITING_NAME);
        net_players[own_player_number].aircraft_object = 0;
    }
    own_player_number = own;
    own_node_number = valid_player(own) ? own : MAX_NET_PLAYERS;
    if (valid_player(own)) net_players[own].aircraft_object = OBJ_VYR_HOVREN_TALSWEEP;
}

void set_network_name(const char* name) {
    if (network_active) {
        update_own_player_number();
        refresh_network_player_list();
    }
    if (!valid_player(own_player_number)) return;
    char kept[sizeof own_network_name];  // the name may be the own name itself
    std::snprintf(kept, sizeof kept, "%s", name ? name : "NO NAME");
    std::strcpy(own_network_name, kept);
    NetPlayer& own = net_players[own_player_number];
    copy_name(own.name, own_network_name);
    own.slot_state = uint8_t(own_player_number);
    set_node_name(own_player_number, own_network_name);
    refresh_network_player_list();
    set_pref_string("Network Name", own_network_name);
}

void assert_peer_to_peer(int where) {
    if (client_server_game) report_fatal_error("client server games when should be peer-peer (%d)", SOURCE, __LINE__, where);
}

void flush_network() {
    while (broadcast_queue_busy() && network_socket_open()) {
        poll_network();
        dispatch_received_packets();
    }
}

}  // namespace vyr
