#include "library/ui/window.h"

#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/ui/button.h"
#include "library/ui/clip.h"
#include "library/ui/repaint.h"
#include "library/ui/route.h"
#include "library/ui/setattr.h"
#include "library/ui/umenu.h"

namespace vyr {

int window_dragging = 0;

namespace {

constexpr uint8_t FRAME_COLOUR = 0;

int grab_x = 0, grab_y = 0;
PointerShape* kept_pointer = nullptr;
int toggle_press_state = 0;

bool has(const UiObject* object, uint32_t flag) { return (object->flags & flag) != 0; }

void draw_bevel(const UiObject* object) {
    if (object->state)
        draw_sunken_box(object->x0, object->y0, object->x1, object->y1);
    else
        draw_raised_box(object->x0, object->y0, object->x1, object->y1);
}

// Where the dragged window's corner goes for a pointer at (x, y), relative to its parent.
void move_dragged_window(UiObject* window, int x, int y) {
    int origin_x = window->parent ? window->parent->x0 : 0, origin_y = window->parent ? window->parent->y0 : 0;
    move_ui_object(window, x - grab_x - origin_x, y - grab_y - origin_y);
}

void start_drag(UiObject* window, Event& event) {
    window->flags |= UIF_DRAGGING;
    window_dragging = 1;
    grab_x = event.x - window->x0;
    grab_y = event.y - window->y0;
    ui_captured = window;
    if (const UiObject* parent = window->parent)
        set_pointer_limits(parent->x0, parent->y0, parent->x1, parent->y1);
    else
        reset_pointer_limits();
    kept_pointer = get_pointer_shape();
    set_pointer_shape(pointer_move);
    event.type = 0;
    invalidate_ui_object(window, 0);
}

void follow_drag(UiObject* window, const Event& event) {
    if (event.type == EV_MOUSE_MOVE) {
        if (continuous_move) {
            hide_rubber_rect();
            move_dragged_window(window, event.x, event.y);
        } else {
            int x = event.x - grab_x, y = event.y - grab_y;
            show_rubber_rect(x, y, window->x1 + x - window->x0, window->y1 + y - window->y0);
        }
    } else if (event.type == EV_MOUSE_CLICK && event.value == 0) {
        move_dragged_window(window, event.x, event.y);
        window_dragging = 0;
        window->flags &= ~UIF_DRAGGING;
        ui_captured = nullptr;
        hide_rubber_rect();
        reset_pointer_limits();
        set_pointer_shape(kept_pointer);
        invalidate_ui_object(window, 0);
    }
}

void window_menu_chosen(UiObject* menu, Event& event) {
    UiObject* window = menu->owner;
    if (!window || event.type != EV_SELECT) return;
    if (event.value == 1) raise_ui_object(window);
    if (event.value == 2) lower_ui_object(window);
    if (event.value == 3) show_ui_object(window, 0);
}

void toggle_menu_chosen(UiObject* menu, Event& event) {
    UiObject* toggle = menu->owner;
    if (!toggle || event.type != EV_SELECT) return;
    set_ui_attrs(toggle, ATTR_STATE, event.value, 0);
    yield_thread();
    Event select{EV_SELECT, event.value, event.x, event.y, event.time};
    send_ui_event(toggle, select);
}

void open_window_menu(UiObject* window, Event& event) {
    UiObject* menu = popup_menu(window, event.x, event.y, ATTR_MENU_ITEM, 1, "To Top", ATTR_MENU_ITEM, 2, "To Back",
                                ATTR_NOTIFY, window_menu_chosen, 0);
    if (has(window, UIF_CLOSE_BOX)) {
        set_ui_attrs(menu, ATTR_MENU_LINE, ATTR_MENU_ITEM, 3, "Close", 0);
        place_menu(menu, event.x, event.y);
    }
    event.type = 0;
}

}  // namespace

void draw_box(UiObject* object) {
    if (!has(object, UIF_TRANSPARENT)) fill_box(object->x0, object->y0, object->x1, object->y1, object->fill_colour);
}

void draw_frame(UiObject* object) {
    draw_hline_clipped(object->x0, object->x1, object->y0 + 1, FRAME_COLOUR);
    draw_vline_clipped(object->x0, object->y0 + 1, object->y1 - 1, FRAME_COLOUR);
}

void draw_canvas(UiObject* object) {
    const Screen* screen = object->screen;
    if (!screen) {
        fill_box(object->x0, object->y0, object->x1, object->y1, 0);
        return;
    }
    // A screen given by the caller may be smaller than the canvas.
    copy_screen_to_box(object->x0, object->y0, object->x1, object->y1, screen);
}

void handle_window(UiObject* object, Event& event) {
    if (window_dragging) {
        follow_drag(ui_captured ? ui_captured : object, event);
        return;
    }
    if (event.type != EV_MOUSE_CLICK) return;
    if (event.value == 1 && has(object, UIF_MOVABLE))
        start_drag(object, event);
    else if (event.value == 2 && has(object, UIF_MENU))
        open_window_menu(object, event);
}

void draw_window(UiObject* object) {
    if (!has(object, UIF_TRANSPARENT)) {
        if (has(object, UIF_GLASS_DRAG) && has(object, UIF_DRAGGING))
            glass_box(object->x0, object->y0, object->x1, object->y1);
        else
            fill_box(object->x0, object->y0, object->x1, object->y1, object->fill_colour);
    }
    draw_bevel(object);
}

void handle_toggle(UiObject* object, Event& event) {
    if (ui_captured == object) {
        if (event.type != EV_MOUSE_CLICK || event.value != 0) return;
        ui_captured = nullptr;
        if (find_ui_object_at(event.x, event.y) == object) {
            int state = toggle_press_state ? 0 : 1;
            set_ui_state(object, state);
            Event select{EV_SELECT, state, event.x, event.y, event.time};
            send_ui_event(object, select);
            yield_thread();
            yield_thread();
        } else {
            set_ui_attrs(object, ATTR_STATE, toggle_press_state, 0);
            yield_thread();
        }
        return;
    }
    follow_picture_display(object, event);
    if (event.type == EV_MOUSE_CLICK && event.value == 1) {
        ui_captured = object;
        toggle_press_state = object->state;
        set_ui_state(object, 1);
        yield_thread();
    } else if (event.type == EV_MOUSE_CLICK && event.value == 2 && has(object, UIF_MENU)) {
        popup_menu(object, event.x, event.y, ATTR_MENU_ITEM, 1, "On", ATTR_MENU_ITEM, 0, "Off", ATTR_NOTIFY,
                   toggle_menu_chosen, 0);
    }
}

void draw_toggle(UiObject* object) {
    bool picture = draw_pressed_picture(object);
    if (!picture) {
        if (!has(object, UIF_TRANSPARENT))
            fill_box(object->x0, object->y0, object->x1, object->y1, (object->fill_colour & 0xFF) * 0x01010101u);
        if (!has(object, UIF_FLAT)) draw_bevel(object);
    }
    draw_ui_label(object, picture);
}

}  // namespace vyr
