// The object set's shapes: every object number the game uses is one of these, built in code.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "tools/vyrgen/objects/model.h"

namespace vyr::vyrgen {

enum class Shape {
    // Aircraft and their parts
    PLAYER, FIGHTER, ATTACK_JET, STRIKE_JET, DELTA_JET, TRANSPORT, AIRLINER, AWACS, UAV,
    ATTACK_HELICOPTER, TRANSPORT_HELICOPTER, ROTOR, TAIL_ROTOR, GEAR_SET, GEAR_STRUT, NOSE_GEAR_LAMP, NOZZLE,
    GEAR_UP_NOZZLE, GEAR_DOWN_NOZZLE,
    // Vehicles, trains, ships and people
    TANK, DUG_IN, ENGINEER_TANK, APC, TRUCK, CAR, JEEP, SAM_VEHICLE, AAA_VEHICLE, AAA_TURRET, ROCKET_LAUNCHER,
    ARTILLERY, RADAR_VEHICLE, LOCOMOTIVE, RAIL_WAGON, RAIL_TANKER, RAIL_FLATCAR, CARRIER, CARRIER_ISLAND, FRIGATE, SHIP_PART,
    PATROL_BOAT, SUBMARINE, BARGE, LANDING_CRAFT, TUG, CARGO_SHIP, TANKER_SHIP, LIFEBOAT, SHIP_GUN, CRANE,
    DECK_SPOT, SOLDIER, CASUALTY, SOLDIER_ITEM,
    // Structures and scenery
    BUILDING, TOWER_BLOCK, HOUSE, HUT, MOSQUE, BARRACKS, HANGAR, SHELTER, CONTROL_TOWER, RADAR_TOWER, RADAR_SITE,
    WATER_TOWER, MAST, STORAGE_TANKS, SPHERE_TANK, COOLING_TOWER, STACK, SILO, CONVEYOR, COAL_HEAP, BUNKER, TENT,
    FUEL_BLADDER, PALLETS, BRIDGE, EMBANKMENT, BLAST_WALL, BREASTWORK, WELLHEAD, DERRICK, FLOODLIGHT,
    APPROACH_LIGHTS, TREE, SCRUB, CRATER, SPLASH, ROAD_MARK, RUNWAY_MARK, FLAG_RED, FLAG_BLUE,
    // Stores and effects
    MISSILE, BOMB, ROCKET, MINE, ROCKET_POD, GUN_POD, FUEL_TANK, SENSOR_POD, PYLON, TRIPLE_RACK, MULTI_RACK, FINS,
    RETARDER, PLUME, MUZZLE_FLASH, TRACER, FLARE, CHAFF,
    // What numbers nothing uses share
    CRATE,
};

// Object `number` as `shape`; the number picks variants (sizes, colours, sub-object places).
Model build_shape(Shape shape, int32_t number);

// Each family's builders.
Model build_aircraft(Shape shape, int32_t number);
Model build_vehicle(Shape shape, int32_t number);
Model build_structure(Shape shape, int32_t number);
Model build_store(Shape shape, int32_t number);

// The player's aircraft (object 606) and the fixed parts of its instance tree, each with its
// object number: parts 1, 2, 4, 6, 8, 15, 16, 19, 20, 21, 22 of its list and their children.
std::vector<std::pair<int32_t, Model>> build_player_aircraft();
// Object numbers nothing else uses that the player's aircraft takes for its parts.
constexpr int PLAYER_PART_COUNT = 19;
extern const int32_t PLAYER_PART_NUMBERS[PLAYER_PART_COUNT];
// The nozzle (1210 and the AI Vyr's 1209, 1215), whose ring vertices the drawing reshapes by
// number, and the gear parts the part lists show.
Model build_nozzle();
// The Vyr's fuselage, cockpit, intakes and wing about an axis at height `axis_z` with its tail at
// y -21.5 ft; the nozzle's own axis is at z 5.75 ft (1472 world units).
constexpr double VYR_AXIS_Z = 5.75;
void vyr_body(Mesh& m, double axis_z);
Model build_player_gear(Shape shape);
constexpr int32_t GENERIC_TAIL_ROTOR = 1237;

// Soldier figures (four chains of limbs under the body, the right hand holding the item of the
// creator's list), the items, the casualty on its stretcher.
Model build_soldier(Shape shape, int32_t number);
// The heavy machine guns 852 and 966: a mount whose first sub-object is the gun part, turned by
// the aim, holding its muzzle flash first and the creator's shield second.
Model build_machine_gun(int32_t number);
// The limbs and the gun part, each with its object number.
std::vector<std::pair<int32_t, Model>> build_soldier_parts();
constexpr int SOLDIER_PART_COUNT = 22;
extern const int32_t SOLDIER_PART_NUMBERS[SOLDIER_PART_COUNT];

}  // namespace vyr::vyrgen
