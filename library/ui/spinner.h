// The digit spinner: a cell that shows and edits one decimal digit of a shared integer. A row of
// cells on one integer makes a number field; the active cell grows arrows above and below.
#pragma once

#include "library/ui/object.h"

namespace vyr {

constexpr int SPINNER_ARROW = 9;         // rows of each arrow, added above and below when active
constexpr int SPINNER_FIRST_REPEAT = 100;  // clock units from a press to the first repeat
constexpr int SPINNER_REPEAT = 20;

// Makes the cell the one active cell among its siblings.
void activate_spinner(UiObject* cell);
// Shrinks every active cell among the cell's siblings, the cell included.
void deactivate_spinners(UiObject* cell);
// The digit menu's notify callback: the owning cell's digit becomes the chosen one.
void digit_menu_chosen(UiObject* menu, Event& event);

void handle_spinner_event(UiObject* cell, Event& event);
void draw_spinner(UiObject* cell);

}  // namespace vyr
