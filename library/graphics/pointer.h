// The software pointer: the program draws its own mouse pointer into the display, saving what
// lies under it in one of two slots and putting it back before it moves.
#pragma once

#include <cstdint>

namespace vyr {

struct PointerShape {
    int width;
    int height;
    int hot_x;  // the pixel that lies on the pointer position
    int hot_y;
    uint8_t* colours;  // null, or RGB triples for palette entries 253 and 254
    uint8_t* pixels;   // width x height; 0 transparent
};

constexpr int POINTER_SAVE_BYTES = 1024;  // the largest shape, in pixels

// The shape drawn, and where (display pixels).
extern PointerShape* current_pointer_shape;
extern int pointer_draw_x;
extern int pointer_draw_y;

// Slot 1 is the visible surface; slot 0 the back buffer while the display flips pages, else the
// visible surface too. All three leave the shape's last column and row alone. Save and restore
// skip a surface that is busy; the draw waits for it.
void save_pointer_background(int index);
void draw_pointer(int index);
void restore_pointer_background(int index);

}  // namespace vyr
