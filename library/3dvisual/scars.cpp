#include "library/3dvisual/scars.h"

#include <algorithm>
#include <cmath>

#include "library/3dvisual/draw_object.h"
#include "library/3dvisual/effect_nodes.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/maths/random.h"

namespace vyr {

GroundScar crater_ring[MAX_GROUND_SCARS];
GroundScar ground_scar_ring[MAX_GROUND_SCARS];
int crater_cursor = 0, ground_scar_cursor = 0;
int32_t tallest_scar_height = 0;
ObjectInstance ground_scar_instance;

namespace {

constexpr int32_t UNIT_SCALE = 0x1000000;
constexpr int32_t HALF_SCALE = 0x800000;
constexpr int32_t HEAVE_LIMIT = 0x2A00;   // smaller heaves shrink with their size
constexpr int32_t CRATER_LIMIT = 0x4000;  // larger craters grow with it, up to 3 + a fraction
constexpr int32_t CRATER_GROWTH_STEP = 32;
constexpr int32_t MAX_CRATER_GROWTH = 3;
constexpr uint32_t RANDOM_ANGLE_MASK = 0x7FFF0000;
constexpr int32_t SPLASH_LIFE = 5, SPLASH_FRESH = 3;
constexpr int32_t COLLIDING_SCAR_TYPES[4] = {OBJ_CRATER, 257, OBJ_HEAVE, OBJ_WRECK_CRATER};

Pose scar_pose;

uint32_t random_heading() {
    next_random(random_seed);
    return uint32_t(random_seed) & RANDOM_ANGLE_MASK;
}

// Writes the entry at the ring's cursor, leaving its age and scale as they were; null outside
// the world.
GroundScar* write_entry(GroundScar* ring, int& cursor, const Vector3& position, int32_t type, uint32_t heading) {
    if (!in_world(position.x, position.y)) return nullptr;
    GroundScar& s = ring[cursor];
    cursor = (cursor + 1) % MAX_GROUND_SCARS;
    s.x = position.x;
    s.y = position.y;
    s.z = get_ground_height(position.x, position.y);
    s.object_type = type;
    s.heading = heading;
    return &s;
}

// Half of 1/n, or whole when n is 1 or less.
int32_t shrink_scale(int32_t n) { return n > 1 ? HALF_SCALE / n : UNIT_SCALE; }

int32_t crater_scale(int32_t size, int32_t kind) {
    const int32_t h = std::max(1, size / 256);
    const int32_t n = CRATER_GROWTH_STEP / h;
    if (kind == 1) return size < HEAVE_LIMIT ? shrink_scale(n) : UNIT_SCALE;
    if (size < CRATER_LIMIT) return shrink_scale(n);
    const int32_t whole = std::min(h / CRATER_GROWTH_STEP, MAX_CRATER_GROWTH);
    const float quotient = float(h) / float(CRATER_GROWTH_STEP);
    const float fraction = quotient - std::trunc(quotient);
    return whole * UNIT_SCALE + (int32_t(fraction * 2147483648.0f) >> 8);
}

void free_ring(GroundScar* ring, int& cursor) {
    for (int i = 0; i < MAX_GROUND_SCARS; ++i) ring[i].object_type = SCAR_FREE;
    cursor = 0;
}

// A full buffer ends this ring's walk only.
void queue_ring(GroundScar* ring) {
    for (int i = 0; i < MAX_GROUND_SCARS; ++i) {
        GroundScar& s = ring[i];
        if (s.object_type == SCAR_FREE) continue;
        if (queue_effect_node({s.x, s.y, s.z}, NODE_GROUND_SCAR, &s) == EffectQueue::FULL) return;
    }
}

}  // namespace

void reset_ground_scars() {
    free_ring(crater_ring, crater_cursor);
    free_ring(ground_scar_ring, ground_scar_cursor);
    ground_scar_instance = {};
    ground_scar_instance.pose = &scar_pose;
    ground_scar_instance.scaled = 1;
    tallest_scar_height = 0;
    for (int32_t type : COLLIDING_SCAR_TYPES)
        if (const ObjectHeader* header = get_object_header(type))
            tallest_scar_height = std::max(tallest_scar_height, header->height);
}

void add_explosion_crater(const Vector3* position, int32_t size, int32_t kind) {
    GroundScar* s = write_entry(crater_ring, crater_cursor, *position, kind == 1 ? OBJ_HEAVE : OBJ_CRATER,
                                random_heading());
    if (!s) return;
    s->scale_x = s->scale_y = s->scale_z = crater_scale(size, kind);
}

void add_impact_scar(const Vector3* position) { add_ground_scar(position, OBJ_SPLASH, random_heading()); }

void add_wreck_scar(const Vector3* position, const Matrix3* orientation) {
    add_ground_scar(position, OBJ_WRECK_CRATER, get_matrix_heading(*orientation));
}

void add_ground_scar(const Vector3* position, int32_t object_type, uint32_t heading) {
    GroundScar* s = write_entry(ground_scar_ring, ground_scar_cursor, *position, object_type, heading);
    if (!s) return;
    s->age = 0;
    s->scale_x = s->scale_y = s->scale_z = UNIT_SCALE;
}

void age_impact_scars() {
    for (GroundScar& s : ground_scar_ring)
        if (s.object_type == OBJ_SPLASH && ++s.age == SPLASH_LIFE) s.object_type = SCAR_FREE;
}

void queue_ground_scars() {
    if (sky_state != SKY_BELOW_CLOUDS) return;
    queue_ring(ground_scar_ring);
    queue_ring(crater_ring);
}

void draw_ground_scar(BufferNode* node) {
    const GroundScar& s = *static_cast<const GroundScar*>(node->object);
    ground_scar_instance.view_distance = node->key;
    ground_scar_instance.object_type = s.object_type;
    ground_scar_instance.scale_x = s.scale_x;
    ground_scar_instance.scale_y = s.scale_y;
    ground_scar_instance.scale_z = s.scale_z;
    ground_scar_instance.state_mask = s.object_type == OBJ_SPLASH && s.age < SPLASH_FRESH ? 1 : 0;
    scar_pose.position = {s.x, s.y, s.z};
    build_z_rotation(s.heading, scar_pose.matrix);
    draw_object(&ground_scar_instance);
}

}  // namespace vyr
