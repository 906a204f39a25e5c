// The frame loop's values that start-up, the hot keys and the other subsystems read and write.
#pragma once

#include <cstdint>

namespace vyr {

// Why a flight ends (`die_flag`); the first reason given wins.
enum EndReason : int32_t {
    END_QUIT = 1,
    END_COLLISION = 2,
    END_CRASH = 3,
    END_SHOT_DOWN = 4,
    END_LINK_ERRORS = 5,
    END_NO_CARRIER = 7,
    END_PEER_ENDED = 9,
    END_PEER_DESTROYED = 10,
    END_DITCHED = 12,
};

extern double frame_rate;
extern double average_frame_rate;
extern int32_t frame_fraction;
// Simulation steps a frame: 1, 2, 4 or 8.
extern int32_t time_acceleration;
// The length of the frame, or of the flight model's share of it, in seconds.
extern double frame_seconds;
extern int32_t flight_paused;
// Mission time in 1/200 s ticks from the start of a flight.
extern int32_t game_clock;
// The automatic detail never raises the visual range above it.
extern int32_t detail_ceiling;

void register_time_keys();

extern int32_t flight_running;
extern int32_t quit_request;
extern int32_t die_flag;
// What the player hit or was hit by; written by the collision and damage code.
extern int32_t die_object;

// Records why the flight ends; the first reason given wins.
void end_flight(int reason);

}  // namespace vyr
