#include "source/weapons/effects.h"

#include <algorithm>
#include <iterator>

#include "library/3dvisual/explosions.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/features.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/scars.h"
#include "library/3dvisual/terrain.h"
#include "library/maths/matrix.h"
#include "library/maths/random.h"
#include "library/maths/trig.h"
#include "source/avionics/views.h"
#include "source/sound/triggers.h"
#include "source/weapons/launch_sound.h"
#include "source/weapons/rounds.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapons_frame.h"

namespace vyr {

namespace {

constexpr int32_t WORLD_MAX = 0x0FFFFFFF;
constexpr int32_t SCATTER_STEP = 38400;   // 150 ft
constexpr int32_t AIR_BURST_HEIGHT = 5120;  // 20 ft above the ground
constexpr uint32_t STEEP_VIEW = 0x15555555;  // 30 degrees
constexpr int32_t INNER_RADIUS = 76800;
constexpr int32_t SOLDIER_TYPES[] = {640, 743, 916, 917, 918, 919, 920, 921, 984, 987, 988, 989};

bool inside_world(const Vector3& p) { return p.x >= 0 && p.x <= WORLD_MAX && p.y >= 0 && p.y <= WORLD_MAX; }

bool is_soldier_type(int32_t type) {
    return std::find(std::begin(SOLDIER_TYPES), std::end(SOLDIER_TYPES), type) != std::end(SOLDIER_TYPES);
}

bool eye_looks_steeply() {
    const uint32_t pitch = lookup_arcsin(eye_pose.matrix[1][2]);
    return fixed_magnitude(int32_t(pitch)) >= STEEP_VIEW;
}

void spawn_air_blast(const Vector3& point, int32_t size, int32_t variant) {
    if (!inside_world(point) || size == 0) return;
    spawn_air_explosion(&point, size, nullptr, variant);
}

void spawn_ground_blast(const Vector3& point, int32_t size) {
    if (!inside_world(point) || size == 0) return;
    spawn_ground_explosion(&point, size);
}

// On the ground the eye sees a burst from far above or below better as an air one.
void spawn_low_blast(const Vector3& point, int32_t size, int32_t variant) {
    if (eye_looks_steeply())
        spawn_air_blast(point, size, variant);
    else
        spawn_ground_blast(point, size);
}

bool above_burst_height(const Vector3& p) { return p.z >= get_ground_height(p.x, p.y) + AIR_BURST_HEIGHT; }

void make_wreck_scar(const Vector3& point, uint32_t heading) {
    Matrix3 orientation;
    build_rotation_matrix(heading, 0, 0, orientation);
    add_wreck_scar(&point, &orientation);
}

// Open ground takes half a crater of what a hard surface takes; water only a splash scar; a size
// of 0 is a wreck lying there.
void leave_ground_scar(int32_t size, const Vector3& point, uint32_t heading) {
    if (!inside_world(point)) return;
    switch (get_feature_kind(point.x, point.y)) {
    case FEATURE_UNKNOWN:
        if (size == 0)
            make_wreck_scar(point, heading);
        else
            add_explosion_crater(&point, size / 2, 0);
        break;
    case FEATURE_RIVER: case FEATURE_LAKE: case FEATURE_OCEAN:
        add_impact_scar(&point);
        break;
    case FEATURE_ROAD: case FEATURE_RAILWAY: case FEATURE_RUNWAY: case FEATURE_TAXIWAY:
        if (size == 0)
            make_wreck_scar(point, heading);
        else
            add_explosion_crater(&point, size, 1);
        break;
    default:
        break;
    }
}

Vector3 random_point_near(const Vector3& point, int32_t spread) {
    Vector3 p = point;
    const int64_t range = std::max<int64_t>(2 * int64_t(spread), 1);
    for (int32_t* c : {&p.x, &p.y, &p.z}) {
        const int32_t v = int32_t(next_game_random() % range - spread);
        *c += v < 1 ? v - SCATTER_STEP : v + SCATTER_STEP;
    }
    p.z = std::clamp(p.z, 0, 0x7FFFFFFE);
    return p;
}

// A draw of `random_seed` scaled to 0..range-1.
int32_t seed_draw(int32_t range) { return int32_t(int64_t(next_random(random_seed)) * range / 32768); }

// Forward along the heading at the distance.
Vector3 along(const Vector3& from, uint32_t heading, int32_t distance) {
    return {from.x + mul31(lookup_sin(heading), distance), from.y + mul31(lookup_cos(heading), distance), from.z};
}

void object_effects(const Vector3& position, int32_t size, int32_t type, uint32_t heading, int32_t variant) {
    scatter_blasts(position, size, type, heading, variant);
    play_blast_sound(size, position);
}

uint32_t instance_heading(const ObjectInstance* instance) {
    const int32_t* forward = instance->pose->matrix[1];
    return compute_bearing(forward[0], forward[1]);
}

uint32_t ground_heading(const ground_object* record) { return uint32_t(record->heading) << 16; }

}  // namespace

void make_point_blast(const Vector3& point, int32_t size, uint32_t heading, int32_t type, int32_t variant) {
    if (above_burst_height(point)) {
        spawn_air_blast(point, size, variant);
        return;
    }
    spawn_low_blast(point, size, variant);
    if (!is_soldier_type(type)) leave_ground_scar(size, point, heading);
}

void scatter_blasts(const Vector3& point, int32_t size, int32_t type, uint32_t heading, int32_t variant) {
    const int32_t m = std::min(size, SCATTER_STEP);
    make_point_blast(point, m, heading, type, variant);
    if (size < SCATTER_STEP) return;
    const int32_t side = size / SCATTER_STEP + 1;
    const int32_t spread = std::min(size / 2, int32_t(0.75 * m));
    for (int32_t i = 0; i < side * side; ++i) {
        const Vector3 p = type != 0 ? random_point_in_type_box(point, type, heading) : random_point_near(point, spread);
        make_point_blast(p, spread, heading, type, variant);
    }
}

// A type no wider than the inner radius has no ring to draw a distance from: its points lie at its
// radius. One of height 0 has them on the ground.
Vector3 random_point_in_type_box(const Vector3& point, int32_t type, uint32_t heading) {
    const ObjectHeader* header = get_object_header(type);
    if (!header) return point;
    const uint32_t b = uint32_t(next_game_random());
    const int32_t distance =
        header->radius > INNER_RADIUS ? INNER_RADIUS + next_game_random() % (header->radius - INNER_RADIUS) : header->radius;
    const int32_t z = header->height > 0 ? next_game_random() % header->height : 0;
    const int32_t x = std::clamp(mul31(lookup_sin(b), distance), header->box_min_x, std::max(header->box_min_x, header->box_max_x));
    const int32_t y = std::clamp(mul31(lookup_cos(b), distance), header->box_min_y, std::max(header->box_min_y, header->box_max_y));
    const int32_t top = std::clamp(z, header->box_min_z, std::max(header->box_min_z, header->box_max_z));
    Vector3 p = along(point, b - heading, estimate_distance_2d(x, y));
    p.z += top;
    return p;
}

void ground_object_destroyed_effects(ground_object* record, const Vector3& position) {
    const ObjectHeader* header = get_object_header(record->type);
    const int32_t size = header ? header->radius : 0;
    set_ground_object_destroyed_type(record);
    object_effects(position, size, record->type, ground_heading(record), 0);
}

void ground_object_hit_effects(const ground_object* record, const Vector3& position) {
    const ObjectHeader* header = get_object_header(record->type);
    object_effects(position, header ? int32_t(header->radius * 0.25) : 0, record->type, ground_heading(record), 0);
}

void drone_destroyed_effects(ObjectInstance* instance) {
    const ObjectHeader* header = get_object_header(instance->object_type);
    object_effects(instance->pose->position, header ? header->radius : 0, instance->object_type,
                   instance_heading(instance), 0);
}

void mobile_hit_effects(ObjectInstance* instance) {
    const ObjectHeader* header = get_object_header(instance->object_type);
    object_effects(instance->pose->position, header ? int32_t(header->radius * 0.25) : 0, instance->object_type,
                   instance_heading(instance), 1);
}

void impact_effects(const WeaponRound* round, int quiet, int no_scar, const Vector3* point) {
    const WeaponInfo& weapon = weapon_info[round->weapon_id];
    uint32_t heading = 0;
    if (weapon.round_class != ROUND_CLASS_SHELL) {
        if (quiet) return;
        heading = compute_bearing(round->pose.matrix[1][0], round->pose.matrix[1][1]);
    }
    const Vector3 p = point ? *point : round->pose.position;
    const int32_t blast = weapon.blast_radius;
    if (!above_burst_height(p)) {
        spawn_low_blast(p, blast, 0);
        if (!no_scar) leave_ground_scar(blast / 2, p, heading);
    } else {
        spawn_air_blast(p, blast, 0);
        const int more = round->weapon_id == WEAPON_OFAB250 ? 10 : round->weapon_id == WEAPON_FAE500 ? 20 : 0;
        const int32_t reach = round->weapon_id == WEAPON_OFAB250 ? 12800 : 128000;
        const int32_t size = round->weapon_id == WEAPON_OFAB250 ? blast / 2 : blast;
        for (int i = 0; i < more; ++i) {
            const int32_t a = seed_draw(reach), b = seed_draw(reach), c = seed_draw(6000);
            spawn_air_blast({p.x + a, p.y + b, p.z + c}, size, 0);
        }
    }
    play_blast_sound(blast, p);
}

// Blasts are placed left or right as launches are.
void play_blast_sound(int32_t size, const Vector3& point) {
    if (size == 0 || too_many_blast_sounds()) return;
    play_explosion_sound(blast_sound_level(size, point), compute_sound_pan(point));
}

int blast_sound_level(int32_t size, const Vector3& point) {
    if (size <= 0) return 0;
    const Vector3& camera = view_camera_pose.position;
    const int64_t q =
        int64_t(estimate_distance_3d(point.x - camera.x, point.y - camera.y, point.z - camera.z) / (size * 1.5));
    if (q <= 2) return 63;
    if (q >= 256) return 10;
    return std::clamp(int(64 - q / 4), 10, 63);
}

}  // namespace vyr
