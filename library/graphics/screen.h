// 8-bit drawing surfaces and the current drawing target: the screen table, the selected screen
// with its row table and clip rectangle, and the accelerator's frame buffer for 32-bit drawing.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int MAX_SCREENS = 100;
constexpr int MAX_SCREEN_ROWS = 600;  // the tallest display

constexpr uint32_t SCREEN_OWNS_PIXELS = 1;
constexpr uint32_t SCREEN_DISPLAY_SIZED = 2;

struct Screen {
    int32_t width;
    int32_t height;
    int32_t row_pad;   // bytes after each row beyond width
    int32_t origin_x;  // display place of column 0 when copied to the display
    int32_t origin_y;
    uint8_t* pixels;   // first byte of row 0
    uint32_t flags;
};

// One row of a bitmap's non-zero extent.
struct RowSpan {
    uint8_t* row;  // first non-zero pixel, null for an empty row
    int32_t offset;
    int32_t length;
};

// The selected target and what every primitive derives from it.
extern Screen* current_screen;
extern int32_t screen_width;
extern int32_t screen_height;
extern int32_t screen_pitch;
extern int32_t screen_origin_x;
extern int32_t screen_origin_y;
extern bool screen_display_sized;
extern uint8_t* row_table[MAX_SCREEN_ROWS];

// The clip rectangle, inclusive on all four sides.
extern int32_t clip_x0, clip_y0, clip_x1, clip_y1;

// Non-zero while the current screen is being copied to the display.
extern int update_depth;

// While set, 2D primitives draw into the accelerator's locked frame buffer.
extern int accelerator_flag;
extern uint8_t* frame_buffer;  // pixel (0, 0), 32-bit 0x00RRGGBB words
extern int32_t frame_buffer_stride;  // bytes per row
// The colour shown now for each palette index, as 0x00RRGGBB.
extern uint32_t display_colours[256];

// A new screen with pixels of its own (not cleared); display-sized when it matches the display.
Screen* create_screen(int width, int height);
// A screen over memory the caller keeps; never display-sized.
Screen* wrap_screen(int width, int height, int row_pad, uint8_t* pixels);
// Frees the screen (and its pixels when it owns them); the current screen leaves no target.
// With no target the screen size is 0 and the clip rectangle empty.
// A second destroy of the same screen is ignored.
void destroy_screen(Screen* screen);
// Makes `screen` the target and resets the clip rectangle to it; null leaves no target.
void select_screen(Screen* screen);
Screen* get_current_screen();
void set_screen_origin(int x, int y);

void set_clip_rect(int x0, int y0, int x1, int y1);
void reset_clip_rect();

// Fill the whole target, or the clip rectangle, with a four-byte colour pattern.
void clear_screen(uint32_t pattern);
void fill_clip_rect(uint32_t pattern);

// Copy the current screen into the display surface, with the pointer left alone meanwhile;
// or copy it and present it.
void lock_display_nested();
void lock_and_flip_display();

Screen* take_screen_slot();
void return_screen_slot(Screen* screen);

// The non-zero extent of each row of a width x height bitmap; allocates the table when null.
RowSpan* build_mask_spans(int width, int height, uint8_t* pixels, RowSpan* table);

}  // namespace vyr
