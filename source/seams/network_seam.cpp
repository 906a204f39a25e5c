#include "source/seams/network_seam.h"

namespace vyr {

int32_t game_mode = GAME_SINGLE;
int32_t free_pause = 0;
int32_t goodbye_picture = 0;

// No other machine to talk to yet.
void register_comms_phrase_keys() {}
int open_chat_line(int) { return 1; }

}  // namespace vyr
