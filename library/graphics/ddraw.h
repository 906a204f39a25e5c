// The 8-bit display: the window-thread handlers behind the display requests, and the display's
// geometry shared with the game side.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int VIDEO_MODE_COUNT = 5;
constexpr int MAX_DISPLAY_ROWS = 600;  // the tallest mode

struct VideoMode {
    int width;
    int height;
    int bits;
};

extern const VideoMode video_modes[VIDEO_MODE_COUNT];

// Set for the modes presented by flipping a back buffer to the front (0 and 4).
extern int page_flipping;

// The part of the display the program uses, inclusive; the whole display after a mode change.
extern int32_t display_clip_x0, display_clip_y0, display_clip_x1, display_clip_y1;

// The visible surface while an inverting line is drawn on it, and each row's byte offset.
extern uint8_t* display_surface;
extern int32_t display_row_offsets[MAX_DISPLAY_ROWS];

// Has the window thread serve the display requests with the handlers below.
void install_display_requests();

// Window-thread handlers, run by the request protocol.
int create_direct_draw();
int set_cooperative_level();
void apply_video_mode(int mode);
int lock_video_memory();
void present_frame();
// False when the display has no palette yet, and nothing was kept.
bool set_display_palette(const uint8_t* triples, int first, int count);
void set_display_palette6(const uint8_t* triples, int first, int count);
const uint8_t* set_display_palette_runs(const uint8_t* runs);
void get_display_palette(uint8_t* triples, int first, int count);
void draw_xor_line_display(int x0, int y0, int x1, int y1);
void draw_xor_dashed_line_display(int x0, int y0, int x1, int y1);
void wait_vertical_blank_display();
void restore_system_palette();

// Whether the display device exists, and whether it listed the size of `mode` when the
// cooperative level was taken.
bool have_direct_draw();
bool video_mode_available(int mode);

// Size of the display of the mode last applied (640 x 480 before the first).
int display_width();
int display_height();
void set_display_size(int width, int height);
void set_display_clip(int x0, int y0, int x1, int y1);
void reset_display_clip();

}  // namespace vyr
