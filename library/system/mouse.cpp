#include "library/system/mouse.h"

#include "library/system/event.h"

namespace vyr {

void on_mouse_move(int buttons, int x, int y) { post_input_event({EV_MOUSE_MOVE, buttons, x, y, 0}); }

void on_mouse_button(int buttons, int x, int y) {
    post_input_event({EV_MOUSE_CLICK, buttons, x, y, 0});
}

}  // namespace vyr
