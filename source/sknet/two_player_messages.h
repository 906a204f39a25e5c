// The two-player screen over the network: a set-up choice made on one machine is pressed on the
// other (menu items), and "Start Game" hands this machine's choices to the other one.
#pragma once

#include "library/system/event.h"

namespace vyr {

struct NetMessage;

// To the other machines; nothing while no network game is active.
void send_menu_item(int item, const Event& event);
void send_two_player_settings();

// The receivers of the two blocks.
void receive_menu_item(const NetMessage& message);
void receive_two_player_settings(const NetMessage& message);

}  // namespace vyr
