#include "library/system/mouse.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "library/debug/fatal.h"
#include "library/graphics/circle.h"
#include "library/graphics/line.h"
#include "library/graphics/loadgfx.h"
#include "library/graphics/palette.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/os/file.h"
#include "library/system/event.h"
#include "library/system/exit.h"
#include "library/system/memory.h"
#include "library/system/thread.h"
#include "library/system/winmain.h"
#include "platform/display/display.h"

namespace vyr {

PointerShape* pointer_arrow = nullptr;
PointerShape* pointer_move = nullptr;
PointerShape* pointer_close = nullptr;
PointerShape* pointer_resize = nullptr;
PointerShape* pointer_zoom = nullptr;
PointerShape* pointer_waypoint = nullptr;
PointerShape* pointer_rotate = nullptr;
PointerShape* pointer_text = nullptr;
PointerShape* pointer_3d = nullptr;
PointerShape* pointer_wait = nullptr;

std::atomic<int> pointer_x{160};
std::atomic<int> pointer_y{120};
std::atomic<int> pointer_moved{0};
int pointer_show_count = 0;
int pointer_drawn = 0;
int pointer_colours_locked = 0;

namespace {

constexpr const char* SOURCE = "library/system/mouse";
constexpr const char* POINTER_PICTURE = "uidata\\mouse.lbm";
constexpr int SHEET_WIDTH = 640, SHEET_HEIGHT = 480;
constexpr int POINTER_COLOUR_FIRST = 253;
constexpr int WAIT_STEP = 12;  // clock units between the hand's steps

// The window thread moves the confined position and its offset while game threads set them.
std::mutex pointer_mutex;
int limit_x0, limit_y0, limit_x1, limit_y1;
bool pointer_confined = false;
int pointer_offset_x = 0, pointer_offset_y = 0;
int cursor_x = 160, cursor_y = 120;

Screen* wait_pointer_screen = nullptr;

struct CutShape {
    PointerShape** shape;
    int width, height, hot_x, hot_y, sheet_x;
};
const CutShape CUT_SHAPES[] = {
    {&pointer_arrow, 32, 32, 0, 0, 0},       {&pointer_move, 32, 32, 15, 15, 32},
    {&pointer_close, 32, 32, 15, 15, 64},    {&pointer_resize, 32, 32, 15, 15, 96},
    {&pointer_zoom, 32, 32, 15, 15, 128},    {&pointer_waypoint, 32, 32, 15, 15, 160},
    {&pointer_rotate, 32, 32, 15, 15, 192},  {&pointer_text, 32, 32, 15, 15, 224},
    {&pointer_3d, 18, 12, 7, 4, 256},
};

bool display_updating() { return update_depth != 0; }

void remove_drawn_pointer() {
    if (!pointer_drawn) return;
    restore_pointer_background(1);
    pointer_drawn = 0;
    platform::refresh_display();
}

void draw_pointer_now() {
    save_pointer_background(1);
    draw_pointer(1);
    pointer_drawn = 1;
    platform::refresh_display();
}

void install_pointer_colours(const PointerShape* shape) {
    if (shape && shape->colours && !pointer_colours_locked) set_base_palette(shape->colours, POINTER_COLOUR_FIRST, 2, 1);
}

void redraw_pointer() {
    remove_drawn_pointer();
    if (pointer_show_count >= 1) draw_pointer_now();
}

void free_shape(PointerShape*& shape) {
    if (!shape) return;
    free_memory(shape->colours, SOURCE, 521);
    free_memory(shape->pixels, SOURCE, 523);
    free_memory(shape, SOURCE, 530);
    shape = nullptr;
}

void run_wait_pointer() {
    select_screen(wait_pointer_screen);
    uint32_t angle = 0;
    for (;;) {
        if (current_pointer_shape == pointer_wait) {
            clear_screen(0);
            fill_circle(15, 15, 8, 254u * 0x01010101u);
            draw_circle(15, 15, 8, 253);
            angle += 0x08000000;
            int hand_x = 15 + int((6LL * lookup_cos(angle) + (1LL << 30)) >> 31);
            int hand_y = 15 + int((6LL * lookup_sin(angle) + (1LL << 30)) >> 31);
            draw_line(253, 15, 15, hand_x, hand_y);
            if (!display_updating()) redraw_pointer();
        }
        sleep_thread(WAIT_STEP);
    }
}

// Turns a position the system reported into the one the game sees, keeping it inside the
// limits while confined: the offset moves with the clamp, so the pointer leaves the edge as soon
// as the mouse turns back.
void confine(int& x, int& y) {
    if (!pointer_confined) return;
    x -= pointer_offset_x;
    y -= pointer_offset_y;
    if (x < limit_x0) pointer_offset_x -= limit_x0 - x, x = limit_x0;
    if (x > limit_x1) pointer_offset_x += x - limit_x1, x = limit_x1;
    if (y < limit_y0) pointer_offset_y -= limit_y0 - y, y = limit_y0;
    if (y > limit_y1) pointer_offset_y += y - limit_y1, y = limit_y1;
}

}  // namespace

PointerShape* create_pointer_shape(int width, int height, int hot_x, int hot_y) {
    auto* shape = static_cast<PointerShape*>(allocate_memory(sizeof(PointerShape), SOURCE, 767));
    auto* pixels = static_cast<uint8_t*>(allocate_memory(size_t(width) * height, SOURCE, 775));
    std::memset(pixels, 0, size_t(width) * height);
    *shape = {width, height, hot_x, hot_y, nullptr, pixels};
    return shape;
}

void cut_pointer_shape(PointerShape* shape, const uint8_t* picture, int x, int y, int stride, const uint8_t* palette) {
    if (!shape->colours) shape->colours = static_cast<uint8_t*>(allocate_memory(6, SOURCE, 256));
    int slots[2] = {-1, -1};
    for (int row = 0; row < shape->height; ++row)
        for (int column = 0; column < shape->width; ++column) {
            int p = picture[size_t(y + row) * stride + x + column];
            uint8_t& pixel = shape->pixels[row * shape->width + column];
            pixel = 0;
            if (p <= 1) continue;
            for (int k = 0; k < 2; ++k) {
                if (slots[k] == -1) {
                    slots[k] = p;
                    std::memcpy(shape->colours + 3 * k, palette + 3 * p, 3);
                }
                if (slots[k] == p) {
                    pixel = uint8_t(POINTER_COLOUR_FIRST + k);
                    break;
                }
            }
        }
}

void init_mouse() {
    pointer_colours_locked = 1;
    watch_debug_value("Mouse Pointer", 0, &current_pointer_shape);
    watch_debug_value("Mouse On Count", 0, &pointer_show_count);
    watch_debug_value("Mouse X", 0, &pointer_x);
    watch_debug_value("Mouse Y", 0, &pointer_y);
    for (const CutShape& cut : CUT_SHAPES) *cut.shape = create_pointer_shape(cut.width, cut.height, cut.hot_x, cut.hot_y);
    set_pointer_shape(pointer_arrow);
    pointer_wait = create_pointer_shape(32, 32, 15, 15);
    set_pointer_shape(pointer_wait);
    wait_pointer_screen = wrap_screen(32, 32, 0, pointer_wait->pixels);
    create_thread("Wait Pointer", run_wait_pointer);
    if (check_file_exists(POINTER_PICTURE)) {
        auto* sheet = static_cast<uint8_t*>(allocate_memory(SHEET_WIDTH * SHEET_HEIGHT, SOURCE, 356));
        std::memset(sheet, 0, SHEET_WIDTH * SHEET_HEIGHT);
        uint8_t palette[PICTURE_PALETTE_SIZE] = {};
        load_picture_palette(POINTER_PICTURE, sheet, SHEET_WIDTH, SHEET_HEIGHT, palette);
        for (const CutShape& cut : CUT_SHAPES) cut_pointer_shape(*cut.shape, sheet, cut.sheet_x, 0, SHEET_WIDTH, palette);
        free_memory(sheet, SOURCE, 372);
    }
    set_pointer_shape(pointer_arrow);
    reset_pointer_limits();
    set_pointer_position(160, 120);
    add_exit_handler(free_pointer_shapes);
    send_request(REQ_HIDE_CURSOR);
    enable_pointer_colours();
}

void set_pointer_shape(PointerShape* shape) {
    if (shape == current_pointer_shape) return;
    if (!display_updating()) remove_drawn_pointer();
    current_pointer_shape = shape;
    install_pointer_colours(shape);
    if (!display_updating() && pointer_show_count >= 1) draw_pointer_now();
}

PointerShape* get_pointer_shape() { return current_pointer_shape; }

void set_pointer_colours(uint8_t* colours) {
    if (!current_pointer_shape) return;
    current_pointer_shape->colours = colours;
    install_pointer_colours(current_pointer_shape);
}

void enable_pointer_colours() { pointer_colours_locked = 0; }

void show_pointer() {
    ++pointer_show_count;
    if (display_updating()) return;
    remove_drawn_pointer();
    if (pointer_show_count < 1) return;
    install_pointer_colours(current_pointer_shape);
    draw_pointer_now();
}

void hide_pointer() {
    --pointer_show_count;
    if (!display_updating()) redraw_pointer();
}

void update_pointer() {
    if (!pointer_moved.load() || display_updating()) return;
    {
        std::lock_guard lock(pointer_mutex);
        pointer_draw_x = pointer_x.load();
        pointer_draw_y = pointer_y.load();
        pointer_moved.store(0);
    }
    redraw_pointer();
}

void set_pointer_limits(int x0, int y0, int x1, int y1) {
    std::lock_guard lock(pointer_mutex);
    limit_x0 = int16_t(x0);
    limit_y0 = int16_t(y0);
    limit_x1 = int16_t(x1);
    limit_y1 = int16_t(y1);
    pointer_confined = !(x0 == clip_x0 && y0 == clip_y0 && x1 == clip_x1 && y1 == clip_y1);
    if (pointer_confined) {
        pointer_offset_x = cursor_x;
        pointer_offset_y = cursor_y;
    }
}

void reset_pointer_limits() { set_pointer_limits(clip_x0, clip_y0, clip_x1, clip_y1); }

void set_pointer_position(int x, int y) {
    {
        std::lock_guard lock(pointer_mutex);
        if (pointer_confined) {
            pointer_offset_x -= x;
            pointer_offset_y -= y;
            return;
        }
    }
    RequestBlock block = {x, y, 0, 0};
    send_request(REQ_SET_CURSOR_POS, block);
}

void get_cursor_position(int& x, int& y) {
    std::lock_guard lock(pointer_mutex);
    x = cursor_x;
    y = cursor_y;
}

void free_pointer_shapes() {
    for (const CutShape& cut : CUT_SHAPES) free_shape(*cut.shape);
    free_shape(pointer_wait);
}

void run_mouse_hook() {}

void on_mouse_move(int buttons, int x, int y) {
    {
        std::lock_guard lock(pointer_mutex);
        cursor_x = x;
        cursor_y = y;
        pointer_x.store(x);
        pointer_y.store(y);
        pointer_moved.store(1);
        confine(x, y);
    }
    post_input_event({EV_MOUSE_MOVE, buttons, x, y, 0});
}

void on_mouse_button(int buttons, int x, int y) {
    {
        std::lock_guard lock(pointer_mutex);
        cursor_x = x;
        cursor_y = y;
        confine(x, y);
    }
    post_input_event({EV_MOUSE_CLICK, buttons, x, y, 0});
}

}  // namespace vyr
