// Radio chatter and the speech queue.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int SPEECH_QUEUE_SIZE = 10;

// Set once the radio chatter's opening call was made; cleared at the start of each flight.
extern int32_t opening_call_made;
// The `game_clock` tick from which the chatter may speak again.
extern int32_t next_chatter_time;

void clear_speech_queue();
// 0 when queued, -1 when refused: the queue is full or time runs accelerated. The newest entry
// plays first, so a sentence is queued last word first.
int queue_speech(int sample);
// When the speech channel is free: the newest queued sample.
void play_queued_speech();
// Once a simulation step, in the single-player flights other than quick start and training:
// now and then a chatter sample, the opening call in the first two minutes.
void play_radio_chatter();

}  // namespace vyr
