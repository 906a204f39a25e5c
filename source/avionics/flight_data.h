// The cockpit's own copy of the aircraft's flight data, taken once a tick so that every
// instrument reads one consistent set; the steerpoint passage, the ground-collision warning and
// the fuel and threat call-outs.
#pragma once

#include <cstdint>

namespace vyr {

struct Target;

struct FlightDataSnapshot {
    uint32_t heading, pitch, roll;  // binary angles
    int32_t altitude;               // world units
    int32_t height_above_ground;    // 0 when the ground is not below
    int32_t vertical_speed;         // 1/256 ft per minute, up
    int32_t angle_of_attack;        // binary angle
    int32_t airspeed;               // knots
    int32_t airspeed_copy;
    int32_t true_airspeed;
    int32_t indicated_airspeed;
    double mach;
    double g_load;
    int32_t further_angles[2];  // degrees, the flight model's own
    int32_t spare;
    int32_t gear_lamps[3];  // 1 with the gear down
    int32_t internal_fuel, external_fuel, total_fuel;  // pounds
    int32_t fuel_flow;                                 // pounds per hour
    int32_t fuel_tenths;
    int32_t glide_slope_needle, localiser_needle, localiser_side;  // the landing aid's
    int32_t beacon_time;      // ticks, -1 without a beacon
    int32_t beacon_distance;  // world units
    int32_t steerpoint_distance;   // world units, horizontal
    uint32_t steerpoint_bearing;   // binary angle, 0 north
    int32_t ftit;                  // 0..1100
    int32_t throttle;              // percent
    int32_t engine_rpm;            // percent
    int32_t afterburner_percent;
};

extern FlightDataSnapshot flight_data;
// Ticks to the current steerpoint at the present airspeed; -1 when not moving.
extern int32_t steerpoint_time_to_go;
extern char steerpoint_letter;
extern int32_t closest_steerpoint_distance;
extern int32_t landing_call_made;
// Ticks since the last spoken warning, up to 60 s; they live for the run.
extern int32_t pull_up_call_timer;
extern int32_t collision_call_timer;

// Mission set-up: no steerpoint approached, no landing call made.
void reset_steerpoint_passage();
void snapshot_flight_data();
// A steerpoint counts as passed on the first tick after the closest approach within a mile; the
// last of the route stays current. A route turning to the ground calls the landing once.
void update_steerpoint();
// Up to 15 s ahead along the velocity: the ground within 6 s while descending is PULL UP, later
// COLLISION ALERT; nothing with the gear down.
void check_ground_collision();
// Speaks the fuel warning when the fuel will not last to the end of the route plus 3 minutes.
void check_fuel_endurance();
// The clock position 0..11 of a bearing relative to the nose (0 ahead, 3 right).
int threat_clock(uint32_t relative_bearing);
// The target's clock position relative to the nose, high or low, as a radio call.
void call_out_threat_clock(const Target* target);

}  // namespace vyr
