// Moving objects (drones, rounds, the player's aircraft) listed by the tile they are over: the
// render queues the movers of the tiles it draws, the collision and weapon code ask what lies at
// a point, along a segment or within a radius, and the war model hears through two hooks when a
// mover enters or leaves a tile.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"
#include "library/maths/vector.h"

namespace vyr {

struct ObjectInstance;

// List heads by tile [x][y], newest first, linked through the root instances' prev and next.
extern ObjectInstance* mobile_object_tiles[64][64];

// The tile the render is queueing.
extern int32_t render_tile_x;
extern int32_t render_tile_y;

using MobileHook = void (*)(ObjectInstance* instance);

// Every list empty, no hooks, no search running.
void init_mobile_lists();
// No hooks and no search; the lists stay as they are.
void shutdown_mobile_lists();
// Called with each instance filed into a list, and with each taken out; null for none.
void set_mobile_link_hook(MobileHook hook);
void set_mobile_unlink_hook(MobileHook hook);

// Files a root under its position; nothing happens outside the world. An instance still filed
// elsewhere is taken out of that list first.
void link_mobile_object(ObjectInstance* instance);
// Takes a root out of the list under its position. An inactive one found in no list there is
// taken out of the list it is filed in; an active one is left where it is.
void unlink_mobile_object(ObjectInstance* instance);
// Change the position, moving the instance to another list when it crosses into another tile
// (out of every list when it leaves the world, into one again when it comes back).
void move_mobile_object(ObjectInstance* instance, int32_t dx, int32_t dy, int32_t dz);
void place_mobile_object(ObjectInstance* instance, int32_t x, int32_t y, int32_t z);

// The movers of the render's current tile, and their shadows.
void queue_mobile_objects();
void draw_mobile_object(BufferNode* node);
void draw_mobile_shadow(BufferNode* node);

// The first solid mover in the point's tile within its type's radius (not the nearest).
ObjectInstance* find_mobile_object_at_point(const Vector3& point, const ObjectInstance* excluded,
                                            const ObjectInstance* excluded_too);
// The solid mover nearest the segment among those within their radius of it; the first found on
// a tie.
ObjectInstance* find_mobile_object_on_segment(const Vector3& a, const Vector3& b, const ObjectInstance* excluded,
                                              const ObjectInstance* excluded_too);
// Every mover, solid or not, within `radius` of the point (estimated), one a call: start with
// `continue_search` 0, then continue with it 1 (point and radius unused) until null. Continuing
// a search that has run out, or never started, is fatal. One search at a time.
ObjectInstance* search_mobile_objects(const Vector3& point, int32_t radius, int continue_search);

// The first instance of the tree, depth first, whose box holds the point strictly inside.
ObjectInstance* find_instance_containing_point(ObjectInstance* instance, const Vector3& point);
// 1 when the point lies in the instance's own box, faces included.
int test_point_in_instance_box(const ObjectInstance* instance, const Vector3& point);

}  // namespace vyr
