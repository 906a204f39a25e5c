// The dynamic ground objects: a second table of per-tile ground-object lists beside the theatre's
// own, which the 3D world draws and queries through world_settings. The mission's AAA, SAM, tank
// and APC sites become records of it, the laser points flag the records they designate, and the
// nearest-object queries answer over both tables.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct ground_object;

constexpr int DYNAMIC_LIST_FIRST_CAPACITY = 32;

// 64 x 64 lists (x-major), each an int16 count then its records sorted tallest first; null for a
// tile without one. The capacity of each list in records, 0 for none.
extern int16_t* dynamic_ground_object_tiles[4096];
extern int32_t dynamic_list_capacity[4096];

// Frees every list and points world_settings at the table.
void clear_dynamic_ground_objects();
// A new record at world x, y (outside the world is fatal), after every record at least as tall.
// Its side bits are side & 3; `heading` is a binary angle.
ground_object* add_dynamic_ground_object(int32_t x, int32_t y, int object_number, int32_t heading, int side);
// The record of the position's tile standing on exactly its foot; null when none does.
ground_object* find_dynamic_ground_object_at(const Vector3& position);

// The vehicle of a site for the side owning its tile in the present war zone; a war zone outside
// 1..5 is fatal.
int tank_site_object(int side);
int apc_site_object(int side);
int sam_site_object(int side);
int aaa_site_object(int side);

// The table rebuilt from the gameplay grid's AAA, SAM, tank and APC sites (enemy ones facing
// south), then linked.
void place_defence_objects();
// Each AAA and SAM site takes the target of its record; a site without one is fatal.
void link_defence_targets();
// Every lased flag cleared, then each laser point flags the nearest unflagged record of its tile.
void flag_lased_ground_objects();

// The record of the point's tile nearest within 100 ft, trees aside, dynamic before static on a
// tie; null for a point outside the world.
ground_object* find_nearest_ground_object(int32_t x, int32_t y);
// The nearest intact record of the type within 25,600 ft in the 3 x 3 tiles round the point;
// its distance in feet goes to `distance`.
ground_object* find_ground_object_of_type(int32_t x, int32_t y, int object_number, int32_t& distance);

}  // namespace vyr
