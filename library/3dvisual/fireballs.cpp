#include "library/3dvisual/fireballs.h"

#include <algorithm>

#include "library/3dvisual/draw_object.h"
#include "library/3dvisual/effect_nodes.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/maths/matrix.h"
#include "library/maths/random.h"
#include "library/maths/units.h"

namespace vyr {

Fireball fireball_pool[MAX_FIREBALLS];
Fireball* active_fireballs = nullptr;
int32_t fireball_stage_objects[FIREBALL_STAGES][2] = {};

namespace {

constexpr const char* SOURCE = "library/3dvisual/fireball";
constexpr int32_t RANDOM_MASK = 0x7FFF0000;
constexpr int64_t HALF_TURN = int64_t(1) << 31;
constexpr int32_t RANDOM_MIDDLE = 0x40000000;
constexpr int32_t PUFF_LIFE = 800, PUFF_EXTRA_LIFE = 200;
constexpr int32_t TAIL_LIFE = 400, TAIL_EXTRA_LIFE = 400;
constexpr int32_t ROLL_RATE = 0x40000000;  // a quarter turn per second
constexpr int32_t INNER_SCALE = 0x79999998;  // 0.95
constexpr int TAIL_STAGE = 5;
constexpr int32_t STAGE_PERCENT[4] = {20, 50, 65, 80};
constexpr int64_t SCALE_DIVISOR = 50;

Fireball* free_fireballs = nullptr;
ObjectInstance fireball_instance;
Pose fireball_pose;

int32_t draw_fireball_random() {
    next_random(random_seed);
    return random_seed & RANDOM_MASK;
}

// A random offset of up to `reach` either way.
int32_t scatter(int32_t reach) { return round31(uint64_t((2 * int64_t(draw_fireball_random()) - HALF_TURN) * reach)); }

uint32_t random_angle() { return uint32_t(draw_fireball_random()) * 2u; }

void unlink(Fireball*& head, Fireball* f) {
    if (f->prev) f->prev->next = f->next;
    else head = f->next;
    if (f->next) f->next->prev = f->prev;
}

void push(Fireball*& head, Fireball* f) {
    f->prev = nullptr;
    f->next = head;
    if (head) head->prev = f;
    head = f;
}

Fireball* take_fireball() {
    Fireball* f = free_fireballs;
    if (!f) return nullptr;
    unlink(free_fireballs, f);
    push(active_fireballs, f);
    return f;
}

void free_fireball(Fireball* f) {
    f->kind = 0;
    unlink(active_fireballs, f);
    push(free_fireballs, f);
}

// The fields every puff draws at birth: its lifetime and its three angles.
void start_puff(Fireball* f, const Vector3& position, int32_t size, const Vector3& velocity, int32_t life,
                int32_t extra_life) {
    f->kind = FIREBALL_PUFF;
    f->x = position.x;
    f->y = position.y;
    f->z = position.z;
    f->size = size;
    f->vx = velocity.x;
    f->vy = velocity.y;
    f->vz = velocity.z;
    f->age = 0;
    f->lifetime = life + mul31(draw_fireball_random(), extra_life);
}

void spawn_child(const Fireball& parent) {
    const Vector3 position = {parent.x + scatter(parent.size / 8), parent.y + scatter(parent.size / 8),
                              parent.z + scatter(parent.size / 8)};
    const int32_t size = parent.size / 2 + mul31(draw_fireball_random(), parent.size / 2);
    const int32_t dx = draw_fireball_random() - RANDOM_MIDDLE, dy = draw_fireball_random() - RANDOM_MIDDLE,
                  dz = draw_fireball_random() - RANDOM_MIDDLE;
    Vector3 direction = {dx, dy, dz};
    normalize_vector(direction);
    const int32_t speed = parent.size / 4;
    const Vector3 velocity = {parent.vx + mul31(direction.x, speed), parent.vy + mul31(direction.y, speed),
                              parent.vz + mul31(direction.z, speed)};
    Fireball* child = take_fireball();
    if (!child) return;
    start_puff(child, position, size, velocity, PUFF_LIFE, PUFF_EXTRA_LIFE);
    child->heading = random_angle();
    child->pitch = random_angle();
    child->roll = random_angle();
    child->tail = 0;
}

void leave_tail(const Fireball& parent) {
    const Vector3 position = {parent.x + scatter(parent.size / 2), parent.y + scatter(parent.size / 2),
                              parent.z + scatter(parent.size / 2)};
    const int32_t size = parent.size / 4 + mul31(draw_fireball_random(), parent.size / 4);
    Fireball* tail = take_fireball();
    if (!tail) return;
    start_puff(tail, position, size, {parent.vx, parent.vy, parent.vz + size}, TAIL_LIFE, TAIL_EXTRA_LIFE);
    tail->heading = parent.heading;
    tail->pitch = parent.pitch;
    tail->roll = parent.roll;
    tail->tail = 1;
}

void update_puff(Fireball* f) {
    const int32_t t = effect_frame_fraction;
    f->age += mul31(TICKS_PER_SECOND, t);
    if (f->age < f->lifetime) {
        f->roll += uint32_t(mul31(ROLL_RATE, t));
        f->x += mul31(f->vx, t);
        f->y += mul31(f->vy, t);
        f->z += mul31(f->vz, t);
        f->z = std::max(f->z, get_ground_height(f->x, f->y) + f->size);
        return;
    }
    if (!f->tail) {
        leave_tail(*f);
        leave_tail(*f);
    }
    free_fireball(f);
}

void draw_stage_object(int32_t type, int32_t scale) {
    if (type == 0) return;
    fireball_instance.object_type = type;
    fireball_instance.scale_x = fireball_instance.scale_y = fireball_instance.scale_z = scale;
    draw_object(&fireball_instance);
}

}  // namespace

void init_fireballs() {
    free_fireballs = active_fireballs = nullptr;
    for (int i = MAX_FIREBALLS - 1; i >= 0; --i) {
        fireball_pool[i] = {};
        push(free_fireballs, &fireball_pool[i]);
    }
    fireball_instance = {};
    fireball_instance.pose = &fireball_pose;
    fireball_instance.scaled = 1;
}

void spawn_fireball_point(const Vector3* position, int32_t size) {
    Fireball* f = take_fireball();
    if (!f) return;
    f->kind = FIREBALL_POINT;
    f->x = position->x;
    f->y = position->y;
    f->z = get_ground_height(position->x, position->y);
    f->size = size;
}

void spawn_fireball_puff(const Vector3* position, int32_t size, const Vector3* velocity) {
    Fireball* f = take_fireball();
    if (!f) return;
    start_puff(f, *position, size, velocity ? *velocity : Vector3{0, 0, 0}, PUFF_LIFE, PUFF_EXTRA_LIFE);
    f->heading = random_angle();
    f->pitch = random_angle();
    f->roll = random_angle();
    f->tail = 0;
    for (int i = 0; i < FIREBALL_CHILDREN; ++i) spawn_child(*f);
}

void update_fireballs() {
    for (Fireball *f = active_fireballs, *next = nullptr; f; f = next) {
        next = f->next;
        switch (f->kind) {
            case 0: report_fatal_error("Unknown fireball type.", SOURCE, __LINE__); break;
            case FIREBALL_POINT: break;
            case FIREBALL_PUFF: update_puff(f); break;
            default: report_fatal_error("Invalid fireball type.", SOURCE, __LINE__);
        }
    }
}

void queue_fireballs() {
    if (current_view.night_vision == NIGHT_VISION_ALTERNATE || sky_state == SKY_IN_CLOUDS) return;
    for (Fireball* f = active_fireballs; f; f = f->next) {
        if (!effect_height_shows(f->z)) continue;
        if (queue_effect_node({f->x, f->y, f->z}, NODE_FIREBALL, f) == EffectQueue::FULL) return;
    }
}

int find_fireball_stage(const Fireball& f) {
    if (f.tail) return TAIL_STAGE;
    const int64_t percent = int64_t(f.age) * 100 / f.lifetime;
    int stage = 0;
    while (stage < TAIL_STAGE - 1 && percent >= STAGE_PERCENT[stage]) ++stage;
    return stage;
}

int32_t find_fireball_scale(const Fireball& f) {
    const int64_t grown = int64_t(f.size) << 16;
    return int32_t(f.tail ? grown / SCALE_DIVISOR : grown * f.age / (SCALE_DIVISOR * f.lifetime));
}

void draw_fireball(BufferNode* node) {
    const Fireball& f = *static_cast<const Fireball*>(node->object);
    if (f.kind != FIREBALL_PUFF || find_eye_depth({f.x, f.y, f.z}) <= 0) return;
    const int32_t scale = find_fireball_scale(f);
    fireball_instance.view_distance = node->key;
    fireball_pose.position = {f.x, f.y, f.z};
    build_rotation_matrix(f.heading, f.pitch, f.roll, fireball_pose.matrix);
    const int32_t* objects = fireball_stage_objects[find_fireball_stage(f)];
    draw_stage_object(objects[0], mul31(scale, INNER_SCALE));
    draw_stage_object(objects[1], scale);
}

}  // namespace vyr
