// The pointer: position and buttons reported by the window thread.
#pragma once

namespace vyr {

// Window thread: the pointer moved, or a button changed (buttons: bit 0 left, bit 1 right).
void on_mouse_move(int buttons, int x, int y);
void on_mouse_button(int buttons, int x, int y);

}  // namespace vyr
