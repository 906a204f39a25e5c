// Repaint requests: every change to the UI queues the display area it affects, and the display
// is redrawn from the visible list over the queued areas only.
#pragma once

#include "library/ui/object.h"

namespace vyr {

// Areas queued and not yet redrawn.
extern int repaint_count;

// Queues the object's visible rectangle when it was visible before the visible list is brought up
// to date or is visible after. With `whole`, the area is kept in one piece.
void invalidate_ui_object(UiObject* object, int whole);
// Queues a rectangle (inclusive) cut to the display; nothing after shut-down has begun.
void invalidate_area(int x0, int y0, int x1, int y1, int whole);

}  // namespace vyr
