// The full model's aerodynamics: control surfaces, lift, drag and side force, the demanded body
// rates that stand for its moments, and the aircraft's mass from fuel and stores.
#pragma once

#include "source/models/model_state.h"

namespace vyr {

constexpr double INTERNAL_FUEL = 6972.0;  // lb; more is in the tanks

// The fuel the flight started with, which a rearm restores.
extern double model_start_fuel;

// Model start: the coefficient tables; the rate gains, with the flap and the g onset at rest;
// the fuel of the fitted tanks and the weight.
void build_aero_tables();
void init_aero_constants(AirData& air);
void init_model_mass(ModelMass& mass);

// The coefficient tables, by angle of attack (rad) and by Mach.
double lift_coefficient(double alpha);
double zero_lift_drag(double mach);

// One sub-step each, in the integration's order.
void compute_control_surfaces(ModelControls& controls, const AirData& air);
void update_model_mass(ModelMass& mass);
void compute_aero_forces(AirData& air, const ModelControls& controls, const AttitudeTrig& trig, double wing_area);
void compute_aero_moments(AirData& air, ModelControls& controls, const AttitudeTrig& trig, double wing_area);

}  // namespace vyr
