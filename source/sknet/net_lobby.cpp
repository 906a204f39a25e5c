#include "source/sknet/net_lobby.h"

#include <cstdio>
#include <cstring>

#include "library/system/thread.h"
#include "library/system/timer.h"
#include "source/avionics/messages.h"
#include "source/drone/drone.h"
#include "source/frame_loop.h"
#include "source/sknet/chat.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/net_decoder.h"
#include "source/sknet/net_players.h"
#include "source/sknet/net_screens.h"
#include "source/sknet/two_player_messages.h"
#include "library/3dvisual/mobile.h"

namespace vyr {

namespace {

constexpr uint32_t CHECK_NETWORK_PRIORITY = 10'000;
constexpr int LEFT_MESSAGE_TICKS = 400;

uint32_t check_network_thread = 0;

bool from_another(const NetMessage& message) { return message.sender != own_player_number; }

void store_sender_name(const NetMessage& message) {
    NetPlayer& slot = net_players[message.sender];
    std::memcpy(slot.name, message.name, NET_NAME_LENGTH + 1);
    slot.slot_state = uint8_t(message.sender);
}

void recount_other_players() { other_player_count = count_other_nodes(); }

void receive_announce(const NetMessage& message) {
    if (flight_running || (message.sender == own_player_number && own_player_number != -1)) return;
    store_sender_name(message);
    NetPlayer& slot = net_players[message.sender];
    slot.aircraft_object = message.aircraft_object;
    slot.status_bits = uint8_t((slot.status_bits & ~NET_STATUS_BLUE_TEAM) | (message.team & 1 ? NET_STATUS_BLUE_TEAM : 0));
    set_node_name(message.node, slot.name);
    refresh_network_player_list();
    send_announce_reply(message.node);
    send_player_name(own_network_name);
}

void receive_announce_reply(const NetMessage&) {
    if (flight_running) return;
    poll_network();
    recount_other_players();
    update_own_player_number();
    refresh_network_player_list();
}

void receive_node_count(const NetMessage&) {
    if (flight_running) return;
    poll_network();
    recount_other_players();
}

void receive_player_name(const NetMessage& message) {
    if (flight_running || message.sender == -1 || !from_another(message)) return;
    store_sender_name(message);
    set_node_name(message.node, net_players[message.sender].name);
    if (game_mode != GAME_SINGLE && game_mode != GAME_MULTI_PLAYER) {
        int others = count_other_nodes();
        if (others == 1)
            add_modem_message("Found one other player");
        else if (others > 1)
            add_modem_message("Found more than one other player. Select another channel");
    }
    refresh_network_player_list();
    recount_other_players();
}

void post_player_count() {
    char text[32];
    if (other_player_count <= 0)
        std::snprintf(text, sizeof text, "No players!");
    else
        std::snprintf(text, sizeof text, "%d players", other_player_count);
    post_message(text, 4, LEFT_MESSAGE_TICKS);
}

void receive_player_quit(const NetMessage& message) {
    if (!flight_running || !from_another(message)) return;
    char text[32];
    std::snprintf(text, sizeof text, "%s LEFT", message.name);
    post_message(text, 4, LEFT_MESSAGE_TICKS);
    post_player_count();
    NetPlayer& slot = net_players[message.sender];
    bool was_gone = slot.slot_state == NET_SLOT_EMPTY;
    slot.slot_state = NET_SLOT_EMPTY;
    if (game_mode == GAME_PILOT_GUNNER) flight_running = 0;
    if (slot.drone && !slot.drone->destroyed && !was_gone) {
        unlink_mobile_object(&slot.drone->object);
        slot.slot_state = NET_SLOT_REMOVED;
    }
}

void send_to_others(int32_t code) {
    uint8_t block[NET_MESSAGE_SIZE];
    send_to_all_nodes(block, encode_net_message(own_net_message(code), block));
}

void run_network_check() {
    set_thread_background();
    set_receive_callback(receive_net_message);
    for (;;) {
        if (!network_active || !network_socket_open()) {
            sleep_thread(CLOCK_RATE / 10);
            continue;
        }
        poll_network();
        dispatch_received_packets();
        yield_thread();
    }
}

}  // namespace

NetMessage own_net_message(int32_t code) {
    NetMessage message = {};
    message.code = code;
    std::snprintf(message.name, sizeof message.name, "%s", own_network_name);
    message.sender = own_player_number;
    return message;
}

void send_announce() {
    if (!network_active) return;
    update_own_player_number();
    refresh_network_player_list();
    NetMessage message = own_net_message(NET_MSG_ANNOUNCE);
    bool blue = own_player_number >= 0 && net_players[own_player_number].status_bits & NET_STATUS_BLUE_TEAM;
    message.team = own_player_number < 0 ? 1 : blue ? -1 : 0;
    message.aircraft_object = own_player_number < 0 ? 0 : net_players[own_player_number].aircraft_object;
    uint8_t block[NET_MESSAGE_SIZE];
    queue_broadcast(block, encode_net_message(message, block));
    poll_network();
}

void send_announce_reply(int node) {
    if (!network_active) return;
    uint8_t block[NET_MESSAGE_SIZE];
    queue_to_node(node, block, encode_net_message(own_net_message(NET_MSG_ANNOUNCE_REPLY), block));
    poll_network();
}

void send_player_name(const char* name) {
    if (!network_active) return;
    uint8_t block[NET_MESSAGE_SIZE];
    queue_broadcast(block, encode_net_message(own_net_message(NET_MSG_PLAYER_NAME), block));
    poll_network();
    set_network_name(name);
}

void leave_network_game() {
    if (network_active) {
        send_to_others(NET_MSG_PLAYER_QUIT);
        poll_network();
        for (int node = MAX_NET_PLAYERS - 1; node >= 0; --node)
            if (is_node_active(node) && !net_nodes[node].self) remove_node(node);
        network_active = 0;
    }
    close_network_socket(current_network_socket());
    stop_network();
}

void receive_net_message(NetPacket* packet) {
    NetMessage message;
    if (!decode_net_message(*packet, message)) return;
    current_sender = message.sender;
    switch (message.code) {
    case NET_MSG_ANNOUNCE: receive_announce(message); break;
    case NET_MSG_ANNOUNCE_REPLY: receive_announce_reply(message); break;
    case NET_MSG_NODE_COUNT: receive_node_count(message); break;
    case NET_MSG_PLAYER_NAME: receive_player_name(message); break;
    case NET_MSG_MENU_ITEM: receive_menu_item(message); break;
    case NET_MSG_PLAYER_QUIT: receive_player_quit(message); break;
    case NET_MSG_TWO_PLAYER_SETTINGS: receive_two_player_settings(message); break;
    case NET_MSG_CHAT: receive_chat_line(message); break;
    default: break;
    }
}

void start_network_check() {
    if (check_network_thread) return;
    check_network_thread = create_thread("Check Network", run_network_check);
    set_thread_priority_by_id(check_network_thread, CHECK_NETWORK_PRIORITY);
}

}  // namespace vyr
