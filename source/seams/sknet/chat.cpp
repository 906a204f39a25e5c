// Stand-in for the chat line: no one to talk to yet.
#include "source/sknet/chat.h"

namespace vyr {

int32_t goodbye_picture = 0;
int32_t chat_line_open = 0;
int32_t always_succeed = 0;
int32_t always_outstanding = 0;

int open_chat_line(int) { return 1; }
void read_chat_keys() {}
void draw_chat_area() {}
void request_chat_redraw() {}
void add_chat_line(const char*) {}

}  // namespace vyr
