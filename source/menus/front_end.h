// Front-end flow and set-up: every menu screen, the war zone and the menus' UI colours.
#pragma once

#include <cstdint>

namespace vyr {

// Every menu screen.
void init_front_end();

// The theatre, 1 to 5.
void set_war_zone(int war_zone);
int get_war_zone();

// The UI colours of the menus; null is the toolkit's own.
const uint8_t* get_menu_colour_table();

}  // namespace vyr
