#include "source/warmodel/sector_search.h"

#include <algorithm>
#include <climits>
#include <span>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "source/avionics/messages.h"
#include "source/avionics/threat_warning.h"
#include "source/drone/air_manoeuvre.h"
#include "source/drone/drone.h"
#include "source/drone/drone_war.h"
#include "source/drone/drone_types.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/task.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/sound/triggers.h"
#include "source/warmodel/cap.h"
#include "source/warmodel/war_model.h"
#include "source/weapons/launch.h"
#include "source/weapons/target.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapons_frame.h"

namespace vyr {

namespace {

constexpr int TILE_SHIFT = 22;
constexpr int32_t HALF_TILE = 0x200000;
constexpr int LAST_RING = 3;
constexpr int MAX_CANDIDATES = 28;
constexpr int32_t LOWEST_AIRCRAFT = 7680;  // 30 ft

int32_t tile_rounded(int32_t range) {
    return (range >> TILE_SHIFT) + ((range & ((1 << TILE_SHIFT) - 1)) > HALF_TILE ? 1 : 0);
}

// The side's listed entries of a tile: the first eight of its aircraft or surface list.
std::span<Target*> listed(int tile_x, int tile_y, int side, bool aircraft) {
    SectorData* record = get_sector_data(side, tile_x, tile_y);
    if (!record) return {};
    if (aircraft) return {record->aircraft, size_t(std::min(record->aircraft_count, SECTOR_LIST_SIZE))};
    return {record->surface, size_t(std::min(record->surface_count, SECTOR_LIST_SIZE))};
}

int32_t distance_2d(const Vector3& from, const Target* target) {
    const Vector3 at = target_position(target);
    return estimate_distance_2d(at.x - from.x, at.y - from.y);
}

Target* nearest_of(std::span<Target*> targets, const Vector3& from, bool (*accept)(const Target*)) {
    Target* best = nullptr;
    int32_t best_distance = INT32_MAX;
    for (Target* t : targets) {
        if (!accept(t)) continue;
        const int32_t d = distance_2d(from, t);
        if (d < best_distance) best = t, best_distance = d;
    }
    return best;
}

Target* random_of(std::span<Target*> targets) { return targets.empty() ? nullptr : targets[war_random() % targets.size()]; }

bool flying_high_enough(const Target* t) { return target_position(t).z >= LOWEST_AIRCRAFT; }
bool any(const Target*) { return true; }

bool in_air_defence_task(const Target* t) {
    const Drone* d = get_target_drone(t);
    return d && d->task && d->task->type == TASK_ARTILLERY_AIR_DEFENCE;
}

// The tile's live AAA then SAM sites; each list ends at its first empty slot, and the sites count
// only for the side that owns the tile.
int collect_sites(int tile_x, int tile_y, int side, Target* (&out)[4]) {
    GameplayCell& cell = gameplay_grid[tile_x * GAMEPLAY_GRID_SIZE + tile_y];
    if ((side == 1 || side == 2) && (cell.side & CELL_SIDE_MASK) != side) return 0;
    int n = 0;
    for (auto* slots : {&cell.aaa, &cell.sam})
        for (GameplayObject* site : *slots) {
            if (!site) break;
            if (site->defence_target && !is_target_destroyed(site->defence_target)) out[n++] = site->defence_target;
        }
    return n;
}

Target* nearest_aircraft_test(int x, int y, int side, const Vector3& from) {
    return nearest_of(listed(x, y, side, true), from, flying_high_enough);
}

Target* nearest_surface_test(int x, int y, int side, const Vector3& from) {
    return nearest_of(listed(x, y, side, false), from, any);
}

Target* random_aircraft_test(int x, int y, int side, const Vector3&) {
    Target* t = random_of(listed(x, y, side, true));
    return t && flying_high_enough(t) ? t : nullptr;
}

Target* random_live_surface_test(int x, int y, int side, const Vector3&) {
    Target* t = pick_sector_target(x, y, side);
    if (!t) return nullptr;
    const auto* instance = static_cast<const ObjectInstance*>(t->object);
    return instance && (instance->flags & INSTANCE_INACTIVE) ? nullptr : t;
}

Target* nearest_air_defence_test(int x, int y, int side, const Vector3& from) {
    Target* sites[4];
    const int n = collect_sites(x, y, side, sites);
    if (Target* site = nearest_of({sites, size_t(n)}, from, any)) return site;
    return nearest_of(listed(x, y, side, false), from, in_air_defence_task);
}

Target* random_air_defence_test(int x, int y, int side, const Vector3&) {
    Target* artillery[SECTOR_LIST_SIZE];
    int n = 0;
    for (Target* t : listed(x, y, side, false))
        if (in_air_defence_task(t)) artillery[n++] = t;
    if (n) return artillery[war_random() % n];
    Target* sites[4];
    return random_of({sites, size_t(collect_sites(x, y, side, sites))});
}

NearbyDrone nearby_drones[NEARBY_LIMIT];
NearbyGroundObject nearby_ground_objects[NEARBY_LIMIT];

int tile_of(int32_t coordinate) { return std::clamp(coordinate >> TILE_SHIFT, 0, SECTOR_TILES - 1); }

}  // namespace

Target* find_sector_target(SectorTest test, const Vector3& position, int side, int32_t minimum, int32_t maximum) {
    const int tx = position.x >> TILE_SHIFT, ty = position.y >> TILE_SHIFT;
    const int first = tile_rounded(minimum), last = std::min(tile_rounded(maximum), LAST_RING);
    if (first == 0 && tx >= 0 && tx < SECTOR_TILES && ty >= 0 && ty < SECTOR_TILES)
        if (Target* t = test(tx, ty, side, position)) return t;
    Target* candidates[MAX_CANDIDATES];
    for (int k = std::max(first, 1); k <= last; ++k) {
        int n = 0;
        auto try_tile = [&](int x, int y) {
            if (x < 0 || x >= SECTOR_TILES || y < 0 || y >= SECTOR_TILES || n == MAX_CANDIDATES) return;
            if (Target* t = test(x, y, side, position)) candidates[n++] = t;
        };
        // Each side of the ring runs over 2k + 1 tiles, so every corner is tested twice.
        for (int i = 0; i <= 2 * k; ++i) {
            try_tile(tx - k, ty - k + i);
            try_tile(tx - k + i, ty + k);
            try_tile(tx + k, ty + k - i);
            try_tile(tx + k - i, ty - k);
        }
        if (n) return candidates[war_random() % n];
    }
    return nullptr;
}

Target* find_nearest_sector_aircraft(const Vector3& p, int side, int32_t minimum, int32_t maximum) {
    return find_sector_target(nearest_aircraft_test, p, side, minimum, maximum);
}
Target* find_nearest_sector_surface(const Vector3& p, int side, int32_t minimum, int32_t maximum) {
    return find_sector_target(nearest_surface_test, p, side, minimum, maximum);
}
Target* find_random_sector_aircraft(const Vector3& p, int side, int32_t minimum, int32_t maximum) {
    return find_sector_target(random_aircraft_test, p, side, minimum, maximum);
}
Target* find_random_live_sector_surface(const Vector3& p, int side, int32_t minimum, int32_t maximum) {
    return find_sector_target(random_live_surface_test, p, side, minimum, maximum);
}
Target* find_nearest_air_defence(const Vector3& p, int side, int32_t minimum, int32_t maximum) {
    return find_sector_target(nearest_air_defence_test, p, side, minimum, maximum);
}
Target* find_random_air_defence(const Vector3& p, int side, int32_t minimum, int32_t maximum) {
    return find_sector_target(random_air_defence_test, p, side, minimum, maximum);
}

Target* pick_sector_target(int tile_x, int tile_y, int side) { return random_of(listed(tile_x, tile_y, side, false)); }

NearbyDrone* collect_mobile_objects_near(const Vector3& point, int32_t range, int side, int& count) {
    count = 0;
    for (ObjectInstance* i = mobile_object_tiles[tile_of(point.x)][tile_of(point.y)]; i && count < NEARBY_LIMIT; i = i->next) {
        if (i->owner_kind != OWNER_DRONE || (i->flags & INSTANCE_INACTIVE)) continue;
        Drone* d = static_cast<Drone*>(i->owner);
        if (d == user_drone || !d->task || d->task->side != side) continue;
        const int32_t distance = estimate_distance_2d(d->pose.position.x - point.x, d->pose.position.y - point.y);
        if (distance < range) nearby_drones[count++] = {d, distance};
    }
    return nearby_drones;
}

NearbyGroundObject* collect_ground_objects_near(const Vector3& point, int32_t range, int side, int& count) {
    count = 0;
    const int tile = tile_of(point.x) * SECTOR_TILES + tile_of(point.y);
    int16_t* list = ground_object_list(current_world_settings ? current_world_settings->dynamic_ground_objects : nullptr, tile);
    ground_object* records = list ? ground_object_records(list) : nullptr;
    for (int i = 0; i < ground_object_count(list) && count < NEARBY_LIMIT; ++i) {
        ground_object& record = records[i];
        if (!record.type || (record.flags & GROUND_DESTROYED) || ((record.flags & GROUND_SIDE_MASK) >> GROUND_SIDE_SHIFT) != side)
            continue;
        const Vector3 at = ground_object_position(tile, record);
        const int32_t distance = estimate_distance_2d(at.x - point.x, at.y - point.y);
        if (distance < range) nearby_ground_objects[count++] = {&record, distance};
    }
    return nearby_ground_objects;
}

namespace {

constexpr const char* SOURCE = "source/warmodel/sector_search";
constexpr int32_t AIR_ENGAGEMENT_TICKS = 12000;  // 60 to 70 s with the spread
constexpr int32_t AIR_ENGAGEMENT_SPREAD = 2000;
constexpr int32_t STRIKE_ENGAGEMENT_TICKS = 6000;
constexpr int32_t BOMBER_LOOK_TICKS = 1000;
constexpr int BOMBING_START_SAMPLE = 155;

int opposite_side(const Drone* drone) { return drone->task->side == SIDE_ALLIED ? SIDE_ENEMY : SIDE_ALLIED; }

bool at_target_waypoint(const Drone* drone) {
    return drone->current_waypoint && drone->current_waypoint->type == WAYPOINT_TARGET;
}

int tile_coordinate(int32_t c) { return c >> TILE_SHIFT; }

int weapon_kind(int weapon_id) { return weapon_id > 0 && weapon_id < WEAPON_COUNT ? weapon_info[weapon_id].weapon_kind : 0; }

// The player's type carries any store on slots 1..4; the other types keep their bombs in slot 1.
bool has_bombs(const Drone* drone) {
    const int object_number = get_drone_object_number(drone);
    if (object_number != OBJ_VYR_WINGMAN) return drone->weapon_slots[1].rounds > 0;
    for (int slot = 4; slot >= 1; --slot)
        if (drone->weapon_slots[slot].rounds > 0 && weapon_kind(get_drone_type_weapon(object_number, slot)) == WEAPON_KIND_BOMB)
            return true;
    return false;
}

bool has_strike_weapon(const Drone* drone) {
    const int object_number = get_drone_object_number(drone);
    if (object_number != OBJ_VYR_WINGMAN) return drone->weapon_slots[1].rounds > 0 || drone->weapon_slots[0].rounds > 0;
    for (int slot = 4; slot >= 0; --slot) {
        const int kind = weapon_kind(get_drone_type_weapon(object_number, slot));
        if (drone->weapon_slots[slot].rounds > 0 && (kind == WEAPON_KIND_AGM || kind == WEAPON_KIND_GUN)) return true;
    }
    return false;
}

bool is_ground_target(Target* target) { return get_target_domain(target) == TARGET_DOMAIN_GROUND; }

void drop_ground_target(Drone* drone) {
    if (drone->attack_target && is_ground_target(drone->attack_target)) clear_drone_attack_target(drone);
}

// The target of a pool slot goes back before another takes its place, or the slot is lost until
// the next mission.
void replace_attack_target(Drone* drone, Target* target) {
    if (drone->attack_target && drone->attack_target != target && drone->attack_target->kind == TARGET_FIXED_POINT)
        release_target(drone->attack_target);
    drone->attack_target = target;
}

void engage(Drone* drone, Target* target, int32_t ticks) {
    drone->reaction_time = game_clock + ticks;
    drone->mission_flags = (drone->mission_flags | DRONE_FLAG_ENGAGED) & ~DRONE_FLAG_RETREAT;
    drone->attack_target = target;
}

void acquire_strike_target(Drone* drone) {
    if (drone->attack_target) {
        if (game_clock >= drone->reaction_time) clear_drone_attack_target(drone);
        return;
    }
    if (game_clock < drone->reaction_time || !has_strike_weapon(drone)) return;
    Target* t = nullptr;
    if (drone->task->type == TASK_STRIKE) {
        if (!at_target_waypoint(drone)) return;
        t = pick_sector_target(tile_coordinate(drone->current_waypoint->x), tile_coordinate(drone->current_waypoint->y),
                               opposite_side(drone));
    } else {
        t = find_random_air_defence(drone->pose.position, opposite_side(drone), drone->ground_min_range,
                                    std::min(drone->air_max_range, drone->attention_range));
    }
    if (!t || is_target_to_rear(drone, t) || get_route_distance(drone, t) > drone->attention_range / 4 ||
        !has_line_of_sight(&drone->target, t))
        return;
    engage(drone, t, STRIKE_ENGAGEMENT_TICKS);
}

// A bomber's look around for fighters away from its Target waypoint.
void look_for_fighters(Drone* drone) {
    if (game_clock > drone->reaction_time) clear_drone_attack_target(drone);
    Target* t = find_random_sector_aircraft(drone->pose.position, opposite_side(drone), drone->air_min_range,
                                            std::min(drone->air_max_range, drone->attention_range));
    replace_attack_target(drone, t);
    if (t && !is_target_to_rear(drone, t)) {
        drone->reaction_time = game_clock + BOMBER_LOOK_TICKS;
        drone->mission_flags &= ~DRONE_FLAG_ENGAGED;
    }
}

// A wingman of the player's type out of bombs flies on as a strike aircraft.
void turn_to_strike(Drone* drone) {
    drone->mission_flags |= DRONE_FLAG_BOMBS_GONE;
    drone->task->type = TASK_STRIKE;
}

void acquire_strategic_bombing_target(Drone* drone) {
    if (!has_bombs(drone)) {
        if (get_drone_object_number(drone) == OBJ_VYR_WINGMAN) {
            turn_to_strike(drone);
            return;
        }
        drop_ground_target(drone);
        acquire_air_to_air_target(drone);
        return;
    }
    if (!at_target_waypoint(drone)) {
        look_for_fighters(drone);
        return;
    }
    if (drone->attack_target && !is_ground_target(drone->attack_target)) clear_drone_attack_target(drone);
    if (!drone->attack_target) {
        const Waypoint* w = drone->current_waypoint;
        drone->attack_target = new_fixed_point_target({w->x, w->y, get_ground_height(w->x, w->y)});
    }
}

void acquire_tactical_bombing_target(Drone* drone) {
    if (!has_bombs(drone)) {
        if (get_drone_object_number(drone) == OBJ_VYR_WINGMAN) {
            turn_to_strike(drone);
        } else {
            drop_ground_target(drone);
            if (!drone->attack_target) acquire_air_to_air_target(drone);
            return;
        }
    }
    if (!at_target_waypoint(drone)) {
        look_for_fighters(drone);
        return;
    }
    if (drone->attack_target && (is_target_to_rear(drone, drone->attack_target) || !is_ground_target(drone->attack_target)))
        clear_drone_attack_target(drone);
    if (drone->attack_target) return;
    Target* t = pick_sector_target(tile_coordinate(drone->current_waypoint->x), tile_coordinate(drone->current_waypoint->y),
                                   opposite_side(drone));
    drone->attack_target = t;
    if (t && !is_target_to_rear(drone, t)) drone->mission_flags &= ~DRONE_FLAG_ENGAGED;
}

void acquire_laser_bombing_target(Drone* drone) {
    if (!has_bombs(drone)) {
        if (get_drone_object_number(drone) == OBJ_VYR_WINGMAN) {
            drone->task->type = TASK_STRIKE;
        } else {
            drop_ground_target(drone);
            acquire_air_to_air_target(drone);
            return;
        }
    }
    if (drone->attack_target && (drone->attack_target->kind == TARGET_NONE || is_target_to_rear(drone, drone->attack_target)))
        clear_drone_attack_target(drone);
    if (!at_target_waypoint(drone)) {
        drone->mission_flags &= ~DRONE_FLAG_BOMBING_START;
        return;
    }
    if (!(drone->mission_flags & DRONE_FLAG_BOMBING_START)) {
        play_radio_sample(BOMBING_START_SAMPLE);
        post_message("Bombing Start", 2, 400);
        drone->mission_flags |= DRONE_FLAG_BOMBING_START;
    }
    const Waypoint* w = drone->current_waypoint;
    if (designated_target.kind == TARGET_GROUND_OBJECT && !is_target_to_rear(drone, &designated_target)) {
        const Vector3 at = target_position(&designated_target);
        if (tile_coordinate(at.x) == tile_coordinate(w->x) && tile_coordinate(at.y) == tile_coordinate(w->y))
            replace_attack_target(drone, &designated_target);
    }
}

constexpr int32_t ENGAGE_AGAIN_TICKS = 3000;
constexpr int32_t REACTION_END_TICKS = 2000;
constexpr int32_t OUT_OF_REACH_TICKS = 400, OUT_OF_REACH_SPREAD = 600;
constexpr int32_t TOO_CLOSE_TICKS = 100, TOO_CLOSE_SPREAD = 400;
constexpr int32_t DAMAGE_RETREAT_TICKS = 600;
constexpr int DAMAGE_RISE_LIMIT = 10;
constexpr int32_t KEEP_GROUND_TARGET = -1;

bool time_passed(const Drone* drone) { return game_clock > drone->reaction_time; }

// How far from its route the task chases an air target; KEEP_GROUND_TARGET when a ground target
// is simply held. An unknown task is fatal.
int32_t chase_range(Drone* drone) {
    const int32_t attention = drone->attention_range;
    const bool ground = is_ground_target(drone->attack_target);
    switch (drone->task->type) {
    case TASK_BATTLEFIELD_AIR_INTERDICTION:
    case TASK_STRATEGIC_INTERDICTION:
    case TASK_COUNTER_AIR:
    case TASK_OFFENSIVE_SWEEP:
    case TASK_COMBAT_AIR_PATROL:
    case TASK_EVACUATION_AIR_DEFENCE:
        return attention;
    case TASK_STRIKE:
    case TASK_ESCORT_COVER:
        return attention / 8;
    case TASK_DEFENCE_SUPPRESSION:
        return ground ? KEEP_GROUND_TARGET : attention / 16;
    case TASK_BOMBING_STRATEGIC:
    case TASK_BOMBING_TACTICAL:
    case TASK_BOMBING_LASER_GUIDED:
        return ground ? KEEP_GROUND_TARGET : attention / 2;
    default:
        report_fatal_error("Air drone shouldn't have this task type", SOURCE, __LINE__);
        return KEEP_GROUND_TARGET;
    }
}

void engage_again(Drone* drone) {
    if (!time_passed(drone)) return;
    drone->reaction_time = game_clock + ENGAGE_AGAIN_TICKS;
    drone->mission_flags = (drone->mission_flags | DRONE_FLAG_ENGAGED) & ~DRONE_FLAG_RETREAT;
}

}  // namespace

void acquire_air_to_air_target(Drone* drone) {
    if (drone->attack_target || drone->attention_range == 0) return;
    Target* t = find_random_sector_aircraft(drone->pose.position, opposite_side(drone), drone->air_min_range,
                                            drone->attention_range);
    if (!t || get_route_distance(drone, t) > drone->attention_range || !has_line_of_sight(&drone->target, t)) {
        drone->mission_flags &= ~DRONE_FLAG_ENGAGED;
        return;
    }
    if (drone->drone_class == DRONE_CLASS_HELICOPTER) {
        const Drone* victim = get_target_drone(t);
        if (!victim || victim->drone_class != DRONE_CLASS_HELICOPTER) return;
    }
    engage(drone, t, AIR_ENGAGEMENT_TICKS + next_game_random() % AIR_ENGAGEMENT_SPREAD);
}

void acquire_air_drone_target(Drone* drone) {
    if (game_clock < drone->reaction_time) return;
    Target* before = drone->attack_target;
    switch (drone->task->type) {
    case TASK_BATTLEFIELD_AIR_INTERDICTION:
    case TASK_STRATEGIC_INTERDICTION:
    case TASK_COUNTER_AIR:
    case TASK_OFFENSIVE_SWEEP:
        acquire_air_to_air_target(drone);
        break;
    case TASK_ESCORT_COVER:
        acquire_air_to_air_target(drone);
        if (!drone->attack_target) acquire_strike_target(drone);
        break;
    case TASK_DEFENCE_SUPPRESSION:
    case TASK_STRIKE:
        acquire_strike_target(drone);
        break;
    case TASK_BOMBING_STRATEGIC:
        acquire_strategic_bombing_target(drone);
        break;
    case TASK_BOMBING_TACTICAL:
        acquire_tactical_bombing_target(drone);
        break;
    case TASK_COMBAT_AIR_PATROL:
        acquire_cap_target(drone);
        break;
    case TASK_BOMBING_LASER_GUIDED:
        acquire_laser_bombing_target(drone);
        break;
    default:
        report_fatal_error("Can't aquire target for air drone with unknown task type", SOURCE, __LINE__);
        return;
    }
    Target* target = drone->attack_target;
    if (!target || target == before) return;
    if (!choose_drone_weapon(drone)) {
        clear_drone_attack_target(drone);
        return;
    }
    Drone* victim = get_target_drone(target);
    if (victim) notice_attacker(victim, &drone->target);
    set_next_shot_time(drone, std::max(get_next_shot_time(drone), game_clock + compute_reaction_delay(drone->task->side)));
    if (victim && victim == user_drone) add_threat(&drone->target);
}

void check_air_drone_target(Drone* drone) {
    uint32_t& flags = drone->mission_flags;
    if (flags & DRONE_FLAG_DISENGAGE) {
        replace_attack_target(drone, nullptr);
        flags &= ~(DRONE_FLAG_ENGAGED | DRONE_FLAG_RESPONDING);
        return;
    }
    if (!drone->attack_target || drone->attack_target->kind == TARGET_NONE) {
        if ((flags & DRONE_FLAG_RETREAT) && time_passed(drone)) flags &= ~DRONE_FLAG_RETREAT;
        if (drone->player == -1) drone->attack_target = nullptr;
        return;
    }
    const int32_t range = chase_range(drone);
    if (range == KEEP_GROUND_TARGET) {
        flags &= ~DRONE_FLAG_RETREAT;
        return;
    }
    if (!(flags & DRONE_FLAG_ENGAGED)) {
        engage_again(drone);
        return;
    }
    const bool dogfighting = drone->manoeuvre == MANOEUVRE_DOGFIGHT;
    if (flags & DRONE_FLAG_RETREAT) {
        if (time_passed(drone)) {
            drone->reaction_time = game_clock + REACTION_END_TICKS;
            flags &= ~DRONE_FLAG_RETREAT;
        }
        return;
    }
    if (!dogfighting && time_passed(drone)) {
        if (are_targets_within_cells(drone->attack_target, &drone->target, 2 * get_drone_max_range(drone))) {
            clear_drone_attack_target(drone);
        } else {
            flags = (flags & ~DRONE_FLAG_ENGAGED) | DRONE_FLAG_RETREAT;
        }
        drone->reaction_time = game_clock + OUT_OF_REACH_TICKS + next_game_random() % OUT_OF_REACH_SPREAD;
        return;
    }
    const int32_t d = distance_2d(drone->pose.position, drone->attack_target);
    if (d < std::max(2 * drone->speed, get_drone_min_range(drone))) {
        flags |= DRONE_FLAG_RETREAT;
        drone->reaction_time = game_clock + TOO_CLOSE_TICKS + next_game_random() % TOO_CLOSE_SPREAD;
    } else if (!dogfighting) {
        if (drone->damage > drone->previous_damage + DAMAGE_RISE_LIMIT) {
            clear_drone_attack_target(drone);
            flags |= DRONE_FLAG_RETREAT;
            drone->reaction_time = game_clock + DAMAGE_RETREAT_TICKS;
            drone->previous_damage = drone->damage;
        } else if (get_route_distance(drone, drone->attack_target) > range) {
            clear_drone_attack_target(drone);
            drone->reaction_time = game_clock + ENGAGE_AGAIN_TICKS;
        }
    }
    if (!(flags & DRONE_FLAG_ENGAGED)) engage_again(drone);
}

int is_target_to_rear(const Drone* drone, const Target* target) {
    const Vector3 at = target_position(target);
    auto sign = [](int64_t v) { return v < 0 ? -1 : 1; };
    const int64_t dx = int64_t(at.x) - drone->pose.position.x, dy = int64_t(at.y) - drone->pose.position.y;
    return sign(dx) == -sign(drone->pose.matrix[1][0]) && sign(dy) == -sign(drone->pose.matrix[1][1]);
}

int32_t get_route_distance(const Drone* drone, const Target* target) {
    const Waypoint* w = drone->current_waypoint;
    if (!w || !w->prev) return INT32_MAX;
    const Vector3 at = target_position(target);
    const Vector3 here{w->x, w->y, w->z};
    int32_t d = measure_segment_distance({w->prev->x, w->prev->y, w->prev->z}, here, at);
    if (d == INT32_MAX && w->next) d = measure_segment_distance(here, {w->next->x, w->next->y, w->next->z}, at);
    if (d == INT32_MAX) d = estimate_distance_2d(at.x - w->x, at.y - w->y);
    return d;
}

}  // namespace vyr
