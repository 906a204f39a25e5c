#include "library/ui/uoaccess.h"

#include <algorithm>

namespace vyr {

namespace {

int parent_x0(const UiObject* object) { return object->parent ? object->parent->x0 : 0; }
int parent_y0(const UiObject* object) { return object->parent ? object->parent->y0 : 0; }

}  // namespace

// The root has no parent: its position is absolute, as for the edges.
int get_ui_x(const UiObject* object) { return object->x0 - parent_x0(object); }
int get_ui_y(const UiObject* object) { return object->y0 - parent_y0(object); }
int get_ui_left(const UiObject* object) { return object->x0 - parent_x0(object); }
int get_ui_top(const UiObject* object) { return object->y0 - parent_y0(object); }
int get_ui_right(const UiObject* object) { return object->x1 - parent_x0(object); }
int get_ui_bottom(const UiObject* object) { return object->y1 - parent_y0(object); }
int get_ui_width(const UiObject* object) { return object->x1 - object->x0; }
int get_ui_height(const UiObject* object) { return object->y1 - object->y0; }
int to_ui_local_x(const UiObject* object, int x) { return x - object->x0; }
int to_ui_local_y(const UiObject* object, int y) { return y - object->y0; }

UiObject* get_ui_parent(const UiObject* object) { return object->parent; }
const char* get_ui_text(const UiObject* object) { return object->text; }
const Font* get_ui_font(const UiObject* object) { return object->font; }
int get_ui_scroll_pos(const UiObject* object) { return object->param2; }
const char** get_ui_line_table(const UiObject* object) { return object->line_table; }
int get_ui_state(const UiObject* object) { return object->state; }
uint32_t get_ui_fill_colour(const UiObject* object) { return object->fill_colour; }
int get_ui_id(const UiObject* object) { return object->id; }
uint32_t get_ui_thread(const UiObject* object) { return object->thread; }
PointerShape* get_ui_pointer(const UiObject* object) { return object->pointer_shape; }
Screen* get_ui_screen(const UiObject* object) { return object->screen; }
int get_ui_selected_line(const UiObject* object) { return object->selection; }
int get_ui_palette_range(const UiObject* object) { return object->palette_range; }

uint32_t is_ui_shown(const UiObject* object) { return object->flags & UIF_SHOWN; }
uint32_t is_ui_input(const UiObject* object) { return object->flags & UIF_INPUT; }
uint32_t is_ui_on_top(const UiObject* object) { return object->flags & UIF_ON_TOP; }
uint32_t is_ui_at_back(const UiObject* object) { return object->flags & UIF_AT_BACK; }
uint32_t is_ui_movable(const UiObject* object) { return object->flags & UIF_MOVABLE; }
uint32_t is_ui_selectable(const UiObject* object) { return object->flags & UIF_SELECTABLE; }
uint32_t is_ui_transparent(const UiObject* object) { return object->flags & UIF_TRANSPARENT; }
uint32_t is_ui_menu(const UiObject* object) { return object->flags & UIF_MENU; }
uint32_t is_ui_handler(const UiObject* object) { return object->flags & UIF_HANDLER; }
uint32_t is_ui_wrap(const UiObject* object) { return object->flags & UIF_WRAP; }
uint32_t is_ui_arrow(const UiObject* object) { return object->flags & UIF_ARROW; }
uint32_t is_ui_text_inset(const UiObject* object) { return object->flags & UIF_TEXT_INSET; }

int is_ui_visible(UiObject* object) {
    if (ui_list_dirty) rebuild_visible_list();
    return object->visible;
}

uint32_t is_ui_notify_event(const UiObject* object, int type) { return object->event_mask & ui_event_bit(type); }

int get_ui_children_height(const UiObject* object) {
    int height = 0;
    for (const UiObject* child = object->first_child; child; child = child->next_sibling)
        height = std::max(height, child->y1 - object->y0);
    return height;
}

int get_ui_user_word(const UiObject* object) { return object->user_word; }
void set_ui_user_word(UiObject* object, int word) { object->user_word = word; }

}  // namespace vyr
