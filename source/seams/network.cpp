// Stand-in for multiplayer: every game is a single-player one.
#include "source/sknet/chat.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/net_players.h"

namespace vyr {

int32_t game_mode = GAME_SINGLE;
int32_t connection_mode = CONNECTION_NONE;
int32_t free_pause = 0;
int32_t control_mode = CONTROL_PILOT;
int32_t crashing_off = 0;
int32_t invincible = 0;
int32_t infinite_fuel = 0;
int32_t goodbye_picture = 0;
int32_t own_player_number = 0;

// No other machine to talk to yet.
void register_comms_phrase_keys() {}
int open_chat_line(int) { return 1; }
void send_crashed() {}
void send_flag_captured() {}
void queue_two_player_event(int) {}

}  // namespace vyr
