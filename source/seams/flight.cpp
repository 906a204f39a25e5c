// Stand-ins for the frame loop, the flight controls and the flight model: the values they own
// that start-up and the hot keys read and write.
#include "source/controls.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"

namespace vyr {

double frame_rate = 0.0;
double average_frame_rate = 0.0;
int32_t frame_fraction = 0;
int32_t flight_paused = 0;
int32_t game_clock = 0;
int32_t detail_ceiling = 7;

int32_t model_id = 0;
double rotor_direction = 1.0;

int32_t collective_control = 0;
int32_t cyclic_control = 0;
int32_t tailrotor_control = 0;
int32_t control_deadband = 0;

// No flight runs yet, so no time or flight-model key has anything to change.
void register_time_keys() {}
void register_model_keys() {}

}  // namespace vyr
