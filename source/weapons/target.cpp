#include "source/weapons/target.h"

#include <cstdlib>
#include <cstring>
#include <functional>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/line_of_sight.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/debug/fatal.h"
#include "library/maths/trig.h"
#include "source/drone/drone.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/waypoint.h"
#include "source/models/flight_model.h"
#include "source/weapons/rounds.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/weapons/target";

Target target_pool[MAX_TARGETS];
int targets_in_use = 0;
int next_free_hint = 0;

constexpr int SIDE_MASK = 3;  // after the shift
constexpr int32_t KNOTS_TO_SPEED = 432;  // world units per second in a knot
constexpr int TILE_SHIFT = 22;
constexpr int32_t HALF_TILE = 1 << (TILE_SHIFT - 1);
constexpr int DECOY_FLARE = 7, DECOY_CHAFF = 8;
constexpr int LINE_OF_SIGHT_STEPS = 3;

Target* take_slot() {
    if (++targets_in_use > MAX_TARGETS) {
        report_fatal_error("No target slots left", SOURCE, __LINE__);
        --targets_in_use;
        return nullptr;
    }
    for (int pass = 0; pass < 2; ++pass) {
        const int first = pass == 0 ? next_free_hint : 0, last = pass == 0 ? MAX_TARGETS : next_free_hint;
        for (int i = first; i < last; ++i) {
            if (target_pool[i].kind != TARGET_NONE) continue;
            next_free_hint = i + 1;
            return &target_pool[i];
        }
    }
    return nullptr;  // the count guarantees a free slot
}

bool is_pool_slot(const Target* target) {
    return !std::less<const Target*>()(target, target_pool) && std::less<const Target*>()(target, target_pool + MAX_TARGETS);
}

void free_target(Target* target) {
    --targets_in_use;
    std::memset(static_cast<void*>(target), 0, sizeof *target);
}

ground_object* ground_record(const Target* target) { return static_cast<ground_object*>(target->object); }
ObjectInstance* instance_of(const Target* target) { return static_cast<ObjectInstance*>(target->object); }

// The mobile object's owner kind, reported when it is neither a drone nor a round.
int32_t mobile_owner(const Target* target) {
    const int32_t owner = instance_of(target)->owner_kind;
    if (owner != OWNER_DRONE && owner != OWNER_ROUND)
        report_fatal_error("Mobile instance of unknown type...", SOURCE, __LINE__);
    return owner;
}

Drone* drone_of(const Target* target) { return static_cast<Drone*>(instance_of(target)->owner); }
WeaponRound* round_of(const Target* target) { return static_cast<WeaponRound*>(instance_of(target)->owner); }

// A target of no kind or an unknown one; true when the query may go on.
bool known_kind(const Target* target) {
    if (target->kind == TARGET_NONE) {
        report_fatal_error("Trying to get data on target of unknown type", SOURCE, __LINE__);
        return false;
    }
    if (target->kind > TARGET_FIXED_POINT || target->kind < TARGET_NONE) {
        report_fatal_error("Trying to get data on target of illegal (%d) type", SOURCE, __LINE__, target->kind);
        return false;
    }
    return true;
}

// The user-type reports of aiming at, or releasing, a mobile object that is no drone.
void report_user_type(int32_t owner, const char* round_message) {
    if (owner == OWNER_ROUND)
        report_fatal_error("%s", SOURCE, __LINE__, round_message);
    else if (owner == OWNER_NONE)
        report_fatal_error("Weapon targeted on object with unknown user type!", SOURCE, __LINE__);
    else
        report_fatal_error("Weapon targeted on object with illegal user type!", SOURCE, __LINE__);
}

bool is_own_aircraft(const Target* target) {
    return target->kind == TARGET_MOBILE && instance_of(target)->owner_kind == OWNER_DRONE &&
           drone_of(target) == user_drone;
}

// The drone's decoy state; 0 for a decoy round; fatal for any other round.
int decoy_active(const Target* target, int (*drone_query)(const Drone*)) {
    if (target->kind != TARGET_MOBILE) return 0;
    const int32_t owner = instance_of(target)->owner_kind;
    if (owner == OWNER_DRONE) return drone_query(drone_of(target));
    if (owner == OWNER_ROUND) {
        const int weapon = get_round_weapon(round_of(target));
        if (weapon != DECOY_FLARE && weapon != DECOY_CHAFF)
            report_fatal_error("Weapon targeted on another weapon! How'd that happen?", SOURCE, __LINE__);
        return 0;
    }
    report_user_type(owner, "");
    return 0;
}

int tiles_apart(int32_t a, int32_t b) { return std::abs((a >> TILE_SHIFT) - (b >> TILE_SHIFT)); }

}  // namespace

Target* new_ground_object_target(ground_object* record, const Vector3& position) {
    Target* target = take_slot();
    if (!target) return nullptr;
    target->kind = TARGET_GROUND_OBJECT;
    target->object = record;
    target->position = position;
    return target;
}

Target* new_fixed_point_target(const Vector3& position) {
    Target* target = take_slot();
    if (!target) return nullptr;
    target->kind = TARGET_FIXED_POINT;
    target->position = position;
    return target;
}

Target* new_mobile_target(ObjectInstance* instance) {
    if (instance->owner_kind == OWNER_DRONE) return &static_cast<Drone*>(instance->owner)->target;
    report_user_type(instance->owner_kind, "Trying to designate weapon round as target, no AMMs thank you!");
    return nullptr;
}

// Releasing a free slot again would lower the count below the slots in use, and a full pool
// would then search in vain instead of ending with "No target slots left". A target outside the
// pool, such as the player's designation a wingman attacks, is no slot to give back.
void release_target(Target* target) {
    if (!target || target->kind == TARGET_NONE) return;
    if (target->kind == TARGET_GROUND_OBJECT || target->kind == TARGET_FIXED_POINT) {
        if (is_pool_slot(target)) free_target(target);
    } else if (target->kind == TARGET_MOBILE) {
        const int32_t owner = instance_of(target)->owner_kind;
        if (owner != OWNER_DRONE)
            report_user_type(owner, "Trying to release weapon round as target, no AMMs thank you!");
    } else {
        known_kind(target);
    }
}

int count_targets() { return targets_in_use; }

int get_target_position(const Target* target, Vector3& out) {
    const Vector3* position = get_target_position_ptr(target);
    if (!position) return 0;
    out = *position;
    if (target->kind == TARGET_GROUND_OBJECT) out.z = 0;
    return 1;
}

Vector3 target_position(const Target* target) {
    Vector3 at{};
    get_target_position(target, at);
    return at;
}

Drone* get_target_drone(const Target* target) {
    if (!target || target->kind != TARGET_MOBILE || !target->object) return nullptr;
    const ObjectInstance* instance = instance_of(target);
    return instance->owner_kind == OWNER_DRONE ? static_cast<Drone*>(instance->owner) : nullptr;
}

const Vector3* get_target_position_ptr(const Target* target) {
    if (!known_kind(target)) return nullptr;
    if (target->kind == TARGET_MOBILE) return &instance_of(target)->pose->position;
    return &target->position;
}

void get_target_direction(const Target* target, Vector3& out) {
    out = {0, 0, 0};
    if (!known_kind(target)) return;
    if (is_own_aircraft(target)) {
        player_model_velocity(out);
        normalize_vector(out);
    } else if (target->kind == TARGET_MOBILE) {
        const int32_t* forward = instance_of(target)->pose->matrix[1];
        out = {forward[0], forward[1], forward[2]};
    } else if (target->kind == TARGET_GROUND_OBJECT) {
        const uint32_t heading = uint32_t(ground_record(target)->heading) << 16;
        out = {lookup_sin(heading), lookup_cos(heading), 0};
    } else {
        out = {0, 1, 0};  // a fixed point does not move
    }
}

int get_target_object_number(const Target* target) {
    if (!known_kind(target)) return 0;
    if (target->kind == TARGET_GROUND_OBJECT) return ground_record(target)->type;
    if (target->kind == TARGET_MOBILE) return instance_of(target)->object_type;
    return 0;
}

int32_t get_target_speed(const Target* target) {
    if (!known_kind(target) || target->kind != TARGET_MOBILE) return 0;
    if (is_own_aircraft(target)) return player_flight_data.airspeed * KNOTS_TO_SPEED;
    const int32_t owner = mobile_owner(target);
    if (owner == OWNER_DRONE) return get_drone_speed(drone_of(target));
    if (owner == OWNER_ROUND) return get_round_speed(round_of(target));
    return 0;
}

int is_target_destroyed(const Target* target) {
    if (target->kind == TARGET_NONE) return 1;
    if (!known_kind(target)) return 1;
    if (target->kind == TARGET_GROUND_OBJECT) return ground_record(target)->flags & GROUND_DESTROYED;
    if (target->kind == TARGET_FIXED_POINT) return 0;
    const int32_t owner = mobile_owner(target);
    if (owner == OWNER_DRONE) return instance_of(target)->flags & INSTANCE_INACTIVE;
    return owner == OWNER_ROUND ? 0 : 1;
}

int get_target_side(const Target* target) {
    if (!known_kind(target)) return 0;
    if (target->kind == TARGET_GROUND_OBJECT) return (ground_record(target)->flags & GROUND_SIDE_MASK) >> GROUND_SIDE_SHIFT;
    if (target->kind == TARGET_MOBILE) return (instance_of(target)->flags >> INSTANCE_SIDE_SHIFT) & SIDE_MASK;
    return 0;
}

int is_target_live_drone(const Target* target) {
    if (target->kind != TARGET_MOBILE || instance_of(target)->owner_kind != OWNER_DRONE) return 0;
    return is_drone_targetable(drone_of(target));
}

int get_target_domain(Target* target) {
    if (target->domain != TARGET_DOMAIN_UNKNOWN) return target->domain;
    if (!known_kind(target)) return 0;
    int32_t domain = TARGET_DOMAIN_GROUND;
    if (target->kind == TARGET_MOBILE) {
        const int32_t owner = mobile_owner(target);
        if (owner == OWNER_ROUND) domain = TARGET_DOMAIN_AIR;
        if (owner == OWNER_DRONE) {
            const int32_t drone_class = drone_of(target)->drone_class;
            if (drone_class == DRONE_CLASS_HELICOPTER || drone_class == DRONE_CLASS_AIRCRAFT) domain = TARGET_DOMAIN_AIR;
        }
    } else if (target->kind == TARGET_FIXED_POINT) {
        const Vector3& p = target->position;
        if (p.z != get_ground_height(p.x, p.y)) domain = TARGET_DOMAIN_AIR;
    }
    target->domain = domain;
    return domain;
}

int is_target_lased(const Target* target) {
    if (target->kind == TARGET_GROUND_OBJECT) return (ground_record(target)->flags & GROUND_LASED) ? 1 : 0;
    if (target->kind == TARGET_MOBILE && instance_of(target)->owner_kind == OWNER_DRONE)
        return (drone_of(target)->mission_flags & DRONE_FLAG_LASER_DESIGNATED) ? 1 : 0;
    return 0;
}

int is_target_chaff_active(const Target* target) { return decoy_active(target, is_drone_chaff_active); }
int is_target_flare_active(const Target* target) { return decoy_active(target, is_drone_flare_active); }

int targets_equal(const Target* a, const Target* b) {
    if (a == b) return 1;
    if (a->kind != b->kind) return 0;
    if (a->kind == TARGET_FIXED_POINT)
        return a->position.x == b->position.x && a->position.y == b->position.y && a->position.z == b->position.z;
    return a->object == b->object;
}

const char* get_target_name(const Target* target, int long_name) {
    int object_number = 0;
    if (target->kind == TARGET_NONE) return "No Target";
    if (target->kind == TARGET_FIXED_POINT) return "Fixed point target";
    if (target->kind == TARGET_GROUND_OBJECT) {
        object_number = ground_record(target)->type;
    } else if (target->kind == TARGET_MOBILE) {
        const ObjectInstance* instance = instance_of(target);
        if (instance->owner_kind == OWNER_DRONE) {
            const char* player = get_drone_player_name(drone_of(target));
            if (player) return player;
        }
        object_number = instance->object_type;
    } else {
        return "Illegal target type";
    }
    const ObjectHeader* header = get_object_header(object_number);
    if (!header) return "";
    return long_name == 1 ? header->long_name : header->short_name;
}

int are_targets_within_cells(const Target* a, const Target* b, int32_t distance) {
    Vector3 pa, pb;
    if (!get_target_position(a, pa) || !get_target_position(b, pb)) return 0;
    const int cells = (distance >> TILE_SHIFT) + ((distance & ((1 << TILE_SHIFT) - 1)) > HALF_TILE ? 1 : 0);
    return tiles_apart(pa.x, pb.x) <= cells && tiles_apart(pa.y, pb.y) <= cells;
}

void dump_target_drone(const Target* target) {
    if (target->kind == TARGET_MOBILE && instance_of(target)->owner_kind == OWNER_DRONE) dump_drone(drone_of(target));
}

int has_line_of_sight(const Target* from, const Target* to) {
    Vector3 from_position, to_position;
    if (!get_target_position(from, from_position) || !get_target_position(to, to_position)) return 0;
    return has_line_of_sight_between(from_position, to_position, from, to);
}

int has_line_of_sight_between(const Vector3& from_position, const Vector3& to_position, const Target* from,
                              const Target* to) {
    if (!check_line_of_sight(from_position, to_position, LINE_OF_SIGHT_STEPS)) return 0;
    const ObjectInstance* excluded = from->kind == TARGET_MOBILE ? instance_of(from) : nullptr;
    const ObjectInstance* mobile = find_mobile_object_on_segment(from_position, to_position, excluded, nullptr);
    Vector3 ground_position;
    const ground_object* ground = find_ground_object_on_segment(from_position, to_position, ground_position, nullptr);
    const bool to_mobile = to->kind == TARGET_MOBILE;
    if (!mobile) return !ground || to_mobile || (to->kind == TARGET_GROUND_OBJECT && ground == ground_record(to));
    if (!to_mobile || mobile != instance_of(to)) return 0;
    if (!ground) return 1;
    const Vector3& m = mobile->pose->position;
    const int32_t mobile_distance = measure_distance_3d(m.x - from_position.x, m.y - from_position.y,
                                                        m.z - from_position.z);
    const int32_t ground_distance = measure_distance_3d(ground_position.x - from_position.x,
                                                        ground_position.y - from_position.y,
                                                        ground_position.z - from_position.z);
    return mobile_distance <= ground_distance;
}

}  // namespace vyr
