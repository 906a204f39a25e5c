// Reading an object's fields. Positions are relative to the parent's top-left corner (absolute
// for the root); a flag's getter answers 0 or non-zero.
#pragma once

#include <cstdint>

#include "library/ui/object.h"

namespace vyr {

int get_ui_x(const UiObject* object);
int get_ui_y(const UiObject* object);
int get_ui_left(const UiObject* object);
int get_ui_top(const UiObject* object);
int get_ui_right(const UiObject* object);
int get_ui_bottom(const UiObject* object);
int get_ui_width(const UiObject* object);
int get_ui_height(const UiObject* object);
// A display position in the object's own coordinates.
int to_ui_local_x(const UiObject* object, int x);
int to_ui_local_y(const UiObject* object, int y);

UiObject* get_ui_parent(const UiObject* object);
const char* get_ui_text(const UiObject* object);
const Font* get_ui_font(const UiObject* object);
int get_ui_scroll_pos(const UiObject* object);
const char** get_ui_line_table(const UiObject* object);
int get_ui_state(const UiObject* object);
uint32_t get_ui_fill_colour(const UiObject* object);
int get_ui_id(const UiObject* object);
uint32_t get_ui_thread(const UiObject* object);
PointerShape* get_ui_pointer(const UiObject* object);
Screen* get_ui_screen(const UiObject* object);
int get_ui_selected_line(const UiObject* object);
int get_ui_palette_range(const UiObject* object);

uint32_t is_ui_shown(const UiObject* object);
uint32_t is_ui_input(const UiObject* object);
uint32_t is_ui_on_top(const UiObject* object);
uint32_t is_ui_at_back(const UiObject* object);
uint32_t is_ui_movable(const UiObject* object);
uint32_t is_ui_selectable(const UiObject* object);
uint32_t is_ui_transparent(const UiObject* object);
uint32_t is_ui_menu(const UiObject* object);
uint32_t is_ui_handler(const UiObject* object);
uint32_t is_ui_wrap(const UiObject* object);
uint32_t is_ui_arrow(const UiObject* object);
uint32_t is_ui_text_inset(const UiObject* object);
// Brings the visible list up to date first.
int is_ui_visible(UiObject* object);
uint32_t is_ui_notify_event(const UiObject* object, int type);

// The largest child bottom below the object's top, at least 0.
int get_ui_children_height(const UiObject* object);
int get_ui_user_word(const UiObject* object);
void set_ui_user_word(UiObject* object, int word);

}  // namespace vyr
