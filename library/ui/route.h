// Input for the UI: the "Object Manager" thread hands every input event to one object, objects
// learn when the pointer enters and leaves them, and the text cursor of text entry blinks.
#pragma once

#include <atomic>
#include <cstdint>

#include "library/system/event.h"
#include "library/ui/object.h"

namespace vyr {

constexpr uint32_t OBJECT_MANAGER_PRIORITY = 50;
constexpr int CURSOR_FLASH_UNITS = 50;  // clock units between blinks
// A parent with this id keeps its children where they are when clicked.
constexpr int32_t UI_NO_RAISE_ID = 99999;

// The cursor's top-left corner; its area is 3 x 16 pixels. The repaint draws it while the phase is on.
extern int32_t text_cursor_x, text_cursor_y;
extern int text_cursor_enabled;
extern int text_cursor_phase;

// Delivers to the type's handler and then the notify callback; a null object is ignored.
void send_ui_event(UiObject* object, Event& event);
// Sends leave and enter when the object under (x, y) changed, unless the pointer is captured.
void track_pointer_object(int x, int y);

void set_text_cursor(int x, int y, int on);
// After the object's text; null switches the cursor off.
void place_text_cursor(const UiObject* object);
// Blocks the calling thread until the object is in the visible list.
void wait_ui_visible(UiObject* object);

// The threads' bodies.
void run_object_manager();
void run_cursor_flash();

}  // namespace vyr
