#include "library/ui/uresize.h"

#include "library/system/exit.h"
#include "library/system/memory.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/system/timer.h"
#include "library/ui/repaint.h"
#include "library/ui/route.h"
#include "library/ui/setattr.h"
#include "library/ui/uclose.h"
#include "library/ui/umenu.h"

namespace vyr {

Sprite resize_pressed_sprite = {};
Sprite resize_released_sprite = {};

namespace {

constexpr const char* SOURCE = "library/ui/uresize";
constexpr int PICTURE_SIDE = CLOSE_BOX_SIZE;  // the raw UI pictures are all 16 x 16
constexpr size_t PICTURE_BYTES = PICTURE_SIDE * PICTURE_SIDE;

// One drag at a time.
int grab_x = 0, grab_y = 0;
PointerShape* shape_before = nullptr;

void load_picture(Sprite& sprite, const char* name) {
    auto* pixels = static_cast<uint8_t*>(allocate_memory(PICTURE_BYTES, SOURCE, __LINE__));
    load_raw_ui_picture(name, pixels);
    sprite = {PICTURE_SIDE, PICTURE_SIDE, 0, 0, pixels};
}

void free_picture(Sprite& sprite) {
    free_memory(const_cast<uint8_t*>(sprite.pixels), SOURCE, __LINE__);
    sprite = {};
}

// Nothing before the pictures are loaded.
void draw_picture(const Sprite& sprite, int x, int y) {
    if (sprite.pixels) draw_sprite(&sprite, x, y);
}

void free_resize_box_pictures() {
    free_picture(resize_pressed_sprite);
    free_picture(resize_released_sprite);
}

// The window's size for the pointer at (x, y); a side below the minimum moves its grab offset
// so that the drag goes on from exactly the minimum.
void drag_size(const UiObject* window, int x, int y, int& width, int& height) {
    width = x - window->x0 + grab_x;
    height = y - window->y0 + grab_y;
    if (width < MIN_RESIZED_SIZE) {
        grab_x += MIN_RESIZED_SIZE - width;
        width = MIN_RESIZED_SIZE;
    }
    if (height < MIN_RESIZED_SIZE) {
        grab_y += MIN_RESIZED_SIZE - height;
        height = MIN_RESIZED_SIZE;
    }
}

void press(UiObject* box, const Event& event) {
    ui_captured = box;
    set_ui_state(box, 1);
    grab_x = box->x1 - event.x;
    grab_y = box->y1 - event.y;
    shape_before = get_pointer_shape();
    set_pointer_shape(pointer_resize);
    yield_thread();
}

void drag(UiObject* box, const Event& event) {
    UiObject* window = box->parent;
    int width, height;
    drag_size(window, event.x, event.y, width, height);
    if (event.type == EV_MOUSE_MOVE) {
        if (continuous_move) {
            hide_rubber_rect();
            set_ui_attrs(window, ATTR_SIZE, width, height, 0);
        } else {
            show_rubber_rect(window->x0, window->y0, event.x + grab_x, event.y + grab_y);
        }
        return;
    }
    ui_captured = nullptr;
    hide_rubber_rect();
    set_ui_attrs(window, ATTR_SIZE, width, height, 0);
    Event size{EV_SIZE, 0, width, height, read_coarse_clock()};
    send_ui_event(window, size);
    set_ui_state(box, 0);
    set_pointer_shape(shape_before);
    yield_thread();
}

}  // namespace

UiObject* add_resize_box(UiObject* window) {
    return create_ui_object(UI_RESIZE_BOX, window, "ResizeBox", ATTR_POS, window->x1 - window->x0 - RESIZE_BOX_SIZE,
                            window->y1 - window->y0 - RESIZE_BOX_SIZE, ATTR_SIZE, RESIZE_BOX_SIZE, RESIZE_BOX_SIZE,
                            ATTR_ON_TOP, 1, 0);
}

void load_resize_box_pictures() {
    load_picture(resize_pressed_sprite, "uidata\\resizing.bm");
    load_picture(resize_released_sprite, "uidata\\resize.bm");
    add_exit_handler(free_resize_box_pictures);
}

void handle_resize_box_event(UiObject* box, Event& event) {
    if (ui_captured == box) {
        if (event.type == EV_MOUSE_MOVE || (event.type == EV_MOUSE_CLICK && event.value == 0)) drag(box, event);
        return;
    }
    if (event.type != EV_MOUSE_CLICK) return;
    if (event.value == 1) press(box, event);
    if (event.value == 2 && (box->flags & UIF_MENU)) popup_menu(box, event.x, event.y, ATTR_MENU_ITEM, 1, "Resize", 0);
}

void draw_resize_box(UiObject* box) {
    if (box->state != 0) {
        draw_picture(resize_pressed_sprite, box->x0, box->y0);
        return;
    }
    bool glass = (box->flags & UIF_GLASS_DRAG) && box->parent && (box->parent->flags & UIF_DRAGGING);
    if (!glass) draw_picture(resize_released_sprite, box->x0, box->y0);
}

}  // namespace vyr
