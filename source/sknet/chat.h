// The in-flight chat area and its commands.
#pragma once

#include <cstdint>

namespace vyr {

// 0 none, 1 to 3 the picture of the closing sequence.
extern int32_t goodbye_picture;

// Hot-key handler: opens the chat line.
int open_chat_line(int key_code);

}  // namespace vyr
