// Pieces of destroyed things: every node of an instance tree flies off on its own with a random
// velocity and spin, falls, rests on land and sinks with a splash on water. A pool of 64 reused
// round-robin, drawn as mobile objects.
#pragma once

#include <cstdint>

#include "library/3dvisual/instance.h"

namespace vyr {

constexpr int MAX_FRAGMENTS = 64;
constexpr int32_t FRAGMENT_GRAVITY = 0x2000;  // world units per second squared

struct Fragment {
    int32_t kind;  // 0 free, 1 flying or at rest
    ObjectInstance instance;
    Pose pose;
    Vector3 spin_axis;  // unit, 1.31
    int32_t spin_rate;  // binary angle per second
    Vector3 velocity;   // world units per second
};

extern Fragment fragments[MAX_FRAGMENTS];
extern int fragment_cursor;

void init_fragments();
void shutdown_fragments();
// Every node of the tree, root first and depth first, becomes a fragment.
void spawn_fragments(ObjectInstance* instance);
void spawn_fragment(ObjectInstance* instance);
void update_fragments();
void queue_fragments();
// The object breaks into fragments thrown from where its parts stand.
void spawn_fragments(ObjectInstance* instance);

}  // namespace vyr
