// Menu choices passed to the other machine of a linked game.
#pragma once

namespace vyr {

// Sends menu item `item` with the event type; 0 when the other machine did not accept it.
int send_menu_choice(int item, int event_type);

}  // namespace vyr
