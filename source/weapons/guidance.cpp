#include "source/weapons/guidance.h"

#include <algorithm>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/line_of_sight.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/view.h"
#include "library/debug/fatal.h"
#include "library/maths/random.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/avionics/targeting_pod.h"
#include "source/drone/drone.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/task.h"
#include "source/frame_loop.h"
#include "source/models/intercept.h"
#include "source/skill.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/damage.h"
#include "source/weapons/launch.h"
#include "source/weapons/object_types.h"
#include "source/weapons/round_movement.h"
#include "source/weapons/rounds.h"
#include "source/weapons/system_damage.h"
#include "source/weapons/target.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/weapons/guidance";
constexpr int32_t LASER_RANGE = 4608000;     // 18,000 ft
constexpr int32_t DECOY_RECHECK = 600;       // ticks
constexpr int32_t FLARE_RECHECK = 100;
constexpr int32_t CLUTTER_RECHECK = 200;
constexpr int32_t CLUTTER_HEIGHT = 51200;    // 200 ft
constexpr int32_t LOW_LEVEL_FLOOR = 25600;   // 100 ft
constexpr int32_t PASSED_ANGLE = 60 * int32_t(DEGREE);
constexpr double LEAD_WINDOW = 0.7;          // of the seeker's half-angle
constexpr int LINE_OF_SIGHT_STEPS = 3;

bool is_locked(const WeaponRound* round) { return round->guided.guidance_flags & GUIDED_LOCKED; }
void set_locked(WeaponRound* round) { round->guided.guidance_flags |= GUIDED_LOCKED; }
void clear_locked(WeaponRound* round) { round->guided.guidance_flags &= ~GUIDED_LOCKED; }

// The seeker follows nothing and is unlocked.
void lose_track(WeaponRound* round) {
    round->seeker_track = nullptr;
    clear_locked(round);
}

void lose_for_good(WeaponRound* round) {
    lose_track(round);
    round->guided.recheck_time = SEEKER_NEVER;
}

bool recheck_due(const WeaponRound* round) { return game_clock >= round->guided.recheck_time; }

// The drone behind a mobile target; null for anything else.
Drone* drone_behind(const Target* target) {
    if (!target || target->kind != TARGET_MOBILE) return nullptr;
    const ObjectInstance* instance = static_cast<const ObjectInstance*>(target->object);
    return instance->owner_kind == OWNER_DRONE ? static_cast<Drone*>(instance->owner) : nullptr;
}

int32_t distance_between(const Vector3& a, const Vector3& b) {
    return measure_distance_3d(b.x - a.x, b.y - a.y, b.z - a.z);
}

int32_t target_distance(const Vector3& from, const Target* target) {
    Vector3 p;
    get_target_position(target, p);
    return distance_between(from, p);
}

bool sees(const Vector3& from, const Target* target) {
    Vector3 p;
    get_target_position(target, p);
    return check_line_of_sight(from, p, LINE_OF_SIGHT_STEPS);
}

// A lit target within the laser's reach of the round, or one the designating drone attacks, is
// alive and is within its reach.
bool laser_reaches(const WeaponRound* round, const Target* target) {
    if (!round->guided.designator)
        report_fatal_error("Laser guided missile with no designator", SOURCE, __LINE__);
    if (is_target_lased(target)) return target_distance(round->pose.position, target) <= LASER_RANGE;
    const Drone* designator = drone_behind(round->guided.designator);
    if (!designator || !designator->attack_target || designator->destroyed) return false;
    return target_distance(designator->pose.position, target) <= LASER_RANGE;
}

// Weather 2 and 3 blind an infrared seeker for good; an overcast blinds it inside the cloud layer
// and when the cloud lies between it and the target.
bool blinded_by_weather(WeaponRound* round, const Target* target) {
    const ViewSettings& view = current_view;
    if (view.weather == 2 || view.weather == 3) {
        lose_for_good(round);
        return true;
    }
    if (view.weather != 1) return false;
    Vector3 p;
    get_target_position(target, p);
    const int32_t z = round->pose.position.z;
    const bool in_cloud = z > view.cloud_base && z < view.cloud_top;
    const bool across_base = (z < view.cloud_base) != (p.z < view.cloud_base);
    const bool across_top = (z < view.cloud_top) != (p.z < view.cloud_top);
    if (!in_cloud && !across_base && !across_top) return false;
    lose_track(round);
    return true;
}

// The seeker drawn off to one of the target drone's decoys.
void decoyed_to(WeaponRound* round, Target* decoy) {
    clear_locked(round);
    round->guided.recheck_time = game_clock + DECOY_RECHECK;
    round->decoyed = 1;
    round->seeker_track = decoy;
}

// Answers true when the decision is taken and the seeker must not lock this frame.
bool seeker_fooled_or_lost(WeaponRound* round, Target* target) {
    switch (weapon_info[round->weapon_id].guidance) {
    case GUIDANCE_LASER:
        if (laser_reaches(round, target)) return false;
        lose_track(round);
        return true;
    case GUIDANCE_RADAR:
        if (recheck_due(round) && is_target_chaff_active(target) && decoy_succeeds(round)) {
            decoyed_to(round, &drone_behind(target)->chaff_target);
            return true;
        }
        if (is_target_live_drone(round->shooter) && !sees(*get_target_position_ptr(round->shooter), target)) {
            lose_track(round);
            return true;
        }
        return false;
    case GUIDANCE_INFRARED:
        if (get_target_domain(target) != TARGET_DOMAIN_AIR) {
            round->seeker_track = nullptr;
            return true;
        }
        if (recheck_due(round) && is_target_flare_active(target)) {
            if (decoy_succeeds(round)) {
                decoyed_to(round, &drone_behind(target)->flare_target);
                return true;
            }
            round->guided.recheck_time = game_clock + FLARE_RECHECK;
        }
        return blinded_by_weather(round, target);
    default:
        report_fatal_error("Missile has undefined/illegal guidence type", SOURCE, __LINE__);
        return false;
    }
}

// Low targets hide in the ground's echo from an enemy's seeker at each re-check.
bool hidden_in_clutter(WeaponRound* round, const Target* target) {
    Vector3 p;
    get_target_position(target, p);
    if (p.z >= CLUTTER_HEIGHT || get_target_side(round->shooter) != SIDE_ENEMY || !recheck_due(round)) return false;
    if (decoy_succeeds(round)) {
        clear_locked(round);
        round->guided.recheck_time = game_clock + next_round_random(round) % CLUTTER_RECHECK;
        return true;
    }
    round->guided.recheck_time = game_clock + CLUTTER_RECHECK;
    return false;
}

// Whether either error lies beyond the angle.
bool beyond(int32_t heading_error, int32_t pitch_error, int32_t angle) {
    return fixed_magnitude(heading_error) > uint32_t(angle) || fixed_magnitude(pitch_error) > uint32_t(angle);
}

void rebuild_orientation(WeaponRound* round) {
    build_rotation_matrix(round->heading, round->pitch, round->roll, round->pose.matrix);
}

// The missile has passed its aim point: it bursts at the point of its last step nearest to it
// when that lies within 3 blast radii, and otherwise has lost the target for good.
bool burst_if_passed_close(WeaponRound* round, const Vector3& aim) {
    Vector3 nearest;
    find_segment_closest_point(round->previous_position, round->pose.position, aim, nearest);
    if (distance_between(nearest, aim) > 3 * weapon_info[round->weapon_id].blast_radius) {
        lose_for_good(round);
        return false;
    }
    place_mobile_object(&round->instance, nearest.x, nearest.y, nearest.z);
    hit_point(nearest, round);
    round->flags &= uint8_t(~ROUND_LIVE);
    return true;
}

// The largest turn this step: 16 x arcsin(a dt / 8 v); a crawling missile turns at most half a
// turn either way.
int32_t turn_limit(const WeaponRound* round) {
    const int64_t reach = mul31(weapon_info[round->weapon_id].turn_acceleration, frame_fraction) / 8;
    const int64_t ratio = std::min<int64_t>((reach << 31) / std::max(round->speed, 1), 0x7FFFFFFF);
    return int32_t(std::min<int64_t>(16 * int64_t(lookup_arcsin(int32_t(ratio))), 0x7FFFFFFF));
}

}  // namespace

void move_missile(WeaponRound* round, Vector3& step) {
    const WeaponInfo& weapon = weapon_info[round->weapon_id];
    const Target* t = update_round_seeker(round);
    Vector3 aim{};
    const bool pod_point = !(t && is_target_lased(t)) && round->weapon_id != WEAPON_AGM_65G &&
                           get_designated_ground_point(aim);
    if (round->weapon_id == WEAPON_AGM_65E && is_laser_failed())
        t = nullptr;
    else if (Drone* drone = drone_behind(t))
        warn_drone_of_missile(drone, round);
    if (round->distance_flown < weapon.guidance_start_distance) {
        move_straight_round(round, step);
        return;
    }
    if (!t) {
        apply_gun_round_drop(round);
        move_straight_round(round, step);
        return;
    }
    if (!pod_point) get_target_position(t, aim);
    int32_t heading_error, pitch_error;
    compute_aim_errors(round, aim, heading_error, pitch_error);
    if (beyond(heading_error, pitch_error, weapon.spread)) {
        if (beyond(heading_error, pitch_error, PASSED_ANGLE)) {
            if (burst_if_passed_close(round, aim)) {
                step = {0, 0, 0};
                return;
            }
        } else {
            clear_locked(round);
        }
        move_straight_round(round, step);
        return;
    }
    lead_target_point(round, t, aim);
    const Vector3& p = round->pose.position;
    if (p.z < LOW_LEVEL_FLOOR && estimate_distance_2d(aim.x - p.x, aim.y - p.y) > 2 * round->speed)
        aim.z = std::max(aim.z, LOW_LEVEL_FLOOR);
    if (round->weapon_id == WEAPON_9M114) aim.y += command_guidance_offset;
    int32_t lead_heading, lead_pitch;
    compute_aim_errors(round, aim, lead_heading, lead_pitch);
    const int32_t window = int32_t(LEAD_WINDOW * weapon.spread);
    lead_heading = std::clamp(lead_heading, heading_error - window, heading_error + window);
    lead_pitch = std::clamp(lead_pitch, pitch_error - window, pitch_error + window);
    const int32_t limit = turn_limit(round);
    round->heading += uint32_t(std::clamp(lead_heading, -limit, limit));
    round->pitch += uint32_t(std::clamp(lead_pitch, -limit, limit));
    rebuild_orientation(round);
    move_straight_round(round, step);
    // An infrared seeker slips off the MI24 now and then.
    if (weapon.guidance == GUIDANCE_INFRARED && draw_rand() % 4 != 0 && is_locked(round) &&
        (round->guided.guidance_flags & GUIDED_HAS_TARGET) &&
        get_target_object_number(&round->guided.target) == OBJ_MI24_VORN_607 && draw_rand() % 20 == 0) {
        lose_for_good(round);
        round->guided.target.kind = TARGET_NONE;
    }
}

const Target* update_round_seeker(WeaponRound* round) {
    Target* homing = get_round_homing_target(round);
    if (!homing) return nullptr;
    guide_round(round, homing);
    if (round->weapon_id == WEAPON_AGM_65E) return homing;
    return round->seeker_track && round->seeker_track->kind != TARGET_NONE ? round->seeker_track : nullptr;
}

Target* get_round_homing_target(WeaponRound* round) {
    if (weapon_info[round->weapon_id].round_class != ROUND_CLASS_GUIDED) return nullptr;
    Target* homing = &round->guided.target;
    if (weapon_info[round->weapon_id].guidance == GUIDANCE_LASER && homing->kind != TARGET_NONE &&
        !is_target_lased(homing))
        if (const Drone* designator = drone_behind(round->guided.designator)) homing = designator->attack_target;
    return homing && homing->kind != TARGET_NONE ? homing : nullptr;
}

void guide_round(WeaponRound* round, Target* target) {
    GuidedRoundBlock& guided = round->guided;
    if (!is_locked(round) && game_clock < guided.recheck_time &&
        ((round->seeker_track && round->seeker_track->kind != TARGET_NONE) || guided.recheck_time == SEEKER_NEVER))
        return;
    if (round->decoyed && recheck_due(round)) {
        if (draw_rand() % 100 >= 75) {
            round->decoyed = 0;
            round->seeker_track = target;
            set_locked(round);
        } else {
            guided.recheck_time = game_clock + DECOY_RECHECK;
        }
        return;
    }
    if (is_target_destroyed(target)) {
        lose_track(round);
        return;
    }
    if (seeker_fooled_or_lost(round, target)) return;
    if (!sees(round->pose.position, target)) {
        lose_track(round);
        return;
    }
    if (hidden_in_clutter(round, target)) return;
    round->seeker_track = target;
    set_locked(round);
}

int decoy_succeeds(WeaponRound* round) {
    if (game_mode == GAME_COMBAT || game_mode == GAME_MULTI_PLAYER || game_mode == GAME_CAPTURE_FLAG)
        return next_round_random(round) % 24 == 0;
    const WeaponInfo& weapon = weapon_info[round->weapon_id];
    int32_t r = next_round_random(round) % weapon.decoy_resistance;
    if (get_target_side(round->shooter) == SIDE_ENEMY) r /= get_skill_accuracy_divisor();
    if (weapon.round_class != ROUND_CLASS_GUIDED || round->guided.target.kind == TARGET_NONE || r != 0) return 0;
    const bool at_player = user_drone && round->guided.target.object == &user_drone->object;
    int drawn;
    if (at_player)
        drawn = forces_type <= 6 ? draw_rand() % 36 / 12 : forces_type <= 8 ? draw_rand() % 40 / 10 : draw_rand() % 25 / 5;
    else
        drawn = forces_type <= 3 ? draw_rand() % 50 / 5 : forces_type <= 7 ? draw_rand() % 40 / 5 : draw_rand() % 40 / 10;
    return drawn == 0;
}

void lead_target_point(const WeaponRound* round, const Target* target, Vector3& aim) {
    Vector3 position, direction;
    get_target_position(target, position);
    get_target_direction(target, direction);
    intercept_point(round->pose.position, round->speed, position, direction, get_target_speed(target),
                    INTERCEPT_CLOSED_FORM, aim);
}

void compute_aim_errors(const WeaponRound* round, const Vector3& point, int32_t& heading_error,
                        int32_t& pitch_error) {
    const Vector3& p = round->pose.position;
    const int32_t dx = point.x - p.x, dy = point.y - p.y, dz = point.z - p.z;
    heading_error = int32_t(compute_bearing(dx, dy) - round->heading);
    pitch_error = int32_t(compute_bearing(dz, estimate_distance_2d(dx, dy)) - round->pitch);
}

}  // namespace vyr
