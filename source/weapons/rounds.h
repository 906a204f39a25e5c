// Weapon rounds in flight and the countermeasures.
#pragma once

#include <cstdint>

namespace vyr {

struct ObjectInstance;
struct Vector3;
struct WeaponRound;

// Once a simulation step: rounds moved and resolved, the gun sound, radio chatter.
void update_weapons_frame();
// Every round of the pool freed.
void clear_rounds();
// Once a simulation step: every live round moved and resolved.
void update_rounds();
// A round's speed in world units per second, and its weapon id.
int32_t get_round_speed(const WeaponRound* round);
int get_round_weapon(const WeaponRound* round);
// The round's 3D object; its aim point, returning 1, when it is a guided weapon with one.
ObjectInstance* get_round_object(const WeaponRound* round);
int get_round_aim_point(const WeaponRound* round, Vector3& out);
// Chaff or flares again while their repeat is on.
void repeat_countermeasures();

}  // namespace vyr
