// Radio chatter and the speech queue.
#pragma once

#include <cstdint>

namespace vyr {

// Set once the radio chatter's opening call was made; cleared at the start of each flight.
extern int32_t opening_call_made;

void clear_speech_queue();
// When the speech channel is free: the newest queued sample.
void play_queued_speech();

}  // namespace vyr
