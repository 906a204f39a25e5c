// What the world answers a moving thing about what it meets: the movers and ground objects at a
// point or along a segment, the craters, and the boxes of an instance tree. They have a file of
// their own so that a test program may answer them with objects of its own.
#include <algorithm>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/scars.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/3dvisual/world.h"

namespace vyr {

namespace {

// The header of a mover the collision queries consider, or null.
const ObjectHeader* solid_header(const ObjectInstance* instance) {
    const ObjectHeader* header = get_object_header(instance->object_type);
    return header && (header->flags & OBJECT_SOLID) ? header : nullptr;
}

// The header of a record the collision queries consider, or null.
const ObjectHeader* solid_record_header(const ground_object& record) {
    if (record.type == 0) return nullptr;
    const ObjectHeader* header = get_object_header(record.type);
    return header && (header->flags & OBJECT_SOLID) ? header : nullptr;
}

int16_t* const* dynamic_table() { return current_world_settings->dynamic_ground_objects; }

// The point in the instance's own axes (right, forward, up).
Vector3 to_local(const ObjectInstance* instance, const Vector3& point) {
    const Pose& pose = *instance->pose;
    const int32_t d[3] = {point.x - pose.position.x, point.y - pose.position.y, point.z - pose.position.z};
    int32_t local[3];
    for (int row = 0; row < 3; ++row)
        local[row] = round31(mul64(pose.matrix[row][0], d[0]) + mul64(pose.matrix[row][1], d[1]) +
                             mul64(pose.matrix[row][2], d[2]));
    return {local[0], local[1], local[2]};
}

bool strictly_inside(const ObjectHeader& h, const Vector3& p) {
    return h.box_min_x < p.x && p.x < h.box_max_x && h.box_min_y < p.y && p.y < h.box_max_y && h.box_min_z < p.z &&
           p.z < h.box_max_z;
}

// The header of a crater entry the collision tests consider: free entries hold none.
const ObjectHeader* crater_header(const GroundScar& s) {
    return s.object_type == SCAR_FREE ? nullptr : get_object_header(s.object_type);
}

bool high_above_scars(const Vector3& p) {
    return int64_t(p.z) > int64_t(get_ground_height(p.x, p.y)) + tallest_scar_height;
}

}  // namespace

ObjectInstance* find_mobile_object_at_point(const Vector3& point, const ObjectInstance* excluded,
                                            const ObjectInstance* excluded_too) {
    if (!in_world(point.x, point.y)) return nullptr;
    for (ObjectInstance* instance = mobile_object_tiles[point.x >> TILE_SHIFT][point.y >> TILE_SHIFT]; instance; instance = instance->next) {
        if (instance == excluded || instance == excluded_too) continue;
        const ObjectHeader* header = solid_header(instance);
        if (!header) continue;
        const Vector3& p = instance->pose->position;
        if (estimate_distance_3d(p.x - point.x, p.y - point.y, p.z - point.z) < header->radius) return instance;
    }
    return nullptr;
}

ObjectInstance* find_mobile_object_on_segment(const Vector3& a, const Vector3& b, const ObjectInstance* excluded,
                                              const ObjectInstance* excluded_too) {
    if (!in_world(a.x, a.y) || !in_world(b.x, b.y)) return nullptr;
    const Vector3 low = {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
    const Vector3 high = {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
    ObjectInstance* best = nullptr;
    int32_t best_distance = FAR_AWAY;
    for (int tx = low.x >> TILE_SHIFT; tx <= high.x >> TILE_SHIFT; ++tx) {
        for (int ty = low.y >> TILE_SHIFT; ty <= high.y >> TILE_SHIFT; ++ty) {
            for (ObjectInstance* instance = mobile_object_tiles[tx][ty]; instance; instance = instance->next) {
                if (instance == excluded || instance == excluded_too) continue;
                const ObjectHeader* header = solid_header(instance);
                if (!header) continue;
                const int64_t r = header->radius;
                const Vector3& p = instance->pose->position;
                if (p.x < low.x - r || p.x > high.x + r || p.y < low.y - r || p.y > high.y + r || p.z < low.z - r ||
                    p.z > high.z + r)
                    continue;
                const int32_t d = measure_segment_distance(a, b, p);
                if (d < header->radius && d < best_distance) {
                    best = instance;
                    best_distance = d;
                }
            }
        }
    }
    return best;
}

ObjectInstance* find_instance_containing_point(ObjectInstance* instance, const Vector3& point) {
    const ObjectHeader* header = get_object_header(instance->object_type);
    if (header && strictly_inside(*header, to_local(instance, point))) return instance;
    for (int32_t i = 0; i < instance->count; ++i) {
        ObjectInstance* sub = instance->sub_instances[i];
        if (!sub) continue;
        if (ObjectInstance* found = find_instance_containing_point(sub, point)) return found;
    }
    return nullptr;
}

int test_point_in_instance_box(const ObjectInstance* instance, const Vector3& point) {
    const ObjectHeader* h = get_object_header(instance->object_type);
    if (!h) return 0;
    const Vector3 p = to_local(instance, point);
    return h->box_min_x <= p.x && p.x <= h->box_max_x && h->box_min_y <= p.y && p.y <= h->box_max_y &&
           h->box_min_z <= p.z && p.z <= h->box_max_z;
}

ground_object* find_ground_object_at_point(const Vector3& point, Vector3& position, const ground_object* excluded) {
    if (!in_world(point.x, point.y) || point.z > tallest_object) return nullptr;
    const int tile = tile_index(point.x >> TILE_SHIFT, point.y >> TILE_SHIFT);
    for (int16_t* list : {ground_object_tiles[tile], ground_object_list(dynamic_table(), tile)}) {
        for (int k = 0; k < ground_object_count(list); ++k) {
            ground_object& r = ground_object_records(list)[k];
            const ObjectHeader* header = solid_record_header(r);
            if (&r == excluded || !header || point.z > header->height) continue;
            const Vector3 p = ground_object_position(tile, r);
            if (estimate_distance_2d(p.x - point.x, p.y - point.y) >= header->radius) continue;
            position = p;
            return &r;
        }
    }
    return nullptr;
}

ground_object* find_ground_object_on_segment(const Vector3& a, const Vector3& b, Vector3& position,
                                             const ground_object* excluded) {
    if (!in_world(a.x, a.y) || !in_world(b.x, b.y)) return nullptr;
    if (a.z > tallest_object && b.z > tallest_object) return nullptr;
    const int32_t low_x = std::min(a.x, b.x), high_x = std::max(a.x, b.x);
    const int32_t low_y = std::min(a.y, b.y), high_y = std::max(a.y, b.y);
    ground_object* best = nullptr;
    int32_t best_distance = FAR_AWAY;
    for (int16_t* const* table : {static_cast<int16_t* const*>(ground_object_tiles), dynamic_table()}) {
        for (int tx = low_x >> TILE_SHIFT; tx <= high_x >> TILE_SHIFT; ++tx) {
            for (int ty = low_y >> TILE_SHIFT; ty <= high_y >> TILE_SHIFT; ++ty) {
                const int tile = tile_index(tx, ty);
                int16_t* list = ground_object_list(table, tile);
                for (int k = 0; k < ground_object_count(list); ++k) {
                    ground_object& r = ground_object_records(list)[k];
                    const ObjectHeader* header = solid_record_header(r);
                    if (&r == excluded || !header || (header->height < a.z && header->height < b.z)) continue;
                    const int64_t radius = header->radius;
                    const Vector3 p = ground_object_position(tile, r);
                    if (p.x < low_x - radius || p.x > high_x + radius || p.y < low_y - radius || p.y > high_y + radius)
                        continue;
                    const int32_t d = measure_segment_distance(a, b, p);
                    if (d < header->radius && d < best_distance) {
                        best = &r;
                        best_distance = d;
                        position = p;
                    }
                }
            }
        }
    }
    return best;
}

int check_point_in_crater(const Vector3& p) {
    if (!in_world(p.x, p.y) || high_above_scars(p)) return 0;
    for (const GroundScar& s : crater_ring) {
        const ObjectHeader* header = crater_header(s);
        if (!header || s.x >> TILE_SHIFT != p.x >> TILE_SHIFT || s.y >> TILE_SHIFT != p.y >> TILE_SHIFT) continue;
        if (p.z < s.z || int64_t(p.z) > int64_t(s.z) + header->height) continue;
        if (estimate_distance_2d(s.x - p.x, s.y - p.y) < header->radius) return 1;
    }
    return 0;
}

int check_segment_hits_crater(const Vector3& a, const Vector3& b) {
    if (!in_world(a.x, a.y) || !in_world(b.x, b.y) || (high_above_scars(a) && high_above_scars(b))) return 0;
    const int tx0 = std::min(a.x, b.x) >> TILE_SHIFT, tx1 = std::max(a.x, b.x) >> TILE_SHIFT;
    const int ty0 = std::min(a.y, b.y) >> TILE_SHIFT, ty1 = std::max(a.y, b.y) >> TILE_SHIFT;
    const int64_t z0 = int64_t(std::min(a.z, b.z)) - tallest_scar_height, z1 = std::max(a.z, b.z);
    for (const GroundScar& s : crater_ring) {
        const ObjectHeader* header = crater_header(s);
        if (!header) continue;
        const int tx = s.x >> TILE_SHIFT, ty = s.y >> TILE_SHIFT;
        if (tx < tx0 || tx > tx1 || ty < ty0 || ty > ty1 || s.z < z0 || s.z > z1) continue;
        if (measure_segment_distance(a, b, {s.x, s.y, s.z}) < header->radius) return 1;
    }
    return 0;
}

}  // namespace vyr
