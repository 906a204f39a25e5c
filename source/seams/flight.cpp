// Stand-ins for the frame loop and the recorder, and for the full flight model's landing checks:
// nothing grades how the aircraft meets the ground.
#include "source/frame_loop.h"
#include "source/models/landing.h"
#include "source/recorder.h"

namespace vyr {

double frame_rate = 0.0;
double average_frame_rate = 0.0;
int32_t frame_fraction = 0;
double frame_seconds = 0.0;
int32_t flight_paused = 0;
int32_t game_clock = 0;
int32_t detail_ceiling = 7;

int32_t die_flag = 0;

// No flight runs yet, so no time key has anything to change and nothing is recorded; an end
// reason is only kept.
void register_time_keys() {}
void end_flight(int reason) {
    if (!die_flag) die_flag = reason;
}
void record_player_position(int32_t, int32_t) {}

int32_t landing_result = 0;
int32_t pending_end_reason = 0;
int32_t pending_end_time = 0;
void clear_landing_outcome() {}
void check_touchdown() {}
void check_collisions() {}
void check_ground_roll() {}

}  // namespace vyr
