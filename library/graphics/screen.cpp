#include "library/graphics/screen.h"

#include "library/debug/fatal.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/display.h"
#include "library/graphics/rect.h"
#include "library/system/memory.h"

namespace vyr {

Screen* current_screen = nullptr;
int32_t screen_width = 0;
int32_t screen_height = 0;
int32_t screen_pitch = 0;
int32_t screen_origin_x = 0;
int32_t screen_origin_y = 0;
bool screen_display_sized = false;
uint8_t* row_table[MAX_SCREEN_ROWS];
int32_t clip_x0 = 0, clip_y0 = 0, clip_x1 = -1, clip_y1 = -1;
int update_depth = 0;
int accelerator_flag = 0;
uint8_t* frame_buffer = nullptr;
int32_t frame_buffer_stride = 0;
uint32_t display_colours[256];

namespace {

constexpr const char* SOURCE = "library/graphics/screen";

Screen screen_table[MAX_SCREENS];
bool screen_in_use[MAX_SCREENS];

int slot_index(const Screen* screen) {
    for (int i = 0; i < MAX_SCREENS; ++i)
        if (screen == &screen_table[i]) return i;
    return -1;
}

// With no target the size is 0 and the clip empty, so a primitive that only bounds its writes
// by them still draws nothing through the row table left behind.
void leave_no_target() {
    current_screen = nullptr;
    screen_width = screen_height = 0;
    reset_clip_rect();
}

}  // namespace

Screen* take_screen_slot() {
    for (int i = 0; i < MAX_SCREENS; ++i)
        if (!screen_in_use[i]) {
            screen_in_use[i] = true;
            return &screen_table[i];
        }
    report_fatal_error("Not Enough Screens", SOURCE, __LINE__);
    return nullptr;
}

void return_screen_slot(Screen* screen) {
    int index = slot_index(screen);
    if (index < 0)
        report_fatal_error("Too many Screens", SOURCE, __LINE__);
    else
        screen_in_use[index] = false;
}

Screen* create_screen(int width, int height) {
    Screen* screen = take_screen_slot();
    if (!screen) return nullptr;
    uint8_t* pixels = static_cast<uint8_t*>(allocate_memory(size_t(width) * height, SOURCE, __LINE__));
    bool display_sized = width == display_width() && height == display_height();
    *screen = {width, height, 0, 0, 0, pixels, SCREEN_OWNS_PIXELS | (display_sized ? SCREEN_DISPLAY_SIZED : 0)};
    return screen;
}

Screen* wrap_screen(int width, int height, int row_pad, uint8_t* pixels) {
    Screen* screen = take_screen_slot();
    if (screen) *screen = {width, height, row_pad, 0, 0, pixels, 0};
    return screen;
}

void destroy_screen(Screen* screen) {
    if (!screen) return;
    int index = slot_index(screen);
    if (index < 0) {
        return_screen_slot(screen);  // reports it: nothing of a foreign record is freed
        return;
    }
    // A screen already given back has nothing left to free.
    if (!screen_in_use[index]) return;
    if (screen == current_screen) leave_no_target();
    if (screen->flags & SCREEN_OWNS_PIXELS) free_memory(screen->pixels, SOURCE, __LINE__);
    screen->pixels = nullptr;
    return_screen_slot(screen);
}

void select_screen(Screen* screen) {
    if (!screen) return leave_no_target();
    if (screen->height > MAX_SCREEN_ROWS) {
        report_fatal_error("Screen too tall (%d rows)", SOURCE, __LINE__, screen->height);
        return leave_no_target();
    }
    current_screen = screen;
    screen_width = screen->width;
    screen_height = screen->height;
    screen_pitch = screen->width + screen->row_pad;
    screen_origin_x = screen->origin_x;
    screen_origin_y = screen->origin_y;
    screen_display_sized = (screen->flags & SCREEN_DISPLAY_SIZED) != 0;
    for (int y = 0; y < screen->height; ++y) row_table[y] = screen->pixels + size_t(y) * screen_pitch;
    reset_clip_rect();
}

Screen* get_current_screen() { return current_screen; }

void set_screen_origin(int x, int y) {
    if (!current_screen) return;
    current_screen->origin_x = screen_origin_x = x;
    current_screen->origin_y = screen_origin_y = y;
}

void set_clip_rect(int x0, int y0, int x1, int y1) {
    clip_x0 = x0;
    clip_y0 = y0;
    clip_x1 = x1;
    clip_y1 = y1;
}

void reset_clip_rect() { set_clip_rect(0, 0, screen_width - 1, screen_height - 1); }

void clear_screen(uint32_t pattern) {
    if (current_screen) fill_rect(pattern, 0, 0, screen_width, screen_height);
}

void fill_clip_rect(uint32_t pattern) {
    if (current_screen && clip_x1 >= clip_x0 && clip_y1 >= clip_y0)
        fill_rect(pattern, clip_x0, clip_y0, clip_x1 - clip_x0 + 1, clip_y1 - clip_y0 + 1);
}

void lock_display_nested() {
    ++update_depth;
    lock_video_memory_retry();
    --update_depth;
}

void lock_and_flip_display() {
    lock_video_memory_retry();
    flip_display();
}

RowSpan* build_mask_spans(int width, int height, uint8_t* pixels, RowSpan* table) {
    if (!table) table = static_cast<RowSpan*>(allocate_memory(sizeof(RowSpan) * size_t(height), SOURCE, __LINE__));
    for (int y = 0; y < height; ++y) {
        uint8_t* start = pixels + size_t(y) * width;
        uint8_t* left = start;
        uint8_t* right = start + width - 1;
        while (left <= right && *left == 0) ++left;
        while (right >= left && *right == 0) --right;
        table[y] = left > right ? RowSpan{nullptr, 0, 0} : RowSpan{left, int32_t(left - start), int32_t(right - left + 1)};
    }
    return table;
}

}  // namespace vyr
