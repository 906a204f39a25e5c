// Hit damage: a round's direct hit and the area around it, damage accumulated against each
// type's strength, kills credited and recorded, bridges falling whole, friendly-fire calls.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;
struct ObjectInstance;
struct Vector3;
struct WeaponRound;
struct ground_object;

// The object number of whoever killed the player.
extern int32_t killer_object_number;

// The round's endings.
void hit_ground_object(ground_object* record, const Vector3& position, WeaponRound* round);
void hit_mobile_object(ObjectInstance* instance, WeaponRound* round, const Vector3& impact);
void hit_point(const Vector3& impact, WeaponRound* round);

// The damage of the round to the type at `distance` from the burst, 0 or more.
int32_t compute_hit_damage(int32_t object_number, WeaponRound* round, int32_t distance);
int32_t damage_ground_object(ground_object* record, const Vector3& position, WeaponRound* round,
                             const Vector3& impact);
int32_t apply_hit_damage(ObjectInstance* instance, WeaponRound* round, const Vector3& impact);

// A ground object at its world position is destroyed; `round` null when no weapon did it.
void destroy_ground_object(ground_object* record, const Vector3& position, WeaponRound* round);
void destroy_ground_object_uncredited(ground_object* record, const Vector3& position, int32_t killer);
// The drone owning the instance is killed by the round (null: none).
void kill_drone_by_round(ObjectInstance* instance, WeaponRound* round);
void kill_drone_uncredited(ObjectInstance* instance, int32_t kind);
// The radio's reaction to a kill of a target type of the side.
void check_friendly_fire(WeaponRound* round, int side, int32_t object_number, Drone* drone);

}  // namespace vyr
