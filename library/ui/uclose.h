// Close boxes: a 16 x 16 button at a window's corner that hides the window when released over.
#pragma once

#include "library/graphics/rect.h"
#include "library/ui/object.h"

namespace vyr {

constexpr int CLOSE_BOX_SIZE = 16;
constexpr int UI_PICTURE_BIAS = 4;  // added to every byte of the raw UI pictures

extern Sprite close_box_pressed;
extern Sprite close_box_released;

// Reads a raw 16 x 16 UI picture into `pixels`; a missing file leaves it clear (transparent).
void load_raw_ui_picture(const char* name, uint8_t* pixels);
void load_close_box_pictures();
void add_close_box(UiObject* window);

void handle_close_box(UiObject* object, Event& event);
void draw_close_box(UiObject* object);

}  // namespace vyr
