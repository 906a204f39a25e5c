// Target references: what a weapon, a drone or the war model aims at.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int32_t TARGET_NONE = 0;
constexpr int32_t TARGET_GROUND_OBJECT = 1;
constexpr int32_t TARGET_MOBILE_OBJECT = 2;
constexpr int32_t TARGET_FIXED_POINT = 3;

constexpr int32_t TARGET_DOMAIN_GROUND = 0;
constexpr int32_t TARGET_DOMAIN_AIR = 1;

struct Target {
    int32_t kind;
    int32_t domain;  // cached from the object
    int32_t x, y, z;  // ground objects and fixed points
    int32_t priority;
    void* object;  // a ground_object record or an ObjectInstance
};

struct Vector3;
struct ground_object;

constexpr int MAX_TARGETS = 6048;

// A pool slot for the record at `position`; a full pool is fatal.
Target* new_ground_object_target(ground_object* record, const Vector3& position);
// Gives a pool slot back; null does nothing, a drone's embedded target is kept.
void release_target(Target* target);

}  // namespace vyr
