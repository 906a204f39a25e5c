// Stand-in for the parts of the flight not built yet (frame loop, flight controls, flight
// model): the values they own that start-up and the hot keys read and write. No flight runs.
#pragma once

#include <cstdint>

namespace vyr {

// Frame values.
extern double frame_rate;
extern double average_frame_rate;
extern int32_t frame_fraction;
extern int32_t flight_paused;
extern int32_t game_clock;
// The automatic detail never raises the visual range above it.
extern int32_t detail_ceiling;

// Flight model settings.
extern int32_t model_id;
extern double rotor_direction;

// Control devices: "Collective control", "Cyclic control", "Tailrotor control", and the
// joystick's dead band.
extern int32_t collective_control;
extern int32_t cyclic_control;
extern int32_t tailrotor_control;
extern int32_t control_deadband;

void register_time_keys();
void register_model_keys();

}  // namespace vyr
