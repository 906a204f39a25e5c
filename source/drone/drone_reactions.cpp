#include "source/drone/drone_reactions.h"

#include <cstdint>
#include <initializer_list>

#include "library/maths/matrix.h"
#include "library/maths/vector.h"
#include "source/avionics/threat_warning.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/drone/drone_war.h"
#include "source/drone/drone_weapons.h"
#include "source/frame_loop.h"
#include "source/skill.h"
#include "source/sound/triggers.h"
#include "source/warmodel/war_model.h"
#include "source/weapons/launch.h"
#include "source/weapons/rounds.h"
#include "source/weapons/target.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapon_keys.h"
#include "source/weapons/weapons_frame.h"

namespace vyr {

namespace {

constexpr int GROUND_SLOT = 1;
constexpr int32_t DECOY_DELAY_FLOOR = 100;
constexpr int32_t DECOY_LIFE_TICKS = 1000;
constexpr int32_t MISSILE_WARNING_SECONDS = 6;
constexpr int32_t DECOY_REACTION_TICKS = 100;
constexpr int32_t SHIP_CALL_INTERVAL = 60000;
constexpr int SHIP_UNDER_ATTACK_RADIO = 160;
constexpr int32_t RESPONSE_TICKS = 400;

// Chaff against radar seekers, dropped behind the drone; flares against infrared ones, at it. The
// player's aircraft releases them through the player's own keys, which keep its stock.
struct DecoyKind {
    int weapon_id;
    Target Drone::*target;
    int32_t back_offset;
    int (*player_release)(int key_code);
    int key_code;
};
constexpr DecoyKind CHAFF = {WEAPON_CHAFF, &Drone::chaff_target, 4200, launch_chaff, 0x2E};
constexpr DecoyKind FLARE = {WEAPON_FLARE, &Drone::flare_target, 0, launch_flare, 0x21};

// The chaff timer shares its word with a soldier's figure; only aircraft and helicopters use it.
int32_t& timer_of(Drone* drone, const DecoyKind& kind) {
    return kind.weapon_id == WEAPON_CHAFF ? drone->chaff_timer : drone->flare_timer;
}

bool is_flyer(const Drone* drone) {
    return drone->drone_class == DRONE_CLASS_AIRCRAFT || drone->drone_class == DRONE_CLASS_HELICOPTER;
}

int32_t compute_decoy_delay(Drone* drone, int weapon_id) {
    const int32_t p = weapon_info[weapon_id].fire_interval * get_skill_refire_percent() / 100;
    if (p <= 0) return DECOY_DELAY_FLOOR;
    return p + next_drone_random(drone) % p + DECOY_DELAY_FLOOR;
}

void launch_decoy(Drone* drone, const DecoyKind& kind) {
    Pose pose = drone->pose;
    pose.position.x -= mul31(pose.matrix[1][0], kind.back_offset);
    pose.position.y -= mul31(pose.matrix[1][1], kind.back_offset);
    pose.position.z -= mul31(pose.matrix[1][2], kind.back_offset);
    const WeaponInfo& weapon = weapon_info[kind.weapon_id];
    const int32_t sink = weapon.round_class == ROUND_CLASS_DECOY ? weapon.spread : 0;
    if (WeaponRound* round = activate_round(launch_dropped_round(kind.weapon_id, pose, &drone->target, sink, drone))) {
        Target& decoy = drone->*kind.target;
        decoy = {};
        decoy.kind = TARGET_MOBILE;
        decoy.object = &round->instance;
    }
    timer_of(drone, kind) =
        game_clock + (drone == user_drone ? weapon.fire_interval : compute_decoy_delay(drone, kind.weapon_id));
}

// A refused release pushes the timer on, so a missile warned of every frame gets one decoy.
int use_decoy(Drone* drone, const DecoyKind& kind) {
    if (!is_flyer(drone) || drone->pose.position.z == 0) return 0;
    if (drone == user_drone) return kind.player_release(kind.key_code);
    int32_t& timer = timer_of(drone, kind);
    if (game_clock >= timer) {
        launch_decoy(drone, kind);
        return 1;
    }
    timer = game_clock + compute_decoy_delay(drone, kind.weapon_id);
    return 0;
}

// A decoy draws seekers for a while after the drone may release the next.
int decoy_active(const Drone* drone, const DecoyKind& kind) {
    if ((drone->*kind.target).kind == TARGET_NONE) return 0;
    const int32_t timer = timer_of(const_cast<Drone*>(drone), kind);
    return timer != 0 && game_clock - timer - weapon_info[kind.weapon_id].fire_interval <= DECOY_LIFE_TICKS;
}

// Whether a task may leave what it is doing for an attacker of that domain.
bool switches_to(int task, int domain) {
    switch (task) {
    case TASK_BATTLEFIELD_AIR_INTERDICTION: case TASK_STRATEGIC_INTERDICTION: case TASK_COUNTER_AIR:
    case TASK_OFFENSIVE_SWEEP: case TASK_ESCORT_COVER: case TASK_BOMBING_STRATEGIC: case TASK_BOMBING_TACTICAL:
    case TASK_COMBAT_AIR_PATROL:
        return domain == TARGET_DOMAIN_AIR;
    case TASK_DEFENCE_SUPPRESSION: case TASK_STRIKE: case TASK_TANK_FORMATION: case TASK_GROUND_VEHICLE:
    case TASK_MOVE_FIRE: case TASK_BOAT_SQUADRON:
        return domain == TARGET_DOMAIN_GROUND;
    default:
        return false;
    }
}

// Turns an armed victim on an enemy attacker it can reach and see, unless its task forbids it.
void respond_to_attack(Drone* victim, Target* attacker) {
    if (!(victim->mission_flags & DRONE_FLAG_ARMED) || (victim->mission_flags & DRONE_FLAG_RESPONDING)) return;
    if (get_target_side(attacker) == get_target_side(&victim->target)) return;
    const int task = victim->task ? victim->task->type : TASK_UNKNOWN;
    switch (task) {
    case TASK_ARTILLERY_FIXED_POINT: case TASK_ARTILLERY_RECON: case TASK_ARTILLERY_LINE_OF_SIGHT:
    case TASK_FORTIFICATIONS:
        return;
    case TASK_BOMBING_STRATEGIC: case TASK_BOMBING_TACTICAL: case TASK_BOMBING_LASER_GUIDED:
        if (victim->weapon_slots[GROUND_SLOT].rounds > 0) return;
        break;
    default:
        break;
    }
    const int domain = get_target_domain(attacker);
    if (victim->attack_target && !switches_to(task, domain)) return;
    const bool ground = domain == TARGET_DOMAIN_GROUND;
    const int32_t min = ground ? victim->ground_min_range : victim->air_min_range;
    const int32_t max = ground ? victim->ground_max_range : victim->air_max_range;
    Vector3 a;
    get_target_position(attacker, a);
    const int32_t d = estimate_distance_2d(a.x - victim->pose.position.x, a.y - victim->pose.position.y);
    if (d < min || d > max || !has_line_of_sight(&victim->target, attacker)) return;
    clear_drone_attack_target(victim);
    victim->attack_target = attacker;
    victim->reaction_time = game_clock + RESPONSE_TICKS + war_random() % 2000;
    if (is_flyer(victim)) victim->mission_flags |= DRONE_FLAG_ENGAGED;
    victim->mission_flags &= ~DRONE_FLAG_RETREAT;
    victim->mission_flags |= DRONE_FLAG_RESPONDING;
    set_next_shot_time(victim, game_clock + RESPONSE_TICKS);
}

}  // namespace

int use_drone_chaff(Drone* drone) { return use_decoy(drone, CHAFF); }
int use_drone_flares(Drone* drone) { return use_decoy(drone, FLARE); }
void launch_drone_chaff(Drone* drone) { launch_decoy(drone, CHAFF); }
void launch_drone_flare(Drone* drone) { launch_decoy(drone, FLARE); }
int is_drone_chaff_active(const Drone* drone) { return decoy_active(drone, CHAFF); }
int is_drone_flare_active(const Drone* drone) { return decoy_active(drone, FLARE); }

void release_drone_round(Drone* drone, WeaponRound* round) {
    if (drone == user_drone) forget_view_object(round);
    for (const DecoyKind* kind : {&CHAFF, &FLARE}) {
        Target& decoy = drone->*kind->target;
        if (round->weapon_id != kind->weapon_id || decoy.kind == TARGET_NONE || decoy.object != &round->instance) continue;
        decoy.kind = TARGET_NONE;
        decoy.object = nullptr;
        timer_of(drone, *kind) = 0;
        return;
    }
    if (round == drone->last_round) drone->last_round = nullptr;
}

// A missile that has lost all its speed never arrives.
void warn_drone_of_missile(Drone* drone, WeaponRound* missile) {
    const Vector3& d = drone->pose.position;
    const Vector3& m = missile->pose.position;
    const int32_t speed = get_round_speed(missile);
    const int32_t seconds = speed > 0 ? measure_distance_3d(m.x - d.x, m.y - d.y, m.z - d.z) / speed : INT32_MAX;
    if (drone == user_drone) {
        add_incoming_missile(missile, seconds);
        return;
    }
    if (seconds > MISSILE_WARNING_SECONDS) return;
    const int32_t guidance = weapon_info[get_round_weapon(missile)].guidance;
    int released = 0;
    if (guidance == GUIDANCE_RADAR) released = use_drone_chaff(drone);
    if (guidance == GUIDANCE_INFRARED) released = use_drone_flares(drone);
    if (released && !(drone->mission_flags & DRONE_FLAG_RETREAT)) {
        drone->mission_flags |= DRONE_FLAG_RETREAT;
        drone->reaction_time = game_clock + DECOY_REACTION_TICKS;
    }
}

void alert_drone_under_attack(Drone* victim, Target* attacker) {
    if (victim == user_drone) return;
    if (victim->drone_class == DRONE_CLASS_SHIP && get_target_side(&victim->target) == SIDE_ALLIED) {
        if (game_clock - last_ship_call_time > SHIP_CALL_INTERVAL && next_game_random() % 10 < 2) {
            play_radio_sample(SHIP_UNDER_ATTACK_RADIO);
            last_ship_call_time = game_clock;
        }
    } else if (!(victim->mission_flags & DRONE_FLAG_RETREAT)) {
        const int odds = (victim->mission_flags & DRONE_FLAG_RESPONDING) ? 15 : 5;
        if (war_random() % odds == 0) {
            victim->mission_flags |= DRONE_FLAG_RETREAT;
            victim->reaction_time = game_clock + war_random() % 200;
        }
    }
    respond_to_attack(victim, attacker);
}

void notice_attacker(Drone* victim, Target* attacker) {
    if (victim != user_drone && !victim->attack_target) respond_to_attack(victim, attacker);
}

}  // namespace vyr
