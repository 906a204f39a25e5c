// The full model's single afterburning engine and its fuel system.
#pragma once

#include <cstdint>

#include "source/models/model_state.h"

namespace vyr {

struct EngineState {
    int32_t running;
    double thrust;     // lb
    double spool;      // 0.6 idle .. 1.0 full military power
    double fuel_flow;  // lb/s
    double temperature;
};

extern EngineState engine_state;

// Model start at a power fraction (1.0 full, 0 idle), with its thrust tables.
void init_engine(double power_fraction);
// One sub-step: spool, afterburner (`reheat`), fuel, temperature, fire and thrust.
void update_engine(EngineState& engine, const AirData& air, double throttle, double& reheat, double dt);

double get_model_fuel();
void set_model_fuel(double pounds);

// Hot-key handlers.
int throttle_preset_up(int key_code);
int throttle_preset_down(int key_code);
int engine_stop_key(int key_code);
int engine_start_key(int key_code);
int fire_extinguisher_key(int key_code);

}  // namespace vyr
