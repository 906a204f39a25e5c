// The plain types: boxes, frames and canvases; windows, which may be dragged (moving as they go,
// or as an outline placed on release); and toggles, which flip on a click.
#pragma once

#include "library/ui/object.h"

namespace vyr {

// True while a window is being dragged; one drag at a time.
extern int window_dragging;

void draw_box(UiObject* object);
void draw_frame(UiObject* object);
void draw_canvas(UiObject* object);
void handle_window(UiObject* object, Event& event);
void draw_window(UiObject* object);
void handle_toggle(UiObject* object, Event& event);
void draw_toggle(UiObject* object);

}  // namespace vyr
