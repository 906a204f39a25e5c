// Object instances: each drawn thing is a tree of them built from its object type's sub-object
// list, so that turrets, rotors, gear and stores each have their own pose and state.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"

namespace vyr {

constexpr int32_t OWNER_NONE = 0;
constexpr int32_t OWNER_DRONE = 1;
constexpr int32_t OWNER_ROUND = 2;

constexpr int32_t INSTANCE_INACTIVE = 1;
constexpr int32_t INSTANCE_SIDE_SHIFT = 1;  // two bits: 0 neutral, 1 allied, 2 enemy
constexpr int32_t INSTANCE_SIDE_VARIANT = 16;

struct ObjectInstance {
    int32_t object_type;
    int32_t view_distance;  // from the eye, set just before drawing; negative behind it
    Pose* pose;             // in the world
    Pose* offset;           // from the parent; null for a root
    uint32_t state_mask;    // chooses the face code's conditional blocks; the owner's to set
    ObjectInstance* prev;   // the mobile-object tile list (roots only)
    ObjectInstance* next;
    ObjectInstance** tile_list;  // the head of the tile list it is filed in; null when in none
    ObjectInstance** sub_instances;  // `count` slots in sub-object list order; a slot may be null
    int32_t count;
    int32_t scale_x, scale_y, scale_z;  // 8.24
    int32_t scaled;
    void* allocation;  // the builder's block for this node, or null
    int32_t owner_kind;
    void* owner;
    int32_t flags;
};

// The values a tree's variable sub-objects take, depth first; a value 0, or a list that has run
// out, leaves the slot empty.
struct VariableList {
    const int32_t* types;
    int count;
};

// Builds the tree of `type` into `record` and `pose` where given (else into a block of its own)
// and returns its root. A variable sub-object without a list is fatal.
ObjectInstance* create_object_instance(int32_t type, ObjectInstance* record, Pose* pose,
                                       const VariableList* variables);
// Frees the tree below `instance` and the node's own block; blocks the caller gave stay.
void free_object_instance(ObjectInstance* instance);

// Places every sub-instance in the world from the root's pose, which stays as it is.
void place_sub_instances(ObjectInstance* root);
void place_instance_tree(ObjectInstance* instance, const Pose* parent);

// Scales the whole tree; the factors become 8.24, truncated.
void set_instance_scale(ObjectInstance* instance, double sx, double sy, double sz);

}  // namespace vyr
