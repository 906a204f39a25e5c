#include "source/sknet/two_player_messages.h"

#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "source/sknet/net_decoder.h"
#include "source/sknet/net_lobby.h"
#include "source/sknet/net_players.h"
#include "source/sknet/remote_choices.h"
#include "source/sknet/two_player.h"
#include "source/sknet/two_player_screen.h"

namespace vyr {

namespace {

void send_to_others(const NetMessage& message) {
    uint8_t block[NET_MESSAGE_SIZE];
    send_to_all_nodes(block, encode_net_message(message, block));
    poll_network();
}

}  // namespace

void send_menu_item(int item, const Event& event) {
    if (!network_active) return;
    NetMessage message = own_net_message(NET_MSG_MENU_ITEM);
    message.item = item;
    message.event = event;
    send_to_others(message);
}

void send_two_player_settings() {
    if (!network_active) return;
    NetMessage message = {};
    message.code = NET_MSG_TWO_PLAYER_SETTINGS;
    const TwoPlayerChoices& c = two_player_choices;
    const int32_t settings[5] = {two_player_game_type, c.position, c.weather, c.start_time, c.difficulty};
    for (int i = 0; i < 5; ++i) message.settings[i] = settings[i];
    send_to_others(message);
}

void receive_menu_item(const NetMessage& message) {
    if (message.sender != own_player_number) replay_menu_item(message.item, message.event);
}

// The decoder passed only the values the screen offers.
void receive_two_player_settings(const NetMessage& message) {
    set_game_rules();
    const int32_t* s = message.settings;
    two_player_game_type = s[0];
    TwoPlayerChoices& c = two_player_choices;
    c.position = 1 - s[1];
    c.weather = s[2];
    c.start_time = s[3];
    c.difficulty = s[4];
    two_player_position = c.position + 1;
    // Shown as the other machine chose, not toggled again as a replayed press would.
    show_two_player_choices();
}

}  // namespace vyr
