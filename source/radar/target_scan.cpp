#include "source/radar/target_scan.h"

#include <cstdlib>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/line_of_sight.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/maths/trig.h"
#include "source/avionics/avionics.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/radar/contact_list.h"
#include "source/radar/radar.h"

namespace vyr {

GroundCandidate ground_candidates[MAX_GROUND_CANDIDATES];
MobileCandidate mobile_candidates[MAX_MOBILE_CANDIDATES];
NearAirCandidate near_air_candidates[MAX_NEAR_AIR_CANDIDATES];
int32_t ground_candidate_count = 0, mobile_candidate_count = 0, near_air_candidate_count = 0;
Target* ground_contact_head = nullptr;
Target* ground_contact_tail = nullptr;

namespace {

constexpr const char* SOURCE = "source/radar/target_scan";

constexpr int SCAN_COLUMNS = 11;  // either side of the aircraft's tile
constexpr int32_t TILE = 1 << TILE_SHIFT;
constexpr int LINE_OF_SIGHT_STEPS = 3;
constexpr int32_t AIR_CANDIDATE_HEIGHT = 30 * 256;
constexpr int32_t DISTANCE_SCALE = 27033600;      // 20 statute miles
constexpr int32_t DISTANCE_CLAMPED = 25681920;    // 19 miles
constexpr int32_t GROUND_PENALTY_SCALE = 67584000;  // 50 miles
constexpr int32_t GROUND_PENALTY_CLAMPED = 66232320;  // 49 miles
constexpr int32_t DISTANCE_WEIGHT = 10000;

int side_of_flags(int32_t flags) { return (flags >> 1) & 3; }

int32_t object_category(int number) {
    const ObjectHeader* header = get_object_header(number);
    return header ? header->category : 0;
}

int32_t object_radar_size(int number) {
    const ObjectHeader* header = get_object_header(number);
    return header ? header->radar_size : 0;
}

// Rows either side of the aircraft's tile by the scan's reach.
int scan_rows() {
    if (!radar_air_mode) return 4;
    switch (air_submode) {
    case RADAR_TWS:
        if (air_range_nm == 15) return 7;
        if (air_range_nm == 25) return 10;
        if (air_range_nm == 35) return 13;
        report_fatal_error("unknown radar range %d", SOURCE, __LINE__, air_range_nm);
        return 0;
    case RADAR_RCR: return 13;
    case RADAR_ACM: return 4;
    default:
        report_fatal_error("unknown radar mode %d", SOURCE, __LINE__, air_submode);
        return 0;
    }
}

// A tile whose south-west corner lies more than a tile behind the aircraft is not scanned.
bool tile_ahead(const Vector3& aircraft, const int32_t* forward, int tx, int ty) {
    const int32_t dx = (tx << TILE_SHIFT) - aircraft.x, dy = (ty << TILE_SHIFT) - aircraft.y;
    return round31(mul64(forward[0], dx) + mul64(forward[1], dy)) >= -TILE;
}

bool in_sight(const Vector3& aircraft, const Vector3& position) {
    return check_line_of_sight(aircraft, position, LINE_OF_SIGHT_STEPS) == 1;
}

void scan_ground_list(int16_t* list, int tx, int ty, const Vector3& aircraft) {
    ground_object* records = ground_object_records(list);
    for (int i = 0; i < ground_object_count(list) && ground_candidate_count < MAX_GROUND_CANDIDATES; ++i) {
        ground_object& record = records[i];
        if (record.flags & GROUND_DESTROYED) continue;
        if (!(record.flags & GROUND_SIDE_MASK) || !object_category(record.type)) continue;
        Vector3 position = ground_object_position(tile_index(tx, ty), record);
        position.z = get_ground_height(position.x, position.y);
        if (!in_sight(aircraft, position)) continue;
        ground_candidates[ground_candidate_count++] = {tx, ty, position.x, position.y, &record};
    }
}

// Rounds keep to the ground list; an object without an owner goes by its height alone, so that
// the air scan reports it instead of this scan reading through a null owner.
int mobile_domain(const ObjectInstance& object) {
    if (object.owner_kind == OWNER_ROUND) return TARGET_DOMAIN_GROUND;
    const Drone* owner = static_cast<const Drone*>(object.owner);
    const bool flying = !owner || owner->drone_class == DRONE_CLASS_HELICOPTER || owner->drone_class == DRONE_CLASS_AIRCRAFT;
    return flying && object.pose->position.z >= AIR_CANDIDATE_HEIGHT ? TARGET_DOMAIN_AIR : TARGET_DOMAIN_GROUND;
}

void scan_mobile_list(int tx, int ty, const Vector3& aircraft) {
    const int aircraft_tx = aircraft.x >> TILE_SHIFT, aircraft_ty = aircraft.y >> TILE_SHIFT;
    for (ObjectInstance* object = mobile_object_tiles[tx][ty]; object; object = object->next) {
        if (mobile_candidate_count >= MAX_MOBILE_CANDIDATES) return;
        if (object->flags & INSTANCE_INACTIVE || !side_of_flags(object->flags)) continue;
        if (object == player_object || !object_category(object->object_type)) continue;
        const Vector3& position = object->pose->position;
        if (!in_sight(aircraft, position)) continue;
        const int domain = mobile_domain(*object);
        mobile_candidates[mobile_candidate_count++] = {tx, ty, position.x, position.y, position.z, domain, object};
        if (domain != TARGET_DOMAIN_AIR || near_air_candidate_count >= MAX_NEAR_AIR_CANDIDATES) continue;
        if (std::abs(tx - aircraft_tx) > 1 || std::abs(ty - aircraft_ty) > 1) continue;
        NearAirCandidate& near = near_air_candidates[near_air_candidate_count++];
        near = {tx, ty, position.x, position.y, position.z, 0, domain, object};
        near.priority = compute_near_air_priority(&near);
    }
}

int32_t clamp_distance(int32_t d, int32_t limit, int32_t clamped) { return d >= limit ? clamped : d; }

// The radar size less the distance's weight, as a magnitude.
int32_t weigh_distance(int32_t base, int32_t distance) {
    const int32_t d = clamp_distance(distance, DISTANCE_SCALE, DISTANCE_CLAMPED);
    const int32_t fraction = int32_t((int64_t(d) << 31) / DISTANCE_SCALE);
    return std::abs(base - mul31(DISTANCE_WEIGHT, fraction));
}

int32_t distance_from_aircraft(int32_t x, int32_t y, int32_t z) {
    const Vector3& p = player_position->position;
    return measure_distance_3d(x - p.x, y - p.y, z - p.z);
}

}  // namespace

void scan_ground_targets(const Vector3* aircraft) {
    const int rows = scan_rows();
    ground_candidate_count = mobile_candidate_count = near_air_candidate_count = 0;
    const int tx = aircraft->x >> TILE_SHIFT, ty = aircraft->y >> TILE_SHIFT;
    const int32_t* forward = player_position->matrix[1];
    for (int x = tx - SCAN_COLUMNS; x <= tx + SCAN_COLUMNS; ++x) {
        for (int y = ty - rows; y <= ty + rows; ++y) {
            if (x < 0 || x >= WORLD_TILES || y < 0 || y >= WORLD_TILES) continue;
            if (!tile_ahead(*aircraft, forward, x, y)) continue;
            scan_ground_list(ground_object_tiles[tile_index(x, y)], x, y, *aircraft);
            if (current_world_settings)
                scan_ground_list(ground_object_list(current_world_settings->dynamic_ground_objects, tile_index(x, y)),
                                 x, y, *aircraft);
            scan_mobile_list(x, y, *aircraft);
        }
    }
}

int32_t compute_target_priority(const Target* target, int32_t x, int32_t y, int32_t z) {
    int number, side;
    Vector3 position;
    if (target->kind == TARGET_GROUND_OBJECT) {
        const ground_object* record = static_cast<const ground_object*>(target->object);
        number = record->type;
        side = side_of_flags(record->flags);
        position = target->position;
    } else if (target->kind == TARGET_MOBILE) {
        const ObjectInstance* object = static_cast<const ObjectInstance*>(target->object);
        number = object->object_type;
        side = side_of_flags(object->flags);
        position = object->pose->position;
    } else {
        return -1;
    }
    const int32_t dx = position.x - x, dy = position.y - y;
    int32_t distance = measure_distance_3d(dx, dy, position.z - z);
    if (!object_category(number)) return -1;
    if (target->domain == TARGET_DOMAIN_AIR && side != SIDE_ENEMY) return side == SIDE_NEUTRAL ? 2 : 1;
    int32_t base = object_radar_size(number);
    if (target->domain == TARGET_DOMAIN_GROUND) {
        const uint32_t h = flight_data.heading;
        const int32_t sin_h = lookup_sin(h), cos_h = lookup_cos(h);
        const int32_t lateral = std::abs(mul31(dx, cos_h) - mul31(dy, sin_h));
        const int32_t along = std::abs(mul31(dy, cos_h) + mul31(dx, sin_h));
        int32_t factor = 0;
        if (along != 0 && along > lateral) {
            distance = clamp_distance(distance, GROUND_PENALTY_SCALE, GROUND_PENALTY_CLAMPED);
            const int32_t ratio = int32_t((int64_t(lateral) << 31) / along) / 16;
            factor = FIXED_ONE - mul31(ratio, int32_t((int64_t(distance) << 31) / GROUND_PENALTY_SCALE));
        }
        base = mul31(base, factor);
    }
    return weigh_distance(base, distance);
}

int32_t compute_near_air_priority(const NearAirCandidate* record) {
    if (!record || !record->object) return -1;
    return weigh_distance(object_radar_size(record->object->object_type),
                          distance_from_aircraft(record->x, record->y, record->z));
}

void insert_ground_contact(Target* target) {
    const Vector3& p = player_position->position;
    target->priority = compute_target_priority(target, p.x, p.y, p.z);
    if (target->priority == -1) return;
    insert_by_priority(ground_contact_head, ground_contact_tail, target, target->priority);
}

}  // namespace vyr
