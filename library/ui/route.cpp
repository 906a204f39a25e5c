#include "library/ui/route.h"

#include "library/graphics/font.h"
#include "library/system/exit.h"
#include "library/system/key.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/system/timer.h"
#include "library/ui/repaint.h"

namespace vyr {

int32_t text_cursor_x = 0, text_cursor_y = 0;
int text_cursor_enabled = 0;
int text_cursor_phase = 0;

namespace {

constexpr int CURSOR_WIDTH = 2, CURSOR_HEIGHT = 15;  // right and bottom edges, inclusive

std::atomic<int> cursor_wake{0};

void invalidate_text_cursor() {
    invalidate_area(text_cursor_x, text_cursor_y, text_cursor_x + CURSOR_WIDTH, text_cursor_y + CURSOR_HEIGHT, 0);
}

void route_ui_event(Event& event) {
    switch (event.type) {
    case EV_KEY:
        if (!handle_key_event(event)) send_ui_event(ui_key_focus, event);
        break;
    case EV_JOY_AX:
    case EV_JOY_AY:
    case EV_JOY_BX:
    case EV_JOY_BY:
    case EV_JOY_FIRE:
        send_ui_event(ui_joy_focus, event);
        break;
    default:
        send_ui_event(ui_captured ? ui_captured : ui_under_pointer, event);
        break;
    }
}

void send_pointer_event(UiObject* object, EventType type, int x, int y) {
    Event event{type, 0, x, y, read_clock()};
    send_ui_event(object, event);
}

}  // namespace

void send_ui_event(UiObject* object, Event& event) {
    if (!object) return;
    if (event.type == EV_MOUSE_CLICK && event.value == 1) {
        if (!object->parent || object->parent->id != UI_NO_RAISE_ID) raise_ui_object(object);
        if (object->thread) set_thread_priority_top(object->thread);
    } else if (object->thread) {
        set_thread_priority_high(object->thread);
    }
    if (object->flags & UIF_HANDLER) ui_type_table[object->type].handler(object, event);
    if (object->notify && !(object->flags & UIF_DESTROY_PENDING) && (object->event_mask & ui_event_bit(event.type)))
        object->notify(object, event);
    // A request made while the object is already being destroyed must not destroy it twice.
    if ((object->flags & UIF_DESTROY_PENDING) && event.type != EV_DESTROY) destroy_ui_object(object);
}

void track_pointer_object(int x, int y) {
    if (ui_captured) return;
    UiObject* found = find_ui_object_at(x, y);
    if (found == ui_under_pointer) return;
    send_pointer_event(ui_under_pointer, EV_LEAVE, x, y);
    ui_under_pointer = found;
    send_pointer_event(found, EV_ENTER, x, y);
    // The enter handler may have destroyed the object, which clears the slot.
    set_pointer_shape(ui_under_pointer && ui_under_pointer->pointer_shape ? ui_under_pointer->pointer_shape
                                                                          : pointer_arrow);
}

void set_text_cursor(int x, int y, int on) {
    invalidate_text_cursor();
    text_cursor_x = x;
    text_cursor_y = y;
    text_cursor_enabled = on;
    cursor_wake = 1;
}

void place_text_cursor(const UiObject* object) {
    if (!object) {
        set_text_cursor(0, 0, 0);
        return;
    }
    int width = object->text ? get_text_width(object->text) : 0;
    set_text_cursor(object->x0 + width + (object->flags & UIF_TEXT_INSET ? 4 : 1), object->y0, 1);
}

void wait_ui_visible(UiObject* object) {
    if (!object->visible) wait_for_flag_nested(&object->visible);
}

void run_object_manager() {
    add_exit_handler(destroy_ui_tree);
    wait_for_flag(&event_count);
    for (;;) {
        Event event;
        if (!get_event(event)) {
            update_pointer();
            yield_thread();
            continue;
        }
        ++event_count;
        if (!ui_captured && event.type == EV_MOUSE_MOVE) track_pointer_object(event.x, event.y);
        route_ui_event(event);
        --event_count;
        yield_if_due();
    }
}

void run_cursor_flash() {
    wait_for_flag(&cursor_wake);
    for (;;) {
        cursor_wake = text_cursor_enabled;
        text_cursor_phase = text_cursor_enabled ? !text_cursor_phase : 0;
        invalidate_text_cursor();
        sleep_thread(CURSOR_FLASH_UNITS);
    }
}

}  // namespace vyr
