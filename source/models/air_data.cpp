#include "source/models/air_data.h"

#include <cmath>

#include "source/models/atmosphere.h"

namespace vyr {

namespace {

constexpr int DENSITY_ROOT_STEPS = 70;  // 1,000 ft each
// The square root of the density ratio at 0, 1,000 .. 70,000 ft.
constexpr double density_root_table[DENSITY_ROOT_STEPS + 1] = {
    1.0,   0.985, 0.971, 0.957, 0.942, 0.928, 0.914, 0.9,   0.887, 0.873, 0.859, 0.846, 0.833, 0.819, 0.806,
    0.793, 0.78,  0.768, 0.755, 0.742, 0.73,  0.718, 0.705, 0.693, 0.681, 0.669, 0.653, 0.646, 0.635, 0.623,
    0.612, 0.601, 0.589, 0.578, 0.568, 0.557, 0.546, 0.533, 0.521, 0.508, 0.496, 0.485, 0.473, 0.462, 0.451,
    0.44,  0.43,  0.419, 0.409, 0.4,   0.39,  0.381, 0.372, 0.363, 0.354, 0.346, 0.337, 0.329, 0.322, 0.314,
    0.307, 0.299, 0.292, 0.285, 0.278, 0.272, 0.265, 0.259, 0.252, 0.246, 0.241};

double density_root(double altitude) {
    const double h = std::trunc(altitude);
    if (!(h >= 0.0 && h < DENSITY_ROOT_STEPS * 1000.0)) return density_root_table[DENSITY_ROOT_STEPS];
    const int feet = int(h), i = feet / 1000, r = feet % 1000;
    return density_root_table[i] * (1000 - r) * 0.001 + density_root_table[i + 1] * r * 0.001;
}

}  // namespace

void compute_air_data(AirData& air, const ModelState& state) {
    const Vector3d& v = state.vel;
    air.vt = vector_length(v);
    if (v.x < 0) air.vt = -air.vt;
    air.alpha = v.x > 0 ? angle_of(v.z, v.x) : 0.0;
    air.beta = state.ground ? 0.0 : angle_of(v.y, v.x);
    air.altitude = -state.pos.z;
    double speed_of_sound;
    lookup_atmosphere(air.altitude, air.rho, speed_of_sound);
    air.mach = air.vt / speed_of_sound;
    air.qbar = 0.5 * air.rho * air.vt * air.vt;
    air.equivalent_airspeed = std::trunc(std::trunc(air.vt) * density_root(air.altitude));
}

void compute_attitude_trig(AttitudeTrig& trig, const AirData& air, double roll, double pitch, double heading) {
    trig.cos_roll = std::cos(roll);
    trig.sin_roll = std::sin(roll);
    trig.cos_pitch = std::cos(pitch);
    trig.sin_pitch = std::sin(pitch);
    trig.cos_heading = std::cos(heading);
    trig.sin_heading = std::sin(heading);
    trig.cos_alpha = std::cos(air.alpha);
    trig.sin_alpha = std::sin(air.alpha);
    trig.cos_beta = std::cos(air.beta);
    trig.sin_beta = std::sin(air.beta);
}

}  // namespace vyr
