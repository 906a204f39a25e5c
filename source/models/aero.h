// The full model's aerodynamics: control surfaces, lift, drag and side force, the demanded body
// rates that stand for its moments, and the aircraft's mass from fuel and stores.
#pragma once

#include "source/models/model_state.h"

namespace vyr {

// Model start: the coefficient tables; the rate gains, with the flap and the g onset at rest;
// the fuel of the fitted tanks and the weight.
void build_aero_tables();
void init_aero_constants(AirData& air);
void init_model_mass(ModelMass& mass);

// One sub-step each, in the integration's order.
void compute_control_surfaces(ModelControls& controls, const AirData& air);
void update_model_mass(ModelMass& mass);
void compute_aero_forces(AirData& air, const ModelControls& controls, const AttitudeTrig& trig, double wing_area);
void compute_aero_moments(AirData& air, ModelControls& controls, const AttitudeTrig& trig, double wing_area);

}  // namespace vyr
