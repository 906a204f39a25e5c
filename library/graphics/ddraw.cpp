#include "library/graphics/ddraw.h"

#include "library/system/winmain.h"

// The least the window thread needs until the display layer is written: a display that exists,
// takes any mode by going full screen, and shows nothing yet.

namespace vyr {

int create_direct_draw() { return 1; }
int set_cooperative_level() { return 1; }
void apply_video_mode(int) { set_popup_window_style(); }
int lock_video_memory() { return 0; }
void present_frame() {}
void set_display_palette(const uint8_t*, int, int) {}
void set_display_palette6(const uint8_t*, int, int) {}
const uint8_t* set_display_palette_runs(const uint8_t* runs) { return runs; }
void get_display_palette(uint8_t*, int, int) {}
void draw_xor_line_display(int, int, int, int) {}
void draw_xor_dashed_line_display(int, int, int, int) {}
void wait_vertical_blank_display() {}
void restore_system_palette() {}
int display_width() { return 640; }
int display_height() { return 480; }

}  // namespace vyr
