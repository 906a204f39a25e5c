// The theatre's ground objects, listed by tile.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"
#include "library/maths/vector.h"

namespace vyr {

// One fixed thing of a theatre in its tile's list.
struct ground_object {
    uint16_t type;  // object number; 0 = removed
    uint16_t x, y;  // within the tile, in feet
    uint16_t heading;
    uint16_t state_mask;
    uint16_t flags;
};

// The queries answer a record of the lists and write its world position (z 0) to `position`.
// The first solid record in the point's tile within its type's radius and height.
ground_object* find_ground_object_at_point(const Vector3& point, Vector3& position, const ground_object* excluded);
// The solid record nearest the segment among those within their radius of it.
ground_object* find_ground_object_on_segment(const Vector3& a, const Vector3& b, Vector3& position,
                                             const ground_object* excluded);

void load_ground_objects();
// The ground objects of the render's current tile.
void queue_ground_objects();
void draw_ground_object(BufferNode* node);

}  // namespace vyr
