// The in-flight chat area and its commands.
#pragma once

#include <cstdint>

namespace vyr {

struct NetMessage;

// 0 none, 1 to 3 the picture of the closing sequence.
extern int32_t goodbye_picture;

constexpr int CHAT_LINE_SIZE = 100;  // bytes of a message line and of the input buffer
constexpr int CHAT_MAX_TYPED = 80;   // characters the input line takes
constexpr int CHAT_MAX_LINES = 24;

// Hot-key handler: opens the chat line, 78 blanks for the typing to overwrite.
int open_chat_line(int key_code);

// 1 while the chat line takes the keys.
extern int32_t chat_line_open;
// The line being typed, or the one just entered: the typed text, then blanks to the 78th byte,
// NUL after.
extern char chat_input[CHAT_LINE_SIZE];
// 1 while an entered line waits for the two-player cable's next frame record, which takes it from
// chat_input and clears this.
extern int32_t chat_pending;

// The settings of the chat area: message lines shown (1..24), seconds before a scroll step and
// before all but the newest line are wiped, the text's palette colour, outline style 0..8.
extern int32_t chat_lines, chat_scroll_delay, chat_blank_time, chat_text_colour, chat_outline_style;

// Once a frame while the line is open: the waiting key events type, edit, recall, cancel or enter
// the line. It stops at the event that closes the line, leaving the rest to the hot keys.
void read_chat_keys();
// Over the 3D view: the input line and the message lines, which scroll and wipe on their timers.
void draw_chat_area();
// At a flight's start: the scroll and wipe timers run from the new flight's clock.
void request_chat_redraw();
// A line of the system's own in the chat area, as the newest line (cut to 99 characters).
void add_chat_line(const char* text);
// Message line `index` of the 24, 23 the newest; the shown lines are the last chat_lines.
const char* get_chat_line(int index);

// Message 41 to every other machine of a network game, with the own line echoed here; nothing
// while no network game is active.
void send_chat_line(const char* text);
// Message 41 from another machine: "> name : text".
void receive_chat_line(const NetMessage& message);

}  // namespace vyr
