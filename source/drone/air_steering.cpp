#include "source/drone/air_steering.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "library/3dvisual/features.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/debug/fatal.h"
#include "library/maths/matrix.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/avionics/avionics.h"
#include "source/drone/air_manoeuvre.h"
#include "source/drone/drone.h"
#include "source/drone/drone_movers.h"
#include "source/drone/drone_types.h"
#include "source/drone/drone_war.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/notify.h"
#include "source/drone/ships.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/models/intercept.h"
#include "source/warmodel/sector_search.h"
#include "source/warmodel/war_model.h"
#include "source/weapons/object_types.h"
#include "source/weapons/target.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/drone/air_steering";
constexpr int32_t MAX_ALTITUDE = 12800000;       // 50,000 ft
constexpr int32_t LANDING_REACH = 77760;         // where a helicopter slows for its landing point
constexpr int32_t LANDING_HOVER_REACH = 25920;   // where it sinks onto it
constexpr int32_t FLY_WITH_USER_NEAR = 0x294000;  // 2 miles
constexpr int32_t FLY_WITH_USER_FAR = 0x528000;   // 4 miles
constexpr int32_t FLY_WITH_USER_TOP = 800 * KNOT;

int32_t per_step(int32_t rate) { return mul31(rate, frame_fraction); }

int32_t clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

bool is_helicopter(const Drone* drone) { return drone->drone_class == DRONE_CLASS_HELICOPTER; }
bool is_ship(const Drone* drone) { return drone->drone_class == DRONE_CLASS_SHIP; }

bool has_deck_slot(const Drone* drone) {
    return drone->carrier != NO_CARRIER && drone->deck_slot != NO_DECK_SLOT && drone->carrier < carrier_count &&
           carrier_table[drone->carrier].ship;
}

bool is_landing_point(const Waypoint* waypoint) { return waypoint && waypoint->z == 0; }

// The height still to go at most at the rate: a step that scaled the height itself would creep
// towards the goal and never touch down.
int32_t vertical_step(int32_t dz, int32_t sink_rate, int32_t climb_rate) {
    return std::clamp(dz, -per_step(sink_rate), per_step(climb_rate));
}

Vector3 point_of(const Waypoint* w) { return {w->x, w->y, w->z}; }

int32_t exact_2d(int32_t dx, int32_t dy) { return int32_t(std::sqrt(double(dx) * dx + double(dy) * dy)); }

// The way a drone banks into a turn: the bank builds up at twice the turn still wanted and the
// heading follows the bank.
int32_t turn_toward(Drone* drone, uint32_t desired, int32_t turn_limit, int32_t bank_limit) {
    const int32_t difference = int32_t(desired - drone->heading);
    const bool on_ground = get_ground_height(drone->pose.position.x, drone->pose.position.y) >= drone->pose.position.z;
    if (on_ground && !is_ship(drone)) {
        drone->roll = 0;
        const int32_t turn = std::clamp(difference, -turn_limit, turn_limit);
        drone->heading += uint32_t(per_step(turn));
        return turn;
    }
    const int32_t roll = int32_t(drone->roll);
    const int32_t most = int32_t(std::min<int64_t>(turn_limit, int64_t(std::abs(roll)) + 2 * DEGREE));
    const int32_t turn = std::clamp(difference, -most, most);
    int32_t bank = clamp32(int64_t(roll) + per_step(clamp32(2 * (int64_t(turn) - roll))));
    bank = std::clamp(bank, -bank_limit, bank_limit);
    drone->roll = uint32_t(bank);
    drone->heading += uint32_t(per_step(bank));
    return turn;
}

// The climb wanted, and the horizontal distance over which it is wanted.
void choose_climb(Drone* drone, const Vector3& goal, int32_t distance, int32_t& climb, int32_t& over, bool& killed) {
    const Vector3& at = drone->pose.position;
    const int32_t ground = get_ground_height(at.x, at.y);
    climb = goal.z - at.z;
    over = distance;
    killed = false;
    const int32_t speed = drone->speed;
    if (at.z < tallest_object && ground == 0) {
        const int32_t reach = clamp32(int64_t(speed) * 4);
        const Vector3 ahead{at.x + mul31(reach, lookup_sin(drone->heading)), at.y + mul31(reach, lookup_cos(drone->heading)),
                            at.z};
        if (!in_world(ahead.x, ahead.y)) {
            kill_drone(drone);
            killed = true;
            return;
        }
        Vector3 found;
        if (const ground_object* obstacle = find_ground_object_on_segment(at, ahead, found, nullptr)) {
            const ObjectHeader* header = get_object_header(obstacle->type);
            climb = found.z + (header ? header->height : 0) - at.z;
            over = estimate_distance_2d(found.x - at.x, found.y - at.y);
        }
        return;
    }
    const int32_t margin = speed > 10 * KNOT ? std::max(speed / 2, 40 * FOOT) : 0;
    const int32_t one_second_x = at.x + mul31(speed, lookup_sin(drone->heading));
    const int32_t one_second_y = at.y + mul31(speed, lookup_cos(drone->heading));
    const int32_t high = std::max(ground, get_ground_height(one_second_x, one_second_y));
    if (ground != 0 && high + margin > at.z) {
        climb = high + margin - at.z;
        over = speed / 4;
    }
}

// The speed step of a helicopter is eased in and out of a large change.
int32_t ease_speed_step(Drone* drone, int32_t target, int32_t step, int32_t a) {
    const int32_t tenth = a / 10;
    if (std::abs(step) > tenth && target != drone->ease_target_speed) {
        drone->ease_target_speed = target;
        drone->ease_start_speed = drone->speed;
    }
    if (drone->speed == drone->ease_start_speed) return std::clamp(step, -tenth, tenth);
    const int64_t start = drone->ease_start_speed, speed = drone->speed, sum = start + target;
    const int64_t eighth = std::max<int64_t>(1, sum / 8);
    if (std::abs(sum / 2 - speed) <= sum / 4 + eighth) return step;
    const int64_t scaled = int64_t(step) * std::min(std::abs(target - speed), std::abs(start - speed)) / eighth;
    if (std::abs(scaled) >= tenth) return clamp32(scaled);
    return scaled < 0 ? -tenth : tenth;
}

// Returns the speed step a second that was applied.
int32_t change_speed(Drone* drone, int32_t target, int32_t acceleration, int32_t min_speed, int32_t max_speed) {
    int32_t step = 0;
    if (std::abs(int64_t(target) - drone->speed) < 4) {
        drone->speed = target;
    } else {
        const uint32_t hurried = DRONE_FLAG_ENGAGED | DRONE_FLAG_RETREAT | DRONE_FLAG_FLY_WITH_USER;
        const int32_t a = drone->mission_flags & hurried ? acceleration : int32_t(int64_t(acceleration) * 6 / 10);
        step = clamp32(std::clamp<int64_t>(int64_t(target) - drone->speed, -a, a));
        if (is_helicopter(drone)) step = ease_speed_step(drone, target, step, a);
        drone->speed += per_step(step);
    }
    const Vector3& at = drone->pose.position;
    if (at.z - get_ground_height(at.x, at.y) <= 5 * FOOT) {
        drone->speed = std::clamp(drone->speed, 0, std::max(0, max_speed / 2));
    } else {
        const Waypoint* current = drone->current_waypoint;
        if (step < 0 && drone->speed < min_speed && !(current && current->z <= 5 * FOOT)) drone->speed = min_speed;
        if (step > 0 && drone->speed > max_speed) drone->speed = max_speed;
    }
    return step;
}

// A goal over the deck slot counts as reached once the helicopter is down on the deck.
bool is_down_at(const Drone* drone, const Vector3& goal) {
    if (drone->pose.position.z == 0) return true;
    Vector3 slot;
    return has_deck_slot(drone) && get_deck_slot_position(drone, slot) && slot.x == goal.x && slot.y == goal.y &&
           drone->pose.position.z <= goal.z;
}

}  // namespace

const MovementProfile& get_movement_profile(const Drone* drone) {
    const int type = drone->object.object_type;
    if (is_ship(drone)) return ship_profiles[std::clamp(get_drone_type_ship_kind(type), 0, SHIP_KINDS - 1)];
    return movement_profiles[std::clamp(get_drone_type_flight_profile(type), 0, MOVEMENT_PROFILES - 1)];
}

int32_t get_arrival_margin(Drone* drone) {
    if (!(drone->mission_flags & DRONE_FLAG_ENGAGED)) return drone->speed;
    const int weapon = choose_drone_weapon(drone);
    return weapon > 0 && weapon < WEAPON_COUNT ? weapon_info[weapon].max_range / 3 : 0;
}

void end_air_route(Drone* drone) {
    const Waypoint* last = drone->current_waypoint;
    const Vector3& at = drone->pose.position;
    if (get_ground_height(last->x, last->y) + 3 * FOOT < last->z) {
        return_to_cap_start(drone);
        return;
    }
    const int32_t floor = has_deck_slot(drone) ? get_carrier_deck_height(drone) : get_ground_height(at.x, at.y);
    move_mobile_object(&drone->object, 0, 0, floor - at.z);
    land_at_route_end(drone);
}

void update_air_drone(Drone* drone) {
    if (autoland_engaged && drone == user_drone && autoland_stage == 4 && drone->pose.position.z < 20 * FOOT) {
        autoland_stage = 5;
        return;
    }
    if (drone->destroyed) return;
    const Waypoint* current = drone->current_waypoint;
    // Parked at the end of its route, on the ground or back on its deck.
    const bool at_end = drone->speed == 0 && current && !current->next;
    if (at_end && (drone->pose.position.z == current->z || (drone->mission_flags & DRONE_FLAG_ON_CARRIER))) return;
    if (drone->mission_flags & DRONE_FLAG_ON_CARRIER) leave_carrier_deck(drone);
    const int type = drone->object.object_type;
    if (get_drone_type_flight_profile(type) == FLIGHT_PROFILE_SURFACE)
        report_fatal_error("Drone isn't an aircraft in update_air_drone, what're you doing, flying tanks or "
                           "something?\n Actually it's a %s(%d)",
                           SOURCE, __LINE__, get_object_type_name(type), type);
    check_air_drone_target(drone);
    if (drone->drone_class == DRONE_CLASS_AIRCRAFT && update_air_manoeuvre(drone)) return;
    if (!drone->current_waypoint) return;
    const int32_t radius = get_arrival_margin(drone);
    Vector3 goal;
    const int task_type = drone->task->type;
    const bool bombing = task_type == TASK_BOMBING_STRATEGIC || task_type == TASK_BOMBING_TACTICAL;
    if (bombing && !(drone->mission_flags & DRONE_FLAG_BOMBS_GONE)) goal = point_of(drone->current_waypoint);
    else if (!get_air_goal(drone, goal)) return;
    if (drone->mission_flags & DRONE_FLAG_RETREAT) evade_goal(drone, goal);
    const MovementProfile& p = get_movement_profile(drone);
    const int reached = steer_air_drone(drone, goal, p.pitch_rate, p.turn_limit, p.bank_limit, p.acceleration, p.min_speed,
                                        p.max_speed, radius);
    if (drone->destroyed) return;
    const bool following = (!(drone->mission_flags & DRONE_FLAG_ENGAGED) && !drone->attack_target) || task_type == TASK_BOMBING_STRATEGIC;
    if (following && reached && !advance_cap_waypoint(drone)) {
        if (drone->current_waypoint->next) advance_to_next_waypoint(drone);
        else end_air_route(drone);
    }
    // A parked aircraft's object is the deck's to pose; rebuilding it would cut it loose.
    if (!(drone->mission_flags & DRONE_FLAG_ON_CARRIER)) update_drone_gear_models(drone);
}

void update_water_drone(Drone* ship) {
    if (ship->destroyed) return;
    Waypoint* current = ship->current_waypoint;
    if (!current || (ship->speed == 0 && !current->next)) return;
    const int type = ship->object.object_type;
    const int kind = get_drone_type_ship_kind(type);
    if (kind < 0 || kind >= SHIP_KIND_NONE)
        report_fatal_error("Drone isn't a ship in update_water_drone, what're you doing, drowning tanks or something? "
                           "Actually it's a %s(%d)",
                           SOURCE, __LINE__, get_object_type_name(type), type);
    const int32_t radius = get_arrival_margin(ship);
    Vector3 goal = point_of(current);
    const bool evading = ship->mission_flags & DRONE_FLAG_RETREAT;
    if (evading) evade_goal(ship, goal);
    const MovementProfile& p = ship_profiles[kind];
    const int reached = steer_air_drone(ship, goal, p.pitch_rate, p.turn_limit, p.bank_limit, p.acceleration, p.min_speed,
                                        p.max_speed, radius);
    if (evading || !reached || ship->destroyed) return;
    Waypoint* next = current->next;
    if (ship->task->type == TASK_MOVE_FIRE && next && next->type == WAYPOINT_TARGET) fire_at_next_waypoint_sector(ship);
    if (next) {
        advance_to_next_waypoint(ship);
    } else if (ship->first_waypoint && ship->first_waypoint->speed != 0) {
        ship->previous_waypoint = current;
        ship->current_waypoint = ship->first_waypoint;
    } else {
        // It stays at its last point rather than circling it.
        ship->speed = 0;
        ship->velocity = {};
    }
}

int steer_air_drone(Drone* drone, const Vector3& goal, int32_t pitch_rate, int32_t turn_limit, int32_t bank_limit,
                    int32_t acceleration, int32_t min_speed, int32_t max_speed, int32_t radius) {
    const Waypoint* current = drone->current_waypoint;
    if (drone->speed == 0 && current && current->speed == 0) return 1;
    const Vector3& at = drone->pose.position;
    const int32_t step = per_step(drone->speed);
    const int32_t dx = goal.x - at.x, dy = goal.y - at.y;
    const int32_t distance = estimate_distance_2d(dx, dy);
    int reached = 0;
    if (distance <= radius) {
        if (!current || current->z != 0) {
            reached = 1;
        } else if (is_down_at(drone, goal)) {
            reached = 1;
            set_drone_landed(drone);
        }
    }
    // Heading.
    const uint32_t desired = dx == 0 && dy == 0 ? drone->heading : compute_bearing(dx, dy);
    int32_t turn = 0;
    if (desired != drone->heading) turn = turn_toward(drone, desired, turn_limit, bank_limit);
    else drone->roll = 0;
    // Pitch.
    int32_t climb = 0, over = distance;
    int32_t pitch_change = 0;
    if (pitch_rate == 0) {
        drone->pitch = 0;
    } else {
        bool killed;
        choose_climb(drone, goal, distance, climb, over, killed);
        if (killed) return 0;
        if (climb == 0) {
            drone->pitch = 0;
        } else {
            const int32_t wanted = int32_t(compute_bearing(climb, over) - drone->pitch);
            pitch_change = per_step(std::clamp(wanted, -pitch_rate, pitch_rate));
            drone->pitch += uint32_t(pitch_change);
        }
    }
    const bool hard = std::abs(int64_t(pitch_change)) * 10 > int64_t(per_step(pitch_rate)) * 8 ||
                      std::abs(int64_t(turn)) * 10 > int64_t(turn_limit) * 8;
    if (hard) drone->mission_flags |= DRONE_FLAG_HARD_MANOEUVRE;
    else drone->mission_flags &= ~DRONE_FLAG_HARD_MANOEUVRE;
    // Speed.
    const int32_t speed_step =
        change_speed(drone, choose_air_speed(drone, goal, climb, distance), acceleration, min_speed, max_speed);
    // Displacement.
    drone->velocity = {mul31(step, lookup_sin(drone->heading)), mul31(step, lookup_cos(drone->heading)),
                       mul31(step, lookup_sin(drone->pitch))};
    if (is_helicopter(drone)) {
        const uint32_t pitch = drone->pitch;
        tilt_helicopter(drone, speed_step, goal, acceleration);
        update_helicopter_vertical(drone, climb, goal);
        build_rotation_matrix(drone->heading, drone->pitch, drone->roll, drone->pose.matrix);
        drone->pitch = pitch;
    } else {
        build_rotation_matrix(drone->heading, drone->pitch, drone->roll, drone->pose.matrix);
    }
    Vector3& d = drone->velocity;
    d.z = std::clamp(at.z + d.z, 0, MAX_ALTITUDE) - at.z;
    if (!in_world(at.x + d.x, at.y + d.y)) {
        kill_drone(drone);
        return 0;
    }
    if (at.z == 0 && d.z > 0) raise_drone_notify(drone, NOTIFY_TAKEOFF);
    move_mobile_object(&drone->object, d.x, d.y, d.z);
    return reached;
}

bool get_air_goal(Drone* drone, Vector3& goal) {
    const Vector3& at = drone->pose.position;
    const Waypoint* current = drone->current_waypoint;
    goal = current ? point_of(current) : at;
    Target* target = drone->attack_target;
    if (!target || (drone == user_drone && autoland_engaged)) {
        if (current && !current->next && current->z == 0 && get_feature_kind(current->x, current->y) == FEATURE_OCEAN &&
            get_deck_slot_position(drone, goal)) {
        } else if (drone->mission_flags & DRONE_FLAG_FLY_WITH_USER) {
            const Drone* lead = drone->task->first_drone;
            const Matrix3& m = lead->pose.matrix;
            const int64_t k = int64_t(drone->index) * 100 * FOOT, c = 2640 * FOOT;
            const Vector3& l = lead->pose.position;
            goal = {clamp32(l.x + ((k * (int64_t(m[0][0]) - m[1][0] + m[2][0])) >> 31)),
                    clamp32(l.y + ((c * (int64_t(m[1][1]) - m[0][1] - m[2][1])) >> 31)), l.z};
        }
    } else {
        Vector3 position;
        get_target_position(target, position);
        goal = position;
        if (!(drone->mission_flags & DRONE_FLAG_ENGAGED)) {
            if (current) goal.z = current->z;
        } else {
            const int weapon = choose_drone_weapon(drone);
            const WeaponInfo* info = weapon > 0 && weapon < WEAPON_COUNT ? &weapon_info[weapon] : nullptr;
            if (!info || info->round_class != 2) {
                int32_t s = drone->speed;
                const int64_t t = get_target_speed(target);
                if (std::abs(int64_t(s)) * 5 <= std::abs(t) * 6 && info) s = info->top_speed;
                if (std::abs(int64_t(s)) * 5 > std::abs(t) * 6) {
                    Vector3 direction;
                    get_target_direction(target, direction);
                    const Vector3 velocity{mul31(clamp32(t), direction.x), mul31(clamp32(t), direction.y),
                                           mul31(clamp32(t), direction.z)};
                    intercept_point(at, s, position, velocity, FIXED_ONE, INTERCEPT_CLOSED_FORM, goal);
                }
            }
            const int32_t floor = get_ground_height(goal.x, goal.y) + std::max(drone->speed / 2, 40 * FOOT);
            goal.z = std::max(goal.z, floor);
        }
    }
    if (!in_world(goal.x, goal.y)) {
        kill_drone(drone);
        return false;
    }
    return true;
}

void evade_goal(Drone* drone, Vector3& goal) {
    const Vector3& at = drone->pose.position;
    for (auto [g, d] : {std::pair{&goal.x, at.x}, std::pair{&goal.y, at.y}}) {
        const int32_t h = int32_t((int64_t(*g) - d) / 2);
        if (h != 0) *g = d - h - war_random() % h;
    }
    if (at.z - get_ground_height(at.x, at.y) > 500 * FOOT) {
        const int32_t h = int32_t((int64_t(goal.z) - at.z) / 2);
        goal.z = h != 0 ? at.z - h - war_random() % h : at.z + war_random() % (250 * FOOT);
    } else {
        goal.z = at.z + war_random() % (500 * FOOT);
    }
}

int32_t choose_air_speed(Drone* drone, const Vector3& goal, int32_t climb, int32_t distance) {
    const Vector3& at = drone->pose.position;
    if (drone->mission_flags & DRONE_FLAG_FLY_WITH_USER) {
        const int64_t e = exact_2d(goal.x - at.x, goal.y - at.y);
        const int64_t a = player_flight_data.airspeed;
        if (e > FLY_WITH_USER_FAR || a >= 800) return FLY_WITH_USER_TOP;
        const int64_t own = a * KNOT;
        if (e < FLY_WITH_USER_NEAR) return clamp32(own);
        return clamp32(own + (FLY_WITH_USER_TOP - own) * (e - FLY_WITH_USER_NEAR) / (FLY_WITH_USER_FAR - FLY_WITH_USER_NEAR));
    }
    Target* target = drone->attack_target;
    if ((drone->mission_flags & DRONE_FLAG_ENGAGED) && target) {
        if (distance < 800 * FOOT && is_target_live_drone(target)) return get_target_speed(target);
        if (distance < 2027520) {
            const MovementProfile& p = get_movement_profile(drone);
            return get_target_domain(target) == TARGET_DOMAIN_AIR ? p.air_combat_speed : p.ground_attack_speed;
        }
    }
    const Waypoint* current = drone->current_waypoint;
    if (!current) return 0;
    if (!is_helicopter(drone) || target) return current->speed;
    const int32_t deck_speed = has_deck_slot(drone) ? get_carrier_speed(drone) : 0;
    if (is_landing_point(drone->previous_waypoint) && climb == goal.z - at.z && climb > FOOT) return deck_speed;
    if (is_landing_point(current) && estimate_distance_2d(goal.x - at.x, goal.y - at.y) <= LANDING_REACH)
        return std::min(drone->speed, 10 * KNOT) + deck_speed;
    return current->speed;
}

void return_to_cap_start(Drone* drone) {
    drone->previous_waypoint = drone->current_waypoint;
    Waypoint* cap = drone->first_waypoint ? find_waypoint_of_type(drone->first_waypoint, WAYPOINT_CAP_START) : nullptr;
    drone->current_waypoint = cap ? cap : drone->first_waypoint;
}

void land_at_route_end(Drone* drone) {
    drone->speed = 0;
    drone->pitch = drone->roll = 0;
    build_rotation_matrix(drone->heading, 0, 0, drone->pose.matrix);
    move_mobile_object(&drone->object, 0, 0, 0);
    if (has_deck_slot(drone)) settle_on_carrier_deck(drone);
    if (drone->pose.position.z < 5 * FOOT) set_drone_landed(drone);
}

void set_drone_landed(Drone* drone) {
    drone->pitch = drone->roll = 0;
    build_rotation_matrix(drone->heading, 0, 0, drone->pose.matrix);
    raise_drone_notify(drone, NOTIFY_LANDED);
}

void tilt_helicopter(Drone* drone, int32_t speed_step, const Vector3&, int32_t) {
    const bool settling = is_landing_point(drone->current_waypoint) && drone->pose.position.z < 50 * FOOT;
    if (speed_step == 0 || settling) {
        drone->pitch = 0;
        return;
    }
    drone->pitch = uint32_t(int32_t(int64_t(speed_step) * (-20 * DEGREE) / (10 * KNOT)));
}

void update_helicopter_vertical(Drone* drone, int32_t climb, const Vector3& goal) {
    const Vector3& at = drone->pose.position;
    const int32_t dx = goal.x - at.x, dy = goal.y - at.y, dz = goal.z - at.z;
    if (drone->attack_target) {
        if (drone->mission_flags & DRONE_FLAG_RETREAT) drone->pitch = 0;
        return;
    }
    Vector3& d = drone->velocity;
    if (is_landing_point(drone->previous_waypoint) && climb == std::abs(dz)) {
        d.z = vertical_step(dz, HELICOPTER_SINK_RATE, HELICOPTER_CLIMB_RATE);
        if (std::abs(dz) >= FOOT) drone->pitch = 0;
        return;
    }
    if (!is_landing_point(drone->current_waypoint)) return;
    const int32_t distance = estimate_distance_2d(dx, dy);
    if (distance <= LANDING_HOVER_REACH) {
        d.z = at.z > 30 * FOOT ? vertical_step(dz, HELICOPTER_SINK_RATE, HELICOPTER_CLIMB_RATE)
                               : vertical_step(dz, HELICOPTER_SINK_RATE / 2, HELICOPTER_CLIMB_RATE / 2);
        d.x = std::clamp(d.x, std::min(0, dx), std::max(0, dx));
        d.y = std::clamp(d.y, std::min(0, dy), std::max(0, dy));
    } else if (distance > LANDING_REACH && climb == dz) {
        d.z = 0;
    }
}

}  // namespace vyr
