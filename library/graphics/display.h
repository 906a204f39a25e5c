// The game side of the display: video modes, copying the current screen to the display,
// presenting it, the display palette, inverting lines and the vertical blank. Each call is one
// request run by the window thread while the caller waits.
#pragma once

#include <cstdint>

#include "library/graphics/ddraw.h"

namespace vyr {

// 0 to 3, advanced by every presented frame; picks the shimmer pattern.
extern int frame_phase;

// Records `mode` and requests it: 1 when it was set, else 0.
int set_video_mode(int mode);
int get_video_mode();
// 0 to 4 as in `video_modes`; 3 and any other value are fatal ("Video mode unknown"), 1 and 2
// on a display that lacks their size are fatal ("Video mode not supported"), 0 and 4 on such a
// display answer 0.
int request_video_mode(int mode);

void set_screen_layout(int layout);
int get_screen_layout();

// Copies the current screen into the display surface, asking again once a second until the
// display takes it.
void lock_video_memory_retry();
void request_flip();
// Presents the frame, rebuilds and sends the working palette when it changed, advances
// `frame_phase`.
void flip_display();

// Sends `count` RGB triples for entries `first` onwards, refreshing `display_colours` for them.
void send_palette_to_display(const uint8_t* triples, int first, int count);
// The same with 6-bit components.
void request_display_palette6(const uint8_t* triples, int first, int count);
// A run list: a count of runs, then per run a first index, a count and that many 6-bit triples.
// Returns the address just past the list.
const uint8_t* request_display_palette_runs(const uint8_t* runs);
// Reads `count` triples of the display palette from entry `first` into `triples`.
void request_display_palette(uint8_t* triples, int first, int count);

// Lines drawn inverting straight onto the visible display, inside the display clip rectangle;
// drawing one twice removes it.
void request_xor_line(int x0, int y0, int x1, int y1);
void request_xor_dashed_line(int x0, int y0, int x1, int y1);

void wait_vertical_blank();

// Before and after a movie, alternately: 1 when it took the display's exclusive level, 0 when it
// gave it back. The movie player draws into the program's own display, so nothing changes hands.
int toggle_exclusive_mode();

// Returns `mode`; said before reporting that a graphics mode is not available.
int pass_value(int mode);

}  // namespace vyr
