// Ships and carriers: the ships' movement limits, and up to three carriers whose empty sub-object
// slots are deck slots on which aircraft park and ride with the ship.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"
#include "source/drone/air_manoeuvre.h"
#include "source/weapons/object_types.h"

namespace vyr {

struct Drone;
struct ObjectInstance;

constexpr int SHIP_KINDS = 7;
constexpr int MAX_CARRIERS = 3;
constexpr int CARRIER_SLOTS = 9;
constexpr uint8_t NO_CARRIER = 255;
constexpr uint8_t NO_DECK_SLOT = 255;
// The carrier whose deck starts the player in slot 7.

// By the ship kind of the drone type table; kind 6 is no ship.
extern const MovementProfile ship_profiles[SHIP_KINDS];

struct CarrierRecord {
    uint8_t free_slots;  // counts down as slots are handed out
    uint8_t slot_count;
    uint8_t slot_index[CARRIER_SLOTS];  // the ship object's sub-object slot of each deck slot
    Drone* ship;
    Drone* occupant[CARRIER_SLOTS];
    Pose slot_pose[CARRIER_SLOTS];  // relative to the ship
};

extern CarrierRecord carrier_table[MAX_CARRIERS];
extern int32_t carrier_count;

// A ship drone's set-up when its type is set: a ship whose object has empty sub-object slots
// becomes a carrier while fewer than three exist. Typed again, it keeps its record.
void init_ship_drone(Drone* drone);
// Mission loading: no carrier, every record emptied whole.
void reset_carriers();
// A drone leaving the pool takes its deck slot or its carrier with it.
void forget_carrier_drone(const Drone* drone);
// 1 when a carrier took the aircraft onto a deck slot; 0 when none has a free one.
int add_carrier_aircraft(Drone* drone);
// The parked aircraft starts to move with the ship's speed and attitude.
void leave_carrier_deck(Drone* drone);
// An aircraft that ended its route on its carrier is parked where it stopped.
void settle_on_carrier_deck(Drone* drone);
// 1 with the world position of the drone's deck slot; 0 without carrier or slot.
int get_deck_slot_position(const Drone* drone, Vector3& out);
// The ship of the drone's carrier, which the caller knows it has.
Drone* get_drone_carrier(const Drone* drone);
int32_t get_carrier_speed(const Drone* drone);
// The top of the carrier ship's box.
int32_t get_carrier_deck_height(const Drone* drone);
// 1 when `hit` is a carrier and the aircraft, coming from `previous` to where it is now, came
// down onto its deck rather than into its hull.
int is_landing_on_carrier_deck(Drone* drone, ObjectInstance* hit, const Vector3& previous);
// The player's aircraft is parked on the ship's nearest free deck slot; 0 when it is no carrier.
int land_user_on_carrier(ObjectInstance* ship);
// The player starts parked on his carrier (on object 130, in slot 7).
void place_user_on_carrier();
// The nearest free deck slot to the aircraft; 255 when none. Fatal for a ship that is no carrier.
int find_carrier_landing_slot(const Drone* drone, ObjectInstance* ship);
void swap_carrier_slots(Drone* a, Drone* b);
int is_carrier_object(const ObjectInstance* instance);
// The object's pose relative to the ship: heading only, position in the ship's axes.
void compute_deck_offset_pose(const Pose& ship, const Pose& object, Pose& out);

}  // namespace vyr
