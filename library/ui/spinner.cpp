#include "library/ui/spinner.h"

#include "library/system/timer.h"
#include "library/ui/clip.h"
#include "library/ui/repaint.h"
#include "library/ui/route.h"
#include "library/ui/setattr.h"
#include "library/ui/umenu.h"

namespace vyr {

namespace {

enum SpinnerPart { PART_UP, PART_DOWN, PART_ACTIVATED, PART_NONE };

// One press at a time.
SpinnerPart pressed_part = PART_NONE;
int next_repeat = 0;
bool changed = false;

// A step of 0 would divide by zero in the digit arithmetic.
int32_t step_of(const UiObject* cell) { return cell->param0 > 0 ? cell->param0 : 1; }

int32_t value_of(const UiObject* cell) { return cell->variable ? *cell->variable : 0; }

int32_t clamp_to_range(const UiObject* cell, int32_t value) {
    return value < cell->param2 ? cell->param2 : value > cell->param3 ? cell->param3 : value;
}

void send_value(UiObject* cell, EventType type, int32_t value, int time) {
    Event event{type, value, 0, 0, time};
    send_ui_event(cell, event);
}

// Every cell of the number shows the new value.
void store_value(UiObject* cell, int32_t value) {
    *cell->variable = value;
    if (cell->parent) invalidate_ui_object(cell->parent, 0);
}

void step_spinner(UiObject* cell, int direction, int time) {
    if (!cell->variable) return;
    int32_t value = clamp_to_range(cell, value_of(cell) + direction * step_of(cell));
    store_value(cell, value);
    send_value(cell, EV_SELECT, value, time);
    changed = true;
}

// The arrows are the top and bottom rows of an active cell.
SpinnerPart part_at(const UiObject* cell, int y) {
    if (y < cell->y0 + SPINNER_ARROW) return PART_UP;
    if (y > cell->y1 - SPINNER_ARROW) return PART_DOWN;
    return PART_NONE;
}

void set_cell(UiObject* cell, int state, int grow) {
    set_ui_state(cell, state);
    int left = cell->x0 - cell->parent->x0, top = cell->y0 - cell->parent->y0;
    int right = cell->x1 - cell->parent->x0, bottom = cell->y1 - cell->parent->y0;
    set_ui_attrs(cell, ATTR_RECT, left, top - grow, right, bottom + grow, 0);
}

void press(UiObject* cell, const Event& event) {
    ui_captured = cell;
    next_repeat = read_clock() + SPINNER_FIRST_REPEAT;
    changed = false;
    if (cell->state == 0) {
        pressed_part = PART_ACTIVATED;
    } else {
        pressed_part = part_at(cell, event.y);
        if (pressed_part == PART_UP) step_spinner(cell, 1, event.time);
        if (pressed_part == PART_DOWN) step_spinner(cell, -1, event.time);
    }
    activate_spinner(cell);
}

void open_digit_menu(UiObject* cell, const Event& event) {
    pressed_part = PART_NONE;
    deactivate_spinners(cell);
    popup_menu(cell, event.x, event.y, ATTR_MENU_ITEM, 0, "0", ATTR_MENU_ITEM, 1, "1", ATTR_MENU_ITEM, 2, "2",
               ATTR_MENU_ITEM, 3, "3", ATTR_MENU_ITEM, 4, "4", ATTR_MENU_ITEM, 5, "5", ATTR_MENU_ITEM, 6, "6",
               ATTR_MENU_ITEM, 7, "7", ATTR_MENU_ITEM, 8, "8", ATTR_MENU_ITEM, 9, "9", ATTR_NOTIFY, digit_menu_chosen, 0);
}

void release(UiObject* cell, const Event& event) {
    ui_captured = nullptr;
    if (changed) send_value(cell, EV_STOP, value_of(cell), event.time);
    if (find_ui_object_at(event.x, event.y) != cell || pressed_part == PART_NONE) deactivate_spinners(cell);
    pressed_part = PART_NONE;
    invalidate_ui_object(cell, 0);
}

void follow_pointer(UiObject* cell, const Event& event) {
    SpinnerPart part = PART_NONE;
    if (find_ui_object_at(event.x, event.y) == cell) {
        part = part_at(cell, event.y);
        if (part == PART_NONE && pressed_part == PART_ACTIVATED) part = PART_ACTIVATED;
    }
    pressed_part = part;
    invalidate_ui_object(cell, 0);
}

void repeat(UiObject* cell, const Event& event) {
    int now = read_clock();
    if (now < next_repeat) return;
    next_repeat = now + SPINNER_REPEAT;
    if (pressed_part == PART_UP) step_spinner(cell, 1, now);
    if (pressed_part == PART_DOWN) step_spinner(cell, -1, event.time);
}

}  // namespace

void activate_spinner(UiObject* cell) {
    for (UiObject* sibling = cell->parent->first_child; sibling; sibling = sibling->next_sibling)
        if (sibling != cell && sibling->type == UI_SPINNER && sibling->state != 0)
            set_cell(sibling, 0, -SPINNER_ARROW);
    if (cell->state == 0) set_cell(cell, 1, SPINNER_ARROW);
}

void deactivate_spinners(UiObject* cell) {
    for (UiObject* sibling = cell->parent->first_child; sibling; sibling = sibling->next_sibling)
        if (sibling->type == UI_SPINNER && sibling->state != 0) set_cell(sibling, 0, -SPINNER_ARROW);
}

void digit_menu_chosen(UiObject* menu, Event& event) {
    UiObject* cell = menu->owner;
    if (!cell || !cell->variable) return;
    int32_t step = step_of(cell), value = value_of(cell);
    while ((value / step) % 10 != 0) value -= step;
    value = clamp_to_range(cell, value + step * event.value);
    store_value(cell, value);
    pressed_part = PART_NONE;
    send_value(cell, EV_SELECT, value, event.time);
    send_value(cell, EV_STOP, value, event.time);
}

void handle_spinner_event(UiObject* cell, Event& event) {
    if (ui_captured != cell) {
        if (event.type != EV_MOUSE_CLICK) return;
        if (event.value == 1) press(cell, event);
        if (event.value == 2) open_digit_menu(cell, event);
        return;
    }
    if (event.type == EV_TIMER) repeat(cell, event);
    if (event.type == EV_MOUSE_MOVE) follow_pointer(cell, event);
    if (event.type == EV_MOUSE_CLICK && event.value == 0) release(cell, event);
}

void draw_spinner(UiObject* cell) {
    if (cell->parent && (cell->parent->flags & UIF_DRAGGING))
        glass_box(cell->x0, cell->y0, cell->x1, cell->y1);
    else
        fill_box(cell->x0, cell->y0, cell->x1, cell->y1, cell->fill_colour);
    bool active = cell->state != 0;
    if (active) {
        draw_sunken_box(cell->x0, cell->y0, cell->x1, cell->y1);
        if (pressed_part != PART_UP) draw_raised_box(cell->x0, cell->y0, cell->x1, cell->y0 + SPINNER_ARROW);
        if (pressed_part != PART_DOWN) draw_raised_box(cell->x0, cell->y1 - SPINNER_ARROW, cell->x1, cell->y1);
    } else {
        draw_raised_box(cell->x0, cell->y0, cell->x1, cell->y1);
    }
    select_font(&font_large);
    text_x = cell->x0 + 3;
    text_y = cell->y0 + (active ? 3 + SPINNER_ARROW : 3);
    text_colour = COLOUR_UI_TEXT;
    draw_char('0' + (value_of(cell) / step_of(cell)) % 10);
}

}  // namespace vyr
