// Stand-in for multiplayer: every game is a single-player one.
#include "library/ui/screens.h"
#include "source/menus/notify.h"
#include "source/menus/screens.h"
#include "source/mission/game_flow.h"
#include "source/sknet/chat.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "source/sknet/menu_choice.h"
#include "source/sknet/kill_reports.h"
#include "source/sknet/net_screens.h"
#include "source/sknet/net_messages.h"
#include "source/sknet/net_players.h"
#include "source/weapons/rounds.h"
#include "source/weapons/stores.h"

namespace vyr {

int32_t game_mode = GAME_SINGLE;
int32_t connection_mode = CONNECTION_NONE;
int32_t free_pause = 0;
int32_t control_mode = CONTROL_PILOT;
int32_t crashing_off = 0;
int32_t invincible = 0;
int32_t infinite_fuel = 0;
int32_t goodbye_picture = 0;
int32_t own_player_number = -1;
Drone* other_player_drone = nullptr;
int32_t chat_line_open = 0;
int32_t two_player_position = 1;
int32_t received_frame_ticks = 0;
int32_t player_out_of_play = 0;
int32_t combat_outcome = 0;
int32_t network_role = NET_ROLE_NONE;
int32_t network_options_changed = 0;
// No player takes part in a network game.
NetPlayer net_players[MAX_NET_PLAYERS] = {};
int32_t player_scores[MAX_NET_PLAYERS] = {};
int32_t own_node_number = MAX_NET_PLAYERS;
int32_t show_players_on_map = 1;

// The rules as they stand are the single player's: one machine takes both seats, so the weapon
// and target keys act and the target selection runs. A quick start has infinite fuel and
// unlimited weapons, and no crashes when flown invincible.
void set_game_rules() {
    game_mode = GAME_SINGLE;
    connection_mode = CONNECTION_NONE;
    control_mode = CONTROL_BOTH;
    if (get_game_flow() != FLOW_QUICK_START) return;
    infinite_fuel = 1;
    unlimited_weapons = 1;
    crashing_off = quick_start_level == 3;
}

// No other machine to talk to yet: every menu choice is accepted, and the network and two-player
// screens show only their backgrounds and a way back.
int send_menu_choice(int, int) { return 1; }
namespace {
UiObject* network_screen = nullptr;
UiObject* two_player_screen = nullptr;
}  // namespace
void create_network_screen() { network_screen = create_bare_screen("Network Game Screen", "menuscrn\\net_off.lbm"); }
void create_two_player_screen() {
    two_player_screen = create_bare_screen("Two Player Screen", "menuscrn\\2ply_off.lbm");
}
void start_network_game(UiObject*, Event&) { push_screen(network_screen); }
void start_two_player_screen(UiObject*, Event&) { push_screen(two_player_screen); }
void register_comms_phrase_keys() {}
int open_chat_line(int) { return 1; }
int own_team_bit() { return 1; }
void send_crashed() {}
void send_flag_captured() {}
void queue_two_player_event(int) {}
void read_chat_keys() {}
void draw_chat_area() {}
void request_chat_redraw() {}
void add_chat_line(const char*) {}
void report_crash() {}
void restart_user_aircraft() {}
void send_player_left() {}

void start_linked_flight() {}
void start_two_player_game() {}
void set_normal_secure_timeout() {}
void set_long_secure_timeout() {}
void reset_modem_link_states() {}
void announce_leaving() {}
void send_server_leaving() {}
void send_client_leaving() {}
void send_link_frame() {}
void receive_link_frame() {}
void send_two_player_frame() {}
void receive_two_player_frame() {}
void extrapolate_players() {}
void check_flag_captured() {}
int queue_remote_key(int) { return 0; }
void idle_modem_hook() {}

namespace {
int player_kills[2] = {};
}  // namespace

// Two players' kills are all a linked game keeps yet; a player number outside them counts none.
void add_player_kill(int player) {
    if (player == 0 || player == 1) ++player_kills[player];
}
int get_player_kills(int player) { return player == 0 || player == 1 ? player_kills[player] : 0; }

// No network or two-player screen exists yet.
void set_score_values(int, int) {}
void clear_modem_messages() {}
void join_network_channel() {}
void reset_server_state() {}
void set_node_sorting(int) {}
void show_network_scores() {}
void reset_player_table() {}
void share_network_options() {}
void apply_network_options() {}
void enable_network_option_buttons(int) {}
void show_link_end_reason() {}
void push_two_player_screen() {}
void enable_network_screen_input() {}

// No kill is reported to another machine, which has no player's drone here.
void record_kill(int32_t, int32_t, int32_t) {}
void record_ground_kill(int32_t, int32_t, int32_t) {}
void report_ground_kill_hook(const Vector3&) {}
// No transport yet: what would go out is recorded.
NetSendLog net_send_log = {};
void send_score(int32_t player) {
    ++net_send_log.score;
    net_send_log.last_score_player = player;
}
void send_weapon_fire_message(WeaponRound* round) {
    ++net_send_log.weapon_fire;
    net_send_log.last_round = round;
}
void send_flare_message() { ++net_send_log.flare; }
void send_chaff_message() { ++net_send_log.chaff; }

// No link yet: the events wait in the frame's block.
namespace {
WeaponRound link_fire_round = {};
}  // namespace
int32_t link_fire_pending = 0;
int32_t link_flare_flag = 0, link_chaff_flag = 0;
void queue_link_weapon_fire(WeaponRound* round) {
    link_fire_round = *round;
    link_fire_pending = 1;
}
Drone* get_other_player_drone() { return nullptr; }

}  // namespace vyr
