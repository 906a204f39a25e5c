// Moving objects (drones, rounds) listed by the tile they are over.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"
#include "library/maths/vector.h"

namespace vyr {

struct ObjectInstance;

// The tile the render is queueing.
extern int32_t render_tile_x;
extern int32_t render_tile_y;

void init_mobile_lists();
void shutdown_mobile_lists();
// The movers of the render's current tile, and their shadows.
void queue_mobile_objects();
void draw_mobile_object(BufferNode* node);
void draw_mobile_shadow(BufferNode* node);
// Moves a root instance to a world position, changing its tile list when it crosses a tile.
void place_mobile_object(ObjectInstance* instance, int32_t x, int32_t y, int32_t z);

// The first solid mover in the point's tile within its type's radius (not the nearest).
ObjectInstance* find_mobile_object_at_point(const Vector3& point, const ObjectInstance* excluded,
                                            const ObjectInstance* excluded_too);
// The solid mover nearest the segment among those within their radius of it; the first found on
// a tie.
ObjectInstance* find_mobile_object_on_segment(const Vector3& a, const Vector3& b, const ObjectInstance* excluded,
                                              const ObjectInstance* excluded_too);
// The first instance of the tree, depth first, whose box holds the point strictly inside.
ObjectInstance* find_instance_containing_point(ObjectInstance* instance, const Vector3& point);

}  // namespace vyr
