// The player's releases: the release key, the launch points on the airframe and the three
// jettisons.
#pragma once

#include "library/maths/matrix.h"

namespace vyr {

struct WeaponRound;

// The release key: the selected weapon leaves when it may (a gun burst, a ripple of bombs, one
// missile or rocket otherwise); 1 when the key was handled.
int fire_weapon(int key_code);
// Where the weapon's next round leaves: its release hardpoint's station on the airframe, or the
// aircraft itself when the model has no such part or nothing holds the weapon. Each call
// overwrites the pose the last one returned.
const Pose& get_launch_viewpoint(int weapon_id);
const Pose& get_sensor_slot_viewpoint(int slot);
// The round the last release launched; null before any.
WeaponRound* get_last_gun_round();
// J, Ctrl+J, Alt+J: the tanks; the stores but air-to-air missiles; everything but the targeting
// pod, the fuel cut to 1,000 lb. Nothing with unlimited weapons or on the ground.
int jettison_tanks(int key_code);
int jettison_stores(int key_code);
int jettison_all(int key_code);
// The falling forms of a jettisoned store and of a dropped sensor store; an unknown sensor type
// is fatal.
int get_jettison_weapon(int weapon_id);
int get_sensor_store_weapon(int sensor_type);
// Per mission: "WHEEL IN WAY" and "WEAPON RELEASED" may be posted at once.
void reset_release_messages();

}  // namespace vyr
