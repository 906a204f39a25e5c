#include "source/drone/drone_weapons.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/view.h"
#include "library/debug/fatal.h"
#include "library/maths/matrix.h"
#include "library/maths/vector.h"
#include "source/avionics/messages.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/drone_update.h"
#include "source/drone/drone_war.h"
#include "source/drone/wingman.h"
#include "source/frame_loop.h"
#include "source/sound/triggers.h"
#include "source/weapons/drone_fire.h"
#include "source/weapons/launch.h"
#include "source/weapons/object_types.h"
#include "source/weapons/rounds.h"
#include "source/weapons/target.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/drone/drone_weapons";

constexpr int GUN_SLOT = 0;
constexpr int GROUND_SLOT = 1;
constexpr uint8_t NO_SLOT = 255;
constexpr int32_t LG_BOMB_ROUNDS = 10;
constexpr int32_t SHELL_OFFSET = 12800;  // 50 ft between the two shells of a pair
constexpr uint32_t BOMB_RELEASE_PITCH = uint32_t(-835132530);  // 70 degrees nose down
constexpr double BOMB_CONE = 0.4;  // of the guided bomb's seeker half-angle
constexpr int BOMBS_AWAY_RADIO = 158;
constexpr int BOMBS_AWAY_PRIORITY = 2;
constexpr int BOMBS_AWAY_TICKS = 400;

// A laser-guided bomb run calls "Bombs Away" at its first release only.
int bomb_run_called = 0;

bool is_wingman_type(const Drone* drone) { return drone->object.object_type == OBJ_VYR_WINGMAN; }

int slot_weapon(const Drone* drone, int slot) { return get_drone_type_weapon(drone->object.object_type, slot); }

bool loaded(const Drone* drone, int slot) { return drone->weapon_slots[slot].rounds > 0; }

bool is_air_missile(int weapon_id) { return weapon_id == WEAPON_AIM_9M || weapon_id == WEAPON_AMRAAM; }

bool is_bomb(int weapon_id) { return weapon_info[weapon_id].weapon_kind == WEAPON_KIND_BOMB; }

bool is_laser_bomb(int weapon_id) {
    return weapon_id == WEAPON_LG_BOMB || weapon_id == WEAPON_GBU_12 || weapon_id == WEAPON_GBU_16 ||
           weapon_id == WEAPON_GBU_10;
}

// The largest maximum and the smallest minimum range of the weapons added.
struct Reach {
    int32_t max = 0;
    int32_t min = INT32_MAX;
    bool any = false;
    void add_max(int weapon_id) {
        max = std::max(max, weapon_info[weapon_id].max_range);
        any = true;
    }
    void add_min(int weapon_id) { min = std::min(min, weapon_info[weapon_id].min_range); }
};

// The wingman's air weapons are the gun and the two air-to-air missiles wherever they hang; its
// ground weapons the gun and everything else.
void wingman_reach(const Drone* drone, bool air, Reach& reach) {
    if (loaded(drone, GUN_SLOT)) {
        reach.add_max(WEAPON_GUN);
        reach.add_min(WEAPON_GUN);
    }
    for (int slot = DRONE_WEAPON_SLOTS - 1; slot >= 1; --slot) {
        const int weapon = slot_weapon(drone, slot);
        if (!loaded(drone, slot) || is_air_missile(weapon) != air) continue;
        reach.add_max(weapon);
        reach.add_min(weapon);
    }
}

// Other types: the air weapons hang in slots 2..4, the ground weapon in slot 1, the gun in 0.
void air_reach(const Drone* drone, Reach& reach) {
    for (int slot = DRONE_WEAPON_SLOTS - 1; slot >= 2; --slot)
        if (loaded(drone, slot)) {
            reach.add_max(slot_weapon(drone, slot));
            break;
        }
    for (int slot = 2; slot < DRONE_WEAPON_SLOTS; ++slot) {
        const int weapon = slot_weapon(drone, slot);
        if (weapon == 0) continue;
        if (loaded(drone, slot)) reach.add_min(weapon);
        break;
    }
}

void ground_reach(const Drone* drone, Reach& reach) {
    for (int slot : {GROUND_SLOT, GUN_SLOT})
        if (loaded(drone, slot)) {
            reach.add_max(slot_weapon(drone, slot));
            reach.add_min(slot_weapon(drone, slot));
        }
}

// A capability once lost is not looked for again: the slots only lose rounds.
void compute_ranges(Drone* drone) {
    const struct {
        uint32_t flag;
        bool air;
        int32_t& max;
        int32_t& min;
    } kinds[] = {{DRONE_FLAG_AIR_WEAPONS, true, drone->air_max_range, drone->air_min_range},
                 {DRONE_FLAG_GROUND_WEAPONS, false, drone->ground_max_range, drone->ground_min_range}};
    for (const auto& kind : kinds) {
        if (!(drone->mission_flags & kind.flag)) continue;
        drone->mission_flags &= ~kind.flag;
        Reach reach;
        if (is_wingman_type(drone)) {
            wingman_reach(drone, kind.air, reach);
        } else {
            if (kind.air) air_reach(drone, reach);
            else ground_reach(drone, reach);
            if (kind.air && loaded(drone, GUN_SLOT)) {
                reach.add_max(slot_weapon(drone, GUN_SLOT));
                reach.add_min(slot_weapon(drone, GUN_SLOT));
            }
        }
        kind.max = reach.max;
        kind.min = reach.min;
        if (reach.any) drone->mission_flags |= kind.flag;
    }
}

// The armed state from the slots' rounds; `fresh` chooses the slot of a drone of several weapons
// again, which a rearm leaves as it is.
void select_armed_state(Drone* drone, bool fresh) {
    int count = 0, last = 0;
    for (int slot = 0; slot < DRONE_WEAPON_SLOTS; ++slot)
        if (loaded(drone, slot)) {
            ++count;
            last = slot;
        }
    if (count == 1) {
        drone->mission_flags |= DRONE_FLAG_ARMED | DRONE_FLAG_SINGLE_WEAPON;
        drone->weapon_id = slot_weapon(drone, last);
        drone->weapon_slot = uint8_t(last);
    } else if (count > 1) {
        drone->mission_flags |= DRONE_FLAG_ARMED;
        if (fresh) {
            drone->mission_flags &= ~DRONE_FLAG_SINGLE_WEAPON;
            drone->weapon_slot = GUN_SLOT;
        }
    }
    if (count == 0 || (drone->mission_flags & DRONE_FLAG_UNARMED)) {
        drone->weapon_id = 0;
        drone->weapon_slot = NO_SLOT;
        drone->mission_flags &= ~(DRONE_FLAG_ARMED | DRONE_FLAG_SINGLE_WEAPON);
    }
}

int32_t distance_to(const Drone* drone, const Vector3& p) {
    const Vector3& d = drone->pose.position;
    return estimate_distance_3d(p.x - d.x, p.y - d.y, p.z - d.z);
}

bool in_range(int weapon_id, int32_t d) { return weapon_info[weapon_id].min_range < d && d < weapon_info[weapon_id].max_range; }

bool slot_in_range(const Drone* drone, int slot, int32_t d) { return loaded(drone, slot) && in_range(slot_weapon(drone, slot), d); }

int choose_slot(Drone* drone, int slot) {
    drone->weapon_slot = uint8_t(slot);
    drone->weapon_id = slot_weapon(drone, slot);
    return drone->weapon_id;
}

int choose_ground_weapon(Drone* drone, int32_t d) {
    if (!(drone->mission_flags & DRONE_FLAG_GROUND_WEAPONS)) return drone->weapon_id = 0;
    const int task = drone->task ? drone->task->type : TASK_UNKNOWN;
    const bool bombing = task == TASK_BOMBING_STRATEGIC || (task == TASK_BOMBING_TACTICAL &&
                                                            !(drone->mission_flags & DRONE_FLAG_BOMBS_GONE));
    if (is_wingman_type(drone)) {
        const bool bombs = bombing || task == TASK_BOMBING_LASER_GUIDED;
        for (int slot = 1; slot < DRONE_WEAPON_SLOTS; ++slot) {
            const int weapon = slot_weapon(drone, slot);
            if (!loaded(drone, slot)) continue;
            if (bombs ? is_bomb(weapon) : !is_air_missile(weapon) && !is_bomb(weapon) && in_range(weapon, d))
                return choose_slot(drone, slot);
        }
        return choose_slot(drone, GUN_SLOT);
    }
    if (bombing) return choose_slot(drone, GROUND_SLOT);
    if (!(drone->mission_flags & DRONE_FLAG_SINGLE_WEAPON) && loaded(drone, GROUND_SLOT) && loaded(drone, GUN_SLOT)) {
        if (slot_in_range(drone, GUN_SLOT, d)) return choose_slot(drone, GUN_SLOT);
        const int bomb = task == TASK_BOMBING_LASER_GUIDED ? WEAPON_LG_BOMB : slot_weapon(drone, GROUND_SLOT);
        drone->weapon_slot = GROUND_SLOT;
        if (in_range(bomb, d)) return drone->weapon_id = bomb;
        drone->weapon_slot = GUN_SLOT;
        return drone->weapon_id = 0;
    }
    return choose_slot(drone, loaded(drone, GROUND_SLOT) ? GROUND_SLOT : GUN_SLOT);
}

int choose_air_weapon(Drone* drone, int32_t d) {
    if (!(drone->mission_flags & DRONE_FLAG_AIR_WEAPONS)) {
        drone->weapon_slot = GUN_SLOT;
        return drone->weapon_id = 0;
    }
    if (slot_in_range(drone, GUN_SLOT, d)) return choose_slot(drone, GUN_SLOT);
    const bool wingman = is_wingman_type(drone);
    for (int slot = wingman ? 1 : 2; slot < DRONE_WEAPON_SLOTS; ++slot) {
        if (wingman && !is_air_missile(slot_weapon(drone, slot))) continue;
        if (slot_in_range(drone, slot, d)) return choose_slot(drone, slot);
    }
    return choose_slot(drone, GUN_SLOT);
}

int32_t range_for_target(Drone* drone, int32_t Drone::*ground, int32_t Drone::*air) {
    if (!drone->attack_target) return 0;
    const int domain = get_target_domain(drone->attack_target);
    return domain == TARGET_DOMAIN_GROUND ? drone->*ground : domain == TARGET_DOMAIN_AIR ? drone->*air : 0;
}

bool armed_with_weapon(const Drone* drone) {
    return (drone->mission_flags & DRONE_FLAG_ARMED) && drone->weapon_id != 0 && drone->weapon_slot < DRONE_WEAPON_SLOTS;
}

// The guided bomb leaves pitched well down; it is released once the target lies within a narrow
// cone of that line and someone lights it.
bool release_drone_laser_bomb(Drone* drone) {
    const Target* target = drone->attack_target;
    if (!target || target->kind == TARGET_NONE) return false;
    Pose release = drone->pose;
    rotate_matrix(release.matrix, 0, BOMB_RELEASE_PITCH, 0);
    Vector3 aim, line;
    get_target_position(target, aim);
    subtract_vectors(aim, release.position, line);
    normalize_vector(line);
    const Vector3 forward = {release.matrix[1][0], release.matrix[1][1], release.matrix[1][2]};
    uint32_t bearing, elevation;
    compute_relative_angles(line, forward, bearing, elevation);
    const int64_t cone = int64_t(BOMB_CONE * weapon_info[WEAPON_LG_BOMB].spread);
    if (std::abs(int64_t(int32_t(bearing))) > cone || std::abs(int64_t(int32_t(elevation))) > cone) {
        bomb_run_called = 0;
        return false;
    }
    if (!is_laser_designating() || !user_drone) return false;
    WeaponRound* round = activate_round(
        launch_guided_round(WEAPON_LG_BOMB, release, &drone->target, &user_drone->target, target, drone));
    if (!round) return false;
    drone->last_round = round;
    if (!bomb_run_called) {
        play_radio_sample(BOMBS_AWAY_RADIO);
        post_message("Bombs Away", BOMBS_AWAY_PRIORITY, BOMBS_AWAY_TICKS);
        bomb_run_called = 1;
    }
    update_round_model(round);
    return true;
}

// Bombs, decoys and shells go in pairs, but never more than the slot holds.
int32_t pair_from(const Drone* drone) { return std::min(get_weapon_rounds(drone), 2); }

void drop_pair(Drone* drone, int weapon_id) {
    const WeaponInfo& weapon = weapon_info[weapon_id];
    const int32_t extra = weapon.round_class == ROUND_CLASS_DECOY ? weapon.spread : 0;
    for (int32_t n = pair_from(drone); n > 0; --n) {
        activate_round(launch_dropped_round(weapon_id, drone->pose, &drone->target, extra, drone));
        use_weapon_round(drone);
    }
}

// The first shell leads a moving target by its flight time; the second falls 50 ft off it.
void fire_shell_pair(Drone* drone, int weapon_id, Vector3 aim) {
    Target* target = drone->attack_target;
    const int32_t speed = target->kind == TARGET_MOBILE ? get_target_speed(target) : 0;
    if (speed != 0 && weapon_info[weapon_id].top_speed > 0) {
        const int64_t ticks = int64_t(distance_to(drone, aim)) * 200 / weapon_info[weapon_id].top_speed;
        const int32_t lead = int32_t(ticks * speed / 200);
        Vector3 heading;
        get_target_direction(target, heading);
        aim = {aim.x + mul31(heading.x, lead), aim.y + mul31(heading.y, lead), aim.z + mul31(heading.z, lead)};
    }
    for (int32_t n = pair_from(drone); n > 0; --n) {
        activate_round(launch_shell(weapon_id, aim, &drone->target));
        use_weapon_round(drone);
        aim.x += SHELL_OFFSET;
        aim.y += SHELL_OFFSET;
    }
}

}  // namespace

void reset_drone_weapons(Drone* drone) {
    drone->damage = drone->previous_damage = 0;
    drone->cap_index = 255;
    drone->reaction_time = 0;
    drone->attack_target = nullptr;
    drone->chaff_target = drone->flare_target = {};
    drone->flare_timer = 0;
    // The chaff timer shares its word with a soldier's figure, which only aircraft lack.
    if (drone->drone_class == DRONE_CLASS_AIRCRAFT || drone->drone_class == DRONE_CLASS_HELICOPTER) drone->chaff_timer = 0;
    drone->last_round = nullptr;
    drone->attention_range = 0;
    drone->weapon_id = 0;
    drone->weapon_slot = NO_SLOT;
    drone->ground_max_range = drone->ground_min_range = drone->air_max_range = drone->air_min_range = 0;
    for (DroneWeaponSlot& slot : drone->weapon_slots) slot = {};
    drone->target = {};
    drone->target.kind = TARGET_MOBILE;
    drone->target.object = &drone->object;
    drone->mission_flags |= DRONE_FLAG_AIR_WEAPONS | DRONE_FLAG_GROUND_WEAPONS;
    drone->mission_flags &= ~(DRONE_FLAG_ENGAGED | DRONE_FLAG_BOMBS_GONE | DRONE_FLAG_ARMED | DRONE_FLAG_SINGLE_WEAPON);
}

// A drone given a new type is loaded afresh, so it looks for both capabilities again: the type it
// had before may have lacked one.
void set_drone_loadout(Drone* drone) {
    const int type = drone->object.object_type;
    for (int slot = 0; slot < DRONE_WEAPON_SLOTS; ++slot)
        drone->weapon_slots[slot].rounds = slot_weapon(drone, slot) != 0 ? get_drone_type_rounds(type, slot) : 0;
    if (drone->task && drone->task->type == TASK_BOMBING_LASER_GUIDED) drone->weapon_slots[GROUND_SLOT].rounds = LG_BOMB_ROUNDS;
    select_armed_state(drone, true);
    if (is_wingman_type(drone)) drone->weapon_id = slot_weapon(drone, GUN_SLOT);
    drone->mission_flags |= DRONE_FLAG_AIR_WEAPONS | DRONE_FLAG_GROUND_WEAPONS;
    compute_ranges(drone);
}

void rearm_weapon_selection(Drone* drone) {
    select_armed_state(drone, false);
    bool bombs_gone;
    if (is_wingman_type(drone)) {
        bombs_gone = true;
        for (int slot = 1; slot < DRONE_WEAPON_SLOTS; ++slot)
            if (loaded(drone, slot) && is_bomb(slot_weapon(drone, slot))) bombs_gone = false;
    } else {
        const int weapon = slot_weapon(drone, GROUND_SLOT);
        bombs_gone = (weapon == WEAPON_BOMB || weapon == WEAPON_LG_BOMB) && !loaded(drone, GROUND_SLOT);
    }
    if (bombs_gone) drone->mission_flags |= DRONE_FLAG_BOMBS_GONE;
    compute_ranges(drone);
}

void arm_user_wingmen() {
    if (!user_drone) {
        report_fatal_error("no user drone set!!", SOURCE, __LINE__);
        return;
    }
    for (Drone* d = user_drone->next; d; d = d->next) {
        set_drone_loadout(d);
        d->mission_flags &= ~(DRONE_FLAG_FLY_WITH_USER | DRONE_FLAG_DISENGAGE);
    }
}

void reset_drone_bomb_run() { bomb_run_called = 0; }

// A target given back to the pool under the drone has no place to measure to: it is none.
int choose_drone_weapon(Drone* drone) {
    if (!(drone->mission_flags & DRONE_FLAG_ARMED) || !drone->attack_target) return 0;
    if (drone->attack_target->kind == TARGET_NONE) return 0;
    if (drone->mission_flags & DRONE_FLAG_SINGLE_WEAPON) return drone->weapon_id;
    Vector3 p;
    get_target_position(drone->attack_target, p);
    const int32_t d = distance_to(drone, p);
    const int domain = get_target_domain(drone->attack_target);
    if (domain == TARGET_DOMAIN_GROUND) return choose_ground_weapon(drone, d);
    if (domain == TARGET_DOMAIN_AIR) return choose_air_weapon(drone, d);
    report_fatal_error("Drone doesn't know what weapon to use for a target of classification %d", SOURCE, __LINE__,
                       domain);
    return 0;
}

int can_drone_fire(Drone* drone, int weapon_id) {
    const Target* target = drone->attack_target;
    if (!target || weapon_id <= 0 || weapon_id >= WEAPON_COUNT) return 0;
    if (game_clock < get_next_shot_time(drone) || get_weapon_rounds(drone) <= 0) return 0;
    if (target->kind == TARGET_NONE) return 0;
    if (drone->task && drone->task->type == TASK_COMBAT_AIR_PATROL && target->kind == TARGET_FIXED_POINT) return 0;
    const WeaponInfo& weapon = weapon_info[weapon_id];
    if (weapon.weapon_kind == WEAPON_KIND_AAM && (drone->mission_flags & DRONE_FLAG_HARD_MANOEUVRE)) return 0;
    if (weapon.guidance == GUIDANCE_INFRARED && view_settings.weather >= 2) return 0;
    return 1;
}

int fire_drone_weapon_at_target(Drone* drone) {
    const int w = choose_drone_weapon(drone);
    if (!can_drone_fire(drone, w)) return 0;
    Target* target = drone->attack_target;
    Vector3 aim;
    get_target_position(target, aim);
    const int32_t round_class = weapon_info[w].round_class;
    if (round_class == ROUND_CLASS_DECOY || round_class == ROUND_CLASS_BOMB) {
        drop_pair(drone, w);
    } else if (round_class == ROUND_CLASS_SHELL) {
        fire_shell_pair(drone, w, aim);
    } else if (is_laser_bomb(w)) {
        if (!release_drone_laser_bomb(drone)) return 0;
        use_weapon_round(drone);
    } else {
        if (!(weapon_info[w].weapon_flags & WEAPON_FLAG_SALVO) && drone->last_round) return 0;
        WeaponRound* round = nullptr;
        const int shot = launch_drone_weapon(&drone->target, target, w, drone, round);
        if (shot == DRONE_SHOT_NO_LINE) {
            drone->last_round = nullptr;
            clear_drone_attack_target(drone);
            return 0;
        }
        if (shot != DRONE_SHOT_FIRED) return 0;
        drone->last_round = round;
        use_weapon_round(drone);
    }
    const int32_t left = get_weapon_rounds(drone);
    if (left > 0)
        set_next_shot_time(drone, game_clock + compute_fire_delay(w, left));
    else
        rearm_weapon_selection(drone);
    if (target->kind == TARGET_MOBILE) {
        const auto* instance = static_cast<const ObjectInstance*>(target->object);
        if (instance->owner_kind == OWNER_DRONE) alert_drone_under_attack(static_cast<Drone*>(instance->owner), &drone->target);
    }
    return 1;
}

int32_t get_weapon_rounds(const Drone* drone) {
    return armed_with_weapon(drone) ? drone->weapon_slots[drone->weapon_slot].rounds : 0;
}

// A slot of unlimited rounds or one already empty keeps its count.
void use_weapon_round(Drone* drone) {
    if (!armed_with_weapon(drone)) return;
    int32_t& rounds = drone->weapon_slots[drone->weapon_slot].rounds;
    if (rounds > 0 && rounds != UNLIMITED_ROUNDS) --rounds;
}

int32_t get_next_shot_time(const Drone* drone) {
    return armed_with_weapon(drone) ? drone->weapon_slots[drone->weapon_slot].next_shot_time : INT32_MAX;
}

void set_next_shot_time(Drone* drone, int32_t tick) {
    if (armed_with_weapon(drone)) drone->weapon_slots[drone->weapon_slot].next_shot_time = tick;
}

int32_t get_drone_max_range(Drone* drone) { return range_for_target(drone, &Drone::ground_max_range, &Drone::air_max_range); }
int32_t get_drone_min_range(Drone* drone) { return range_for_target(drone, &Drone::ground_min_range, &Drone::air_min_range); }

// Only a slot of the target pool is given back: a wingman may be attacking the player's own
// designation.
void clear_drone_attack_target(Drone* drone) {
    if (drone->attack_target && drone->attack_target->kind == TARGET_FIXED_POINT) release_target(drone->attack_target);
    drone->reaction_time = 0;
    drone->attack_target = nullptr;
    drone->mission_flags &=
        ~(DRONE_FLAG_RETREAT | DRONE_FLAG_ENGAGED | DRONE_FLAG_RESPONDING | DRONE_FLAG_CAP_INTERCEPT);
}

void kill_drone(Drone* drone) {
    if (drone->destroyed) return;
    if (!(drone->object.flags & INSTANCE_INACTIVE)) unlink_mobile_object(&drone->object);
    drone->destroyed = 1;
    drone->object.flags |= INSTANCE_INACTIVE;
    if (drone->task && drone->task->live_count > 0) --drone->task->live_count;
    drone->speed = 0;
    for (Drone* member = drone->first_member; member; member = member->next) member->speed = 0;
    if (!(drone->mission_flags & DRONE_FLAG_COLUMN)) set_drone_moving_state(drone, 1);
    clear_drone_attack_target(drone);
}

int is_drone_targetable(const Drone* drone) {
    if (drone->drone_class == DRONE_CLASS_HELICOPTER || drone->drone_class == DRONE_CLASS_AIRCRAFT) return 1;
    return is_radar_object(drone->object.object_type) && !drone->destroyed;
}

Target* get_drone_target(Drone* drone) { return &drone->target; }
Target* get_drone_attack_target(const Drone* drone) { return drone->attack_target; }

}  // namespace vyr
