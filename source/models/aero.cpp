#include "source/models/aero.h"

#include <algorithm>
#include <cmath>

#include "library/debug/fatal.h"
#include "library/maths/random.h"
#include "source/avionics/panel.h"
#include "source/models/integration.h"
#include "source/models/linear_tables.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/stores.h"

namespace vyr {

double model_start_fuel = 0.0;

namespace {

constexpr const char* SOURCE = "source/models/aero";
constexpr double RADIANS_PER_DEGREE = 0.01745329251994444;
constexpr double EMPTY_WEIGHT = 19020.0;  // lb
constexpr double LEAST_WEIGHT = 18420.0;  // lb; anything lighter has lost its wings
constexpr double WING_AREA = 300.0;       // ft2
constexpr double GRAVITY = 32.2;          // ft/s2
constexpr double CENTRE_TANK_FRAME = 100.0;  // lb of a tank that is not fuel
constexpr double WING_TANK_FRAME = 120.0;

constexpr double AILERON_LIMIT = 0.375, ELEVATOR_LIMIT = 0.436, RUDDER_LIMIT = 0.524;  // rad
// Below this dynamic pressure the aileron gain is unbounded: the deflection is the limit.
constexpr double TINY_QBAR = 1e-9;
constexpr double FLAP_SPEED = 510.0;  // ft/s; faster, the flaps stay in
constexpr double FLAP_LIFT = 0.4;
constexpr double GROUND_PITCH_LIMIT = 14.0 * RADIANS_PER_DEGREE;

constexpr int CL_POINTS = 7, CD0_POINTS = 6;
constexpr double cl_degrees[CL_POINTS] = {-90, -45, -20, 0, 27, 45, 90};
constexpr double cl_values[CL_POINTS] = {0.0, -0.2, -1.6, 0.1, 1.7, 0.3, 0.0};
constexpr double cd0_machs[CD0_POINTS] = {0.0, 0.8, 0.92, 1.0, 1.1, 10.0};
constexpr double cd0_values[CD0_POINTS] = {0.02, 0.02, 0.025, 0.043, 0.045, 0.045};

PiecewiseTable cl_table;
PiecewiseTable cd0_table;

// Hydraulic damage takes a share of each surface's travel in one direction.
enum Surface { AILERON_UP, AILERON_DOWN, ELEVATOR_UP, ELEVATOR_DOWN, RUDDER_LEFT, RUDDER_RIGHT, SURFACES };

double flap_setting = 0.0;
double g_onset = 1.0;
double hydraulic_loss[SURFACES] = {};
bool hydraulics_armed = true;

double tank_capacity() {
    const double centre = get_centre_tank_weight(), wing = get_wing_tank_weight();
    return (centre > 0 ? std::trunc(centre - CENTRE_TANK_FRAME) : 0.0) +
           (wing > 0 ? std::trunc(2 * (wing - WING_TANK_FRAME)) : 0.0);
}

void fail_hydraulics_once() {
    if (!has_failure(FAIL_HYDRAULICS)) {
        hydraulics_armed = true;
        return;
    }
    if (!hydraulics_armed) return;
    hydraulics_armed = false;
    for (double& loss : hydraulic_loss)
        if (draw_rand() % 10 > 3) loss = (draw_rand() % 5) * 0.1;
}

double degrade(double deflection, Surface positive, Surface negative) {
    return deflection - hydraulic_loss[deflection >= 0 ? positive : negative] * deflection;
}

double sign_of(double x) { return x > 0 ? 1.0 : x < 0 ? -1.0 : 0.0; }

// Demanded pitch rate, held within what the g limit and the g onset allow at this speed.
double limit_pitch_rate(double m, const AirData& air, double wing_area) {
    const double k = std::clamp(model_mass.weight / (air.qbar * wing_area), (9.0 / g_limit) * 0.188, 1.7);
    g_onset += ((air.g_force <= 8.8 ? 1.0 : 0.8) - g_onset) * 0.015;
    const double f = (1.7 / k) * g_onset * (m <= 0 ? 0.4 : 1.0);
    const double u = std::clamp(model_state.vel.x, 170.0, 10000.0);
    const double limit = f * 1845.0 / u * RADIANS_PER_DEGREE;
    return std::clamp(m, -limit, limit);
}

double yaw_demand(const AirData& air, const ModelControls& controls) {
    const ModelState& s = model_state;
    if (!s.ground) {
        const double speed = std::max(air.vt, 1.0) * 0.1;
        const double k = std::max(2500000.0 / (speed * speed * speed * speed), 0.0);
        const double m = std::clamp(std::abs(air.alpha), 14 * RADIANS_PER_DEGREE, 25 * RADIANS_PER_DEGREE);
        return air.qbar * air.yaw_gain * std::sin(controls.rudder / 3 * k + air.beta) *
               (1 - (m - 14 * RADIANS_PER_DEGREE) * 5.208707228461686) * 0.002;
    }
    if (!(s.flags & MODEL_GEAR_DOWN)) return air.yaw_demand;
    // Nose-wheel steering, weaker with speed.
    const double knots = air.vt * 0.5924170616113744;
    const double held = std::clamp(knots, 0.01, 100000.0);
    return std::sin(controls.rudder) * knots * 0.07854 * std::clamp(403.8 / (held * held) - 0.0081, 0.0, 1.0);
}

// A nudge towards wings level within 10 degrees of it.
double wings_level_term(double roll) {
    if (std::abs(roll) >= 10 * RADIANS_PER_DEGREE) return 0.0;
    if (roll == 0) roll = 1e-05;
    const double degrees = roll / RADIANS_PER_DEGREE;
    return sign_of(roll) * 50 / (degrees * degrees) * (1 - std::cos(roll)) * 0.5;
}

}  // namespace

void build_aero_tables() {
    double cl_radians[CL_POINTS];
    for (int i = 0; i < CL_POINTS; ++i) cl_radians[i] = cl_degrees[i] * RADIANS_PER_DEGREE;
    cl_table.count = CL_POINTS - 1;
    cl_table.x_min = -1.570796326795;
    cl_table.x_max = 1.569796326795;
    build_piecewise_table(cl_table, cl_radians, cl_values);
    cd0_table.count = CD0_POINTS - 1;
    cd0_table.x_min = 0.0;
    cd0_table.x_max = 9.999;
    build_piecewise_table(cd0_table, cd0_machs, cd0_values);
}

double lift_coefficient(double alpha) { return lookup_piecewise_table(cl_table, alpha); }
double zero_lift_drag(double mach) { return lookup_piecewise_table(cd0_table, mach); }

void init_aero_constants(AirData& air) {
    air.roll_gain = 0.2;
    air.pitch_gain = 0.08;
    air.yaw_gain = 4.0;
    flap_setting = 0.0;
    g_onset = 1.0;
    std::fill(std::begin(hydraulic_loss), std::end(hydraulic_loss), 0.0);
    hydraulics_armed = true;
}

void init_model_mass(ModelMass& mass) {
    mass.stores_weight = 0.0;
    mass.wing_area = WING_AREA;
    mass.fuel = INTERNAL_FUEL + tank_capacity();
    mass.gravity = GRAVITY;
    mass.weight = mass.fuel + EMPTY_WEIGHT + mass.stores_weight;
    model_start_fuel = mass.fuel;
}

void compute_control_surfaces(ModelControls& controls, const AirData& air) {
    controls.throttle = controls.power;
    if (model_state.vel.x < 0) {
        controls.aileron = controls.elevator = controls.rudder = 0.0;
        return;
    }
    fail_hydraulics_once();
    controls.aileron = air.qbar < TINY_QBAR
                           ? AILERON_LIMIT * sign_of(controls.roll)
                           : std::clamp(controls.roll * AILERON_LIMIT * (106.875 / air.qbar), -AILERON_LIMIT, AILERON_LIMIT);
    controls.elevator = std::clamp(controls.pitch * ELEVATOR_LIMIT, -ELEVATOR_LIMIT, ELEVATOR_LIMIT);
    controls.rudder = std::clamp(controls.yaw * RUDDER_LIMIT, -RUDDER_LIMIT, RUDDER_LIMIT);
    if (has_failure(FAIL_HYDRAULICS)) {
        controls.aileron = degrade(controls.aileron, AILERON_UP, AILERON_DOWN);
        controls.elevator = degrade(controls.elevator, ELEVATOR_UP, ELEVATOR_DOWN);
        controls.rudder = degrade(controls.rudder, RUDDER_RIGHT, RUDDER_LEFT);
    }
}

void update_model_mass(ModelMass& mass) {
    mass.stores_weight = unlimited_weapons || crashing_off ? 0.0 : get_stores_weight();
    if (mass.fuel > INTERNAL_FUEL) {
        // The fuel of a dropped tank goes with it.
        const double external = std::trunc(mass.fuel - INTERNAL_FUEL), capacity = tank_capacity();
        if (external > capacity) mass.fuel -= external - capacity;
    }
    mass.weight = mass.fuel + EMPTY_WEIGHT + mass.stores_weight;
    if (mass.weight < LEAST_WEIGHT)
        report_fatal_error("Model weight has dropped below minimum possible - now %f lbs! Did your wings just fall off?",
                           SOURCE, __LINE__, mass.weight);
}

void compute_aero_forces(AirData& air, const ModelControls&, const AttitudeTrig& trig, double wing_area) {
    const ModelState& s = model_state;
    air.c_lift = lift_coefficient(air.alpha) * std::abs(trig.cos_beta);
    if (!has_failure(FAIL_FLAPS) && air.vt < FLAP_SPEED) flap_setting = std::clamp(1020.0 / air.vt - 2, 0.0, 1.0);
    if (has_failure(FAIL_FLAPS) || air.vt < FLAP_SPEED) air.c_lift += FLAP_LIFT * flap_setting;

    air.c_drag = air.mach > 0 && air.mach < 0.4 ? 0.34 - 2 * air.mach * air.mach : zero_lift_drag(air.mach);
    if (trig.cos_alpha < 0) air.c_drag = -air.c_drag;
    air.c_drag += 0.117 * air.c_lift * air.c_lift;
    if (s.air_brake_angle > 0) air.c_drag += 0.11 * std::cos(s.air_brake_angle);
    if (s.flags & MODEL_GEAR_DOWN) air.c_drag += 0.02;

    air.sqbar = air.qbar * wing_area;
    air.c_side = -0.8 * trig.sin_beta;
    air.lift = air.sqbar * air.c_lift;
    air.drag = air.sqbar * air.c_drag;
    if (s.ground) {
        const double load = model_mass.weight - air.lift;
        if (!(s.flags & MODEL_GEAR_DOWN))
            air.drag += load * 0.8;
        else
            air.drag += load * (s.flags & MODEL_WHEEL_BRAKES ? 0.3 : 0.1);
    }
    air.force.x = air.lift * trig.sin_alpha - air.drag * trig.cos_alpha * trig.cos_beta;
    air.force.y = air.sqbar * air.c_side;
    air.force.z = -air.lift * trig.cos_alpha - air.drag * trig.sin_alpha * trig.cos_beta;
}

void compute_aero_moments(AirData& air, ModelControls& controls, const AttitudeTrig& trig, double wing_area) {
    ModelState& s = model_state;
    // The elevator now stands for the commanded angle of attack.
    controls.elevator = std::clamp(controls.elevator + air.alpha, -ELEVATOR_LIMIT, ELEVATOR_LIMIT);
    const double e = controls.elevator;
    double nose_wheel = 0.0;
    if (s.ground) {
        nose_wheel = (model_mass.weight * trig.cos_pitch + air.force.z) * 8e-06;
        if (air.vt <= 150) nose_wheel *= (1 - std::clamp(air.vt / 150, 0.0, 1.0)) * 100 + 1;
        if (s.pitch > MODEL_PI / 2) nose_wheel = -nose_wheel;
    }
    double m = air.qbar * air.pitch_gain * std::sin(e - air.alpha) * std::cos(e * 0.5);
    m = limit_pitch_rate(m, air, wing_area);
    if (s.ground) {
        // The tail meets the runway: the rotation turns back.
        if (s.pitch > GROUND_PITCH_LIMIT && s.q > 0) {
            s.q = -s.q;
            s.q_dot = 2 * s.q;
            set_model_attitude(s.roll, GROUND_PITCH_LIMIT, s.heading);
        }
        m = 2 * m - nose_wheel;
    }
    air.yaw_demand = yaw_demand(air, controls);
    double r = air.qbar * air.roll_gain * std::sin(controls.aileron) * (0.6 - std::min(std::abs(air.alpha), 0.6)) -
               wings_level_term(s.roll);
    if (s.flags & MODEL_GEAR_DOWN) {
        r *= 0.5;
        m *= 0.5;
    }
    air.roll_demand = r;
    air.pitch_demand = m;
}

}  // namespace vyr
