// The 8-bit display: the window-thread handlers behind the display requests.
#pragma once

#include <cstdint>

namespace vyr {

// Window-thread handlers, run by the request protocol.
int create_direct_draw();
int set_cooperative_level();
void apply_video_mode(int mode);
int lock_video_memory();
void present_frame();
void set_display_palette(const uint8_t* triples, int first, int count);
void set_display_palette6(const uint8_t* triples, int first, int count);
const uint8_t* set_display_palette_runs(const uint8_t* runs);
void get_display_palette(uint8_t* triples, int first, int count);
void draw_xor_line_display(int x0, int y0, int x1, int y1);
void draw_xor_dashed_line_display(int x0, int y0, int x1, int y1);
void wait_vertical_blank_display();
void restore_system_palette();

// Size of the display of the mode last applied.
int display_width();
int display_height();

}  // namespace vyr
