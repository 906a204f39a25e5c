// The player aircraft's model state and the records that the flight model's modules share: the
// integration, the air data, the aerodynamics, the engine and the landing checks all work on
// these one instances. Frame: north-east-down feet; body axes forward, right, down; radians.
#pragma once

#include <cstdint>

#include "source/models/rigid_body.h"

namespace vyr {

// Model flags.
constexpr uint8_t MODEL_GEAR_UP = 0x01;
constexpr uint8_t MODEL_GEAR_DOWN = 0x02;  // neither gear bit while the gear moves
constexpr uint8_t MODEL_WHEEL_BRAKES = 0x04;
constexpr uint8_t MODEL_AIR_BRAKE_OUT = 0x08;  // air brake state 2
constexpr uint8_t MODEL_AIR_BRAKE_IN = 0x10;   // air brake state 0

struct ModelState {
    Vector3d pos;        // north, east, down
    Vector3d vel;        // body u, v, w (ft/s)
    Vector3d vel_dot;    // body accelerations (ft/s2)
    Vector3d earth_vel;  // north, east, down (ft/s)
    Quaternion e;
    Quaternion e_dot;
    double p, q, r;  // body rates (rad/s)
    double p_dot, q_dot, r_dot;
    double roll, pitch, heading;  // heading in -pi .. pi
    DirectionCosines dcm;
    uint8_t flags;
    double air_brake_angle;
    int32_t ground;        // in contact with the ground or a deck
    int32_t landed;        // a touchdown was accepted; 0 again after lift-off
    int32_t gear_up_flag;  // 1 at gear up, 0 at gear down, kept while the gear moves
};

struct ModelControls {
    double power;  // 0..1
    double roll, pitch, yaw;  // -1..1
    double throttle;  // the engine's copy of `power`
    double reheat;    // afterburner fraction 0..1
    double aileron, elevator, rudder;  // surface deflections (rad)
};

struct AirData {
    double vt;  // true airspeed (ft/s), negative when flying backwards
    double alpha, beta;
    double equivalent_airspeed;  // ft/s, a whole number
    double altitude;             // ft
    double rho;                  // slug/ft3
    double mach;
    double qbar, sqbar;  // dynamic pressure (lb/ft2), and times the wing area
    double c_lift, c_drag, c_side;
    double roll_gain, pitch_gain, yaw_gain;
    double lift, drag;
    Vector3d force;  // body forces (lb)
    // The moments of this model are body rates that the integration follows with lags (rad/s).
    double roll_demand, pitch_demand, yaw_demand;
    double g_force;
};

struct AttitudeTrig {
    double cos_roll, sin_roll;
    double cos_pitch, sin_pitch;
    double cos_heading, sin_heading;
    double cos_alpha, sin_alpha;
    double cos_beta, sin_beta;
};

struct ModelMass {
    double weight;  // lb
    double fuel;    // lb
    double stores_weight;
    double wing_area;  // ft2
    double gravity;    // ft/s2
};

extern ModelState model_state;
extern ModelControls model_controls;
extern AirData air_data;
extern AttitudeTrig attitude_trig;
extern ModelMass model_mass;

// A start more than 10 ft above sea level is airborne at `airborne_speed` (ft/s) forward;
// otherwise on the ground with the given body velocity. Rates and rate terms are zeroed.
void init_model_state(const Vector3d& position, const Vector3d& body_velocity, double roll, double pitch,
                      double heading, double airborne_speed);
// The angles, the quaternion and the direction cosines for the given angles.
void set_model_attitude(double roll, double pitch, double heading);
// Earth velocity, body accelerations, quaternion rates and rate accelerations to 0.
void clear_model_derivatives();
// First instant of ground contact: wings level, no yaw, nose not below the horizon.
void hold_ground_attitude();

}  // namespace vyr
