// Time stepping of the player's flight model: ten explicit Euler sub-steps per update, the
// attitude kept as a renormalised quaternion, the aircraft held inside the world, below the
// ceiling and on or above the ground.
#pragma once

#include <cstdint>

#include "source/models/rigid_body.h"

namespace vyr {

constexpr int MODEL_SUB_STEPS = 10;
constexpr double MODEL_CEILING = -100000.0;               // model z: 100,000 ft
constexpr double MODEL_WORLD_EDGE = 1048575.99609375;     // ft: the world square's last unit
constexpr double MODEL_SPEED_LIMIT = 4000.0;              // ft/s
constexpr double GEAR_HEIGHT = 5.0;                       // ft the gear holds the aircraft up

// The aircraft's load limit in g, read by the pitch-rate limiter; set before every flight.
extern double g_limit;

// What ground contact began with, for grading the touchdown.
struct TouchdownState {
    int32_t previous_ground;
    double pitch;
    double sink_rate;  // ft/s, positive downwards
    double beta;
    double roll;
    int32_t lift_off_grace_until;    // game_clock ticks
    int32_t next_destination_check;  // game_clock ticks
};

extern TouchdownState touchdown;

// 9 g whatever the loadout while weapons are unlimited or crashing is off.
void set_model_g_limit(int g);
void reset_touchdown_timers();

// One model update each: MODEL_SUB_STEPS steps over the frame time.
void step_simple_model();
void step_full_model();

// Holds `position` inside the world, below the ceiling and on or above the ground; returns
// whether the aircraft is in contact, starting from the model's `ground` flag.
int apply_ground_contact(Vector3d& position);
// k (1 - (k dt / 2)(1 - k dt / 3)): rate += (demand - rate) x gain x dt lags with time constant 1/k.
double lag_gain(double k, double dt);

}  // namespace vyr
