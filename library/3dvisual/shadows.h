// Shadows of the mobile objects, cast along the light onto the ground, a deck or the cloud top.
#pragma once

#include <cstdint>

#include "library/3dvisual/instance.h"
#include "library/maths/vector.h"

namespace vyr {

// Draws the shadow of a mover whose view distance the caller has set: the object flattened along
// the light onto the ground under it, or onto the cloud top while the eye is not below the
// clouds, never higher than 1 ft below its origin. Objects 1210 and 1211 cast 1034's shadow.
void draw_object_shadow(ObjectInstance* instance);
// The current shadow's part in `slot`, for the shadow walkers' sub-object op.
void draw_sub_object_shadow(int slot);

// Where the shadow of an object whose origin is `origin` falls: its origin's shadow `shadow` on
// the plane that receives it (the ground, or the cloud top while the eye is not below the clouds,
// never higher than 1 ft below the origin nor below 0, or a deck), and the origin's height `h`
// above the reference surface.
void find_shadow_plane(const Vector3& origin, Vector3& shadow, int32_t& h);

// A shadow at height 0 over a deck object (OBJECT_SHADOW_DECK) in its tile's mobile list moves
// onto the deck: `shadow` takes the deck type's height and lies displaced from `origin` by the
// light for the origin's height `h` above the deck, which is written back.
void place_shadow_on_deck(Vector3& shadow, const Vector3& origin, int32_t& h);

// The horizontal displacement of a shadow cast from `h` world units up, per axis.
int32_t shadow_offset(int32_t h, int32_t step);

}  // namespace vyr
