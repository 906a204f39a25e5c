// The player's flight model as the rest of the flight sees it: set-up for a mission, one update
// per simulation step, placing and repositioning, and the published state in
// `player_flight_data` and the user drone's pose.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

enum ModelId : int32_t { MODEL_SIMPLE = 0, MODEL_FULL = 1 };

// From "Model ID"; any value but MODEL_SIMPLE flies the full model.
extern int32_t model_id;
// "Rotor direction", kept for the settings.
extern double rotor_direction;

// Published after every model update; every other subsystem reads the aircraft here.
struct PlayerFlightData {
    int32_t pitch, heading, roll;  // binary angles
    int32_t airspeed;              // knots
    double airspeed_value;         // the same whole number
    int32_t vertical_speed;        // world units per minute, up
    double altitude;               // world units; the gear's 5 ft off when it is down
    double alpha;                  // binary-angle units
    double true_airspeed_knots, speed_knots, equivalent_airspeed_knots;
    double mach;
    double yaw_acceleration, pitch_acceleration;  // deg/s2
    double g_load;
    double engine_temperature;
    double afterburner_percent, engine_percent;
    int32_t fuel_flow;  // lb/h
    int32_t fuel_total, fuel_tenths, fuel_internal, fuel_external;
    int32_t on_ground;
};

extern PlayerFlightData player_flight_data;
// The player's position before the current update, for the collision test.
extern Vector3 previous_position;
// Weight count sent in the two-player state; the model itself never reads it.
extern int32_t mass_counter;

void init_flight_model();
void update_flight_model();
void publish_flight_model();
// The flight controls' demands into the model's control inputs, gear and brake flags.
void read_model_controls();

// Puts the aircraft at a world position with binary angles, speed and climb in world units per
// second and the afterburner percent.
void place_flight_model(const Vector3& position, uint32_t heading, uint32_t pitch, uint32_t roll, int32_t speed,
                        int32_t climb, int32_t afterburner_percent);
// Full model only: a restart at a position, level, heading north at 200 knots.
void reposition_flight_model(int32_t x, int32_t y, int32_t z);
// Full model only: after a multiplayer restart.
void reset_flight_model();
// Full model only; the fuel itself is set by the engine's fuel setter.
void set_fuel(double pounds);
// Full model only; both 0.
double get_model_roll_angle();
double get_model_pitch_angle();

// Moves the player's object to a world position, or onto its carrier's deck while parked there.
void place_player_object(int32_t x, int32_t y, int32_t z);
// The aircraft's velocity in world units per second.
void player_model_velocity(Vector3& out);

void reset_model_mass();
void adjust_model_mass(int32_t pounds);
void add_passenger_weight();
void remove_passenger_weight();

void register_model_keys();

}  // namespace vyr
