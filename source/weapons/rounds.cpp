#include "source/weapons/rounds.h"

#include <algorithm>
#include <cstring>

#include "library/3dvisual/mobile.h"
#include "library/3dvisual/smoke.h"
#include "library/debug/fatal.h"
#include "library/maths/random.h"
#include "source/drone/drone.h"
#include "source/drone/drone_weapons.h"
#include "source/frame_loop.h"
#include "source/weapons/launch.h"
#include "source/weapons/round_impact.h"
#include "source/weapons/round_movement.h"
#include "source/weapons/target.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

RoundPool round_pool = {};

namespace {

constexpr const char* SOURCE = "source/weapons/rounds";

// Density ratios at 0, 1,000, ..., 70,000 ft.
constexpr double AIR_DENSITY_TABLE[71] = {
    1.0,   0.971, 0.943, 0.915, 0.888, 0.862, 0.836, 0.811, 0.786, 0.762, 0.739, 0.716, 0.693, 0.671, 0.65,
    0.629, 0.609, 0.589, 0.57,  0.551, 0.533, 0.515, 0.498, 0.481, 0.464, 0.448, 0.433, 0.417, 0.403, 0.388,
    0.374, 0.361, 0.347, 0.335, 0.322, 0.31,  0.298, 0.285, 0.271, 0.258, 0.246, 0.235, 0.224, 0.213, 0.203,
    0.194, 0.185, 0.176, 0.168, 0.16,  0.152, 0.145, 0.138, 0.131, 0.125, 0.12,  0.114, 0.109, 0.104, 0.099,
    0.094, 0.089, 0.085, 0.081, 0.077, 0.074, 0.07,  0.067, 0.064, 0.061, 0.058};
constexpr int32_t DENSITY_STEP = 256000;  // 1,000 ft
constexpr int32_t DENSITY_TOP = 70 * DENSITY_STEP;

constexpr int32_t TRAIL_OFFSET = 512;  // the trail starts 2 ft aft of the round
constexpr int32_t TRAIL_SIZE = 256;

bool is_shell(const WeaponRound* round) {
    return weapon_info[round->weapon_id].round_class == ROUND_CLASS_SHELL;
}

void clear_slot(WeaponRound* round) { std::memset(static_cast<void*>(round), 0, sizeof *round); }

bool lays_trail(const WeaponRound* round) {
    if (!(round->flags & ROUND_MOTOR)) return false;
    const int32_t round_class = weapon_info[round->weapon_id].round_class;
    return round_class == ROUND_CLASS_UNGUIDED || round_class == ROUND_CLASS_GUIDED ||
           (round->weapon_id == WEAPON_CBU15 && round->phase > 3);
}

void lay_trail(const WeaponRound* round, const Vector3& step) {
    const Vector3& p = round->pose.position;
    const int32_t* forward = round->pose.matrix[1];
    const Vector3 from = {p.x - mul31(forward[0], TRAIL_OFFSET), p.y - mul31(forward[1], TRAIL_OFFSET),
                          p.z - mul31(forward[2], TRAIL_OFFSET)};
    const Vector3 to = {from.x + step.x, from.y + step.y, from.z + step.z};
    spawn_smoke_trail(&from, &to, TRAIL_SIZE, smoke_life, smoke_density);
}

// The step of a round that flies: speed, movement, impact, then the move itself.
void fly_round(WeaponRound* round) {
    step_round_speed(round);
    Vector3 step = {0, 0, 0};
    move_round(round, step);
    if (test_round_impact(round, step)) return;
    if (!(round->flags & ROUND_LIVE)) return;
    round->distance_flown += estimate_distance_3d(step.x, step.y, step.z);
    if (lays_trail(round)) lay_trail(round, step);
    round->previous_position = round->pose.position;
    move_mobile_object(&round->instance, step.x, step.y, step.z);
}

}  // namespace

void clear_rounds() {
    for (WeaponRound& round : round_pool.slots)
        if (round.weapon_id != 0 && round.instance.owner_kind == OWNER_ROUND) free_object_instance(&round.instance);
    for (WeaponRound& round : round_pool.slots) clear_slot(&round);
    round_pool.live_count = 0;
    round_pool.high_water = 0;
}

WeaponRound* allocate_round() {
    if (++round_pool.live_count > MAX_ROUNDS) {
        --round_pool.live_count;
        return nullptr;
    }
    round_pool.high_water = std::max(round_pool.high_water, round_pool.live_count);
    for (int pass = 0; pass < 2; ++pass) {
        const int first = pass == 0 ? round_pool.next_free : 0, last = pass == 0 ? MAX_ROUNDS : round_pool.next_free;
        for (int i = first; i < last; ++i) {
            if (round_pool.slots[i].weapon_id != 0) continue;
            round_pool.next_free = i + 1;
            return &round_pool.slots[i];
        }
    }
    report_fatal_error("Couldn't find empty weapon round slot", SOURCE, __LINE__);
    return nullptr;
}

void free_round(WeaponRound* round) {
    if (round->weapon_id == 0) return;
    const Target* shooter = round->shooter;
    if (shooter && shooter->kind == TARGET_MOBILE) {
        const ObjectInstance* instance = static_cast<const ObjectInstance*>(shooter->object);
        if (instance->owner_kind == OWNER_DRONE) release_drone_round(static_cast<Drone*>(instance->owner), round);
    }
    if (!is_shell(round)) {
        unlink_mobile_object(&round->instance);
        free_object_instance(&round->instance);
    }
    clear_slot(round);
    --round_pool.live_count;
}

// Every slot in use is visited: stopping once as many live rounds as the count had been seen
// would pass over the rounds behind one that ended in this step, and they would stand still.
void update_rounds() {
    for (int i = 0; i < MAX_ROUNDS && round_pool.live_count > 0; ++i) {
        WeaponRound* round = &round_pool.slots[i];
        if (round->weapon_id == 0 || !(round->flags & ROUND_LIVE)) continue;
        switch (weapon_info[round->weapon_id].round_class) {
        case ROUND_CLASS_SHELL:
            resolve_shell(round);
            break;
        case ROUND_CLASS_UNGUIDED: case ROUND_CLASS_GUIDED: case ROUND_CLASS_DECOY: case ROUND_CLASS_BOMB:
        case ROUND_CLASS_RETARDED_BOMB:
            fly_round(round);
            break;
        default:
            report_fatal_error("Trying to update unknown class of weapon round.", SOURCE, __LINE__);
            return;
        }
    }
}

// Worked in floating point and bounded before it becomes an integer again: a store's drag may
// take far more than its speed in one step.
void step_round_speed(WeaponRound* round) {
    const WeaponInfo& weapon = weapon_info[round->weapon_id];
    double speed = round->speed;
    if (round->flags & ROUND_MOTOR) {
        if (game_clock - round->launch_time > weapon.motor_burn_time) {
            round->flags &= uint8_t(~ROUND_MOTOR);
            update_round_model(round);
        }
        speed = std::min(speed + weapon.motor_acceleration * frame_seconds, double(weapon.top_speed));
        speed = double(int32_t(speed));
    }
    if (weapon.drag_coefficient != 0.0)
        speed -= weapon.drag_coefficient * get_density_ratio(round->pose.position.z) * speed * speed * frame_seconds;
    round->speed = int32_t(std::max(speed, 0.0));
}

double get_density_ratio(int32_t z) {
    if (z <= 0) return 1.0;
    if (z >= DENSITY_TOP) return AIR_DENSITY_TABLE[70];
    return AIR_DENSITY_TABLE[z / DENSITY_STEP];
}

int32_t next_round_random(WeaponRound* round) {
    const int32_t drawn = round->random_state;
    round->random_state = two_step_random(drawn);
    return drawn;
}

int32_t get_round_speed(const WeaponRound* round) { return round->speed; }
int get_round_weapon(const WeaponRound* round) { return round->weapon_id; }

ObjectInstance* get_round_object(const WeaponRound* round) {
    if (weapon_info[round->weapon_id].round_class == ROUND_CLASS_SHELL) return nullptr;
    return const_cast<ObjectInstance*>(&round->instance);
}

int get_round_aim_point(const WeaponRound* round, Vector3& out) {
    if (!(round->flags & ROUND_GUIDED) || !(round->guided.guidance_flags & 1)) return 0;
    return get_target_position(&round->guided.target, out);
}

}  // namespace vyr
