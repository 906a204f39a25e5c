// Air data and the attitude's sines and cosines, refreshed every sub-step of the flight model.
#pragma once

#include "source/models/model_state.h"

namespace vyr {

// Airspeed, angles of attack and sideslip, altitude, density, Mach, dynamic pressure and the
// equivalent airspeed from the body velocity and the altitude of `state`.
void compute_air_data(AirData& air, const ModelState& state);
void compute_attitude_trig(AttitudeTrig& trig, const AirData& air, double roll, double pitch, double heading);

}  // namespace vyr
