// The theatre's ground objects: the fixed things of GNDOBJS.BIN, and the dynamic ones the mission
// adds, each a record in the list of its tile. They stand at height 0, have no instance of their
// own, and are queued, drawn on the plan map and found by the queries here; other modules walk
// the lists and change records in place.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"
#include "library/maths/vector.h"

namespace vyr {

constexpr uint16_t GROUND_DESTROYED = 1;
constexpr int GROUND_SIDE_SHIFT = 1;  // two bits: 0 neutral, 1 allied, 2 enemy
constexpr uint16_t GROUND_SIDE_MASK = 6;
constexpr int GROUND_DAMAGE_SHIFT = 3;  // eight bits
constexpr uint16_t GROUND_LASED = 0x800;
constexpr uint16_t GROUND_SIDE_VARIANT = 0x2000;

// One fixed thing of a theatre in its tile's list.
struct ground_object {
    uint16_t type;  // object number; 0 = removed
    uint16_t x, y;  // within the tile, in feet
    uint16_t heading;
    uint16_t state_mask;
    uint16_t flags;
};

// 64 x 64 tile lists (x-major), each an int16 count followed by its records; null for a tile with
// none. The dynamic table of the world settings has the same form.
extern int16_t* ground_object_tiles[4096];

inline int16_t* ground_object_list(int16_t* const* table, int tile) { return table ? table[tile] : nullptr; }
inline int ground_object_count(const int16_t* list) { return list ? list[0] : 0; }
// Null for a tile without objects: no offset is ever added to a null list.
inline ground_object* ground_object_records(int16_t* list) {
    return list ? reinterpret_cast<ground_object*>(list + 1) : nullptr;
}

// The world position of a record of tile `tile`, at height 0.
Vector3 ground_object_position(int tile, const ground_object& record);

// GNDOBJS.BIN of the world's war-zone directory, in place of any earlier load: every object
// destroyed since comes back. A bad file is fatal, naming it.
void load_ground_objects();
// The ground objects of the render's current tile.
void queue_ground_objects();
// Fills a ground-object node for `record` of `tile` at the signed distance `key`.
void set_ground_object_node(BufferNode* node, int tile, const ground_object& record, int32_t key);
void draw_ground_object(BufferNode* node);

// The plan map's current tile into the plot window, whose offset is at the tile's south-west
// corner: the static records, then with PLAN_MAP_DYNAMIC_OBJECTS the dynamic ones.
void draw_map_ground_objects();
// A side-dependent record of a side, not destroyed: its map outline filled in its side's colour
// with PLAN_MAP_OUTLINES, else a point.
void draw_map_ground_object(const ground_object* record);

// The record becomes its object's wreck, or an empty slot when the object has none.
void set_ground_object_destroyed_type(ground_object* record);

// The queries answer a record of the lists and write its world position (z 0) to `position`.
// The first solid record in the point's tile within its type's radius and height.
ground_object* find_ground_object_at_point(const Vector3& point, Vector3& position, const ground_object* excluded);
// The solid record nearest the segment among those within their radius of it.
ground_object* find_ground_object_on_segment(const Vector3& a, const Vector3& b, Vector3& position,
                                             const ground_object* excluded);
// Every record within `radius` of the point (estimated), one a call: start with
// `continue_search` 0 (nothing when the point is higher than the radius), then continue with it
// 1 until null. Continuing a search that never started or has run out is fatal.
ground_object* search_ground_objects(const Vector3& point, int32_t radius, Vector3& position, int continue_search);
// The record standing on exactly the point's foot of its tile.
ground_object* find_ground_object_exact(const Vector3& point);

}  // namespace vyr
