#include "library/ui/button.h"

#include "library/graphics/font.h"
#include "library/system/thread.h"
#include "library/system/timer.h"
#include "library/ui/clip.h"
#include "library/ui/route.h"
#include "library/ui/setattr.h"
#include "library/ui/umenu.h"
#include "library/ui/utext.h"
#include "library/ui/upicture.h"

namespace vyr {

namespace {

constexpr int PICTURE_LIFT = 3;
constexpr int ARROW_RIGHT_INSET = 9, ARROW_TOP_INSET = 3;
constexpr uint8_t BUTTON_UP_FILL = COLOUR_DEFAULT_FILL;
constexpr uint8_t BUTTON_DOWN_FILL = COLOUR_BEVEL_SHADOW;

int press_state = 0;  // what a radio was before the press

uint32_t repeated(uint8_t colour) { return colour * 0x01010101u; }

void send_select(UiObject* object, int value, const Event& cause) {
    Event select{EV_SELECT, value, cause.x, cause.y, cause.time};
    send_ui_event(object, select);
}

void draw_bevel(const UiObject* object) {
    if (object->state)
        draw_sunken_box(object->x0, object->y0, object->x1, object->y1);
    else
        draw_raised_box(object->x0, object->y0, object->x1, object->y1);
}

// An up and a down arrowhead, one above the other.
void draw_arrow_sign(const UiObject* object) {
    int x = object->x1 - ARROW_RIGHT_INSET, y = object->y0 + ARROW_TOP_INSET, colour = object->text_colour & 0xFF;
    draw_box_pixel(x, y, colour);
    for (int i = 1; i <= 3; ++i) {
        draw_hline_clipped(x - i, x + i, y + i, colour);
        draw_hline_clipped(x - (4 - i), x + (4 - i), y + 5 + i, colour);
    }
    draw_box_pixel(x, y + 9, colour);
}

bool released_over(const UiObject* object, const Event& event) {
    return find_ui_object_at(event.x, event.y) == object;
}

void button_menu_chosen(UiObject* menu, Event& event) {
    UiObject* button = menu->owner;
    if (!button || event.type != EV_SELECT) return;
    set_ui_attrs(button, ATTR_STATE, 1, 0);
    yield_thread();
    set_ui_attrs(button, ATTR_STATE, 0, 0);
    send_select(button, event.value, event);
    yield_thread();
}

void radio_menu_chosen(UiObject* menu, Event& event) {
    UiObject* radio = menu->owner;
    if (!radio || event.type != EV_SELECT) return;
    select_radio(radio);
    yield_thread();
    send_select(radio, event.value, event);
}

// The press and release both kinds share; `on_release` runs for a release over the object.
template <typename Release>
void handle_press(UiObject* object, Event& event, const char* menu_item, UiNotify menu_chosen, Release on_release) {
    if (ui_captured == object) {
        if (event.type == EV_MOUSE_CLICK && event.value == 0) {
            ui_captured = nullptr;
            on_release(released_over(object, event));
            yield_thread();
        }
        return;
    }
    follow_picture_display(object, event);
    if (event.type == EV_MOUSE_CLICK && event.value == 1) {
        ui_captured = object;
        press_state = object->state;
        set_ui_state(object, 1);
        yield_thread();
    } else if (event.type == EV_MOUSE_CLICK && event.value == 2 && (object->flags & UIF_MENU)) {
        popup_menu(object, event.x, event.y, ATTR_MENU_ITEM, 1, menu_item, ATTR_NOTIFY, menu_chosen, 0);
    }
}

}  // namespace

void select_radio(UiObject* radio) {
    set_ui_attrs(radio, ATTR_STATE, 1, 0);
    if (!radio->parent) return;
    for (UiObject* sibling = radio->parent->first_child; sibling; sibling = sibling->next_sibling)
        if (sibling != radio && sibling->type == UI_RADIO) set_ui_attrs(sibling, ATTR_STATE, 0, 0);
}

void draw_ui_label(const UiObject* object, bool over_picture) {
    if (!object->text) return;
    if (object->shadow) {
        draw_text_object(const_cast<UiObject*>(object));
        return;
    }
    if (object->font) select_font(object->font);
    text_x = (object->x0 + object->x1) / 2 - get_text_width(object->text) / 2;
    text_y = (object->y0 + object->y1) / 2 - (get_line_height() / 2 - 1) - (over_picture ? PICTURE_LIFT : 0);
    text_colour = uint8_t(object->text_colour & 0xFF);
    draw_text(object->text);
}

void follow_picture_display(UiObject* object, const Event& event) {
    if (event.type == EV_DESTROY) {
        release_ui_picture(object);
        free_ui_screen(object);
    }
    if (event.type != EV_DISPLAY || !object->file_name) return;
    if (event.value == 1) {
        if (!object->body) load_ui_picture(object);
    } else {
        free_ui_screen(object);
    }
}

bool draw_pressed_picture(UiObject* object) {
    if (!object->file_name) return false;
    if (object->state && prepare_ui_picture(object))
        copy_screen_to_box(object->x0, object->y0, object->x1, object->y1, object->screen);
    return true;
}

void handle_button(UiObject* object, Event& event) {
    handle_press(object, event, "Push Button", button_menu_chosen, [&](bool over) {
        set_ui_attrs(object, ATTR_STATE, 0, 0);
        if (over) send_select(object, 0, event);
    });
}

void handle_radio(UiObject* object, Event& event) {
    handle_press(object, event, "Push", radio_menu_chosen, [&](bool over) {
        if (!over) {
            set_ui_attrs(object, ATTR_STATE, press_state, 0);
            return;
        }
        select_radio(object);
        send_select(object, 1, event);
    });
}

void draw_button(UiObject* object) {
    bool picture = draw_pressed_picture(object);
    if (!picture) {
        object->fill_colour = repeated(object->state ? BUTTON_DOWN_FILL : BUTTON_UP_FILL);
        if (!(object->flags & UIF_TRANSPARENT)) fill_box(object->x0, object->y0, object->x1, object->y1, object->fill_colour);
        if (!(object->flags & UIF_FLAT)) draw_bevel(object);
    }
    draw_ui_label(object, picture);
    if (!picture && (object->flags & UIF_ARROW)) draw_arrow_sign(object);
}

void draw_radio(UiObject* object) {
    bool picture = draw_pressed_picture(object);
    if (!picture) {
        if (!(object->flags & UIF_TRANSPARENT)) {
            bool glass = (object->flags & UIF_GLASS_DRAG) && object->parent && (object->parent->flags & UIF_DRAGGING);
            if (glass)
                glass_box(object->x0, object->y0, object->x1, object->y1);
            else
                fill_box(object->x0, object->y0, object->x1, object->y1, object->fill_colour);
        }
        draw_bevel(object);
    }
    draw_ui_label(object, picture);
}

}  // namespace vyr
