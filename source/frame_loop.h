// The frame loop of a flight and its timing: the game clock, the frame time, time acceleration,
// the automatic detail level, the end-of-flight reasons and countdown, and the quit box.
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

constexpr int32_t MAX_FRAME_TICKS = 200;
constexpr int32_t MAX_TIME_ACCELERATION = 8;

// Mission time in 1/200 s ticks from the start of a flight; 0 through the lead-in frames.
extern int32_t game_clock;
// The last frame's length: 1..200 ticks, 0 in a lead-in frame.
extern int32_t frame_ticks;
// The length of the frame, or of the flight model's share of it, in seconds.
extern double frame_seconds;
extern double frame_rate;  // 5.0 in a lead-in frame
// frame_seconds as a 1.31 fraction.
extern int32_t frame_fraction;
extern double average_frame_rate;
extern int32_t frame_count;
// Simulation steps a frame (1, 2, 4 or 8), taken each frame from the request of the time keys.
extern int32_t time_acceleration;
extern int32_t time_acceleration_request;
extern int32_t flight_running;
extern int32_t flight_paused;
extern int32_t quit_request;
extern int32_t die_flag;
// What the player hit or was hit by; written by the collision and damage code.
extern int32_t die_object;
// Frames left before the loop stops (0: none), and whether one was counted.
extern int32_t end_countdown;
extern int32_t end_countdown_running;
// How many frames the two-player link runs ahead: 2 over a modem, else 0.
extern int32_t link_lead_frames;
// The automatic detail never raises the visual range above it.
extern int32_t detail_ceiling;
// The raw frame time the link code sends to the other machine.
extern int32_t measured_frame_ticks;
// The rounds' smoke trails: a puff's life in ticks, and the puffs a step as a shift.
extern int32_t smoke_life;
extern int32_t smoke_density;

// A two-player game over a link (modes 1, 2, 3 and 6 with a connection).
bool is_two_player_link();

// The flight: start, one frame at a time while flight_running is 1, and the end.
void flight_loop();
void start_flight_loop();
void run_flight_frame();
void end_flight_loop();

void measure_frame_time();
void zero_frame_time();

// Records why the flight ends, as the reason's rules say; the first reason given wins.
void end_flight(int reason);
void reset_end_of_flight();
// The loop stops after link_lead_frames + 2 more frames; later calls change nothing.
void schedule_flight_end();

// Alt+X and Ctrl+Q for escape_key; Esc, Tab, Shift+Tab and Ctrl+Tab for the acceleration.
void register_time_keys();
int escape_key(int key_code);
int change_time_acceleration(int key_code);
// Shows the quit box over the frame and waits for Y or N.
void confirm_quit();

// The automatic detail after a frame: the visual range one step down after three slow frames
// running, one up after seven fast ones.
void adjust_detail_level();
// The flight model's share of a frame: `count` equal sub-steps of at most half a second each.
struct ModelSubsteps {
    int count;
    double seconds;
    int32_t fraction;
};
ModelSubsteps split_model_step(double seconds, int32_t fraction);

}  // namespace vyr
