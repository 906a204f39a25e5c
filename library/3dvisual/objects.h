// The 3D object types, loaded once per run from the object files of the world's 3D data
// directory.
#pragma once

#include <cstdint>

namespace vyr {

struct ObjectHeader {
    int32_t unrotated;
    int32_t lod_distance;
    int32_t lod_next;
    int32_t box_min_x, box_max_x;
    int32_t box_min_y, box_max_y;
    int32_t box_min_z, box_max_z;  // a top of 0 makes a flat object
    int32_t radius;
    int32_t height;
};

// By object number, object_count of them; null where a number has no object.
extern ObjectHeader** object_table;
extern int32_t object_count;
// 1 from a load until the unrotated objects are lit.
extern int32_t objects_loaded;

void load_objects();
// Lights the object types drawn in world axes for the installed sun.
void light_unrotated_objects();

}  // namespace vyr
