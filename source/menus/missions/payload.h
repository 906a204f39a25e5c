// The payload files and the loadout: the eleven hardpoints of the player's aircraft and the 26
// kinds of store they can take (26 itself is an empty hardpoint).
#pragma once

namespace vyr {

void load_weapon_file();
void load_pylon_file();

// The mission data's hardpoint access. The store is kept only when the hardpoint takes it (else
// the hardpoint is empty), the count only when the hardpoint takes that many of the store (else
// 0); the weight is count times the store's weight.
void set_pylon_weapon(int pylon, int store);
void set_pylon_count(int pylon, int count, int store);
void set_pylon_weight(int pylon, int count, int store);
int get_pylon_weapon(int pylon);
int get_pylon_count(int pylon);
// Every hardpoint's weight and salvo size 0 (mission loading).
void clear_pylon_weights();

}  // namespace vyr
