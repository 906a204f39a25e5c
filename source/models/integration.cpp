#include "source/models/integration.h"

#include <algorithm>
#include <cmath>

#include "library/maths/random.h"
#include "source/avionics/panel.h"
#include "source/frame_loop.h"
#include "source/models/aero.h"
#include "source/models/air_data.h"
#include "source/models/engine.h"
#include "source/models/landing.h"
#include "source/models/model_frame.h"
#include "source/models/model_state.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/stores.h"

namespace vyr {

double g_limit = 9.0;
TouchdownState touchdown;

namespace {

constexpr double UNLIMITED_G = 9.0;
constexpr double LIFT_OFF_CLIMB = 0.2;    // ft/s
constexpr double LIFT_OFF_HEIGHT = 40.0;  // ft
constexpr double PITCH_LAG = 4.0, YAW_LAG = 2.0, ROLL_LAG = 7.0;
constexpr double AIRBORNE_YAW_RATE = 0.17278759594745;  // rad/s
constexpr double MAX_ROLL_RATE = 4.712388980385;        // rad/s

double sub_step_length() { return frame_seconds > 0.001 ? frame_seconds / MODEL_SUB_STEPS : 0.0001; }

Vector3d& operator+=(Vector3d& a, const Vector3d& b) {
    a.x += b.x;
    a.y += b.y;
    a.z += b.z;
    return a;
}

Vector3d scaled(const Vector3d& v, double k) { return {v.x * k, v.y * k, v.z * k}; }

void limit_speed() {
    const double length = vector_length(model_state.vel);
    if (length > MODEL_SPEED_LIMIT) model_state.vel = scaled(model_state.vel, MODEL_SPEED_LIMIT / length);
}

// The body velocity loses any downward component in the earth frame.
void remove_sink_velocity() {
    Vector3d earth = body_to_earth(model_state.dcm, model_state.vel);
    if (earth.z > 0) earth.z = 0.0;
    model_state.vel = earth_to_body(model_state.dcm, earth);
}

void compute_accelerations() {
    ModelState& s = model_state;
    const AttitudeTrig& t = attitude_trig;
    const Vector3d& f = air_data.force;
    const double g = model_mass.gravity, weight = model_mass.weight, m = g / weight;
    const double gravity_down = g * t.cos_roll * t.cos_pitch;
    s.vel_dot.y = g * t.sin_roll * t.cos_pitch + f.y * m + s.p * s.vel.z - s.r * s.vel.x;
    s.vel_dot.x = -g * t.sin_pitch + (engine_state.thrust + f.x) * m + s.r * s.vel.y - s.q * s.vel.z;
    s.vel_dot.z = f.z * m + gravity_down + s.q * s.vel.x - s.p * s.vel.y;
    air_data.g_force = s.ground ? (f.z * m + gravity_down * (weight - f.z * t.cos_pitch) / weight) / g : -f.z / weight;
}

void quaternion_rates() {
    ModelState& s = model_state;
    if (has_failure(FAIL_HYDRAULICS) && !s.ground) s.p += air_data.vt * 0.0025 * (draw_rand() % 3 - 1) * 0.2;
    const Quaternion& e = s.e;
    const double l = 0.1 * (1.0 - (e.e0 * e.e0 + e.e1 * e.e1 + e.e2 * e.e2 + e.e3 * e.e3));
    s.e_dot = {l * e.e0 - 0.5 * (e.e1 * s.p + e.e2 * s.q + e.e3 * s.r),
               l * e.e1 + 0.5 * (e.e0 * s.p + e.e2 * s.r - e.e3 * s.q),
               l * e.e2 + 0.5 * (e.e0 * s.q + e.e3 * s.p - e.e1 * s.r),
               l * e.e3 + 0.5 * (e.e0 * s.r + e.e1 * s.q - e.e2 * s.p)};
}

void compute_rate_accelerations(double dt) {
    ModelState& s = model_state;
    double yaw = air_data.yaw_demand;
    if (!s.ground) yaw = std::clamp(yaw, -AIRBORNE_YAW_RATE, AIRBORNE_YAW_RATE);
    s.q_dot = (air_data.pitch_demand - s.q) * lag_gain(PITCH_LAG, dt);
    s.r_dot = (yaw - s.r) * lag_gain(YAW_LAG, dt);
    s.p_dot = s.ground ? 0.0 : (std::clamp(air_data.roll_demand, -MAX_ROLL_RATE, MAX_ROLL_RATE) - s.p) * lag_gain(ROLL_LAG, dt);
}

// Angles and direction cosines from the quaternion, and the earth velocity.
void update_attitude() {
    ModelState& s = model_state;
    s.dcm = quaternion_to_dcm(s.e);
    dcm_to_euler(s.dcm, s.roll, s.pitch, s.heading);
    s.earth_vel = body_to_earth(s.dcm, s.vel);
}

void integrate_rotation(double dt) {
    ModelState& s = model_state;
    const Quaternion& d = s.e_dot;
    Quaternion& e = s.e;
    e = {e.e0 + d.e0 * dt, e.e1 + d.e1 * dt, e.e2 + d.e2 * dt, e.e3 + d.e3 * dt};
    const double length = quaternion_length(e);
    e = {e.e0 / length, e.e1 / length, e.e2 / length, e.e3 / length};
    s.p += s.p_dot * dt;
    s.q += s.q_dot * dt;
    s.r += s.r_dot * dt;
}

void step_simple(double dt) {
    ModelState& s = model_state;
    const ModelControls& c = model_controls;
    compute_air_data(air_data, s);
    s.vel_dot = {(std::clamp(c.power, 0.0, 1.0) * MODEL_SPEED_LIMIT - air_data.vt) / dt, 0.0, 0.0};
    quaternion_rates();
    s.p_dot = (c.roll * MODEL_PI - s.p) / dt;
    s.q_dot = (c.pitch * MODEL_PI / 2 - s.q) / dt;
    s.r_dot = (c.yaw * MODEL_PI / 4 - s.r) / dt;
    update_attitude();
    s.vel += scaled(s.vel_dot, dt);
    limit_speed();
    integrate_rotation(dt);
    s.pos += scaled(s.earth_vel, dt);
    s.ground = apply_ground_contact(s.pos);
}

void step_full(double dt) {
    ModelState& s = model_state;
    ModelControls& c = model_controls;
    compute_control_surfaces(c, air_data);
    update_model_mass(model_mass);
    compute_air_data(air_data, s);
    compute_attitude_trig(attitude_trig, air_data, s.roll, s.pitch, s.heading);
    compute_aero_forces(air_data, c, attitude_trig, model_mass.wing_area);
    compute_aero_moments(air_data, c, attitude_trig, model_mass.wing_area);
    update_engine(engine_state, air_data, c.throttle, c.reheat, dt);
    compute_accelerations();
    quaternion_rates();
    compute_rate_accelerations(dt);
    update_attitude();

    integrate_rotation(dt);
    if (s.ground && s.pitch <= 0 && s.q < 0) s.q = s.pitch = 0.0;
    s.pos.x += s.earth_vel.x * dt;
    s.pos.y += s.earth_vel.y * dt;
    // At speed, small vertical velocities barely move the aircraft: level flight stays level.
    const double u = std::clamp(s.vel.x, 420.0, 840.0);
    const double settle = std::clamp(0.0002 * s.earth_vel.z * s.earth_vel.z, 0.0, 1.0);
    s.earth_vel.z *= 1.0 - (1.0 - settle) * (u - 420.0) / 420.0;
    s.pos.z += s.earth_vel.z * dt;
    const int contact = apply_ground_contact(s.pos);
    if (contact && !s.ground) {
        touchdown.pitch = s.pitch;
        touchdown.sink_rate = s.vel.z * std::cos(s.pitch) - s.vel.x * std::sin(s.pitch);
        touchdown.beta = air_data.beta;
        touchdown.roll = s.roll;
        hold_ground_attitude();
    }
    s.vel.x += s.vel_dot.x * dt;
    s.vel.y = contact ? 0.0 : s.vel.y + s.vel_dot.y * dt;
    s.vel.z += s.vel_dot.z * dt;
    s.ground = contact;
    if (contact) {
        s.vel.x = std::max(s.vel.x, 0.0);
        remove_sink_velocity();
    }
    limit_speed();
    check_touchdown();
}

}  // namespace

void set_model_g_limit(int g) { g_limit = unlimited_weapons || crashing_off ? UNLIMITED_G : g; }

void reset_touchdown_timers() { touchdown.lift_off_grace_until = touchdown.next_destination_check = 0; }

void step_simple_model() {
    const double dt = sub_step_length();
    for (int i = 0; i < MODEL_SUB_STEPS; ++i) step_simple(dt);
}

void step_full_model() {
    const double dt = sub_step_length();
    for (int i = 0; i < MODEL_SUB_STEPS; ++i) step_full(dt);
}

int apply_ground_contact(Vector3d& position) {
    const ModelState& s = model_state;
    int contact = s.ground;
    position.x = std::clamp(position.x, 0.0, MODEL_WORLD_EDGE);
    position.y = std::clamp(position.y, 0.0, MODEL_WORLD_EDGE);
    double ground_z = model_ground_z(position.x, position.y);
    if (!(s.flags & MODEL_GEAR_UP)) ground_z -= GEAR_HEIGHT;
    if (position.z < MODEL_CEILING) {
        position.z = MODEL_CEILING;
    } else if (position.z > ground_z) {
        position.z = ground_z;
        contact = 1;
    }
    if (s.ground) {
        const double climb = s.vel.x * std::sin(s.pitch) - s.vel.z * std::cos(s.pitch);
        if (climb > LIFT_OFF_CLIMB || position.z < ground_z - LIFT_OFF_HEIGHT) contact = 0;
    }
    return contact;
}

double lag_gain(double k, double dt) { return k * (1.0 - (k * dt / 2) * (1.0 - k * dt / 3)); }

}  // namespace vyr
