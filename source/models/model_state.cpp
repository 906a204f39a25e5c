#include "source/models/model_state.h"

#include "source/models/integration.h"

namespace vyr {

ModelState model_state;
ModelControls model_controls;
AirData air_data;
AttitudeTrig attitude_trig;
ModelMass model_mass;

namespace {

constexpr double AIRBORNE_HEIGHT = -10.0;  // model z: 10 ft above sea level

}  // namespace

void set_model_attitude(double roll, double pitch, double heading) {
    ModelState& s = model_state;
    s.roll = roll;
    s.pitch = pitch;
    s.heading = heading;
    s.e = euler_to_quaternion(roll, pitch, heading);
    s.dcm = quaternion_to_dcm(s.e);
}

void clear_model_derivatives() {
    ModelState& s = model_state;
    s.earth_vel = {};
    s.vel_dot = {};
    s.e_dot = {};
    s.p_dot = s.q_dot = s.r_dot = 0.0;
}

void init_model_state(const Vector3d& position, const Vector3d& body_velocity, double roll, double pitch,
                      double heading, double airborne_speed) {
    ModelState& s = model_state;
    s.pos = position;
    touchdown.previous_ground = 1;
    if (position.z < AIRBORNE_HEIGHT) {
        s.ground = 0;
        s.vel = {airborne_speed, 0.0, 0.0};
    } else {
        s.ground = 1;
        s.vel = body_velocity;
    }
    s.p = s.q = s.r = 0.0;
    set_model_attitude(roll, pitch, heading);
    clear_model_derivatives();
}

void hold_ground_attitude() {
    ModelState& s = model_state;
    s.p = s.r = s.p_dot = s.r_dot = 0.0;
    air_data.roll_demand = air_data.yaw_demand = 0.0;
    if (s.q < 0) s.q = 0.0;
    if (s.q_dot < 0) s.q_dot = 0.0;
    if (air_data.pitch_demand < 0) air_data.pitch_demand = 0.0;
    if (s.pitch < 0) s.pitch = 0.0;
    set_model_attitude(0.0, s.pitch, s.heading);
}

}  // namespace vyr
