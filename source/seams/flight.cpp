// Stand-ins for the frame loop and the recorder.
#include "source/frame_loop.h"
#include "source/recorder.h"

namespace vyr {

double frame_rate = 0.0;
double average_frame_rate = 0.0;
int32_t frame_fraction = 0;
int32_t time_acceleration = 1;
double frame_seconds = 0.0;
int32_t flight_paused = 0;
int32_t game_clock = 0;
int32_t detail_ceiling = 7;

int32_t flight_running = 0;
int32_t quit_request = 0;
int32_t die_flag = 0;
int32_t die_object = 0;

// No flight runs yet, so no time key has anything to change and nothing is recorded; an end
// reason is only kept.
void register_time_keys() {}
void end_flight(int reason) {
    if (!die_flag) die_flag = reason;
}
void record_player_position(int32_t, int32_t) {}
void record_player_landed(int32_t, int32_t, int32_t) {}

}  // namespace vyr
