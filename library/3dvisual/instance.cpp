#include "library/3dvisual/instance.h"

#include <algorithm>
#include <new>

#include "library/3dvisual/objects.h"
#include "library/debug/fatal.h"
#include "library/system/memory.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/3dvisual/3dbuild";

struct VariableCursor {
    const VariableList* list;
    int next;
};

int32_t scale_offset(int32_t value, int32_t scale) {
    const int64_t product = int64_t(value) * scale;
    return int32_t((product >> 24) + ((product >> 23) & 1));
}

ObjectInstance* build_instance_tree(int32_t type, ObjectInstance* record, Pose* pose, VariableCursor& cursor,
                                    bool is_root) {
    const ObjectHeader* header = get_object_header(type);
    const int32_t n = header ? header->sub_object_count : 0;
    const size_t size = (record ? 0 : sizeof(ObjectInstance)) + (pose ? 0 : sizeof(Pose)) +
                        (is_root ? 0 : sizeof(Pose)) + sizeof(ObjectInstance*) * size_t(n);
    uint8_t* block = size > 0 ? static_cast<uint8_t*>(allocate_memory(size, SOURCE, __LINE__)) : nullptr;
    uint8_t* next = block;
    auto take = [&next](size_t bytes) {
        uint8_t* part = next;
        next += bytes;
        return part;
    };
    if (!record) record = new (take(sizeof(ObjectInstance))) ObjectInstance{};
    record->allocation = block;
    record->pose = pose ? pose : new (take(sizeof(Pose))) Pose{};
    record->offset = is_root ? nullptr : new (take(sizeof(Pose))) Pose{};
    record->sub_instances = nullptr;
    if (n > 0) {
        record->sub_instances = reinterpret_cast<ObjectInstance**>(take(sizeof(ObjectInstance*) * size_t(n)));
        std::fill_n(record->sub_instances, n, nullptr);
    }
    record->view_distance = 0;
    record->scale_x = record->scale_y = record->scale_z = 0;
    record->scaled = 0;
    record->count = n;
    record->object_type = type;
    if (!is_root) record->owner_kind = OWNER_NONE;
    record->flags &= ~INSTANCE_SIDE_VARIANT;

    for (int32_t i = 0; i < n; ++i) {
        const SubObject& entry = header->sub_objects[i];
        int32_t sub_type = entry.type;
        if (sub_type == 0) {
            if (!cursor.list || !cursor.list->types)
                report_fatal_error("Variable sub-object list is a NULL pointer.", SOURCE, __LINE__);
            sub_type = cursor.next < cursor.list->count ? cursor.list->types[cursor.next++] : 0;
        }
        if (sub_type == 0) continue;
        ObjectInstance* sub = build_instance_tree(sub_type, nullptr, nullptr, cursor, false);
        *sub->offset = entry.offset;
        record->sub_instances[i] = sub;
    }
    return record;
}

}  // namespace

ObjectInstance* create_object_instance(int32_t type, ObjectInstance* record, Pose* pose,
                                       const VariableList* variables) {
    VariableCursor cursor{variables, 0};
    return build_instance_tree(type, record, pose, cursor, true);
}

void free_object_instance(ObjectInstance* instance) {
    for (int32_t i = 0; i < instance->count; ++i) {
        if (!instance->sub_instances[i]) continue;
        free_object_instance(instance->sub_instances[i]);
        instance->sub_instances[i] = nullptr;
    }
    // The block may hold the record itself, so nothing is read from it after this.
    free_memory(instance->allocation, SOURCE, __LINE__);
}

void place_instance_tree(ObjectInstance* instance, const Pose* parent) {
    Vector3 o = instance->offset->position;
    if (instance->scaled) {
        o = {scale_offset(o.x, instance->scale_x), scale_offset(o.y, instance->scale_y),
             scale_offset(o.z, instance->scale_z)};
    }
    Pose& pose = *instance->pose;
    pose.position = parent->position;
    if (o.x != 0 || o.y != 0 || o.z != 0) {
        const Matrix3& m = parent->matrix;
        int32_t* out[3] = {&pose.position.x, &pose.position.y, &pose.position.z};
        for (int c = 0; c < 3; ++c)
            *out[c] += round31(mul64(o.x, m[0][c]) + mul64(o.y, m[1][c]) + mul64(o.z, m[2][c]));
    }
    multiply_matrices(instance->offset->matrix, parent->matrix, pose.matrix);
    for (int32_t i = 0; i < instance->count; ++i)
        if (instance->sub_instances[i]) place_instance_tree(instance->sub_instances[i], instance->pose);
}

void place_sub_instances(ObjectInstance* root) {
    for (int32_t i = 0; i < root->count; ++i)
        if (root->sub_instances[i]) place_instance_tree(root->sub_instances[i], root->pose);
}

void set_instance_scale(ObjectInstance* instance, double sx, double sy, double sz) {
    instance->scale_x = int32_t(sx * (1 << 24));
    instance->scale_y = int32_t(sy * (1 << 24));
    instance->scale_z = int32_t(sz * (1 << 24));
    instance->scaled = 1;
    for (int32_t i = 0; i < instance->count; ++i)
        if (instance->sub_instances[i]) set_instance_scale(instance->sub_instances[i], sx, sy, sz);
}

}  // namespace vyr
