// The weapon records, one per weapon id, and the pylon and sensor store types: built once at
// start-up and read directly by everything that carries, fires, guides, moves or scores a weapon.
#pragma once

#include <cstdint>

namespace vyr {

enum RoundClass : int32_t {
    ROUND_CLASS_UNGUIDED = 1,
    ROUND_CLASS_GUIDED = 2,
    ROUND_CLASS_SHELL = 3,
    ROUND_CLASS_DECOY = 4,
    ROUND_CLASS_BOMB = 5,
    ROUND_CLASS_RETARDED_BOMB = 6,
};

enum Guidance : int32_t {
    GUIDANCE_NONE = 0,
    GUIDANCE_LASER = 1,
    GUIDANCE_RADAR = 2,
    GUIDANCE_INFRARED = 3,
};

enum WeaponKind : uint8_t {
    WEAPON_KIND_SAM = 1,
    WEAPON_KIND_AAA = 2,
    WEAPON_KIND_AAM = 3,
    WEAPON_KIND_AGM = 4,
    WEAPON_KIND_SSM = 5,
    WEAPON_KIND_BOMB = 6,
    WEAPON_KIND_ARTILLERY = 7,
    WEAPON_KIND_GUN = 8,
    WEAPON_KIND_DECOY = 9,
};

constexpr uint8_t WEAPON_FLAG_BURST = 1u << 0;   // drones fire it in bursts
constexpr uint8_t WEAPON_FLAG_SALVO = 1u << 1;   // a drone may fire it with an earlier round still flying
constexpr uint8_t WEAPON_FLAG_SEEKER = 1u << 2;  // the drones' firing checks take it for a seeker missile

constexpr int WEAPON_COUNT = 109;
constexpr int WEAPON_NAME_COUNT = 108;
// Weapon ids, the rows of the weapon table. The rows left out are "!!Erf!!" in the names table and
// no code names them; 20 and 42 are the mines and the bomblets that the dispensers scatter.
enum WeaponId : int32_t {
    WEAPON_UNARMED = 0,
    WEAPON_CHAIN_GUN = 1,
    WEAPON_AGM_114A = 2,
    WEAPON_AGM_114B = 3,
    WEAPON_HYDRA_M255 = 4,
    WEAPON_HYDRA_M261 = 5,
    WEAPON_STINGER = 6,
    WEAPON_FLARE = 7,
    WEAPON_CHAFF = 8,
    WEAPON_R60_AAM = 9,
    WEAPON_UPK23_250 = 10,
    WEAPON_KMGU = 11,
    WEAPON_FAB500 = 12,
    WEAPON_FAB250 = 13,
    WEAPON_OFAB250 = 14,
    WEAPON_FAE500 = 15,
    WEAPON_S8 = 16,
    WEAPON_S5 = 17,
    WEAPON_9M114 = 18,
    WEAPON_TURRET_GUN = 19,
    WEAPON_MINEFIELD = 20,
    WEAPON_GUN = 21,
    WEAPON_GEPOD = 22,
    WEAPON_AIM_9M = 23,
    WEAPON_AMRAAM = 24,
    WEAPON_M151_HE = 25,
    WEAPON_M247_AT = 26,
    WEAPON_AGM_65E = 27,
    WEAPON_AGM_65G = 28,
    WEAPON_CBU15 = 29,
    WEAPON_MK_82 = 30,
    WEAPON_MK_83 = 31,
    WEAPON_MK_84 = 32,
    WEAPON_MK82_RET = 33,
    WEAPON_MK83_RET = 34,
    WEAPON_MK84_RET = 35,
    WEAPON_GBU_12 = 36,
    WEAPON_GBU_16 = 37,
    WEAPON_GBU_10 = 38,
    WEAPON_CBU_87B = 39,
    WEAPON_CBU_89B = 40,
    WEAPON_AGM_88A = 41,
    WEAPON_BOMBLET = 42,
    WEAPON_PG7_ROCKET = 43,
    WEAPON_DSHK = 45,
    WEAPON_AK47 = 46,
    WEAPON_MORTAR = 47,
    WEAPON_M47_DRAGON = 48,
    WEAPON_TANK_GUN = 50,
    WEAPON_MLRS = 51,
    WEAPON_AAA = 53,
    WEAPON_SAM_RADAR = 54,
    WEAPON_SSM = 55,
    WEAPON_ARTILLERY = 57,
    WEAPON_BOMB = 58,
    WEAPON_LG_BOMB = 59,
    WEAPON_CANNON = 60,
    WEAPON_ANTI_TANK = 61,
    WEAPON_ZSU23_AAA = 62,
    WEAPON_M163_AAA = 63,
    WEAPON_SA9_SAM = 64,
    WEAPON_SA6_SAM = 65,
    WEAPON_M48_SAM = 66,
    WEAPON_PATRIOT = 67,
    WEAPON_RAPIER = 68,
    WEAPON_SA8_SAM = 69,
    WEAPON_SA13_SAM = 70,
    WEAPON_D30_SHELL = 71,
    WEAPON_SPARROW_AAM = 72,
    WEAPON_R27_AAM = 73,
    WEAPON_R73_AAM = 74,
    // A second row of the same name as row 9.
    WEAPON_R60_AAM_75 = 75,
    WEAPON_HOWITZER_155MM = 76,
    WEAPON_MINIGUN = 77,
    WEAPON_STYX_SSM = 78,
    WEAPON_STANDARD_SAM = 79,
    WEAPON_HARPOON_SSM = 80,
    WEAPON_SA7_SAM = 81,
};

// Distances in world units (256 to the foot), speeds per second, accelerations per second
// squared, times in ticks of 1/200 s, angles binary.
struct WeaponInfo {
    int32_t round_class;  // 0 only for "Unarmed"
    int32_t guidance;
    uint8_t weapon_flags;
    uint8_t burst_length;
    uint8_t weapon_kind;
    uint8_t decoy_resistance;  // a decoy fools the seeker only on a multiple of it
    int32_t motor_acceleration;  // 0: no motor
    int32_t motor_burn_time;
    int32_t burst_pause;
    int32_t guidance_start_distance;
    int32_t arc_min_pitch, arc_max_pitch;
    int32_t arc_half_width;  // INT32_MIN (-180 degrees): all round
    int32_t penetration;     // 0..4, against the target's hardness
    int32_t damage;
    int32_t blast_radius;
    int32_t min_range, max_range;  // a negative max_range passes no range test
    int32_t min_flight_speed;      // slower with the motor out explodes; 0 never
    int32_t top_speed;
    int32_t launch_speed;
    int32_t round_object;
    int32_t fire_interval;
    int32_t turn_acceleration;
    // Guided: seeker half-angle; shells: scatter half-width; decoys: sink rate; others: the
    // drones' aiming tolerance.
    int32_t spread;
    double drag_coefficient;  // speed loss a second per density ratio and speed squared
    int32_t round_weight;     // lb a round
    int32_t mount_weight;     // lb a loaded store's rack or pod
    int32_t pod_object;       // 0: the rounds themselves are shown
    int32_t pod_slots;
    int32_t rounds_per_station;
    int32_t store_part_object;
    int32_t store_part_shown;
    float weight_lb;
    int32_t motor_object;  // 0: no plume
    float closing_time_factor;  // seconds of target motion taken off the reach
};

struct PylonType {
    int32_t object_number;
    int32_t stations;
};

struct SensorTypeInfo {
    int32_t object_number;
    int32_t weight_lb;
};

constexpr int PYLON_TYPES = 8;
constexpr int PYLON_NONE = 0;
constexpr int SENSOR_TYPES = 6;
constexpr int SENSOR_TYPE_NONE = 0;
constexpr int SENSOR_TYPE_ECM_POD = 1;
constexpr int SENSOR_TYPE_TARGETING_POD = 2;
constexpr int SENSOR_TYPE_RECON_POD = 3;
constexpr int SENSOR_TYPE_CENTRE_TANK = 4;
constexpr int SENSOR_TYPE_WING_TANK = 5;

// The records as they are flown: filled from `weapon_table` at start-up. Only the CBU-15's motor
// acceleration changes in flight, when its motor fires.
extern WeaponInfo weapon_info[WEAPON_COUNT];
extern PylonType pylon_types[PYLON_TYPES];
extern SensorTypeInfo sensor_types[SENSOR_TYPES];

// The records as written by tools/tables from the weapon list, and the names of ids 0..107;
// read names through `get_weapon_name`.
extern const WeaponInfo weapon_table[WEAPON_COUNT];
extern const char* const weapon_names[WEAPON_NAME_COUNT];

// The weapon's name; "!!Erf!!" for an id without one of its own.
const char* get_weapon_name(int weapon_id);

// Every field of the source record onto the destination but its weights, store part and closing
// time factor; of the flags only the three the drones read.
void copy_weapon_info(int source_id, int destination_id);

// Start-up, after the 3D object types are loaded: the weapon records, then the object types'
// gameplay values into their headers.
void init_weapon_info();
void init_pylon_types();
void init_sensor_types();

// Rounds one station of a pylon holds of the weapon.
int get_weapon_rounds_per_station(int weapon_id);

}  // namespace vyr
