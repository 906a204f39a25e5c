// Stand-in for the link between two machines: none exists yet.
#include "source/sknet/link.h"

#include "source/weapons/rounds.h"

namespace vyr {

int32_t two_player_position = 1;
int32_t received_frame_ticks = 0;
int32_t player_out_of_play = 0;
int32_t combat_outcome = 0;
int32_t network_role = NET_ROLE_NONE;

void start_linked_flight() {}
void start_two_player_game() {}
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
void report_crash() {}
void restart_user_aircraft() {}
void send_player_left() {}

// The events wait in the frame's block.
namespace {
WeaponRound link_fire_round = {};
}  // namespace
int32_t link_fire_pending = 0;
int32_t link_flare_flag = 0, link_chaff_flag = 0;
void queue_link_weapon_fire(WeaponRound* round) {
    link_fire_round = *round;
    link_fire_pending = 1;
}

namespace {
int player_kills[2] = {};
}  // namespace

// Two players' kills are all a linked game keeps yet; a player number outside them counts none.
void add_player_kill(int player) {
    if (player == 0 || player == 1) ++player_kills[player];
}
int get_player_kills(int player) { return player == 0 || player == 1 ? player_kills[player] : 0; }

}  // namespace vyr
