// The mouse pointer's state: the position the window thread reports, the confinement rectangle,
// the show count, the shapes and their two colours, and the animated wait pointer.
#pragma once

#include <atomic>

#include "library/graphics/pointer.h"

namespace vyr {

constexpr int POINTER_SHAPES = 10;

// The shapes made at start-up; the first nine are cut from uidata\mouse.lbm.
extern PointerShape* pointer_arrow;
extern PointerShape* pointer_move;
extern PointerShape* pointer_close;
extern PointerShape* pointer_resize;
extern PointerShape* pointer_zoom;
extern PointerShape* pointer_waypoint;
extern PointerShape* pointer_rotate;
extern PointerShape* pointer_text;
extern PointerShape* pointer_3d;
extern PointerShape* pointer_wait;

// The last position reported by a mouse move, and whether it changed since it was drawn.
extern std::atomic<int> pointer_x;
extern std::atomic<int> pointer_y;
extern std::atomic<int> pointer_moved;
extern int pointer_show_count;  // shown while 1 or more
extern int pointer_drawn;
extern int pointer_colours_locked;

void init_mouse();
PointerShape* create_pointer_shape(int width, int height, int hot_x, int hot_y);
// Fills the shape from a 8-bit picture at (x, y): the first two colours found (besides 0 and 1)
// become entries 253 and 254 with their palette triples; any further colour is transparent.
void cut_pointer_shape(PointerShape* shape, const uint8_t* picture, int x, int y, int stride, const uint8_t* palette);
void set_pointer_shape(PointerShape* shape);
PointerShape* get_pointer_shape();
void set_pointer_colours(uint8_t* colours);
void enable_pointer_colours();
void show_pointer();
void hide_pointer();
// Redraws the pointer where the mouse last moved; the UI loops and long file reads call it.
void update_pointer();
void set_pointer_limits(int x0, int y0, int x1, int y1);
void reset_pointer_limits();
void set_pointer_position(int x, int y);
void get_cursor_position(int& x, int& y);
void free_pointer_shapes();
void run_mouse_hook();

// Window thread: the pointer moved, or a button changed (buttons: bit 0 left, bit 1 right).
void on_mouse_move(int buttons, int x, int y);
void on_mouse_button(int buttons, int x, int y);

}  // namespace vyr
