// Menu choices passed to the other machine of a linked game.
#pragma once

#include "library/system/event.h"

namespace vyr {

// Passes menu item `item` (the set-up controls, the war-zone buttons, the mission list, the
// briefing; for the mission list's item 18 the line chosen is the event's x) to the other
// machine; 0 only when this machine's modem link was found lost.
int send_menu_choice(int item, const Event& event);
// Player 1 of a serial link: hands the choice's byte to the set-up exchange and waits, yielding,
// until it is sent or the link is down; take-off also waits for the exchange's end.
void send_menu_choice_serial(int item, const Event& event);

}  // namespace vyr
