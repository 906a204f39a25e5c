// The payload files and the loadout: the eleven hardpoints of the player's aircraft and the 26
// kinds of store they can take (26 itself is an empty hardpoint), what a mission loads on them, the
// all-up weight, the hand-over to the aircraft's stores and the limits in flight.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vyr {

struct UiObject;

constexpr int PAYLOAD_HARDPOINTS = 11;
constexpr int PAYLOAD_STORES = 26;
constexpr int PAYLOAD_EMPTY = 26;  // the empty hardpoint's store
constexpr int PAYLOAD_MAX_COUNT = 6;
constexpr int PAYLOAD_POSITION_CODES = 9;  // position codes 0..8
constexpr int32_t EMPTY_AIRCRAFT_WEIGHT = 26000;  // lb

// Stores with a meaning of their own to the rules.
constexpr int STORE_GUN_POD = 0;
constexpr int STORE_LEFT_POD = 21;   // the targeting pair's left pod, on hardpoint 4
constexpr int STORE_RIGHT_POD = 22;  // and its right pod, on hardpoint 9
constexpr int POD_HARDPOINT_LEFT = 4;
constexpr int POD_HARDPOINT_RIGHT = 9;

struct PayloadWeapon {
    int32_t weight;  // lb, one store
    std::string description_1;  // the first 20 characters
    std::string description_2;  // the rest of a description of 20 characters or more
    bool has_description_2;
    std::string short_description;
    int32_t salvo_size;  // the default and least salvo
};

struct PayloadPylon {
    UiObject* highlight = nullptr;  // on the payload screen, once it is built
    int32_t weapon = PAYLOAD_EMPTY;  // store loaded
    std::vector<UiObject*> pictures;  // the stores shown on the hardpoint, one each
    int32_t count = 0;
    int32_t x = 0, y = 0;  // where the payload screen places its pictures
    int32_t max_pictures = 0;
    int32_t reflection = 0;  // number (1..11) of the mirror hardpoint, 0 none
    int32_t allowed[PAYLOAD_STORES] = {};  // largest count of each store, 0 not allowed
    int32_t weight_limit = 0;
    int32_t weight = 0;  // lb loaded
    int32_t salvo_size = 0;
};

extern PayloadWeapon payload_weapons[PAYLOAD_STORES];
extern PayloadPylon payload_pylons[PAYLOAD_HARDPOINTS];
// Row k - 1 holds the k position codes of the pictures of a hardpoint carrying k stores.
extern int32_t multi_positions[PAYLOAD_MAX_COUNT][PAYLOAD_MAX_COUNT];

// "menuscrn\pylon.dat" and "menuscrn\wpn.dat"; any fault in them is fatal, naming the file.
void load_pylon_file();
void load_weapon_file();

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

// 1 for hardpoints 0..10, and for stores 0..25 (the empty hardpoint's 26 is none).
int is_valid_pylon(int pylon);
int is_valid_store(int store);
int is_bomb(int store);
int is_sensor_store(int store);

// The sum of the hardpoints' weights, and with the empty aircraft.
int32_t get_payload_weight();
int32_t get_all_up_weight();

// Fits the payload to the aircraft's hardpoints and sensor slots at mission start.
void apply_loadout();
// What is left on each hardpoint against its limit: sets the flight model's g limit (9, or 5 over
// a limit) and returns 1 when all are within limits.
int check_loadout_limits();
int32_t get_gun_pod_weight();

}  // namespace vyr
