#include "source/menus/maps/map_tools.h"

#include "library/3dvisual/world_palette.h"
#include "source/menus/maps/map_layers.h"

namespace vyr {

void handle_map_event(UiObject* object, Event& event) {
    if (event.type == EV_DISPLAY) {
        if (event.value) build_world_palette();
    } else if (event.type == EV_DRAW) {
        draw_map_composite(object);
    }
}

}  // namespace vyr
