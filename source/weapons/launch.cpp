#include "source/weapons/launch.h"

#include <algorithm>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/maths/random.h"
#include "library/maths/trig.h"
#include "source/drone/drone.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/skill.h"
#include "source/weapons/launch_sound.h"
#include "source/weapons/rounds.h"
#include "source/weapons/stores.h"
#include "source/weapons/target.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapons_frame.h"

namespace vyr {

int32_t command_guidance_offset = 0;
int32_t dispense_speed = 0;

namespace {

constexpr int32_t WORLD_MAX = 0x0FFFFFFF;
constexpr int32_t MIN_LAUNCH_SPEED = 256;
constexpr int32_t MAX_LAUNCH_SPEED = 0x7FFFFFFE;
constexpr int32_t COMMAND_OFFSET = 840;
constexpr int MINES_LAID = 36;
constexpr double MINE_RADIUS_PER_HEIGHT = 0.5988023952095808;
constexpr double RIPPLE_SPREAD = 0.02;
constexpr int RIPPLE_QUANTITY = 2;  // a ripple of more spreads along the track
constexpr int32_t SCATTER_SPEED = 30000;
constexpr int TOP_LEVEL_FORCES = 9;
constexpr int32_t REACTION_SPREAD = 1000;
constexpr int32_t SHELL_TIME_SPREAD = 1000;
constexpr int32_t WEAPON_CUE = 8;

bool inside_world(const Vector3& p) { return p.x >= 0 && p.x <= WORLD_MAX && p.y >= 0 && p.y <= WORLD_MAX; }

// A fraction 0..1 from one step of `random_seed`.
double random_fraction() { return next_random(random_seed) / 32768.0; }

// An allocated slot made a new round of the weapon; null outside the world or with the pool full.
WeaponRound* new_round(int weapon_id, const Vector3& at, Target* shooter) {
    if (!inside_world(at)) return nullptr;
    WeaponRound* round = allocate_round();
    if (round) init_round_slot(round, weapon_id, shooter);
    return round;
}

VariableList store_parts(int weapon_id) { return {&weapon_info[weapon_id].store_part_object, 1}; }

bool is_falling_store(int weapon_id) {
    const WeaponInfo& weapon = weapon_info[weapon_id];
    return weapon.round_class == ROUND_CLASS_BOMB || weapon.round_class == ROUND_CLASS_RETARDED_BOMB ||
           (weapon.round_class == ROUND_CLASS_GUIDED && weapon.weapon_kind == WEAPON_KIND_BOMB);
}

// The release factor of the store in its phase; 0 for none.
double release_factor(const WeaponRound* round) {
    const WeaponInfo& weapon = weapon_info[round->weapon_id];
    if (weapon.round_class == ROUND_CLASS_BOMB ||
        (weapon.round_class == ROUND_CLASS_GUIDED && weapon.weapon_kind == WEAPON_KIND_BOMB))
        return 0.9;
    if (weapon.round_class != ROUND_CLASS_RETARDED_BOMB) return 0;
    if (round->weapon_id == WEAPON_CBU15) {
        switch (round->phase) {
        case 1: return 0.9;
        case 2: return 0.6;
        case 3: return 0.3;
        default: return 0;
        }
    }
    return round->phase <= 1 ? 0.6 : 0;
}

// Per-step movement made per second; nothing in a step of no time.
int32_t per_second(int32_t step) {
    if (frame_fraction <= 0) return 0;
    const int64_t v = (int64_t(step) << 31) / frame_fraction;
    return int32_t(std::clamp<int64_t>(v, -MAX_LAUNCH_SPEED, MAX_LAUNCH_SPEED));
}

// A released store leaves with the aircraft's velocity; the player's stores of a long ripple
// each a little slower, so that they spread along the track. A store without a release hardpoint
// (a jettisoned form) is no part of a ripple.
void release_from_drone(WeaponRound* round, Drone* drone) {
    round->speed = get_drone_speed(drone);
    if (drone == user_drone) {
        player_model_velocity(round->velocity);
        round->release_speed = measure_distance_3d(round->velocity.x, round->velocity.y, round->velocity.z);
        apply_release_velocity_factor(round);
        const int32_t hardpoint = first_hardpoint[round->weapon_id];
        if (hardpoint >= 0 && hardpoints[hardpoint].release_quantity > RIPPLE_QUANTITY) {
            const double keep = 1.0 - random_fraction() * RIPPLE_SPREAD;
            Vector3& v = round->velocity;
            v = {int32_t(v.x * keep), int32_t(v.y * keep), int32_t(v.z * keep)};
        }
    } else {
        const Vector3& v = drone->velocity;
        round->velocity = {per_second(v.x), per_second(v.y), per_second(v.z)};
        round->release_speed = measure_distance_3d(round->velocity.x, round->velocity.y, round->velocity.z);
    }
}

void remove_roll(WeaponRound* round) {
    Matrix3& m = round->pose.matrix;
    if (m[0][2] != 0)
        rotate_matrix(m, 0, 0, lookup_arcsin(m[0][2]));
    else if (m[2][2] < 0)
        rotate_matrix(m, 0, 0, 0x80000000u);
    get_matrix_angles(m, round->heading, round->pitch, round->roll);
    round->roll = 0;
}

// The model again with the motor object as its variable part, or with none.
void rebuild_round_model(WeaponRound* round, int32_t part) {
    const WeaponInfo& weapon = weapon_info[round->weapon_id];
    if (weapon.motor_object == 0) return;
    const VariableList parts = {&part, 1};
    free_object_instance(&round->instance);
    create_object_instance(weapon.round_object, &round->instance, &round->pose, &parts);
}

}  // namespace

void init_round_slot(WeaponRound* round, int weapon_id, Target* shooter) {
    round->weapon_id = weapon_id;
    round->shooter = shooter;
    round->distance_flown = 0;
    round->phase_timer = 0;
    round->initialised = 1;
    round->phase = 0;
    round->release_speed = 0;
    round->flags &= uint8_t(~(ROUND_LIVE | ROUND_GUIDED | ROUND_MOTOR));
    if (weapon_info[weapon_id].motor_acceleration != 0) round->flags |= ROUND_MOTOR;
    round->decoyed = 0;
    round->fins_deployed = 0;
    round->random_state = two_step_random(random_seed);
}

WeaponRound* launch_unguided_round(int weapon_id, const Pose& pose, Target* shooter, Drone* shooter_drone) {
    WeaponRound* round = new_round(weapon_id, pose.position, shooter);
    if (!round) return nullptr;
    const VariableList parts = store_parts(weapon_id);
    place_new_round(round, pose, shooter_drone, &parts);
    return round;
}

WeaponRound* launch_guided_round(int weapon_id, const Pose& pose, Target* shooter, Target* designator,
                                 const Target* target, Drone* shooter_drone) {
    WeaponRound* round = new_round(weapon_id, pose.position, shooter);
    if (!round) return nullptr;
    GuidedRoundBlock& guided = round->guided;
    guided.target = target ? *target : Target{};
    guided.guidance_flags = target ? 1 : 0;
    guided.designator = designator;
    guided.recheck_time = 0;
    round->flags |= ROUND_GUIDED;
    if (weapon_id == WEAPON_9M114) command_guidance_offset = (draw_rand() & 1) ? COMMAND_OFFSET : 0;
    const VariableList parts = store_parts(weapon_id);
    place_new_round(round, pose, shooter_drone, &parts);
    return round;
}

// Without a spread there is nothing to scatter by (and a draw modulo 0); the flight time is worked
// in 64 bits, for 200 x the distance of artillery at range passes 32.
WeaponRound* launch_shell(int weapon_id, const Vector3& aim, Target* shooter) {
    WeaponRound* round = new_round(weapon_id, aim, shooter);
    if (!round) return nullptr;
    const WeaponInfo& weapon = weapon_info[weapon_id];
    ShellRoundBlock& shell = round->shell;
    shell.impact_point = aim;
    const int64_t s = weapon.round_class == ROUND_CLASS_SHELL ? weapon.spread : 0;
    if (s > 0) {
        int32_t dx = int32_t(next_game_random() % (2 * s) - s);
        int32_t dy = int32_t(next_game_random() % (2 * s) - s);
        if (weapon_id == WEAPON_BOMB) {
            Vector3 direction;
            get_target_direction(shooter, direction);
            const int32_t c = lookup_cos(compute_bearing(direction.x >> 16, direction.y >> 16));
            dx = mul31(dx, c);
            dy = mul31(dy / 2, c);
        }
        shell.impact_point.x = std::clamp(shell.impact_point.x + dx, 0, WORLD_MAX);
        shell.impact_point.y = std::clamp(shell.impact_point.y + dy, 0, WORLD_MAX);
    }
    round->pose.position.x = shell.impact_point.x;
    round->pose.position.y = shell.impact_point.y;
    shell.impact_point.z = get_ground_height(shell.impact_point.x, shell.impact_point.y);
    Vector3 from = {0, 0, 0};
    get_target_position(shooter, from);
    const int64_t distance = estimate_distance_3d(from.x - aim.x, from.y - aim.y, from.z - aim.z);
    shell.impact_time = int32_t(game_clock + 200 * distance / std::max(weapon.top_speed, 1) +
                                next_round_random(round) % SHELL_TIME_SPREAD);
    return round;
}

WeaponRound* launch_dropped_round(int weapon_id, const Pose& pose, Target* shooter, int32_t extra,
                                  Drone* shooter_drone) {
    WeaponRound* round = new_round(weapon_id, pose.position, shooter);
    if (!round) return nullptr;
    round->dropped.extra = extra;
    round->flags |= ROUND_MOTOR;
    const VariableList parts = store_parts(weapon_id);
    place_new_round(round, pose, shooter_drone, &parts);
    return round;
}

WeaponRound* activate_round(WeaponRound* round) {
    if (!round) return nullptr;
    round->flags |= ROUND_LIVE;
    round->launch_time = game_clock;
    play_launch_sound(round);
    return round;
}

void place_new_round(WeaponRound* round, const Pose& pose, Drone* shooter_drone, const VariableList* parts) {
    const WeaponInfo& weapon = weapon_info[round->weapon_id];
    ObjectInstance* instance = create_object_instance(weapon.round_object, &round->instance, &round->pose, parts);
    instance->owner_kind = OWNER_ROUND;
    instance->owner = round;
    instance->pose = &round->pose;
    instance->flags |= INSTANCE_INACTIVE;
    const int weapon_id = round->weapon_id;
    if (is_falling_store(weapon_id)) {
        round->pose = pose;
        if (weapon_id == WEAPON_KMGU || weapon_id == WEAPON_MINEFIELD || weapon_id == WEAPON_BOMBLET)
            scatter_submunition(round);
        else
            release_from_drone(round, shooter_drone);
        if (weapon_id == WEAPON_MINEFIELD) {
            const int32_t height = pose.position.z - get_ground_height(pose.position.x, pose.position.y);
            round->dropped.landed = 0;
            round->dropped.mines_left = MINES_LAID;
            round->dropped.mine_radius = int32_t(height * MINE_RADIUS_PER_HEIGHT);
        }
    } else {
        const int64_t speed = int64_t(weapon.launch_speed) + get_target_speed(round->shooter);
        round->speed = int32_t(std::clamp<int64_t>(speed, MIN_LAUNCH_SPEED, MAX_LAUNCH_SPEED));
        round->pose.matrix = pose.matrix;
    }
    round->pose.position = {std::clamp(pose.position.x, 0, WORLD_MAX), std::clamp(pose.position.y, 0, WORLD_MAX),
                            pose.position.z};
    round->previous_position = round->pose.position;
    remove_roll(round);
    create_round_model(round);
    link_mobile_object(&round->instance);
}

void create_round_model(WeaponRound* round) { rebuild_round_model(round, weapon_info[round->weapon_id].motor_object); }
void update_round_model(WeaponRound* round) { rebuild_round_model(round, 0); }

void apply_release_velocity_factor(WeaponRound* round) {
    const double k = release_factor(round);
    if (k == 0) return;
    Vector3& v = round->velocity;
    normalize_vector(v);
    const int32_t length = int32_t(round->release_speed * k);
    v = {mul31(v.x, length), mul31(v.y, length), mul31(v.z, length)};
}

void scatter_submunition(WeaponRound* round) {
    round->speed = round->release_speed = dispense_speed;
    const int32_t* forward = round->pose.matrix[1];
    round->velocity = {mul31(forward[0], dispense_speed), mul31(forward[1], dispense_speed),
                       mul31(forward[2], dispense_speed)};
    apply_release_velocity_factor(round);
    for (int32_t* c : {&round->velocity.x, &round->velocity.y, &round->velocity.z})
        *c += int32_t(random_fraction() * SCATTER_SPEED) - SCATTER_SPEED / 2;
}

int32_t get_dispense_speed() { return dispense_speed; }
int32_t get_command_guidance_offset() { return command_guidance_offset; }

// With half an interval of 0 there is no random part to add.
int32_t compute_fire_delay(int weapon_id, int32_t shot_count) {
    const WeaponInfo& weapon = weapon_info[weapon_id];
    int64_t ticks = weapon.fire_interval;
    if (weapon.weapon_flags & WEAPON_FLAG_BURST) {
        const int32_t n = std::max(1, weapon.burst_length * get_skill_burst_percent() / 100);
        if (shot_count % n == 0) ticks = weapon.burst_pause;
    }
    ticks = ticks * get_skill_rate_percent() / 100;
    const int64_t half = ticks / 2;
    if (half > 0) ticks += next_game_random() % half;
    return int32_t(ticks);
}

int32_t compute_reaction_delay(int at_top_level) {
    const int32_t saved = forces_type;
    if (at_top_level == 1) forces_type = TOP_LEVEL_FORCES;
    const int32_t delay = get_skill_reaction_delay();
    forces_type = saved;
    return delay + next_game_random() % REACTION_SPREAD;
}

int32_t weapon_cue_constant() { return WEAPON_CUE; }

}  // namespace vyr
