#include "library/ui/umenu.h"

#include <algorithm>

#include "library/system/timer.h"
#include "library/ui/clip.h"
#include "library/ui/route.h"
#include "library/ui/setattr.h"

namespace vyr {

const Font* ui_menu_font = &font_large;
int menu_row = 2;

namespace {

constexpr int MENU_MARGIN = 2;
constexpr int MIN_MENU_WIDTH = 8;
constexpr int RIGHT_BUTTON = 2;

void send_right_press(UiObject* menu, int x, int y) {
    Event press{EV_MOUSE_CLICK, RIGHT_BUTTON, x, y, read_clock()};
    send_ui_event(menu, press);
}

// Highlights the item under the pointer; true, with its id in `chosen`, when there is one.
bool track_items(UiObject* menu, const Event& event, int& chosen) {
    bool found = false;
    bool on_menu = find_ui_object_at(event.x, event.y) == menu;
    for (UiObject* child = menu->first_child; child; child = child->next_sibling) {
        bool under = on_menu && child->type == UI_MENU_ITEM && event.y >= child->y0 && event.y <= child->y1;
        set_ui_state(child, under);
        if (under) {
            found = true;
            chosen = child->id;
        }
    }
    return found;
}

}  // namespace

UiObject* popup_menu_list(UiObject* owner, int x, int y, const UiTag* tags) {
    UiObject* parent = owner;
    while (parent->parent && parent->parent->parent) parent = parent->parent;
    UiObject* menu =
        create_ui_object(UI_MENU, parent, "Menu", ATTR_ON_TOP, 1, ATTR_NOTIFY_EVENT, EV_SELECT, ATTR_ID, owner, 0);
    apply_ui_tags(menu, tags);
    place_menu(menu, x, y);
    send_right_press(menu, x, y);
    ui_captured = menu;
    return menu;
}

void place_menu(UiObject* menu, int x, int y) {
    set_ui_attrs(menu, ATTR_FIT, ATTR_CENTRE, x, y, ATTR_KEEP_INSIDE, 0);
    send_right_press(menu, x, y);
}

void add_menu_line(UiObject* menu) {
    UiObject* line = create_ui_object(UI_MENU_LINE, menu, "MenuLine", ATTR_POS, MENU_MARGIN, menu_row, ATTR_SIZE,
                                      200, 3, ATTR_INPUT, 0, 0);
    lower_ui_object(line);
    menu_row += 4;
}

void add_menu_item(UiObject* menu, int id, const char* text) {
    UiObject* item = create_ui_object(UI_MENU_ITEM, menu, "MenuItem", ATTR_POS, MENU_MARGIN, menu_row, ATTR_SIZE,
                                      200, 11, ATTR_TEXT, text, ATTR_INPUT, 0, ATTR_ID, id, 0);
    lower_ui_object(item);
    menu_row += 12;
}

void measure_menu(UiObject* menu) {
    int width = MIN_MENU_WIDTH;
    for (UiObject* child = menu->first_child; child; child = child->next_sibling) {
        measure_ui_object(child);
        width = std::max(width, child->x1 - child->x0);
    }
    int y = MENU_MARGIN;
    for (UiObject* child = menu->first_child; child; child = child->next_sibling) {
        int height = child->y1 - child->y0;
        move_ui_object(child, MENU_MARGIN, y);
        resize_ui_object(child, width, height);
        y += height + 1;
    }
    resize_ui_object(menu, width + 2 * MENU_MARGIN, y + 1);
}

void measure_menu_line(UiObject* line) { resize_ui_object(line, 0, line->y1 - line->y0); }

void measure_menu_item(UiObject* item) {
    select_font(ui_menu_font);
    int width = item->text ? get_text_width(item->text) : 0;
    resize_ui_object(item, width + 2 * MENU_MARGIN, get_line_height() + 2);
}

void handle_menu_event(UiObject* menu, Event& event) {
    ui_captured = menu;
    if (event.type != EV_MOUSE_MOVE && event.type != EV_MOUSE_CLICK) return;
    int chosen = 0;
    bool on_item = track_items(menu, event, chosen);
    if (event.type != EV_MOUSE_CLICK || event.value != 0) return;
    ui_captured = nullptr;
    track_pointer_object(event.x, event.y);
    if (on_item) {
        Event select{EV_SELECT, chosen, 0, 0, event.time};
        send_ui_event(menu, select);
    }
    request_ui_destroy(menu);
}

void draw_menu(UiObject* menu) {
    fill_box(menu->x0, menu->y0, menu->x1, menu->y1, menu->fill_colour);
    draw_raised_box(menu->x0, menu->y0, menu->x1, menu->y1);
}

void draw_menu_line(UiObject* line) {
    draw_hline_clipped(line->x0, line->x1, line->y0 + 1, COLOUR_BEVEL_SHADOW);
    draw_hline_clipped(line->x0, line->x1, line->y0 + 2, COLOUR_BEVEL_LIGHT);
}

void draw_menu_item(UiObject* item) {
    if (!item->text) return;
    if (item->state) draw_raised_box(item->x0, item->y0, item->x1, item->y1);
    select_font(ui_menu_font);
    text_x = item->x0 + MENU_MARGIN;
    text_y = item->y0 + MENU_MARGIN;
    text_colour = COLOUR_UI_TEXT;
    draw_text(item->text);
}

}  // namespace vyr
