#include "source/models/landing.h"

#include <algorithm>
#include <cmath>

#include "library/3dvisual/features.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/scars.h"
#include "library/3dvisual/terrain.h"
#include "library/maths/matrix.h"
#include "library/maths/random.h"
#include "library/maths/vector.h"
#include "source/avionics/messages.h"
#include "source/avionics/panel.h"
#include "source/drone/drone.h"
#include "source/drone/ships.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/models/aero.h"
#include "source/models/air_data.h"
#include "source/models/engine.h"
#include "source/models/flight_model.h"
#include "source/models/integration.h"
#include "source/models/model_state.h"
#include "source/recorder.h"
#include "source/skill.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/damage.h"
#include "source/weapons/object_types.h"
#include "source/weapons/stores.h"

namespace vyr {

int32_t landing_result = LANDING_NONE;
uint8_t landing_faults = 0;
float landing_damage_ratio = 0.0f;
int32_t gear_collapsed = 0;
int32_t& collision_object = die_object;
const void* collision_owner = nullptr;
int32_t pending_end_reason = 0;
int32_t pending_end_time = 0;
int32_t destination_handled = 0;

namespace {

constexpr double DEGREES_PER_RADIAN = 57.29577951307857;
constexpr double FEET_PER_KNOT = 1.688;
constexpr int32_t BOUNCE_TICKS = 200;             // a touchdown this soon after lift-off is a bounce
constexpr int32_t DESTINATION_CHECK_TICKS = 1000;
constexpr int32_t COLLAPSE_END_TICKS = 1000;
constexpr int FLAG_TASK = 3;                      // capture the flag: the fourth task holds the flags
constexpr uint64_t FLAG_REACH = 51200;            // 200 ft
constexpr int32_t SHORT_TRAVEL = 7680;            // 30 ft: a point test will do
constexpr int32_t CRATER_OBJECT = 11;
enum Grade { GRADE_SMOOTH = 1, GRADE_CRASH = 5, GRADE_DITCHED = 6 };

bool is_water(int surface) { return surface == FEATURE_RIVER || surface == FEATURE_LAKE || surface == FEATURE_OCEAN; }

bool is_hard(int surface) { return surface == FEATURE_ROAD || surface == FEATURE_RUNWAY || surface == FEATURE_TAXIWAY; }

int surface_under_player() { return get_feature_kind(player_position->position.x, player_position->position.y); }

void damage_gear() {
    if (has_failure(FAIL_GEAR)) return;
    post_message("Gear Damaged", 3, 400);
    set_failure(FAIL_GEAR);
}

// The gear folds: the aircraft comes down on its belly, and the model sees it at once.
void collapse_gear() {
    set_gear_state(GEAR_UP);
    model_state.flags = uint8_t((model_state.flags & ~MODEL_GEAR_DOWN) | MODEL_GEAR_UP);
    model_state.gear_up_flag = 1;
    model_state.ground = 0;
}

// A term weighs only above its threshold, and counts as a fault above 0.2.
double add_term(double term, uint8_t fault, uint8_t& faults) {
    term = std::max(term, 0.0);
    if (term > 0.2) faults |= fault;
    return term;
}

void rearm() {
    load_stores();
    set_user_drone(user_drone);
    reset_caution_lamps();
    reset_system_failures();
    set_model_fuel(model_start_fuel);
}

bool flag_within_reach() {
    Task* task = get_first_task();
    for (int i = 0; i < FLAG_TASK && task; ++i) task = get_next_task(task);
    if (!task) return false;
    const Vector3& at = player_position->position;
    for (Drone* d = get_task_first_drone(task); d; d = get_next_member(d)) {
        if (get_drone_object_number(d) != OBJ_BLUE_FLAG) continue;
        const Vector3 flag = get_drone_position(d);
        const int64_t dx = int64_t(flag.x) - at.x, dy = int64_t(flag.y) - at.y;
        if (isqrt64(uint64_t(dx * dx + dy * dy)) < FLAG_REACH) return true;
    }
    return false;
}

void handle_safe_landing() {
    switch (game_mode) {
    case GAME_COMBAT:
    case GAME_MULTI_PLAYER:
        rearm();
        break;
    case GAME_CAPTURE_FLAG:
        if (!flag_within_reach()) {
            rearm();
            break;
        }
        send_flag_captured();
        flight_running = 0;
        break;
    default:
        break;
    }
}

void handle_lift_off() {
    raise_drone_notify(user_drone, NOTIFY_TAKEOFF);
    model_state.landed = 0;
}

// A mover whose box holds the aircraft's new position; the instance of its tree that does.
ObjectInstance* find_mover_hit(const Vector3& from, const Vector3& to, bool short_travel, ObjectInstance*& root) {
    root = short_travel ? find_mobile_object_at_point(to, player_object, nullptr)
                        : find_mobile_object_on_segment(from, to, player_object, nullptr);
    return root ? find_instance_containing_point(root, to) : nullptr;
}

void request_end_at_destination() {
    if (!die_flag && !pending_end_reason && is_at_final_waypoint()) quit_request = 1;
}

}  // namespace

void clear_landing_outcome() {
    landing_result = LANDING_NONE;
    landing_faults = 0;
    landing_damage_ratio = 0.0f;
    gear_collapsed = 0;
    pending_end_reason = pending_end_time = 0;
    destination_handled = 0;
    collision_object = 0;
    collision_owner = nullptr;
}

double touchdown_damage(bool hard_surface, double vt, double beta, double sink, double pitch, double roll,
                        uint8_t& faults) {
    const double beta_degrees = std::abs(beta) * DEGREES_PER_RADIAN, pitch_degrees = pitch * DEGREES_PER_RADIAN;
    const double roll_degrees = std::abs(roll) * DEGREES_PER_RADIAN;
    double damage = 0.0;
    if (beta_degrees > 8) damage += add_term(beta_degrees * 0.16666 - 1.33333, FAULT_BETA, faults);
    if (pitch_degrees <= 2) damage += add_term(pitch_degrees * -0.333 + 0.666, FAULT_PITCH, faults);
    if (hard_surface) {
        if (vt > 190 * FEET_PER_KNOT) damage += add_term((vt / FEET_PER_KNOT - 190) / 60, FAULT_VELOCITY, faults);
        if (sink > 14) damage += add_term(sink * 0.0625 - 0.875, FAULT_DESCENT_RATE, faults);
        if (pitch_degrees > 15) damage += add_term(pitch_degrees - 15, FAULT_PITCH, faults);
        if (roll_degrees > 4) damage += add_term(roll_degrees * roll_degrees * 0.03 - 0.48, FAULT_ROLL, faults);
    } else {
        if (vt > 170 * FEET_PER_KNOT) damage += add_term((vt / FEET_PER_KNOT - 170) / 60, FAULT_VELOCITY, faults);
        if (sink > 4) damage += add_term(sink * 0.25 - 1.0, FAULT_DESCENT_RATE, faults);
        if (pitch_degrees >= 20) damage += add_term(pitch_degrees * 0.16 - 3.0, FAULT_PITCH, faults);
        if (roll_degrees > 3) damage += add_term(roll_degrees * roll_degrees * 0.0625 - 0.5625, FAULT_ROLL, faults);
    }
    return damage;
}

namespace {

// Open ground takes the gear out before the faults are weighed.
double weigh_touchdown(int surface, double vt, double beta, double sink, double pitch, double roll) {
    const bool gear_down = model_state.gear_up_flag == 0;
    if (is_hard(surface) || !gear_down)
        return touchdown_damage(is_hard(surface) && gear_down, vt, beta, sink, pitch, roll, landing_faults);
    damage_gear();
    collapse_gear();
    return touchdown_damage(false, vt, beta, sink, pitch, roll, landing_faults) + 0.1;
}

// A carrier's deck is none of the ground's surfaces, and parked on it level and still the
// aircraft has nothing to weigh.
int grade_touchdown(bool on_deck, double vt, double beta, double sink, double pitch, double roll) {
    if (die_flag || pending_end_reason) return 0;
    const int surface = surface_under_player();
    model_state.landed = 1;
    double damage = 0.0;
    if (!on_deck) damage = crashing_off || invincible ? 0.5 : weigh_touchdown(surface, vt, beta, sink, pitch, roll);
    const double tolerance = std::clamp(2.0 - 0.1 * forces_type, 1.0, 2.0);
    int grade;
    if (!on_deck && is_water(surface) && !get_user_carrier_pose()) {
        end_flight(END_DITCHED);
        grade = GRADE_DITCHED;
    } else if (damage >= tolerance) {
        end_flight(END_CRASH);
        landing_result = LANDING_CRASH;
        landing_damage_ratio = float(damage / tolerance);
        grade = GRADE_CRASH;
    } else {
        grade = damage > 0.8 * tolerance ? 4 : damage > 0.6 * tolerance ? 3 : damage > 0.3 * tolerance ? 2 : GRADE_SMOOTH;
        handle_safe_landing();
    }
    const Vector3& at = player_position->position;
    record_player_landed(grade, at.x, at.y);
    if (game_mode == GAME_PILOT_GUNNER) queue_two_player_event(grade);
    return grade;
}

}  // namespace

int assess_touchdown(double vt, double beta, double sink, double pitch, double roll) {
    return grade_touchdown(false, vt, beta, sink, pitch, roll);
}

void land_on_deck(ObjectInstance* ship) {
    land_user_on_carrier(ship);
    player_flight_data.pitch = player_flight_data.roll = 0;
    build_rotation_matrix(uint32_t(player_flight_data.heading), 0, 0, player_position->matrix);
    grade_touchdown(true, 0, 0, 0, 0, 0);
}

void check_touchdown() {
    const ModelState& s = model_state;
    TouchdownState& t = touchdown;
    if (s.ground && !t.previous_ground) {
        if (game_clock > t.lift_off_grace_until)
            assess_touchdown(air_data.vt, t.beta, t.sink_rate, t.pitch, t.roll);
        else
            model_state.landed = 1;
    } else if (!s.ground && t.previous_ground) {
        handle_lift_off();
        t.lift_off_grace_until = game_clock + BOUNCE_TICKS;
        destination_handled = 0;
    }
    t.previous_ground = s.ground;
    if (game_clock > t.next_destination_check) {
        t.next_destination_check = game_clock + DESTINATION_CHECK_TICKS;
        if (air_data.vt < 0.1 && s.ground && s.landed && !destination_handled && is_at_final_waypoint()) {
            request_end_at_destination();
            destination_handled = 1;
        }
    }
}

void check_collisions() {
    collision_owner = nullptr;
    const Vector3 from = previous_position, to = player_position->position;
    const bool short_travel = estimate_distance_3d(to.x - from.x, to.y - from.y, to.z - from.z) < SHORT_TRAVEL;
    ObjectInstance* root;
    if (ObjectInstance* hit = find_mover_hit(from, to, short_travel, root)) {
        collision_object = hit->object_type;
        collision_owner = root->owner;
        if (!model_state.landed && is_landing_on_carrier_deck(user_drone, hit, from)) return land_on_deck(hit);
        end_flight(END_COLLISION);
        if (connection_mode == CONNECTION_NETWORK) send_crashed();
        if (root->owner_kind == OWNER_DRONE) kill_drone_by_round(hit, nullptr);
        return;
    }
    Vector3 position;
    if (ground_object* record = short_travel ? find_ground_object_at_point(to, position, nullptr)
                                             : find_ground_object_on_segment(from, to, position, nullptr)) {
        end_flight(END_COLLISION);
        collision_object = record->type;
        destroy_ground_object(record, position, nullptr);
        return;
    }
    if (short_travel ? check_point_in_crater(to) : check_segment_hits_crater(from, to)) {
        end_flight(END_COLLISION);
        collision_object = CRATER_OBJECT;
    }
}

void check_ground_roll() {
    const Vector3& at = player_position->position;
    const int32_t knots = player_flight_data.airspeed;
    if (model_state.ground) {
        if (gear_collapsed && !pending_end_reason) {
            pending_end_reason = END_CRASH;
            pending_end_time = game_clock + COLLAPSE_END_TICKS;
        }
        // Airfields lie at height 0: rolling anywhere higher is rolling into the hills.
        if (!invincible && get_ground_height(at.x, at.y) > 0) end_flight(END_CRASH);
        const int surface = surface_under_player();
        if (is_water(surface)) {
            end_flight(END_DITCHED);
        } else if (surface != FEATURE_RAILWAY && knots > (is_hard(surface) ? 250 : 50) && get_gear_state() != GEAR_UP &&
                   !has_failure(FAIL_GEAR)) {
            damage_gear();
            collapse_gear();
            gear_collapsed = 1;
            landing_result = LANDING_GEAR_COLLAPSE;
        }
    }
    // Flying too fast with the gear out.
    if (get_gear_state() != GEAR_UP && !has_failure(FAIL_GEAR) && knots > 300 && draw_rand() % 70 < 3)
        damage_gear();
}

int is_at_final_waypoint() {
    Waypoint* current = user_drone ? get_drone_current_waypoint(user_drone) : nullptr;
    if (!current) return 0;
    const Vector3& at = player_position->position;
    return is_friendly_runway(at.x, at.y, get_last_waypoint(current));
}

}  // namespace vyr
