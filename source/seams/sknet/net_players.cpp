// Stand-in for the players of a network game: none takes part.
#include "source/sknet/net_players.h"

namespace vyr {

int32_t own_player_number = -1;
Drone* other_player_drone = nullptr;
NetPlayer net_players[MAX_NET_PLAYERS] = {};
int32_t player_scores[MAX_NET_PLAYERS] = {};
int32_t own_node_number = MAX_NET_PLAYERS;
int32_t show_players_on_map = 1;

}  // namespace vyr
