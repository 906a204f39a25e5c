// The two-player and network screens and the scores after a multiplayer flight.
#pragma once

#include <cstdint>

namespace vyr {

// Set when the network options were changed, so that they are shared again.
extern int32_t network_options_changed;

// The two score values of the scores screen.
void set_score_values(int own, int other);
void clear_modem_messages();
void join_network_channel();
void reset_server_state();
void show_network_scores();
void share_network_options();
void apply_network_options();
void enable_network_option_buttons(int on);
// The network screen's player list from the node table, in node order.
void refresh_network_player_list();
// A line on the two-player screen's message lines.
void add_modem_message(const char* text);
// After a serial flight: "NO CARRIER" or the lost-link message on the modem lines.
void show_link_end_reason();
void push_two_player_screen();
// After two machines agreed on a game: the rules set and the flight or the mission choice begun.
void check_network_take_off();

// The network game screen and the two-player screen, built with the menus; the Combat Screen's
// buttons that open them.
void create_network_screen();
void create_two_player_screen();
struct UiObject;
struct Event;
void start_network_game(UiObject* object, Event& event);
void start_two_player_screen(UiObject* object, Event& event);
// The network screen takes input again and is redrawn.
void enable_network_screen_input();

}  // namespace vyr
