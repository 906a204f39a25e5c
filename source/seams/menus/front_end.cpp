// Stand-in for the front end's colour service, which no screen offers yet.
#include "source/menus/front_end.h"

namespace vyr {

int32_t first_run_flight = 0;

const uint8_t* get_menu_colour_table() { return nullptr; }

}  // namespace vyr
