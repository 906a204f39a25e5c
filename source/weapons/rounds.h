// Weapon rounds in flight and the countermeasures: everything fired, dropped or launched is a
// round in one fixed pool, stepped once a simulation step until it ends.
#pragma once

#include <cstdint>

#include "library/3dvisual/instance.h"
#include "library/maths/matrix.h"
#include "source/weapons/target.h"

namespace vyr {

constexpr int MAX_ROUNDS = 1024;

constexpr uint8_t ROUND_LIVE = 1u << 0;   // stepped by update_rounds
constexpr uint8_t ROUND_MOTOR = 1u << 1;  // the motor burns and lays a trail
// Set at launch for guided rounds; for a gun round, gravity pitches it down.
constexpr uint8_t ROUND_GUIDED = 1u << 2;

// What a round keeps by its class.
struct GuidedRoundBlock {
    int32_t guidance_flags;  // bit 0 has a target, bit 1 locked
    int32_t recheck_time;
    Target* designator;
    Target target;  // a copy of what it was launched at
};
struct ShellRoundBlock {
    Vector3 impact_point;  // x, y and the ground height there
    int32_t impact_time;   // game_clock ticks
};
struct DroppedRoundBlock {
    int32_t extra;  // the launch's extra value: a decoy's sink rate
    // The minefield round only.
    int32_t landed;
    int32_t mines_left;
    int32_t mine_radius;
};

struct WeaponRound {
    int32_t weapon_id;  // 0: a free slot
    int32_t distance_flown;
    int32_t launch_time;  // game_clock; a CBU-15's restarts when its motor fires
    int32_t phase_timer;  // ticks since release, for falling stores
    int32_t speed;        // world units per second
    int32_t random_state;
    int32_t initialised;
    int32_t phase;
    int32_t release_speed;
    uint8_t flags;
    ObjectInstance instance;  // owner kind OWNER_ROUND, posed by `pose`; shells have none
    Target* shooter;
    Pose pose;
    Vector3 previous_position;
    Vector3 velocity;  // falling stores and guided bombs, per second
    uint32_t heading, pitch, roll;
    int32_t decoyed;
    int32_t fins_deployed;
    union {
        GuidedRoundBlock guided;
        ShellRoundBlock shell;
        DroppedRoundBlock dropped;
    };
    Target* seeker_track;
};

// The slots, the rounds live, the most ever live at once, and where the next search starts.
struct RoundPool {
    WeaponRound slots[MAX_ROUNDS];
    int32_t live_count;
    int32_t high_water;
    int32_t next_free;
};
extern RoundPool round_pool;

// Once a simulation step: rounds moved and resolved, the gun sound, radio chatter.
void update_weapons_frame();
// Every slot emptied, counts cleared; the models of rounds still flying are freed but not
// unlinked, for the next world set-up empties the tile lists.
void clear_rounds();
// A free slot, or null when all are live (the shot is lost).
WeaponRound* allocate_round();
// Ends a round: the shooting drone told, its model unlinked and freed, the slot emptied. A free
// slot is left as it is.
void free_round(WeaponRound* round);
// Once a simulation step: every live round moved and resolved.
void update_rounds();
// The motor and drag for this step.
void step_round_speed(WeaponRound* round);
// The air's density at height z (world units) over that at sea level, by whole thousands of feet.
double get_density_ratio(int32_t z);
// The round's own random value, 0..2^31-1, then the value advanced; moves `random_seed` too.
int32_t next_round_random(WeaponRound* round);
// A round's speed in world units per second, and its weapon id.
int32_t get_round_speed(const WeaponRound* round);
int get_round_weapon(const WeaponRound* round);
// The round's 3D object; its aim point, returning 1, when it is a guided weapon with one.
ObjectInstance* get_round_object(const WeaponRound* round);
int get_round_aim_point(const WeaponRound* round, Vector3& out);
// Chaff or flares again while their repeat is on.
void repeat_countermeasures();

}  // namespace vyr
