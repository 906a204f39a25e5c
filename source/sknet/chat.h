// The in-flight chat area and its commands.
#pragma once

#include <cstdint>

namespace vyr {

// 0 none, 1 to 3 the picture of the closing sequence.
extern int32_t goodbye_picture;

// Hot-key handler: opens the chat line.
int open_chat_line(int key_code);

// The slash commands that decide the next debrief's result: success, outstanding.
extern int32_t always_succeed;
extern int32_t always_outstanding;

// 1 while the chat line takes the keys.
extern int32_t chat_line_open;

void read_chat_keys();
// Over the 3D view: the input line and the message lines.
void draw_chat_area();
// The chat area is drawn afresh on the next frame.
void request_chat_redraw();
// A line of the system's own in the chat area.
void add_chat_line(const char* text);

}  // namespace vyr
