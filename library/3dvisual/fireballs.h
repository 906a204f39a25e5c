// Fireballs: burning puffs that grow, drift and burn out, each leaving two rising smoke tails,
// drawn as pairs of objects chosen by the puff's stage. Nothing in the game starts them yet and
// the stage table names no objects, so they draw nothing until it does.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"
#include "library/maths/vector.h"

namespace vyr {

constexpr int MAX_FIREBALLS = 250;
constexpr int32_t FIREBALL_POINT = 1;  // stands still and is never drawn
constexpr int32_t FIREBALL_PUFF = 2;
constexpr int FIREBALL_CHILDREN = 20;
constexpr int FIREBALL_STAGES = 6;

struct Fireball {
    int32_t kind;  // 0 free
    int32_t x, y, z;
    int32_t size;
    int32_t vx, vy, vz;      // world units per second
    int32_t age, lifetime;   // ticks of 1/200 s
    uint32_t heading, pitch, roll;
    int32_t tail;            // 1 for the rising puffs a burnt-out puff leaves
    Fireball* next;
    Fireball* prev;
};

extern Fireball fireball_pool[MAX_FIREBALLS];
extern Fireball* active_fireballs;
// Each stage's two objects, drawn slightly smaller then full size; 0 draws nothing.
extern int32_t fireball_stage_objects[FIREBALL_STAGES][2];

void init_fireballs();
// Both do nothing when the pool is used up.
void spawn_fireball_point(const Vector3* position, int32_t size);
// A puff and twenty smaller children scattered around it; `velocity` may be null.
void spawn_fireball_puff(const Vector3* position, int32_t size, const Vector3* velocity);
void update_fireballs();
void queue_fireballs();
void draw_fireball(BufferNode* node);
// The stage a puff is drawn at (5 for a tail) and the scale of its second object, 8.24.
int find_fireball_stage(const Fireball& fireball);
int32_t find_fireball_scale(const Fireball& fireball);

}  // namespace vyr
