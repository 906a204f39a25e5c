#include "library/ui/uclose.h"

#include <cstring>

#include "library/debug/fatal.h"
#include "library/os/file.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/ui/clip.h"
#include "library/ui/route.h"
#include "library/ui/setattr.h"
#include "library/ui/umenu.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/ui/uclose";
constexpr size_t PICTURE_BYTES = CLOSE_BOX_SIZE * CLOSE_BOX_SIZE;

uint8_t pressed_pixels[PICTURE_BYTES];
uint8_t released_pixels[PICTURE_BYTES];
PointerShape* kept_pointer = nullptr;

UiObject* window_of(const UiObject* box) { return box->parent; }

bool drawn_as_glass(const UiObject* box) {
    const UiObject* window = window_of(box);
    return (box->flags & UIF_GLASS_DRAG) && window && (window->flags & UIF_DRAGGING);
}

void close_window(UiObject* box) {
    if (UiObject* window = window_of(box)) set_ui_attrs(window, ATTR_SHOWN, 0, ATTR_THREAD_TOP, 0);
}

void close_menu_chosen(UiObject* menu, Event& event) {
    UiObject* box = menu->owner;
    if (!box || event.type != EV_SELECT) return;
    set_ui_state(box, 1);
    yield_thread();
    set_ui_state(box, 0);
    close_window(box);
}

}  // namespace

Sprite close_box_pressed = {CLOSE_BOX_SIZE, CLOSE_BOX_SIZE, 0, 0, pressed_pixels};
Sprite close_box_released = {CLOSE_BOX_SIZE, CLOSE_BOX_SIZE, 0, 0, released_pixels};

void load_raw_ui_picture(const char* name, uint8_t* pixels) {
    std::memset(pixels, 0, PICTURE_BYTES);
    if (!check_file_exists(name)) return;
    if (get_file_size_by_name(name) != long(PICTURE_BYTES)) {
        report_fatal_error("%s is not a 16 x 16 picture", SOURCE, __LINE__, name);
        return;
    }
    load_file(name, pixels, PICTURE_BYTES, SOURCE, __LINE__);
    for (size_t i = 0; i < PICTURE_BYTES; ++i) pixels[i] = uint8_t(pixels[i] + UI_PICTURE_BIAS);
}

void load_close_box_pictures() {
    load_raw_ui_picture("uidata\\closeon.bm", pressed_pixels);
    load_raw_ui_picture("uidata\\closeoff.bm", released_pixels);
}

void add_close_box(UiObject* window) {
    window->flags |= UIF_CLOSE_BOX;
    create_ui_object(UI_CLOSE_BOX, window, "CloseBox", ATTR_POS, 0, 0, ATTR_SIZE, 15, 15, ATTR_ON_TOP, 1, 0);
}

void handle_close_box(UiObject* object, Event& event) {
    if (ui_captured) {
        if (event.type != EV_MOUSE_CLICK || event.value != 0) return;
        ui_captured = nullptr;
        if (find_ui_object_at(event.x, event.y) == object) close_window(object);
        set_ui_state(object, 0);
        set_pointer_shape(kept_pointer);
        yield_thread();
        return;
    }
    if (event.type == EV_MOUSE_CLICK && event.value == 1) {
        ui_captured = object;
        set_ui_state(object, 1);
        kept_pointer = get_pointer_shape();
        set_pointer_shape(pointer_close);
        yield_thread();
    } else if (event.type == EV_MOUSE_CLICK && event.value == 2 && (object->flags & UIF_MENU)) {
        popup_menu(object, event.x, event.y, ATTR_MENU_ITEM, 1, "Close", ATTR_NOTIFY, close_menu_chosen, 0);
    }
}

void draw_close_box(UiObject* object) {
    bool glass = drawn_as_glass(object);
    if (object->state) {
        if (glass)
            draw_sprite_remap(&close_box_pressed, object->x0, object->y0, glass_remap.data());
        else
            draw_sprite(&close_box_pressed, object->x0, object->y0);
    } else if (!glass) {
        draw_sprite(&close_box_released, object->x0, object->y0);
    }
}

}  // namespace vyr
