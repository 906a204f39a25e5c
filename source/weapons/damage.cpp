#include "source/weapons/damage.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/debug/fatal.h"
#include "library/maths/random.h"
#include "source/avionics/messages.h"
#include "source/drone/drone.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/soldiers.h"
#include "source/drone/task.h"
#include "source/frame_loop.h"
#include "source/mission/game_flow.h"
#include "source/mission/goals.h"
#include "source/mission/quick_start.h"
#include "source/recorder.h"
#include "source/skill.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/kill_reports.h"
#include "source/sound/triggers.h"
#include "source/weapons/effects.h"
#include "source/weapons/guidance.h"
#include "source/weapons/object_types.h"
#include "source/weapons/rounds.h"
#include "source/weapons/system_damage.h"
#include "source/weapons/target.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapons_frame.h"

namespace vyr {

int32_t killer_object_number = 0;

namespace {

constexpr const char* SOURCE = "source/weapons/damage";

constexpr int32_t INDESTRUCTIBLE = 255;
constexpr int32_t BRIDGE_OBJECTS[] = {215, 341, 440, 443, 480, 481, 1183};
constexpr int MAX_BRIDGE_SECTIONS = 102;
constexpr int64_t BRIDGE_REACH = 128000;  // 500 ft
constexpr int32_t HUMAN_TYPES[] = {640, 743, 916, 917, 918, 919, 920, 921, 984, 987, 988, 989};
constexpr int32_t STRETCHER_TYPES[] = {852, 966};
constexpr int MESSAGE_TICKS = 200;
constexpr int KIND_BY_PLAYER = 3;
// Nobody to credit: no kind is worked out.
constexpr int32_t KIND_UNCREDITED = 0;

template <size_t N>
bool is_one_of(int32_t value, const int32_t (&list)[N]) {
    return std::find(std::begin(list), std::end(list), value) != std::end(list);
}

bool is_human_type(int32_t type) { return is_one_of(type, HUMAN_TYPES); }

ObjectHeader& header_of(int32_t type) {
    ObjectHeader* header = get_object_header(type);
    if (!header) report_fatal_error("Damage to an object of no type.", SOURCE, __LINE__);
    return *header;
}

Drone* drone_of(const ObjectInstance* instance) {
    return instance->owner_kind == OWNER_DRONE ? static_cast<Drone*>(instance->owner) : nullptr;
}

ObjectInstance* shooter_instance(const WeaponRound* round) {
    return round->shooter && round->shooter->kind == TARGET_MOBILE ? static_cast<ObjectInstance*>(round->shooter->object)
                                                                  : nullptr;
}

Drone* shooter_drone(const WeaponRound* round) {
    const ObjectInstance* instance = shooter_instance(round);
    return instance ? drone_of(instance) : nullptr;
}

ground_object* shooter_record(const WeaponRound* round) {
    return round->shooter && round->shooter->kind == TARGET_GROUND_OBJECT
               ? static_cast<ground_object*>(round->shooter->object)
               : nullptr;
}

int ground_side(const ground_object* record) { return (record->flags & GROUND_SIDE_MASK) >> GROUND_SIDE_SHIFT; }
int ground_damage(const ground_object* record) { return (record->flags >> GROUND_DAMAGE_SHIFT) & 0xFF; }
void set_ground_damage(ground_object* record, int32_t damage) {
    const uint16_t bits = uint16_t(std::clamp(damage, 0, 255) << GROUND_DAMAGE_SHIFT);
    record->flags = uint16_t((record->flags & ~(0xFF << GROUND_DAMAGE_SHIFT)) | bits);
}

// Drones run on this machine never hurt their own side; players and movers that are not drones do.
bool spared_by_side(const WeaponRound* round, int victim_side) {
    if (get_target_side(round->shooter) != victim_side) return false;
    const ObjectInstance* instance = shooter_instance(round);
    if (!instance) return true;
    const Drone* drone = drone_of(instance);
    return drone && drone->player == -1;
}

bool is_linked_mission() {
    return game_mode == GAME_TWO_PLAYER_MISSION || game_mode == GAME_PILOT_GUNNER || game_mode == GAME_LINKED_MISSION;
}

int kill_report_side(int side) {
    const int side_one = game_mode == GAME_LINKED_MISSION ? SIDE_ENEMY : SIDE_ALLIED;
    return side == SIDE_ALLIED ? side_one : SIDE_ALLIED + SIDE_ENEMY - side_one;
}

int32_t kill_report_task_id(const Drone* drone) {
    const int32_t id = drone->task ? drone->task->id : 0;
    if (game_mode == GAME_LINKED_MISSION && (id == 0 || id == 1)) return 1 - id;
    return id;
}

int32_t drone_task_index(const Drone* drone) { return drone->index; }

void check_destroyable(int32_t type) {
    if (header_of(type).strength == INDESTRUCTIBLE)
        report_fatal_error("Just destroyed an undestroyable object!!", SOURCE, __LINE__);
}

[[noreturn]] void killed_by_something_strange() {
    report_fatal_error("Killed by something strange!", SOURCE, __LINE__);
    std::abort();
}

void damage_mobiles_in_radius(const Vector3& point, WeaponRound* round, const ObjectInstance* excluded, int32_t radius) {
    // Damage may kill and so unlink; the found set is gathered first.
    ObjectInstance* found[256];
    int count = 0;
    for (ObjectInstance* i = search_mobile_objects(point, radius, 0); i && count < 256; i = search_mobile_objects(point, 0, 1))
        if (i != excluded && !(i->flags & INSTANCE_INACTIVE)) found[count++] = i;
    for (int i = 0; i < count; ++i) apply_hit_damage(found[i], round, point);
}

void damage_ground_objects_in_radius(const Vector3& point, WeaponRound* round, const ground_object* excluded,
                                     int32_t radius) {
    struct Found {
        ground_object* record;
        Vector3 position;
    };
    Found found[256];
    int count = 0;
    Vector3 position;
    for (ground_object* g = search_ground_objects(point, radius, position, 0); g && count < 256;
         g = search_ground_objects(point, 0, position, 1)) {
        if (g == excluded || (g->flags & GROUND_DESTROYED)) continue;
        const ObjectHeader* header = get_object_header(g->type);
        if (!header || header->strength == INDESTRUCTIBLE) continue;
        found[count++] = {g, position};
    }
    for (int i = 0; i < count; ++i) damage_ground_object(found[i].record, found[i].position, round, point);
}

void destroy_bridge_sections(int32_t type, const Vector3& position) {
    for (int i = 0; i < MAX_BRIDGE_SECTIONS; ++i) {
        Vector3 at;
        ground_object* section = nullptr;
        for (ground_object* g = search_ground_objects(position, int32_t(BRIDGE_REACH), at, 0); g;
             g = search_ground_objects(position, 0, at, 1)) {
            if (g->type != type || (g->flags & GROUND_DESTROYED)) continue;
            const int64_t dx = at.x - position.x, dy = at.y - position.y;
            if (dx * dx + dy * dy < BRIDGE_REACH * BRIDGE_REACH) section = g;
        }
        if (!section) break;
        section->flags |= GROUND_DESTROYED;
    }
    check_mission_accomplished();
}

// Who the debrief credits with a kill: the player, or the shooter's forces, any side but the
// allied one counting as the enemy's.
int32_t kill_kind(const Drone* shooter) {
    if (shooter == user_drone) return KIND_BY_PLAYER;
    return get_target_side(&shooter->target) == SIDE_ALLIED ? SIDE_ALLIED : SIDE_ENEMY;
}

void credit_ground_kill(ground_object* record, const Vector3& position, const WeaponRound* round) {
    switch (round->shooter->kind) {
    case TARGET_GROUND_OBJECT: {
        const ground_object* shooter = shooter_record(round);
        record_ground_object_kill_by(record, ground_side(shooter) == SIDE_ALLIED ? SIDE_ALLIED : SIDE_ENEMY);
        if (is_linked_mission()) record_ground_kill(position.x, position.y, kill_report_side(ground_side(shooter)));
        return;
    }
    case TARGET_MOBILE:
        if (Drone* drone = shooter_drone(round)) {
            record_ground_object_kill_by(record, kill_kind(drone));
            if (is_linked_mission()) {
                const bool by_player = drone == get_other_player_drone() ||
                                       (game_mode == GAME_PILOT_GUNNER && drone == user_drone);
                record_ground_kill(position.x, position.y,
                                   by_player ? KIND_BY_PLAYER : kill_report_side(get_target_side(&drone->target)));
            }
        }
        return;
    default:
        killed_by_something_strange();
    }
}

int32_t credit_drone_kill(Drone* victim, const WeaponRound* round) {
    int32_t kind = KIND_UNCREDITED;
    switch (round->shooter->kind) {
    case TARGET_GROUND_OBJECT: {
        const ground_object* shooter = shooter_record(round);
        kind = ground_side(shooter) == SIDE_ALLIED ? SIDE_ALLIED : SIDE_ENEMY;
        record_mobile_object_kill_by(victim, kind);
        if (is_linked_mission())
            record_kill(kill_report_task_id(victim), drone_task_index(victim), kill_report_side(ground_side(shooter)));
        break;
    }
    case TARGET_MOBILE:
        if (Drone* drone = shooter_drone(round)) {
            const int side = get_target_side(&drone->target);
            kind = kill_kind(drone);
            record_mobile_object_kill_by(victim, kind);
            if (is_linked_mission()) {
                const bool by_player =
                    drone == get_other_player_drone() || (game_mode == GAME_PILOT_GUNNER && drone == user_drone);
                record_kill(kill_report_task_id(victim), drone_task_index(victim),
                            by_player ? KIND_BY_PLAYER : kill_report_side(side));
            }
        }
        break;
    default:
        killed_by_something_strange();
    }
    return kind;
}

void destroy_drone_by_type(ObjectInstance* instance, int32_t kind);

void kill_linked_drone(Drone* drone, int32_t kind) {
    if (drone && !drone->destroyed) kill_drone_uncredited(&drone->object, kind);
}

void destroy_drone_by_type(ObjectInstance* instance, int32_t kind) {
    Drone* drone = drone_of(instance);
    const int32_t type = instance->object_type;
    if (type == OBJ_SUPPLY_PALLETS) {
        kill_drone(drone);
        drone_destroyed_effects(instance);
    } else if (is_human_type(type)) {
        damage_human_drone(drone, kind);
    } else if (is_one_of(type, STRETCHER_TYPES)) {
        kill_drone(drone);
        drone_destroyed_effects(instance);
        kill_linked_drone(drone->first_member, kind);
    } else if (type == OBJ_CASUALTY) {
        instance->flags |= INSTANCE_INACTIVE;
        drone->destroyed = 1;
        drone->speed = 0;
        drone->pose.position.z = 0;
        Drone* crew[2] = {};
        get_figure_linked_drones(drone, crew);
        for (Drone* member : crew) kill_linked_drone(member, kind);
    } else {
        if (game_mode != GAME_MULTI_PLAYER && game_mode != GAME_CAPTURE_FLAG) kill_drone(drone);
        drone_destroyed_effects(instance);
    }
}

void add_kill_score() { quick_start_score += 1000 * (forces_type + 6) / 15 + 1; }

void say(int sample, const char* text) {
    play_radio_sample(sample);
    if (text) post_message(text, 3, MESSAGE_TICKS);
}

void call_friendly_fire() {
    static constexpr struct {
        int sample;
        const char* text;
    } CALLS[] = {{204, "HIT ALLIED TGT"}, {203, "CEASE FIRE"}, {205, "HOLD YOUR FIRE"}, {206, "FRIENDLY FIRE"}};
    const int k = friendly_fire_calls - 1;
    if (k >= 0 && k < 4) {
        say(CALLS[k].sample, CALLS[k].text);
        if (k == 3) friendly_fire_calls = 0;
    }
    ++friendly_fire_calls;
}

// A sample by the draw's remainder, from the table starting at remainder 1; none for the others.
template <size_t N>
void say_by_draw(int modulus, const int (&samples)[N]) {
    const int r = next_game_random() % modulus;
    if (r >= 1 && r <= int(N)) say(samples[r - 1], nullptr);
}

}  // namespace

int32_t compute_hit_damage(int32_t object_number, WeaponRound* round, int32_t distance) {
    const WeaponInfo& weapon = weapon_info[round->weapon_id];
    const int32_t blast = weapon.blast_radius, value = weapon.damage, pen = weapon.penetration;
    const int32_t hard = header_of(object_number).hardness;
    if (int64_t(distance) > 2 * int64_t(blast)) return 0;
    int32_t damage = 0;
    const int32_t reach = hard > 0 ? blast / (hard + 1) : blast;
    if (distance < reach) {
        const double u = next_random(random_seed) / 32768.0;
        if (blast * u > distance) {
            const int32_t value2 = hard > pen ? value / (hard - pen + 1) : value;
            damage = int32_t(int64_t(reach - distance) * value2 * 2 / reach + 1) / 2;
        }
    }
    // Deathmatches replace whatever the blast did, after its draw.
    if (game_mode == GAME_COMBAT || game_mode == GAME_MULTI_PLAYER || game_mode == GAME_CAPTURE_FLAG) {
        const int32_t r = next_round_random(round);
        if (round->weapon_id == WEAPON_CHAIN_GUN || round->weapon_id == WEAPON_TURRET_GUN) return r % 4 == 0 ? 1 : 0;
        return 12 + r % 24;
    }
    if (get_target_side(round->shooter) == SIDE_ENEMY) damage = damage * get_skill_damage_percent() / 100;
    return damage;
}

int32_t damage_ground_object(ground_object* record, const Vector3& position, WeaponRound* round, const Vector3& impact) {
    if ((record->flags & GROUND_DESTROYED) || spared_by_side(round, ground_side(record))) return 0;
    const int64_t dx = position.x - impact.x, dy = position.y - impact.y;
    const int32_t distance = int32_t(isqrt64(uint64_t(dx * dx + dy * dy)));
    const int32_t damage = compute_hit_damage(record->type, round, distance);
    const ObjectHeader& header = header_of(record->type);
    // A type that cannot be destroyed takes no damage at all: at 255 it would stand destroyed.
    if (header.strength == INDESTRUCTIBLE) return damage;
    const int32_t total = damage + ground_damage(record);
    if (total >= header.strength) {
        check_destroyable(record->type);
        destroy_ground_object(record, position, round);
    } else {
        set_ground_damage(record, total);
    }
    return damage;
}

int32_t apply_hit_damage(ObjectInstance* instance, WeaponRound* round, const Vector3& impact) {
    Drone* drone = drone_of(instance);
    if ((instance->flags & INSTANCE_INACTIVE) || !drone || spared_by_side(round, get_target_side(&drone->target)))
        return 0;
    const Vector3& p = instance->pose->position;
    int32_t damage = compute_hit_damage(instance->object_type, round, measure_distance_3d(p.x - impact.x, p.y - impact.y, p.z - impact.z));
    if (get_game_flow() != FLOW_ALTERNATE && drone->player == -1 && instance->object_type == OBJ_VYR_WINGMAN &&
        get_target_side(round->shooter) == SIDE_ENEMY)
        damage /= decoy_succeeds(round) + 2;
    const ObjectHeader& header = header_of(instance->object_type);
    if (header.strength == INDESTRUCTIBLE) return damage;
    const int32_t total = drone->damage + damage;
    if (total >= header.strength) {
        check_destroyable(instance->object_type);
        kill_drone_by_round(instance, round);
        if (drone == user_drone) {
            switch (round->shooter->kind) {
            case TARGET_GROUND_OBJECT:
                record_killed_by_object(reinterpret_cast<intptr_t>(shooter_record(round)), round->weapon_id);
                break;
            case TARGET_MOBILE:
                if (Drone* shooter = shooter_drone(round))
                    record_killed_by_drone(reinterpret_cast<intptr_t>(shooter), round->weapon_id);
                break;
            default:
                killed_by_something_strange();
            }
        }
    } else {
        drone->damage = uint8_t(std::clamp(total, 0, 255));
        if (drone == user_drone) {
            damage_player_systems();
            if (damage < 10)
                play_small_hit_sound();
            else
                play_explosion_sound(63, 0x8000);
        }
    }
    return damage;
}

void hit_ground_object(ground_object* record, const Vector3& position, WeaponRound* round) {
    const int32_t blast = weapon_info[round->weapon_id].blast_radius;
    int32_t radius = 2 * blast;
    const int32_t damage = damage_ground_object(record, position, round, position);
    const bool destroyed = record->flags & GROUND_DESTROYED;
    if (destroyed) {
        const ObjectHeader* header = get_object_header(record->type);
        radius = std::max(radius, header ? 2 * header->damage_radius : 0);
    } else if (damage > 10) {
        ground_object_hit_effects(record, position);
    }
    damage_ground_objects_in_radius(position, round, record, radius);
    damage_mobiles_in_radius(position, round, nullptr, radius);
    if (destroyed) check_friendly_fire(round, ground_side(record), record->type, nullptr);
}

void hit_mobile_object(ObjectInstance* instance, WeaponRound* round, const Vector3& impact) {
    const int32_t blast = weapon_info[round->weapon_id].blast_radius;
    int32_t radius = 2 * blast;
    const int32_t damage = apply_hit_damage(instance, round, impact);
    const bool destroyed = instance->flags & INSTANCE_INACTIVE;
    if (destroyed) {
        radius = std::max(radius, 2 * header_of(instance->object_type).damage_radius);
    } else if (damage > 10) {
        mobile_hit_effects(instance);
    }
    if (is_human_type(instance->object_type) || instance->object_type == OBJ_CASUALTY)
        make_point_blast(instance->pose->position, blast, 0, instance->object_type, 0);
    damage_ground_objects_in_radius(impact, round, nullptr, radius);
    damage_mobiles_in_radius(impact, round, instance, radius);
    if (destroyed) {
        Drone* drone = drone_of(instance);
        check_friendly_fire(round, drone ? get_target_side(&drone->target) : 0, instance->object_type, drone);
    }
}

void hit_point(const Vector3& impact, WeaponRound* round) {
    if (round->weapon_id == WEAPON_KMGU) return;
    const int32_t blast = weapon_info[round->weapon_id].blast_radius;
    impact_effects(round, 0, 0, &impact);
    damage_mobiles_in_radius(impact, round, nullptr, 5 * blast);
    damage_ground_objects_in_radius(impact, round, nullptr, 2 * blast);
}

void destroy_ground_object(ground_object* record, const Vector3& position, WeaponRound* round) {
    if (record->flags & GROUND_DESTROYED) return;
    if (round) credit_ground_kill(record, position, round);
    report_ground_kill_hook(position);
    const ground_object copy = *record;
    ground_object_destroyed_effects(record, position);
    record->flags |= GROUND_DESTROYED;
    if (is_one_of(copy.type, BRIDGE_OBJECTS))
        destroy_bridge_sections(copy.type, position);
    else
        check_mission_accomplished();
}

void destroy_ground_object_uncredited(ground_object* record, const Vector3& position, int32_t killer) {
    if (record->flags & GROUND_DESTROYED) return;
    record_ground_object_kill_by(record, killer);
    ground_object_destroyed_effects(record, position);
    record->flags |= GROUND_DESTROYED;
}

void kill_drone_by_round(ObjectInstance* instance, WeaponRound* round) {
    if (instance->flags & INSTANCE_INACTIVE) return;
    Drone* drone = drone_of(instance);
    if (!drone) return;
    if (drone == user_drone) {
        if (crashing_off) return;
        end_flight(END_SHOT_DOWN);
        killer_object_number = round && round->shooter ? get_target_object_number(round->shooter) : 0;
        drone->damage = drone->previous_damage = 0;
        const ObjectInstance* shooter = round ? shooter_instance(round) : nullptr;
        if (!drone->destroyed && (!shooter || shooter->owner)) send_score(drone_task_index(drone));
        return;
    }
    const int32_t kind = round ? credit_drone_kill(drone, round) : KIND_UNCREDITED;
    if (user_drone && round && round->shooter == &user_drone->target) kill_networked_drone(drone);
    destroy_drone_by_type(instance, kind);
}

void kill_drone_uncredited(ObjectInstance* instance, int32_t kind) {
    if (instance->flags & INSTANCE_INACTIVE) return;
    record_mobile_object_kill_by(drone_of(instance), kind);
    destroy_drone_by_type(instance, kind);
}

void check_friendly_fire(WeaponRound* round, int side, int32_t object_number, Drone* drone) {
    if (!(header_of(object_number).gameplay_flags & OBJECT_TARGET_FLAG)) return;
    if (user_drone && round->shooter == &user_drone->target) {
        add_kill_score();
        if (side == SIDE_ALLIED) {
            call_friendly_fire();
        } else if (round->weapon_id >= 30 && round->weapon_id <= 38) {
            say_by_draw(5, {99});
        } else {
            say_by_draw(15, {65, 74, 119});
        }
    } else {
        say_by_draw(20, {61, 62, 94, 98, 103, 117, 121, 124});
    }
    if (side != SIDE_ALLIED || !drone) return;
    switch (drone->drone_class) {
    case DRONE_CLASS_HELICOPTER:
        say_by_draw(5, {123, 107});
        break;
    case DRONE_CLASS_AIRCRAFT:
        if (drone->task && drone->task == get_user_task())
            say(123, nullptr);
        else
            say_by_draw(5, {123, 125, 107});
        break;
    case DRONE_CLASS_SHIP:
        say_by_draw(5, {164, 163});
        break;
    default:
        break;
    }
}

}  // namespace vyr
