// Text objects: an owned copy of a text shown in a font, as lines broken at line feeds or as
// word-wrapped paragraphs, from a first line shown on, with selectable lines and a drop shadow.
// Buttons, toggles and radios draw their shadowed labels with the same routine.
#pragma once

#include "library/ui/object.h"

namespace vyr {

constexpr uint32_t SELECTION_BAR_PATTERN = 0xF8F8F8F8;

// None or "" frees the text; the same text again changes nothing.
void set_ui_text(UiObject* object, const char* text);
void append_ui_text(UiObject* object, const char* text);
// The whole file, carriage returns removed.
void set_ui_text_from_file(UiObject* object, const char* file_name);
// The lines after the header line of one section: a section starts at a line that begins with
// `section` (its "#" included) and runs to the next line that begins with "#".
void set_ui_text_from_index(UiObject* object, const char* file_name, const char* section);

// Sizes the object to its longest line and its line count.
void measure_ui_text(UiObject* object);
// Renews the line table when the text or the layout changed.
void layout_ui_text(UiObject* object);
// The first line shown becomes the first line starting at or after `offset` in the text.
void scroll_ui_text_to(UiObject* object, int offset);
// The bar's range becomes the text's lines, its value the first line shown and its page the lines
// that fit.
void link_text_scroller(UiObject* text, UiObject* bar);
// Null from the line count on.
const char* get_ui_line_start(UiObject* object, int line);

void draw_text_object(UiObject* object);

}  // namespace vyr
