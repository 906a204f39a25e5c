#include "source/drone/air_manoeuvre.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/debug/fatal.h"
#include "library/maths/matrix.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/drone/air_steering.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/drone_weapons.h"
#include "source/frame_loop.h"
#include "source/models/intercept.h"
#include "source/skill.h"
#include "source/weapons/target.h"

namespace vyr {

// The helicopters' floor is negative: they may back away from a goal.
const MovementProfile movement_profiles[MOVEMENT_PROFILES] = {
    {357913941, 357913941, 596523236, 4320, 151200, 56160, 86400, 129600},     // transports
    {357913941, 357913941, 596523236, 4320, 216000, 56160, 151200, 194400},    // large jets
    {477218588, 477218588, 775480206, 6480, 151200, 120960, 129600, 129600},   // attack aircraft
    {596523236, 596523236, 954437177, 12960, 259200, 151200, 151200, 237600},  // fast jets
    {835132530, 954437177, 954437177, 4320, 86400, -21600, 21600, 64800},      // helicopters
    {0, 0, 0, 0, 0, 0, 0, 0},                                                  // not an aircraft
};

const CombatProfile combat_profiles[COMBAT_PROFILES] = {
    {9.0f, 1073741824, 1.0f}, {9.0f, 1073741824, 1.0f},  {7.5f, 835132530, 0.9f}, {8.0f, 1312351118, 0.72f},
    {7.5f, 536870912, 0.54f}, {9.0f, 1073741824, 1.0f}, {6.5f, 536870912, 0.54f},
};

namespace {

constexpr const char* SOURCE = "source/drone/air_manoeuvre";
constexpr double PI = 3.14159265358979323846;
constexpr int32_t RIGHT_ANGLE = 0x40000000;
constexpr int32_t MAX_ALTITUDE = 12800000;      // 50,000 ft
constexpr int32_t TAXI_SPEED = 20 * KNOT;
constexpr int32_t ROTATE_SPEED = 140 * KNOT;    // the take-off run becomes a climb-out
constexpr int32_t FLY_WITH_USER_TOP = 800 * KNOT;
constexpr int32_t ROUTE_ARRIVAL = 600 * FOOT;
constexpr int32_t FLARE_REACH = 4055040;        // 15,840 ft: the approach slows and flares within it
constexpr int32_t APPROACH_TOP_SPEED = 156160;
constexpr int32_t TOUCHDOWN_SPEED = 30720;
constexpr int32_t APPROACH_SPEED_RANGE = 125440;
constexpr int32_t ALIGNED_NEAR = 256000;        // 1,000 ft
constexpr int32_t ALIGNED_FAR = 3072000;        // 12,000 ft
constexpr int32_t ALIGNED_ANGLE = 119304646;    // 10 degrees
constexpr int32_t DOGFIGHT_FLOOR_HEIGHT = 384000;  // 1,500 ft: targets lower are not fought
constexpr int32_t DOGFIGHT_CLOSING_SPEED = 768000;
constexpr int32_t LOW_HEIGHT = 1280000;         // 5,000 ft: the push limit applies below
constexpr int32_t LOW_HEIGHT_FULL = 500;        // the push limit is whole below
constexpr int32_t TEN_DEGREES = 119304647;
constexpr int32_t GROUND_YAW_RATE = 298261618;
constexpr int32_t DEFAULT_ROLL_RATE = 536870912;  // 45 degrees a second
constexpr double DEFAULT_LIFT_FLOOR = 0.188;
constexpr double MOST_LIFT = 1.7;

int32_t per_step(int32_t rate) { return mul31(rate, frame_fraction); }

int32_t clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

int32_t magnitude(int32_t angle) { return int32_t(std::min<int64_t>(std::abs(int64_t(angle)), INT32_MAX)); }

// 0.8 of a limit, compared as the flag's rule compares.
bool beyond_most(int32_t value, int32_t limit) { return int64_t(value) * 10 > int64_t(limit) * 8; }

Vector3 point_of(const Waypoint* w) { return {w->x, w->y, w->z}; }

int32_t horizontal_distance(const Vector3& at, const Vector3& to) {
    const int64_t dx = int64_t(to.x) - at.x, dy = int64_t(to.y) - at.y;
    return clamp32(int64_t(isqrt64(uint64_t(dx * dx + dy * dy))));
}

bool is_manoeuvre(const Drone* drone, int32_t manoeuvre) { return drone->manoeuvre == manoeuvre; }

int32_t ramp_step() { return clamp32(2 * int64_t(frame_fraction)); }

// Toward +1 for a positive (or zero) sign, -1 for a negative one.
int32_t ramp_toward_sign(int32_t input, int32_t sign) {
    return add_clamped(input, sign >= 0 ? ramp_step() : -ramp_step(), -FIXED_ONE, FIXED_ONE);
}

// Heading, pitch and roll read back from the orientation after a rotation.
void derive_angles(Drone* drone) {
    const Matrix3& m = drone->pose.matrix;
    drone->pitch = lookup_arcsin(m[1][2]);
    if (drone->pitch == uint32_t(RIGHT_ANGLE) || drone->pitch == uint32_t(-RIGHT_ANGLE)) {
        drone->heading = drone->roll = 0;
        return;
    }
    drone->heading = compute_bearing(m[1][0], m[1][1]);
    drone->roll = compute_bearing(-m[0][2], m[2][2]);
}

void rebuild_orientation(Drone* drone) {
    build_rotation_matrix(drone->heading, drone->pitch, drone->roll, drone->pose.matrix);
}

// Turns the orientation in the aircraft's own frame.
void rotate_orientation(Drone* drone, uint32_t yaw, uint32_t pitch, uint32_t roll) {
    Matrix3 rotation;
    build_rotation_matrix(yaw, pitch, roll, rotation);
    multiply_matrices(rotation, drone->pose.matrix, drone->pose.matrix);
    derive_angles(drone);
}

struct CombatLimits {
    double lift_floor;
    int32_t roll_rate;
    int32_t acceleration;
};

CombatLimits get_combat_limits(const Drone* drone) {
    const MovementProfile& p = get_movement_profile(drone);
    const int row = get_drone_type_combat_profile(drone->object.object_type);
    if (row < 0 || row >= COMBAT_PROFILES) return {DEFAULT_LIFT_FLOOR, DEFAULT_ROLL_RATE, p.acceleration};
    const CombatProfile& c = combat_profiles[row];
    return {MOST_LIFT / c.max_load_factor, c.max_roll_rate,
            clamp32(std::lround(double(p.acceleration) * c.acceleration_factor))};
}

// The pull the aircraft can make this frame: the load factor its speed allows, turned into whole
// degrees a second.
int32_t get_turn_per_step(const Drone* drone, double lift_floor) {
    const int64_t v = drone->speed / FOOT;
    const double squared = 0.001 * double(v) * double(v) * 300.0;
    const double k = squared > 0 ? std::clamp(20000.0 / squared, lift_floor, MOST_LIFT) : MOST_LIFT;
    double rate = MOST_LIFT / k * 1845.0 / std::clamp<double>(double(v), 170.0, 10000.0);
    if (is_manoeuvre(drone, MANOEUVRE_DOGFIGHT)) {
        const double q = std::clamp((forces_type + 1) * (1.0 / 7.0), 0.0, 1.0);
        rate = 0.25 * rate + 0.25 * rate * q * 1.5;
    }
    return per_step(clamp32(int64_t(rate) * DEGREE));
}

// The ground ahead for 20 seconds of flight at the present velocity: the highest ground and the
// horizontal distance to where it was first seen.
void look_ahead(const Drone* drone, int32_t& highest, int32_t& distance) {
    const Vector3& at = drone->pose.position;
    const Vector3 v = get_velocity_per_second(drone);
    highest = 0;
    double found = 1.0;
    for (int tenths = 10; tenths > 0; --tenths) {
        const double f = 20.0 * tenths / 10.0;
        const int32_t ground = get_ground_height(clamp32(at.x + std::llround(v.x * f)), clamp32(at.y + std::llround(v.y * f)));
        if (ground > highest) {
            highest = ground;
            found = tenths / 10.0;
        }
    }
    highest = std::max(highest, get_ground_height(at.x, at.y));
    distance = clamp32(std::llround(std::sqrt(double(v.x) * v.x + double(v.y) * v.y) * 20.0 * found));
}

// An obstacle on the next four seconds of flight shortens the distance to climb over. False when
// that point lies outside the world and the aircraft was killed.
bool check_obstacle(Drone* drone, int32_t& distance) {
    const Vector3& at = drone->pose.position;
    if (at.z >= tallest_object || get_ground_height(at.x, at.y) != 0) return true;
    const int32_t reach = clamp32(int64_t(drone->speed) * 4);
    const Matrix3& m = drone->pose.matrix;
    const Vector3 ahead{at.x + mul31(reach, m[1][0]), at.y + mul31(reach, m[1][1]), at.z + mul31(reach, m[1][2])};
    if (!in_world(ahead.x, ahead.y)) {
        kill_drone(drone);
        return false;
    }
    Vector3 found;
    if (const ground_object* obstacle = find_ground_object_on_segment(at, ahead, found, nullptr)) {
        const ObjectHeader* header = get_object_header(obstacle->type);
        if (found.z + (header ? header->height : 0) >= at.z)
            distance = estimate_distance_2d(found.x - at.x, found.y - at.y);
    }
    return true;
}

Vector3 lead_point(const Vector3& from, const Vector3& position, const Vector3& direction, int32_t speed) {
    const Vector3 velocity{mul31(speed, direction.x), mul31(speed, direction.y), mul31(speed, direction.z)};
    Vector3 lead;
    intercept_point(from, DOGFIGHT_CLOSING_SPEED, position, velocity, FIXED_ONE, INTERCEPT_CLOSED_FORM, lead);
    return lead;
}

void attack_angles_toward(const Drone* drone, const Vector3& point, double& a, double& b, double& c) {
    const Vector3& at = drone->pose.position;
    const double direction[3] = {double(point.x) - at.x, double(point.y) - at.y, double(point.z) - at.z};
    compute_attack_angles(drone, direction, a, b, c);
}

// The angle between two horizontal directions, from the arc-cosine table.
uint32_t horizontal_angle(Vector3 a, Vector3 b) {
    a.z = b.z = 0;
    normalize_vector(a);
    normalize_vector(b);
    return lookup_arccos(dot_product_fixed(a, b));
}

// The drone the target is, when it is a live flying drone.
const Drone* get_flying_target(Target* target) {
    if (!target || target->kind != TARGET_MOBILE || get_target_domain(target) != TARGET_DOMAIN_AIR) return nullptr;
    const ObjectInstance* instance = static_cast<const ObjectInstance*>(target->object);
    if (instance->owner_kind != OWNER_DRONE) return nullptr;
    const Drone* drone = static_cast<const Drone*>(instance->owner);
    if (drone->destroyed) return nullptr;
    if (drone->drone_class != DRONE_CLASS_AIRCRAFT && drone->drone_class != DRONE_CLASS_HELICOPTER) return nullptr;
    return drone;
}

double to_binary(double radians) { return radians / PI * 2147483647.0; }

// The dogfight's speed demand by the range: full ahead from far, matching speeds in the middle,
// braking when close; false closer than 80 ft.
bool choose_dogfight_speed(const Drone* drone, int32_t range, double horizontal, int32_t target_speed, double& s) {
    if (std::abs(horizontal) >= PI / 2) s = -1.0;
    else if (range >= 819200) s = 1.0;
    else if (range >= 409600) s = (range - 409600) / 409600.0;
    else if (range >= 153600) s = compute_speed_match_demand(drone, target_speed) / 2147483648.0;
    else if (range >= 20480) s = (range - 153600) / 153600.0;
    else return false;
    return true;
}

}  // namespace

int update_air_manoeuvre(Drone* drone) {
    if (manoeuvre_terrain_pull_up(drone)) return 1;
    if (manoeuvre_ground_roll(drone)) return 1;
    if (manoeuvre_take_off(drone)) return 1;
    if (manoeuvre_landing_approach(drone)) return 1;
    if (((drone->mission_flags & DRONE_FLAG_ENGAGED) || is_manoeuvre(drone, MANOEUVRE_DOGFIGHT)) &&
        manoeuvre_dogfight(drone))
        return 1;
    return manoeuvre_follow_route(drone);
}

int manoeuvre_terrain_pull_up(Drone* drone) {
    if (!is_manoeuvre(drone, MANOEUVRE_DOGFIGHT) && !is_manoeuvre(drone, MANOEUVRE_PULL_UP)) return 0;
    const Waypoint* current = drone->current_waypoint;
    if (!current || current->z == 0) return 0;
    const Vector3& at = drone->pose.position;
    const Vector3 v = get_velocity_per_second(drone);
    const int64_t x = at.x + 6 * int64_t(v.x), y = at.y + 6 * int64_t(v.y), z = at.z + 6 * int64_t(v.z);
    if (get_ground_height(clamp32(x), clamp32(y)) + 300 * FOOT > z) drone->manoeuvre = MANOEUVRE_PULL_UP;
    if (!is_manoeuvre(drone, MANOEUVRE_PULL_UP)) return 0;
    if (int32_t(drone->pitch) > 0) {
        drone->manoeuvre = MANOEUVRE_DOGFIGHT;
        return 0;
    }
    const int32_t pull = std::min(per_step(clamp32(5 * int64_t(DEGREE) - int32_t(drone->pitch))), per_step(TEN_DEGREES));
    const int32_t roll = -per_step(int32_t(drone->roll));
    step_air_combat_flight(drone, drone->pose.matrix[1][2], 0, pull, roll, get_movement_profile(drone).min_speed);
    move_air_drone(drone);
    return 1;
}

int manoeuvre_ground_roll(Drone* drone) {
    if (!is_manoeuvre(drone, MANOEUVRE_LANDING) && !is_manoeuvre(drone, MANOEUVRE_GROUND_ROLL) &&
        !is_manoeuvre(drone, MANOEUVRE_NONE))
        return 0;
    const Waypoint* current = drone->current_waypoint;
    if (!current || current->z != 0 || drone->pose.position.z > 2 * FOOT) return 0;
    if (drone->speed > TAXI_SPEED && !drone->landing_committed) return 0;
    drone->manoeuvre = MANOEUVRE_GROUND_ROLL;
    const MovementProfile& p = get_movement_profile(drone);
    const bool braking = drone->landing_committed && drone->speed > TAXI_SPEED;
    const int32_t cap = braking ? p.acceleration / 4 : p.acceleration / 8;
    const int32_t speed = drone->landing_committed ? TAXI_SPEED : p.max_speed;
    if (taxi_to_point(drone, point_of(current), cap, speed) && !drone->destroyed) advance_air_waypoint(drone);
    update_drone_gear_models(drone);
    return 1;
}

int manoeuvre_take_off(Drone* drone) {
    if (!is_manoeuvre(drone, MANOEUVRE_GROUND_ROLL) && !is_manoeuvre(drone, MANOEUVRE_TAKE_OFF)) return 0;
    const Waypoint* current = drone->current_waypoint;
    const Waypoint* previous = drone->previous_waypoint;
    if (!current || (previous && previous->z > 0)) return 0;
    const Vector3 goal = point_of(current);
    drone->manoeuvre = MANOEUVRE_TAKE_OFF;
    drone->mission_flags &= ~DRONE_FLAG_DISENGAGE;
    const MovementProfile& p = get_movement_profile(drone);
    int arrived;
    if (drone->speed < ROTATE_SPEED && drone->pose.position.z == 0) {
        if (magnitude(get_waypoint_bearing_error(drone)) > 2 * DEGREE)
            arrived = taxi_to_point(drone, goal, p.acceleration / 8, TAXI_SPEED);  // lining up
        else
            arrived = taxi_to_point(drone, goal, p.acceleration / 4, p.max_speed);
    } else {
        arrived = fly_to_point(drone, goal, p.pitch_rate, p.turn_limit, p.bank_limit, p.acceleration, ROTATE_SPEED,
                               p.max_speed, drone->speed);
    }
    if (arrived && !drone->destroyed) advance_air_waypoint(drone);
    update_drone_gear_models(drone);
    return 1;
}

int manoeuvre_landing_approach(Drone* drone) {
    if (!is_manoeuvre(drone, MANOEUVRE_LANDING) && !is_manoeuvre(drone, MANOEUVRE_ROUTE)) return 0;
    const Waypoint* touchdown = drone->current_waypoint;
    if (!touchdown || touchdown->z != 0) return 0;
    drone->landing_committed = 1;
    if (drone->pose.position.z > 10 * FOOT && !is_landing_aligned(drone)) {
        // Go round and come in again along the runway.
        Waypoint* first = drone->first_waypoint ? drone->first_waypoint : get_first_waypoint(drone->current_waypoint);
        if (Waypoint* approach = find_waypoint_of_type(first, WAYPOINT_APPROACH)) drone->current_waypoint = approach;
        return 0;
    }
    const Vector3 goal = point_of(touchdown);
    const int32_t floor = get_approach_speed(drone, horizontal_distance(drone->pose.position, goal));
    drone->manoeuvre = MANOEUVRE_LANDING;
    const MovementProfile& p = get_movement_profile(drone);
    if (fly_to_point(drone, goal, p.pitch_rate, p.turn_limit, p.bank_limit, p.acceleration, floor, p.max_speed,
                     drone->speed) &&
        !drone->destroyed)
        advance_air_waypoint(drone);
    update_drone_gear_models(drone);
    return 1;
}

int manoeuvre_dogfight(Drone* drone) {
    if (is_manoeuvre(drone, MANOEUVRE_LANDING) || is_manoeuvre(drone, MANOEUVRE_GROUND_ROLL)) return 0;
    if ((drone->mission_flags & DRONE_FLAG_DISENGAGE) || drone->speed == 0) return 0;
    Target* target = drone->attack_target;
    const Drone* enemy = get_flying_target(target);
    if (!enemy) return 0;
    if (get_drone_type_flight_profile(drone->object.object_type) != FLIGHT_PROFILE_FAST_JET) return 0;
    Vector3 position;
    get_target_position(target, position);
    if (position.z - get_ground_height(position.x, position.y) < DOGFIGHT_FLOOR_HEIGHT) return 0;
    const Vector3& at = drone->pose.position;
    Vector3 direction;
    get_target_direction(target, direction);
    const int32_t target_speed = get_target_speed(target);
    const int32_t range = measure_distance_3d(position.x - at.x, position.y - at.y, position.z - at.z);
    double a, b, c;
    attack_angles_toward(drone, lead_point(at, position, direction, target_speed), a, b, c);
    if (enemy == user_drone) {
        // Past a player who breaks hard, it follows where the player was going rather than
        // where the player now is.
        if (!drone->lag_pursuit) {
            drone->lag_target_direction = direction;
            drone->lag_target_position = position;
            drone->lag_target_speed = target_speed;
        }
        if (!drone->lag_pursuit && std::abs(a) >= PI / 4) drone->lag_pursuit = 1;
        else if (b < -PI / 12 && c > 3 * PI / 4) drone->lag_pursuit = 1;
        if (drone->lag_pursuit) {
            attack_angles_toward(drone,
                                 lead_point(at, drone->lag_target_position, drone->lag_target_direction,
                                            drone->lag_target_speed),
                                 a, b, c);
            if (horizontal_angle(get_velocity_per_second(drone), drone->lag_target_direction) < uint32_t(5 * DEGREE))
                drone->lag_pursuit = 0;
        }
    }
    double s;
    if (!choose_dogfight_speed(drone, range, a, target_speed, s)) return 0;
    shape_dogfight_demands(b, c, s);
    const int32_t speed_demand = int32_t(s * 2147483647.0);
    int32_t pull = int32_t(to_binary(b));
    int32_t roll = int32_t(to_binary(c));
    if (pull < 0) {
        const int64_t ahead = int64_t(at.z) + get_velocity_per_second(drone).z;
        if (ahead < LOW_HEIGHT) pull = std::max(pull, get_dogfight_pull_floor(int32_t(ahead)));
    }
    if (std::abs(to_binary(a)) < DEGREE) {
        // Fine tracking: the farther the target, the gentler the corrections.
        int divisor = 1;
        if (range > 2 * LOW_HEIGHT) divisor = 4;
        else if (range > LOW_HEIGHT && range < 2 * LOW_HEIGHT) divisor = 3;
        else if (range < LOW_HEIGHT) divisor = 2;
        pull /= divisor;
        roll /= divisor;
    }
    drone->manoeuvre = MANOEUVRE_DOGFIGHT;
    step_air_combat_flight(drone, speed_demand, 0, pull, roll, get_movement_profile(drone).min_speed);
    move_air_drone(drone);
    return 1;
}

int manoeuvre_follow_route(Drone* drone) {
    const int32_t margin = get_arrival_margin(drone);
    Vector3 goal = drone->pose.position;
    const int task_type = drone->task->type;
    const bool bombing = task_type == TASK_BOMBING_STRATEGIC || task_type == TASK_BOMBING_TACTICAL;
    const bool to_waypoint =
        (bombing && !(drone->mission_flags & DRONE_FLAG_BOMBS_GONE)) || (drone->mission_flags & DRONE_FLAG_DISENGAGE);
    if (to_waypoint && drone->current_waypoint) goal = point_of(drone->current_waypoint);
    else if (!to_waypoint && !get_air_goal(drone, goal)) return 1;
    drone->manoeuvre = MANOEUVRE_ROUTE;
    const MovementProfile& p = get_movement_profile(drone);
    const int arrived = fly_to_point(drone, goal, p.pitch_rate, p.turn_limit, p.bank_limit, p.acceleration, p.min_speed,
                                     p.max_speed, ROUTE_ARRIVAL + margin);
    const bool following =
        (!(drone->mission_flags & DRONE_FLAG_ENGAGED) && !drone->attack_target) || task_type == TASK_BOMBING_STRATEGIC;
    if (arrived && following && drone->current_waypoint && !drone->destroyed) advance_air_waypoint(drone);
    update_drone_gear_models(drone);
    return 1;
}

int fly_to_point(Drone* drone, const Vector3& goal, int32_t pitch_rate, int32_t turn_limit, int32_t, int32_t,
                 int32_t floor_speed, int32_t, int32_t radius) {
    const Waypoint* current = drone->current_waypoint;
    if (drone->speed == 0 && current && current->speed == 0) return 1;
    const Vector3 at = drone->pose.position;
    const bool with_user = drone->mission_flags & DRONE_FLAG_FLY_WITH_USER;
    const bool landing = is_manoeuvre(drone, MANOEUVRE_LANDING);
    const bool route = is_manoeuvre(drone, MANOEUVRE_ROUTE);
    int32_t distance = estimate_distance_2d(goal.x - at.x, goal.y - at.y);
    int arrived = 0;
    if (distance <= radius) {
        if (!current || current->z > 0) {
            arrived = !with_user;
        } else if (at.z == 0) {
            set_drone_landed(drone);
            arrived = 1;
        }
    }
    // Bank toward the goal.
    const uint32_t bearing = goal.x == at.x && goal.y == at.y ? drone->heading : compute_bearing(goal.x - at.x, goal.y - at.y);
    const int32_t heading_error = int32_t(bearing - drone->heading);
    const int32_t allowance = turn_limit + (landing ? 10 * DEGREE : 0);
    const int32_t roll = int32_t(drone->roll);
    const int32_t ground = get_ground_height(at.x, at.y);
    int32_t target_bank = 0, roll_demand = -roll;
    if (ground < at.z) {
        const int32_t most = int32_t(std::min<int64_t>(allowance, int64_t(magnitude(roll)) + 5 * DEGREE));
        target_bank = std::clamp(heading_error, -most, most);
        roll_demand = int32_t(uint32_t(target_bank) - uint32_t(roll));
    }
    if (!check_obstacle(drone, distance)) return 0;
    // Climb over the ground ahead, else toward the goal's height.
    int32_t highest, highest_distance;
    look_ahead(drone, highest, highest_distance);
    int32_t floor = highest;
    if (route) floor += highest > 0 ? 600 * FOOT : 300 * FOOT;
    int32_t error, over;
    if (at.z < floor && !landing) {
        error = floor - at.z;
        over = highest_distance;
    } else {
        error = clamp32(int64_t(goal.z) - at.z);
        over = distance;
        if (magnitude(heading_error) > RIGHT_ANGLE) error = 0;
    }
    if (error >= 1) {
        const int32_t cosine = lookup_cos(drone->roll);
        if (cosine > error) error = clamp32((int64_t(error) << 31) / cosine);
    }
    int32_t demand = error == 0 ? -int32_t(drone->pitch) : int32_t(compute_bearing(error, over) - drone->pitch);
    if (route && current && at.z < current->z + 100 * FOOT && magnitude(roll) > 2 * DEGREE)
        demand = std::clamp(demand, 35791394, RIGHT_ANGLE);  // at least 3 degrees up in a low turn
    const int32_t pitch_step = per_step(pitch_rate);
    const int32_t pull = std::clamp(per_step(demand), -pitch_step, pitch_step);
    const int32_t flag_value = std::clamp(demand, -pitch_step, pitch_step);
    if (beyond_most(flag_value, pitch_rate) || beyond_most(target_bank, allowance))
        drone->mission_flags |= DRONE_FLAG_HARD_MANOEUVRE;
    else
        drone->mission_flags &= ~DRONE_FLAG_HARD_MANOEUVRE;
    const int32_t speed_demand = compute_speed_match_demand(drone, choose_air_speed(drone, goal, error, distance));
    if (at.z - ground <= 5 * FOOT) {
        if (current && current->z == 0) {
            drone->roll = 0;
            rebuild_orientation(drone);
        }
        const int32_t near = std::max(per_step(drone->speed), 500 * FOOT);
        arrived = estimate_distance_3d(goal.x - at.x, goal.y - at.y, goal.z - at.z) < near && !with_user;
    }
    step_air_combat_flight(drone, speed_demand, 1, pull, roll_demand, floor_speed);
    move_air_drone(drone);
    return arrived;
}

int taxi_to_point(Drone* drone, const Vector3& goal, int32_t acceleration_cap, int32_t speed_cap) {
    const Waypoint* current = drone->current_waypoint;
    if (drone->speed == 0 && current && current->speed == 0) return 1;
    const Vector3& at = drone->pose.position;
    const int32_t yaw =
        goal.x == at.x && goal.y == at.y ? 0 : int32_t(compute_bearing(goal.x - at.x, goal.y - at.y) - drone->heading);
    drone->mission_flags &= ~DRONE_FLAG_HARD_MANOEUVRE;
    const int32_t r = estimate_distance_3d(goal.x - at.x, goal.y - at.y, goal.z - at.z);
    int32_t speed = magnitude(yaw) >= 2 * DEGREE ? speed_cap / 4 : speed_cap;
    speed = std::min(speed, choose_air_speed(drone, goal, 0, r));
    const int32_t acceleration = get_movement_profile(drone).acceleration;
    const int32_t most =
        clamp32((int64_t(acceleration_cap) << 31) / std::max<int64_t>(int64_t(acceleration) + 1, acceleration_cap));
    int32_t demand = std::clamp(compute_speed_match_demand(drone, speed), -most, most);
    if (is_manoeuvre(drone, MANOEUVRE_GROUND_ROLL) && drone->landing_committed)
        demand = drone->speed > TAXI_SPEED ? -magnitude(demand) : 0;
    const int arrived = r < std::max(per_step(drone->speed), 30 * FOOT);
    step_ground_flight(drone, demand, yaw);
    move_air_drone(drone);
    return arrived;
}

void step_air_combat_flight(Drone* drone, int32_t speed_demand, int coordinated, int32_t pull_demand,
                            int32_t roll_demand, int32_t floor_speed) {
    pre_move(drone, pull_demand);
    const CombatLimits limits = get_combat_limits(drone);
    const int32_t turn = get_turn_per_step(drone, limits.lift_floor);
    const int32_t roll_step = per_step(limits.roll_rate);
    drone->aileron_input = ramp_toward_sign(drone->aileron_input, roll_demand);
    drone->elevator_input = ramp_toward_sign(drone->elevator_input, pull_demand);
    const int32_t pull = std::clamp(pull_demand, -turn / 4, turn);
    const int32_t roll = std::clamp(roll_demand, -roll_step, roll_step);
    const int32_t forward_z = drone->pose.matrix[1][2];
    // Climbing costs speed: the demand shrinks with the sine of the climb.
    if (speed_demand > 0 && forward_z > 0) speed_demand = mul31(speed_demand, 2 * (0x3fffffff - forward_z));
    if (pull != 0 || roll != 0) rotate_orientation(drone, 0, uint32_t(pull), uint32_t(roll));
    if (coordinated) {
        drone->rudder_input = ramp_toward_sign(drone->rudder_input, int32_t(drone->roll));
        drone->heading += uint32_t(mul31(int32_t(drone->roll) / 24, magnitude(drone->rudder_input)));
        rebuild_orientation(drone);
    } else {
        const int32_t step = std::min(ramp_step(), magnitude(drone->rudder_input));
        drone->rudder_input = add_clamped(drone->rudder_input, drone->rudder_input > 0 ? -step : step, -FIXED_ONE, FIXED_ONE);
    }
    const int64_t speed = int64_t(drone->speed) + per_step(mul31(limits.acceleration, speed_demand));
    const int32_t max_speed = get_movement_profile(drone).max_speed;
    if (drone->mission_flags & DRONE_FLAG_FLY_WITH_USER)
        drone->speed = clamp32(std::clamp<int64_t>(speed, floor_speed, std::max(floor_speed, FLY_WITH_USER_TOP)));
    else
        drone->speed = clamp32(std::max<int64_t>(floor_speed, std::min<int64_t>(speed, max_speed)));
}

void step_ground_flight(Drone* drone, int32_t speed_demand, int32_t yaw_demand) {
    int32_t pull = -int32_t(drone->pitch);
    pre_move(drone, pull);
    const int32_t yaw_step = per_step(GROUND_YAW_RATE), pitch_step = per_step(5 * DEGREE),
                  roll_step = per_step(40 * DEGREE);
    const int32_t yaw = std::clamp(yaw_demand, -yaw_step, yaw_step);
    rotate_orientation(drone, uint32_t(yaw), uint32_t(std::clamp(pull, -pitch_step, pitch_step)),
                       uint32_t(std::clamp(-int32_t(drone->roll), -roll_step, roll_step)));
    const MovementProfile& p = get_movement_profile(drone);
    const int64_t speed = int64_t(drone->speed) + per_step(mul31(p.acceleration, speed_demand));
    drone->speed = clamp32(std::clamp<int64_t>(speed, 0, std::max(0, p.max_speed)));
    if (magnitude(yaw) > 2 * DEGREE && drone->speed < KNOT) drone->speed = KNOT;
}

void move_air_drone(Drone* drone) {
    const Vector3& at = drone->pose.position;
    const int32_t t = per_step(drone->speed);
    drone->velocity = {mul31(t, lookup_sin(drone->heading)), mul31(t, lookup_cos(drone->heading)),
                       mul31(t, lookup_sin(drone->pitch))};
    if (drone->current_waypoint && get_ground_height(at.x, at.y) > at.z) {
        kill_drone(drone);
        return;
    }
    apply_glide_descent(drone);
    Vector3& d = drone->velocity;
    d.z = clamp32(std::min<int64_t>(int64_t(at.z) + d.z, MAX_ALTITUDE) - at.z);
    if (!in_world(clamp32(int64_t(at.x) + d.x), clamp32(int64_t(at.y) + d.y))) {
        kill_drone(drone);
        return;
    }
    move_mobile_object(&drone->object, d.x, d.y, d.z);
}

void pre_move(Drone* drone, int32_t& pull_demand) {
    if (!drone) {
        report_fatal_error("Drone going thru pre_move hacks with null element", SOURCE, __LINE__);
        return;  // after shut-down has begun the report returns
    }
    const Waypoint* current = drone->current_waypoint;
    if (is_manoeuvre(drone, MANOEUVRE_NONE) || !current) return;
    const int32_t roll = magnitude(int32_t(drone->roll));
    if ((is_manoeuvre(drone, MANOEUVRE_DOGFIGHT) || is_manoeuvre(drone, MANOEUVRE_ROUTE)) && roll > DEGREE) {
        // A banked wing lifts less: the nose drops the more, the slower it flies.
        const int32_t drop = int32_t((int64_t(1304) << 31) / std::max(drone->speed, 1305));
        drone->pitch -= uint32_t(per_step(drop));
        rebuild_orientation(drone);
    } else if (is_manoeuvre(drone, MANOEUVRE_LANDING) && roll <= 5 * DEGREE) {
        const int32_t d = horizontal_distance(drone->pose.position, point_of(current));
        const int32_t flare = d < FLARE_REACH ? int32_t(int64_t(15 * DEGREE) * (FLARE_REACH - d) / FLARE_REACH) : 0;
        pull_demand = int32_t(uint32_t(flare) - drone->pitch);
    }
}

void apply_glide_descent(Drone* drone) {
    const Vector3& at = drone->pose.position;
    Vector3& d = drone->velocity;
    if (is_manoeuvre(drone, MANOEUVRE_LANDING) && magnitude(int32_t(drone->roll)) < 5 * DEGREE &&
        drone->current_waypoint) {
        const int64_t s = int64_t(isqrt64(uint64_t(int64_t(d.x) * d.x + int64_t(d.y) * d.y)));
        const int64_t to_touchdown = horizontal_distance(at, point_of(drone->current_waypoint));
        const int32_t drop = s >= to_touchdown ? at.z : int32_t(int64_t(at.z) * s / to_touchdown);
        d.z = 0;
        move_mobile_object(&drone->object, 0, 0, -drop);
    } else if (is_manoeuvre(drone, MANOEUVRE_GROUND_ROLL)) {
        d.z = 0;
        move_mobile_object(&drone->object, 0, 0, -at.z);
    }
}

void advance_air_waypoint(Drone* drone) {
    if (advance_cap_waypoint(drone)) return;
    if (drone->current_waypoint->next) {
        advance_to_next_waypoint(drone);
        if (drone->current_waypoint->type == WAYPOINT_APPROACH) drone->mission_flags |= DRONE_FLAG_DISENGAGE;
        return;
    }
    end_air_route(drone);
}

bool is_landing_aligned(const Drone* drone) {
    const Waypoint* touchdown = drone->current_waypoint;
    if (!touchdown || !touchdown->next) return true;
    const int32_t d = horizontal_distance(drone->pose.position, point_of(touchdown));
    if (d < ALIGNED_NEAR || d > ALIGNED_FAR) return true;
    const Vector3 runway{touchdown->next->x - touchdown->x, touchdown->next->y - touchdown->y, 0};
    return horizontal_angle(get_velocity_per_second(drone), runway) <= uint32_t(ALIGNED_ANGLE);
}

int32_t get_approach_speed(const Drone* drone, int32_t distance) {
    // Taken in 64 bits: the ratio alone, in integers, would never leave the touchdown speed.
    const int32_t speed = distance >= FLARE_REACH
                              ? APPROACH_TOP_SPEED
                              : TOUCHDOWN_SPEED + int32_t(int64_t(std::max(distance, 0)) * APPROACH_SPEED_RANGE / FLARE_REACH);
    return std::min(speed, get_movement_profile(drone).min_speed);
}

// From +10 degrees at 500 units straight down to no floor at all (-180 degrees) at 5,000 ft, so
// that it never falls as the height falls and meets the free region without a jump.
int32_t get_dogfight_pull_floor(int32_t height) {
    if (height <= LOW_HEIGHT_FULL) return TEN_DEGREES;
    if (height >= LOW_HEIGHT) return INT32_MIN;
    const int64_t span = int64_t(TEN_DEGREES) - INT32_MIN;
    return int32_t(TEN_DEGREES - span * (height - LOW_HEIGHT_FULL) / (LOW_HEIGHT - LOW_HEIGHT_FULL));
}

void compute_attack_angles(const Drone* drone, const double direction[3], double& horizontal, double& boresight,
                           double& roll) {
    const Matrix3& m = drone->pose.matrix;
    double axes[3][3];
    for (int row = 0; row < 3; ++row)
        for (int i = 0; i < 3; ++i) axes[row][i] = m[row][i] / 2147483648.0;
    const double* right = axes[0];
    const double* forward = axes[1];
    const double* up = axes[2];
    double flat_forward[3] = {forward[0], forward[1], 0}, flat_direction[3] = {direction[0], direction[1], 0};
    normalize_real_vector(flat_forward);
    normalize_real_vector(flat_direction);
    horizontal = std::acos(std::clamp(dot_product_real(flat_forward, flat_direction), -1.0, 1.0));
    if (dot_product_real(direction, right) < 0) horizontal = -horizontal;
    double unit[3] = {direction[0], direction[1], direction[2]};
    normalize_real_vector(unit);
    const double u = dot_product_real(unit, up), r = dot_product_real(unit, right);
    boresight = std::acos(std::clamp(dot_product_real(forward, unit), -1.0, 1.0));
    if (u < 0) boresight = -boresight;
    // Dead ahead or behind there is no side to roll to.
    const double across = std::sqrt(r * r + u * u);
    roll = across > 0 ? std::asin(std::clamp(r / across, -1.0, 1.0)) : 0.0;
    if (u < 0) roll = roll < 0 ? -PI - roll : PI - roll;
}

void shape_dogfight_demands(double& boresight, double roll, double& speed_demand) {
    constexpr double THIRD_PI = 1.047197551196667, SIXTH_PI = 0.5235987755983333;
    constexpr double ROLL_REACH = 0.4363323129986112, PER_ROLL_REACH = 2.2918311805231415;
    const double off = std::abs(boresight);
    if (speed_demand > 0) {
        if (off >= THIRD_PI) speed_demand = -(off - THIRD_PI) * 0.47746482927565465;
        else if (off >= SIXTH_PI) speed_demand = 0;
        else speed_demand = speed_demand * (SIXTH_PI - off) * 1.9098593171026184;
    }
    const double rolling = std::abs(roll);
    boresight = rolling >= ROLL_REACH ? 0 : boresight * (ROLL_REACH - rolling) * PER_ROLL_REACH;
}

int32_t compute_speed_match_demand(const Drone* drone, int32_t speed) {
    const int64_t acceleration = get_movement_profile(drone).acceleration;
    const int64_t difference = int64_t(speed) - drone->speed;
    if (difference >= acceleration) return FIXED_ONE;
    if (difference <= -acceleration) return -FIXED_ONE;
    return int32_t((difference << 31) / acceleration);
}

int32_t get_waypoint_bearing_error(const Drone* drone) {
    const Waypoint* w = drone->current_waypoint;
    if (!w) return 0;
    const Vector3& at = drone->pose.position;
    return int32_t(compute_bearing(w->x - at.x, w->y - at.y) - drone->heading);
}

Vector3 get_velocity_per_second(const Drone* drone) {
    const auto per_second = [](int32_t displacement) {
        if (frame_fraction <= 0 || magnitude(displacement) >= frame_fraction) return 0;
        return int32_t((int64_t(displacement) << 31) / frame_fraction);
    };
    return {per_second(drone->velocity.x), per_second(drone->velocity.y), per_second(drone->velocity.z)};
}

int32_t dot_product_fixed(const Vector3& a, const Vector3& b) {
    const int64_t sum = int64_t(a.x) * b.x + int64_t(a.y) * b.y + int64_t(a.z) * b.z;
    return clamp32((sum + (int64_t(1) << 30)) >> 31);
}

double dot_product_real(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

double real_vector_length(const double v[3]) { return std::sqrt(dot_product_real(v, v)); }

void normalize_real_vector(double v[3]) {
    const double length = real_vector_length(v);
    if (length == 0) return;
    for (int i = 0; i < 3; ++i) v[i] /= length;
}

int32_t add_clamped(int32_t value, int32_t step, int32_t low, int32_t high) {
    return int32_t(std::clamp<int64_t>(int64_t(value) + step, low, high));
}

}  // namespace vyr
