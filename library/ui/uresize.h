// The resize box in a window's bottom-right corner: dragging it sizes the window, never below
// 64 pixels either way.
#pragma once

#include "library/graphics/rect.h"
#include "library/ui/object.h"

namespace vyr {

constexpr int RESIZE_BOX_SIZE = 15;  // x1 - x0 and y1 - y0
constexpr int MIN_RESIZED_SIZE = 64;

// 16 x 16 pictures; a picture whose file is missing stays transparent.
extern Sprite resize_pressed_sprite;
extern Sprite resize_released_sprite;

UiObject* add_resize_box(UiObject* window);
// Reads uidata\resizing.bm and uidata\resize.bm; the exit handler frees them.
void load_resize_box_pictures();

void handle_resize_box_event(UiObject* box, Event& event);
void draw_resize_box(UiObject* box);

}  // namespace vyr
