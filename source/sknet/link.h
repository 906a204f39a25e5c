// The linked game as the flight sees it: the synchronised start, the frames sent and received
// each frame, the two-player frame time, leaving, and the players' kills.
#pragma once

#include <cstdint>

namespace vyr {

// 1 for player 1, who leads the set-up and paces a two-player game; 2 for player 2.
extern int32_t two_player_position;
// The frame time the pacing machine sent, taken by the other one.
extern int32_t received_frame_ticks;
// 1 while the player is out of play in a network game.
extern int32_t player_out_of_play;
// After two-player combat: 1 this player won, -1 the other did, 0 neither.
extern int32_t combat_outcome;

enum NetworkRole : int32_t { NET_ROLE_NONE, NET_ROLE_PEER, NET_ROLE_SERVER, NET_ROLE_CLIENT };
extern int32_t network_role;

// Before and after the flight.
void start_linked_flight();
void start_two_player_game();
void set_normal_secure_timeout();
void set_long_secure_timeout();
void reset_modem_link_states();
void announce_leaving();
void send_server_leaving();
void send_client_leaving();

// Per frame.
void send_link_frame();
// The render poll hook: the linked machine's messages of the frame.
void receive_link_frame();
void send_two_player_frame();
void receive_two_player_frame();
void extrapolate_players();
void check_flag_captured();
// In a pilot-and-gunner game queues the key for the other machine; 1 when already queued or full.
int queue_remote_key(int key_code);
void idle_modem_hook();

// The two-player link's events of the frame: the round the player launched (copied, flag set),
// and a flare or chaff released.
struct WeaponRound;
void queue_link_weapon_fire(WeaponRound* round);
extern int32_t link_fire_pending;
extern int32_t link_flare_flag, link_chaff_flag;

void add_player_kill(int player);
int get_player_kills(int player);

// After the player's crash or ejection: told to the other machines; a network game's aircraft
// restarted; a two-player game over the network told that this player has left.
void report_crash();
void restart_user_aircraft();
void send_player_left();

}  // namespace vyr
