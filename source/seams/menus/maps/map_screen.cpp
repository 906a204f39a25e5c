// Stand-in for the map screen, which does not exist yet: the menu stays where it is, with its
// pointer.
#include "source/menus/maps/map_screen.h"

#include "library/system/mouse.h"

namespace vyr {

void fit_map_to_routes() {}
void set_map_subtitles(const char*, const char*) {}
void show_map_screen() { set_pointer_shape(pointer_arrow); }

}  // namespace vyr
