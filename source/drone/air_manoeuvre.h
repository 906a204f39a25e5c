// AI aircraft manoeuvres and their flight step, with the movement limits of every flying type.
// Every fixed-wing aircraft is flown here each frame: terrain pull-up, ground roll, take-off,
// landing approach, dogfight and route following, tried in that order.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct Drone;

// A vehicle type's movement limits: angles are binary angles, speeds world units per second.
struct MovementProfile {
    int32_t turn_limit;
    int32_t bank_limit;
    int32_t pitch_rate;  // per second
    int32_t acceleration;  // per second
    int32_t max_speed;
    int32_t min_speed;
    int32_t ground_attack_speed;
    int32_t air_combat_speed;
};

constexpr int MOVEMENT_PROFILES = 6;

// By the flight profile of the drone type table.
extern const MovementProfile movement_profiles[MOVEMENT_PROFILES];

// How hard an aircraft type may turn, roll and accelerate in the flight step.
struct CombatProfile {
    float max_load_factor;  // g
    int32_t max_roll_rate;  // binary angle per second
    float acceleration_factor;
};

constexpr int COMBAT_PROFILES = 7;

// By the air-combat profile of the drone type table.
extern const CombatProfile combat_profiles[COMBAT_PROFILES];

enum Manoeuvre : int32_t {
    MANOEUVRE_NONE = 0,
    MANOEUVRE_ROUTE = 1,
    MANOEUVRE_TAKE_OFF = 2,
    MANOEUVRE_LANDING = 3,
    MANOEUVRE_DOGFIGHT = 4,
    MANOEUVRE_PULL_UP = 5,
    MANOEUVRE_GROUND_ROLL = 7,
};

// Non-zero when a manoeuvre flew the drone this frame.
int update_air_manoeuvre(Drone* drone);

// The manoeuvres: 1 when they flew the drone, 0 when their entry conditions do not hold (the
// route handler always flies it).
int manoeuvre_terrain_pull_up(Drone* drone);
int manoeuvre_ground_roll(Drone* drone);
int manoeuvre_take_off(Drone* drone);
int manoeuvre_landing_approach(Drone* drone);
int manoeuvre_dogfight(Drone* drone);
int manoeuvre_follow_route(Drone* drone);

// Steers and moves the aircraft one frame toward the goal; 1 when the goal counts as reached.
// `bank_limit`, `acceleration` and `max_speed` are the profile's and not needed here.
int fly_to_point(Drone* drone, const Vector3& goal, int32_t pitch_rate, int32_t turn_limit, int32_t bank_limit,
                 int32_t acceleration, int32_t floor_speed, int32_t max_speed, int32_t radius);
// On the ground: turns and rolls toward the goal, accelerating by at most `acceleration_cap` a
// second and no faster than `speed_cap`; 1 when it is reached.
int taxi_to_point(Drone* drone, const Vector3& goal, int32_t acceleration_cap, int32_t speed_cap);
// One frame of flight: speed demand in 1.31 (-1..1), pull and roll demands as binary angles for
// this frame, limited by the type's turn and roll rates. Coordinated turns yaw with the bank.
void step_air_combat_flight(Drone* drone, int32_t speed_demand, int coordinated, int32_t pull_demand,
                            int32_t roll_demand, int32_t floor_speed);
// One frame on the ground: yawing, levelling and accelerating within the ground limits.
void step_ground_flight(Drone* drone, int32_t speed_demand, int32_t yaw_demand);
// Moves the aircraft by its speed along its heading; touching the ground while it has a waypoint,
// or leaving the world, kills it.
void move_air_drone(Drone* drone);
// The nose drop of a banked turn, and the landing flare in place of the pull demand.
void pre_move(Drone* drone, int32_t& pull_demand);
// A landing aircraft glides straight down to its touchdown point; one rolling out stays on it.
void apply_glide_descent(Drone* drone);

// On arrival: the Cap Start loop, the next waypoint, or the route's end.
void advance_air_waypoint(Drone* drone);

// Yes unless 1,000 to 12,000 ft from the touchdown point and more than 10 degrees off the runway.
bool is_landing_aligned(const Drone* drone);
// The floor speed of an approach at `distance` from touchdown, never above the profile's minimum.
int32_t get_approach_speed(const Drone* drone, int32_t distance);
// The lowest pull demand a dogfight allows when its height one second ahead is `height`.
int32_t get_dogfight_pull_floor(int32_t height);

// Angles (radians) toward the direction: A horizontally off the nose (negative left), B off
// boresight (negative below the wings), C the roll that brings it overhead.
void compute_attack_angles(const Drone* drone, const double direction[3], double& horizontal, double& boresight,
                           double& roll);
// The dogfight's speed demand eased off a target far off the nose, and its pull eased off while
// rolling toward it.
void shape_dogfight_demands(double& boresight, double roll, double& speed_demand);
// The 1.31 demand that brings the drone to `speed` at its type's acceleration.
int32_t compute_speed_match_demand(const Drone* drone, int32_t speed);
// The heading still to turn to the current waypoint; 0 without one.
int32_t get_waypoint_bearing_error(const Drone* drone);
// The last frame's displacement per second.
Vector3 get_velocity_per_second(const Drone* drone);
// 1.31 sums of products.
int32_t dot_product_fixed(const Vector3& a, const Vector3& b);
double dot_product_real(const double a[3], const double b[3]);
double real_vector_length(const double v[3]);
// Scales it to length 1; a zero vector stays zero.
void normalize_real_vector(double v[3]);
// value + step, kept within low..high.
int32_t add_clamped(int32_t value, int32_t step, int32_t low, int32_t high);

}  // namespace vyr
