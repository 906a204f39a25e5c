// The visible and audible side of hits and destructions: explosions, craters, impact and wreck
// scars, explosions scattered over large objects, and blast sounds placed by the camera.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct ObjectInstance;
struct WeaponRound;
struct ground_object;

// The record turns into its wreck, with explosions over it and a blast.
void ground_object_destroyed_effects(ground_object* record, const Vector3& position);
void drone_destroyed_effects(ObjectInstance* instance);
// A strong hit that destroyed nothing: smaller explosions.
void ground_object_hit_effects(const ground_object* record, const Vector3& position);
void mobile_hit_effects(ObjectInstance* instance);
// A round's burst at `point` (null: where the round is): on the ground with a crater or scar
// unless `no_scar`, or in the air; `quiet` leaves all but shells without effect.
void impact_effects(const WeaponRound* round, int quiet, int no_scar, const Vector3* point);
// One explosion, in the air above the fuse height or when the eye looks steeply, else on the
// ground with the scar the surface takes (none for soldiers).
void make_point_blast(const Vector3& point, int32_t size, uint32_t heading, int32_t type, int32_t variant);
// The explosion of `size` and, for large ones, (size / 150 ft + 1) squared more over the area
// or the type's box.
void scatter_blasts(const Vector3& point, int32_t size, int32_t type, uint32_t heading, int32_t variant);
// A point within the type's radius and box about `point`, turned by the heading.
Vector3 random_point_in_type_box(const Vector3& point, int32_t type, uint32_t heading);
void play_blast_sound(int32_t size, const Vector3& point);
// 63 close to the blast falling to 10 at 384 sizes away.
int blast_sound_level(int32_t size, const Vector3& point);

}  // namespace vyr
