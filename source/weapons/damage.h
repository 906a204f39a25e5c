// Damage: what the player's aircraft destroys by flying into it.
#pragma once

namespace vyr {

struct Drone;
struct ObjectInstance;
struct Vector3;
struct ground_object;

// A ground object at its world position is destroyed; `shooter` null when no weapon did it.
void destroy_ground_object(ground_object* record, const Vector3& position, Drone* shooter);
// The drone owning the instance is killed as if by a round of `shooter` (null: none).
void kill_drone_by_round(ObjectInstance* instance, Drone* shooter);
// The drone owning the instance is killed without credit, by its type's destruction; nothing for
// one already inactive. `kind` tells who killed it.
void kill_drone_uncredited(ObjectInstance* instance, int kind);

}  // namespace vyr
