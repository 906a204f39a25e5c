// Targets: the one reference to anything that can be aimed at. Ground objects and fixed points
// take slots of a fixed pool; a drone's target is embedded in the drone.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"

namespace vyr {

struct ground_object;

enum TargetKind : int32_t { TARGET_NONE = 0, TARGET_GROUND_OBJECT = 1, TARGET_MOBILE = 2, TARGET_FIXED_POINT = 3 };

constexpr int MAX_TARGETS = 6048;

struct Target {
    Target* next;  // the ground radar's sorted contacts
    Target* prev;
    Vector3 offset;    // from the player's aircraft at the last sweep
    Vector3 position;  // kinds 1 and 3
    Pose* pose;        // the radar's copies of mobile contacts
    Vector3 radar_position;
    int32_t priority;
    Vector3 vector;
    int32_t kind;
    int32_t domain;  // 0 not yet known, 1 ground, 2 air
    void* object;    // kind 1 the ground_object, kind 2 the ObjectInstance
};

// A pool slot for the record at `position`; a full pool is fatal.
Target* new_ground_object_target(ground_object* record, const Vector3& position);
// Gives a pool slot back; null does nothing, a drone's embedded target is kept.
void release_target(Target* target);

}  // namespace vyr
