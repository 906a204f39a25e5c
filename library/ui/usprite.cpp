#include "library/ui/usprite.h"

#include "library/graphics/rect.h"
#include "library/system/thread.h"
#include "library/ui/route.h"

namespace vyr {

void handle_sprite_event(UiObject* object, Event& event) {
    if (event.type == EV_MOUSE_CLICK && event.value == 0 && find_ui_object_at(event.x, event.y) == object) {
        Event select{EV_SELECT, 0, event.x, event.y, event.time};
        send_ui_event(object, select);
        yield_thread();
    }
    yield_thread();
}

void draw_sprite_object(UiObject* object) {
    if (object->sprite) draw_sprite(object->sprite, object->x0, object->y0);
}

}  // namespace vyr
