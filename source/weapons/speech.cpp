#include "source/weapons/speech.h"

#include <algorithm>

#include "library/sound/dsound.h"
#include "library/sound/samples.h"
#include "source/frame_loop.h"
#include "source/mission/game_flow.h"
#include "source/sknet/game_rules.h"
#include "source/sound/triggers.h"
#include "source/weapons/weapons_frame.h"

namespace vyr {

int32_t opening_call_made = 0;
int32_t next_chatter_time = 0;

namespace {

int32_t speech_queue[SPEECH_QUEUE_SIZE];
int speech_count = 0;

constexpr int FIRST_CHATTER_ROW = 51;
constexpr int CHATTER_ROWS = 80;
constexpr int OPENING_CALL_ROW = 59;
constexpr int32_t OPENING_PERIOD_END = 24000;  // ticks: the first two minutes
constexpr int32_t QUIET_PERIOD_END = 48000;

// Rows the chatter never speaks, and those it keeps back until the fourth minute.
constexpr int NEVER_SPOKEN[] = {59, 61, 62, 65, 69, 74, 91, 99, 100, 107, 108, 117, 119, 121, 123, 125, 126, 130};
constexpr int SPOKEN_LATE[] = {52, 60, 78, 89, 98, 102, 103, 104, 105, 110, 111, 112, 113, 122, 124, 127, 128};

bool listed(const int* first, const int* last, int row) { return std::find(first, last, row) != last; }

bool chatter_allowed() {
    const int flow = get_game_flow();
    if (flow == FLOW_QUICK_START || flow == FLOW_TRAINING) return false;
    if (game_mode == GAME_COMBAT || game_mode == GAME_MULTI_PLAYER || game_mode == GAME_CAPTURE_FLAG) return false;
    return time_acceleration_request == 1 && game_clock >= next_chatter_time;
}

}  // namespace

void clear_speech_queue() {
    std::fill(std::begin(speech_queue), std::end(speech_queue), -1);
    speech_count = 0;
}

int queue_speech(int sample) {
    if (time_acceleration > 1 || speech_count >= SPEECH_QUEUE_SIZE) return -1;
    speech_queue[speech_count++] = sample;
    return 0;
}

void play_queued_speech() {
    if (speech_count == 0) return;
    if (speech_channel >= 0 && channel_status(speech_channel) == SOUND_PLAYING) return;
    play_speech(speech_queue[--speech_count]);
}

// A refused draw leaves next_chatter_time alone, so the next step draws again.
void play_radio_chatter() {
    if (!chatter_allowed()) return;
    int row = FIRST_CHATTER_ROW + next_game_random() % CHATTER_ROWS;
    if (listed(std::begin(NEVER_SPOKEN), std::end(NEVER_SPOKEN), row)) return;
    if (game_clock < OPENING_PERIOD_END) {
        if (opening_call_made) return;
        opening_call_made = 1;
        row = OPENING_CALL_ROW;
    } else if (game_clock < QUIET_PERIOD_END && listed(std::begin(SPOKEN_LATE), std::end(SPOKEN_LATE), row)) {
        return;
    }
    play_radio_sample(row);
    next_chatter_time = game_clock + 4000 + next_game_random() % 4000;
}

}  // namespace vyr
