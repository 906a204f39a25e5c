// The network game's lobby messages: machines announce themselves, answer announces, share
// their names and say when they leave; the one receiver every received block goes through; the
// "Check Network" thread that polls and dispatches while a network game is active.
#pragma once

#include <cstdint>

#include "library/network/transport.h"

namespace vyr {

struct NetMessage;
// A block of `code` from this machine: its name and player number filled in.
NetMessage own_net_message(int32_t code);

// Each does nothing while no network game is active, and polls once after queueing.
void send_announce();
void send_announce_reply(int node);
void send_player_name(const char* name);
// Tells the others this machine has gone and closes the network; also an exit handler.
void leave_network_game();

// The transport's receive callback: decodes the block and runs the code's rule.
void receive_net_message(NetPacket* packet);
// Starts "Check Network" once.
void start_network_check();

}  // namespace vyr
