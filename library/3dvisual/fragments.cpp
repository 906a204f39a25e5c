#include "library/3dvisual/fragments.h"

#include "library/3dvisual/effect_nodes.h"
#include "library/3dvisual/features.h"
#include "library/3dvisual/scars.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/maths/random.h"

namespace vyr {

Fragment fragments[MAX_FRAGMENTS];
int fragment_cursor = 0;

namespace {

constexpr const char* SOURCE = "library/3dvisual/fragment";
constexpr int32_t RANDOM_MASK = 0x7FFF0000;
constexpr int32_t RANDOM_MIDDLE = 0x40000000;
constexpr int32_t LAUNCH_SPEED = 19200;  // world units per second, just short of

int32_t draw_fragment_random() {
    next_random(random_seed);
    return random_seed & RANDOM_MASK;
}

int32_t draw_signed() { return draw_fragment_random() - RANDOM_MIDDLE; }

void clear_pool() {
    for (Fragment& f : fragments) f.kind = 0;
    fragment_cursor = 0;
}

bool on_water(int32_t x, int32_t y) {
    const int kind = get_feature_kind(x, y);
    return kind == FEATURE_RIVER || kind == FEATURE_LAKE || kind == FEATURE_OCEAN;
}

void move_fragment(Fragment& f) {
    const int32_t t = effect_frame_fraction;
    Matrix3 spin, turned;
    build_axis_rotation(f.spin_axis, uint32_t(mul31(f.spin_rate, t)), spin);
    multiply_matrices(spin, f.pose.matrix, turned);
    f.pose.matrix = turned;
    f.velocity.z -= mul31(FRAGMENT_GRAVITY, t);
    Vector3& p = f.pose.position;
    p.x += mul31(f.velocity.x, t);
    p.y += mul31(f.velocity.y, t);
    p.z += mul31(f.velocity.z, t);
    const int32_t ground = get_ground_height(p.x, p.y);
    if (ground < p.z) return;
    f.spin_rate = 0;
    f.velocity = {0, 0, 0};
    p.z = ground;
    if (ground != 0 || !on_water(p.x, p.y)) return;
    f.kind = 0;
    if (in_world(p.x, p.y)) add_impact_scar(&p);
}

}  // namespace

void init_fragments() { clear_pool(); }
void shutdown_fragments() { clear_pool(); }

void spawn_fragments(ObjectInstance* instance) {
    spawn_fragment(instance);
    for (int32_t i = 0; i < instance->count; ++i)
        if (ObjectInstance* sub = instance->sub_instances[i]) spawn_fragments(sub);
}

void spawn_fragment(ObjectInstance* instance) {
    Fragment& f = fragments[fragment_cursor];
    fragment_cursor = (fragment_cursor + 1) % MAX_FRAGMENTS;
    f.kind = 1;
    f.instance = {};
    f.instance.object_type = instance->object_type;
    f.instance.state_mask = instance->state_mask;
    f.instance.pose = &f.pose;
    f.instance.flags = INSTANCE_INACTIVE;
    f.pose = *instance->pose;
    const int32_t ax = draw_signed(), ay = draw_signed(), az = draw_signed();
    f.spin_axis = {ax, ay, az};
    normalize_vector(f.spin_axis);
    f.spin_rate = int32_t(uint32_t(draw_fragment_random()) * 2u);
    const int32_t dx = draw_signed(), dy = draw_signed(), dz = draw_fragment_random() / 2;
    Vector3 direction = {dx, dy, dz};
    normalize_vector(direction);
    const int32_t speed = mul31(draw_fragment_random(), LAUNCH_SPEED);
    f.velocity = {mul31(direction.x, speed), mul31(direction.y, speed), mul31(direction.z, speed)};
}

void update_fragments() {
    for (Fragment& f : fragments) {
        if (f.kind == 0) continue;
        if (f.kind != 1) {
            report_fatal_error("Invalid fragment type.", SOURCE, __LINE__);
            continue;
        }
        move_fragment(f);
    }
}

void queue_fragments() {
    for (Fragment& f : fragments) {
        if (f.kind == 0 || !effect_height_shows(f.pose.position.z)) continue;
        if (queue_effect_node(f.pose.position, NODE_MOBILE_OBJECT, &f.instance) == EffectQueue::FULL) return;
    }
}

}  // namespace vyr
