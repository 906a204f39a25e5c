// Menu choices passed to the other machine of a linked game.
#pragma once

#include "library/system/event.h"

namespace vyr {

// Sends menu item `item` with the event that made it (for item 18 the line chosen is its x); 0
// when the other machine did not accept it.
int send_menu_choice(int item, const Event& event);

}  // namespace vyr
