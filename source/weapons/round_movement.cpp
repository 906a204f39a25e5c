#include "source/weapons/round_movement.h"

#include <algorithm>
#include <cmath>

#include "library/3dvisual/terrain.h"
#include "library/debug/fatal.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/avionics/targeting_pod.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/frame_loop.h"
#include "source/weapons/guidance.h"
#include "source/weapons/launch.h"
#include "source/weapons/round_impact.h"
#include "source/weapons/rounds.h"
#include "source/weapons/stores.h"
#include "source/weapons/system_damage.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/weapons/round_movement";
constexpr int32_t GRAVITY = 8192;          // 32 ft/s squared
constexpr int32_t GRAVITY_TURN = 1845;     // 32 ft/s squared in degrees per radian
constexpr double ORIENTATION_FOLLOW = 0.25;  // of the error, each second
constexpr int32_t PHASE_TICKS = 200;       // the phase timer's ticks a second

constexpr int32_t RETARDER_OBJECT = 1125;
constexpr int32_t CBU15_OBJECTS[3] = {1158, 1160, 1162};
constexpr int32_t CBU15_PLUME_OBJECT = 495;
constexpr int32_t CBU15_MOTOR_ACCELERATION = 281600;  // 1,100 ft/s squared
constexpr int32_t CBU15_DIVE = -20 * int32_t(DEGREE);
constexpr int32_t BOMBLET_DISPENSER_OBJECT = 1169, MINE_DISPENSER_OBJECT = 1172;
constexpr int32_t BOMBLET_RELEASE_HEIGHT = 102400, MINE_RELEASE_HEIGHT = 128000;  // 400 and 500 ft
constexpr int BOMBLETS = 40, MINES = 20;
constexpr uint32_t MINE_DISPENSER_SPIN = 170 * DEGREE;  // a second

// x dt: the 1.31 product with the step's length.
int32_t per_step(int32_t value) { return mul31(value, frame_fraction); }

Vector3 scaled(const int32_t* direction, int32_t length) {
    return {mul31(direction[0], length), mul31(direction[1], length), mul31(direction[2], length)};
}

// Azimuth and elevation of a vector.
void vector_to_angles(const Vector3& v, uint32_t& heading, uint32_t& pitch) {
    heading = compute_bearing(v.x, v.y);
    Vector3 unit = v;
    normalize_vector(unit);
    pitch = lookup_arcsin(unit.z);
}

void rebuild_orientation(WeaponRound* round) {
    build_rotation_matrix(round->heading, round->pitch, round->roll, round->pose.matrix);
}

// The round's model again with `object` as its one variable sub-object.
void set_round_model(WeaponRound* round, int32_t object) {
    const VariableList parts = {&object, 1};
    free_object_instance(&round->instance);
    create_object_instance(weapon_info[round->weapon_id].round_object, &round->instance, &round->pose, &parts);
}

void advance_phase_timer(WeaponRound* round) { round->phase_timer += per_step(PHASE_TICKS); }

// A dispenser's load: each store live and shown by the weapon view, then the dispenser ends.
void dispense(WeaponRound* dispenser, int weapon_id, int count) {
    const WeaponInfo& selected = weapon_info[selected_weapon];
    const int32_t extra = selected.round_class == ROUND_CLASS_DECOY ? selected.spread : 0;
    for (int i = 0; i < count; ++i) {
        WeaponRound* store =
            activate_round(launch_dropped_round(weapon_id, dispenser->pose, dispenser->shooter, extra, user_drone));
        if (store) set_weapon_view_object(store);
    }
}

// Once low enough (or a second after release for the bomblets), the dispenser levels its spin and
// lets its load go at its own speed.
void open_dispenser(WeaponRound* round, int32_t release_height, int32_t object,
                    void (*load)(WeaponRound* dispenser)) {
    const int32_t height =
        round->pose.position.z - get_ground_height(round->pose.position.x, round->pose.position.y);
    if (round->phase_timer < PHASE_TICKS && round->phase == 0) {
        round->phase = 1;
        set_round_model(round, object);
        apply_release_velocity_factor(round);
    } else if (round->phase_timer >= PHASE_TICKS && height <= release_height && round->phase < 2) {
        round->roll = 0;
        dispense_speed = round->speed;
        round->phase = 2;
        rebuild_orientation(round);
        load(round);
        round->flags &= uint8_t(~ROUND_LIVE);
    }
    advance_phase_timer(round);
}

void turn_falling_store(WeaponRound* round) {
    if (round->weapon_id == WEAPON_CBU15) {
        Vector3 unit = round->velocity;
        normalize_vector(unit);
        round->pitch = lookup_arcsin(unit.z);
    } else {
        uint32_t heading, pitch;
        vector_to_angles(round->velocity, heading, pitch);
        round->heading += per_step(int32_t(int32_t(heading - round->heading) * ORIENTATION_FOLLOW));
        round->pitch += per_step(int32_t(int32_t(pitch - round->pitch) * ORIENTATION_FOLLOW));
    }
    rebuild_orientation(round);
}

// Where a laser-guided bomb aims: the lit target its seeker follows, else the pod's ground point
// while the bomb dives and the laser works.
bool find_bomb_aim_point(WeaponRound* round, Vector3& aim) {
    const Target* seen = update_round_seeker(round);
    if (seen && is_target_lased(seen)) {
        get_target_position(seen, aim);
        return true;
    }
    return get_designated_ground_point(aim) && int32_t(round->pitch) < 0 && !is_laser_failed();
}

}  // namespace

void move_round(WeaponRound* round, Vector3& step) {
    const WeaponInfo& weapon = weapon_info[round->weapon_id];
    switch (weapon.round_class) {
    case ROUND_CLASS_UNGUIDED:
        move_straight_round(round, step);
        return;
    case ROUND_CLASS_GUIDED:
        if (weapon.weapon_kind == WEAPON_KIND_BOMB)
            move_guided_bomb(round, step);
        else
            move_missile(round, step);
        return;
    case ROUND_CLASS_SHELL:
        return;
    case ROUND_CLASS_DECOY: case ROUND_CLASS_BOMB: case ROUND_CLASS_RETARDED_BOMB:
        if (round->weapon_id == WEAPON_CBU15 && round->phase >= 4)
            move_straight_round(round, step);
        else
            move_falling_round(round, step);
        return;
    default:
        report_fatal_error("Unknown weapon round type.", SOURCE, __LINE__);
    }
}

void move_straight_round(WeaponRound* round, Vector3& step) {
    if (weapon_info[round->weapon_id].weapon_kind == WEAPON_KIND_GUN && (round->flags & ROUND_GUIDED))
        apply_gun_round_drop(round);
    step = scaled(round->pose.matrix[1], per_step(round->speed));
}

// The turn g cos(pitch) / v in degrees made binary: n x cos x 11,930,465 passes 32 bits at a step
// of 0.1 s, so it is a 64-bit product. A round slower than a foot a second turns as one of 1 ft/s.
void apply_gun_round_drop(WeaponRound* round) {
    const int32_t n = per_step(GRAVITY_TURN);
    const int64_t turn = int64_t(mul31(n, lookup_cos(round->pitch))) * DEGREE / std::max(round->speed / 256, 1);
    round->pitch -= uint32_t(turn);
    rebuild_orientation(round);
}

void move_falling_round(WeaponRound* round, Vector3& step) {
    const WeaponInfo& weapon = weapon_info[round->weapon_id];
    if (round->weapon_id == WEAPON_MINEFIELD && round->dropped.landed) {
        step = {0, 0, 0};
        return;
    }
    if (weapon.round_class == ROUND_CLASS_DECOY) {
        step = scaled(round->pose.matrix[1], per_step(round->speed));
        step.z -= per_step(weapon.spread);
        return;
    }
    if (weapon.round_class == ROUND_CLASS_RETARDED_BOMB) {
        if (round->weapon_id == WEAPON_CBU15)
            update_boosted_bomb(round);
        else
            update_retarded_bomb(round);
    } else if (round->weapon_id == WEAPON_CBU_87B) {
        update_bomblet_dispenser(round);
    } else if (round->weapon_id == WEAPON_CBU_89B) {
        update_mine_dispenser(round);
    }
    round->velocity.z -= per_step(GRAVITY);
    turn_falling_store(round);
    step = {per_step(round->velocity.x), per_step(round->velocity.y), per_step(round->velocity.z)};
    if (round->weapon_id == WEAPON_MINEFIELD) {
        round_impact_start = round->pose.position;
        if (find_ground_contact(step, round)) {
            round->dropped.landed = 1;
            score_mine_drop(round);
        }
    }
}

void update_retarded_bomb(WeaponRound* round) {
    if (round->phase_timer > 100 && round->phase != 1) {
        if (round->weapon_id != WEAPON_BOMBLET) set_round_model(round, RETARDER_OBJECT);
        round->phase = 1;
        apply_release_velocity_factor(round);
    } else {
        advance_phase_timer(round);
    }
}

void update_boosted_bomb(WeaponRound* round) {
    const int32_t nose = int32_t(lookup_arcsin(round->pose.matrix[1][2]));
    const int32_t t = round->phase_timer;
    int next = 0;
    if (t < 100 && round->phase == 0)
        next = 1;
    else if (t >= 100 && t < 200 && round->phase <= 1)
        next = 2;
    else if (t >= 200 && t < 2000 && round->phase <= 2)
        next = 3;
    if (next != 0) {
        round->phase = next;
        set_round_model(round, CBU15_OBJECTS[next - 1]);
        apply_release_velocity_factor(round);
    } else if (t >= 200 && nose < CBU15_DIVE && round->phase < 4) {
        round->phase = 4;
        set_round_model(round, CBU15_PLUME_OBJECT);
        round->flags |= ROUND_MOTOR;
        round->launch_time = game_clock;
        weapon_info[WEAPON_CBU15].motor_acceleration = CBU15_MOTOR_ACCELERATION;
    }
    advance_phase_timer(round);
}

void update_bomblet_dispenser(WeaponRound* round) {
    open_dispenser(round, BOMBLET_RELEASE_HEIGHT, BOMBLET_DISPENSER_OBJECT,
                   [](WeaponRound* dispenser) { dispense(dispenser, WEAPON_BOMBLET, BOMBLETS); });
    round->roll += 10 * DEGREE * uint32_t(round->phase_timer / PHASE_TICKS);
}

void update_mine_dispenser(WeaponRound* round) {
    open_dispenser(round, MINE_RELEASE_HEIGHT, MINE_DISPENSER_OBJECT, [](WeaponRound* dispenser) {
        dispense(dispenser, WEAPON_KMGU, MINES);
        dispense(dispenser, WEAPON_MINEFIELD, 1);
    });
    round->roll += uint32_t(per_step(int32_t(MINE_DISPENSER_SPIN)));
}

void deploy_guided_bomb_fins(WeaponRound* round) {
    switch (round->weapon_id) {
    case WEAPON_GBU_12: set_round_model(round, 1131); break;
    case WEAPON_GBU_16: set_round_model(round, 1137); break;
    case WEAPON_GBU_10: set_round_model(round, 1143); break;
    default: break;
    }
    round->fins_deployed = 1;
}

void move_guided_bomb(WeaponRound* round, Vector3& step) {
    if (weapon_info[round->weapon_id].weapon_kind != WEAPON_KIND_BOMB && round->weapon_id != WEAPON_AGM_65E) {
        move_missile(round, step);
        return;
    }
    Vector3 aim = {0, 0, 0};
    if (!find_bomb_aim_point(round, aim)) {
        move_falling_round(round, step);
        return;
    }
    if (!round->fins_deployed) deploy_guided_bomb_fins(round);
    Vector3& v = round->velocity;
    const int32_t speed = measure_distance_3d(v.x, v.y, v.z);
    v.z -= per_step(GRAVITY);
    int32_t dh = 0, dp = 0;
    double k1 = 0.6, k2 = 0.2;
    if (int32_t(round->pitch) < 0) {
        uint32_t aim_heading, aim_pitch;
        const Vector3& p = round->pose.position;
        vector_to_angles({aim.x - p.x, aim.y - p.y, aim.z - p.z}, aim_heading, aim_pitch);
        constexpr int32_t LIMIT = 10 * int32_t(DEGREE);
        dh = std::clamp(int32_t(aim_heading - round->heading), -LIMIT, LIMIT);
        dp = std::clamp(int32_t(aim_pitch - round->pitch), -LIMIT, LIMIT);
        k1 = 0.3;
        k2 = 0.5;
    }
    uint32_t hv, pv;
    vector_to_angles(v, hv, pv);
    const uint32_t heading = round->heading, pitch = round->pitch;
    round->heading += per_step(dh + int32_t(k1 * int32_t(hv - heading)));
    round->pitch += per_step(dp + int32_t(k1 * int32_t(pv - pitch)));
    rebuild_orientation(round);
    const uint32_t new_heading = hv - uint32_t(int32_t(k2 * int32_t(hv - heading)));
    const uint32_t new_pitch = pv - uint32_t(int32_t(k2 * int32_t(pv - pitch)));
    const int32_t flat = mul31(lookup_cos(new_pitch), speed);
    v = {mul31(lookup_sin(new_heading), flat), mul31(lookup_cos(new_heading), flat), mul31(lookup_sin(new_pitch), speed)};
    step = {per_step(v.x), per_step(v.y), per_step(v.z)};
}

}  // namespace vyr
