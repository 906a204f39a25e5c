// Vertical and horizontal scroll bars: a press beside the thumb pages by the page size, and the
// thumb is dragged in value space (the hidden pointer's position is the value meanwhile).
#pragma once

#include "library/ui/object.h"

namespace vyr {

constexpr int MIN_THUMB_LENGTH = 12;

// The thumb's first and last pixel along the bar (rows of a vertical bar, columns of a
// horizontal one), from param0 minimum, param1 maximum, param2 value and param3 page.
struct ScrollThumb {
    int top, bottom;
};
ScrollThumb get_scroll_thumb(const UiObject* bar);

void handle_scroll_event(UiObject* bar, Event& event);
void draw_scroll_bar(UiObject* bar);

}  // namespace vyr
