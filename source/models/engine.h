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

enum ThrustTable { THRUST_IDLE, THRUST_MILITARY, THRUST_MAXIMUM, THRUST_TABLES };

// Thrust in lb from a table, Mach held to 0 .. 2.199 and altitude to 0 .. 69,999 ft.
double table_thrust(ThrustTable table, double mach, double altitude);

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
