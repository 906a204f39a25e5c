// The drone record and pool: every computer-controlled vehicle, gun, structure and soldier, and
// the player's aircraft. A drone lives in its task's list (leaders) or in its leader's member
// list (formation members); its 3D object is embedded in it.
#pragma once

#include <cstdint>

#include "library/3dvisual/instance.h"
#include "library/maths/matrix.h"
#include "library/maths/vector.h"
#include "source/drone/notify.h"
#include "source/drone/task.h"
#include "source/drone/waypoint.h"
#include "source/weapons/target.h"

namespace vyr {

struct HumanFigure;
struct WeaponRound;

constexpr int MAX_DRONES = 400;

enum DroneClass : int32_t {
    DRONE_CLASS_NONE = 0,
    DRONE_CLASS_HELICOPTER = 1,
    DRONE_CLASS_AIRCRAFT = 2,
    DRONE_CLASS_TANK = 3,
    DRONE_CLASS_VEHICLE = 4,
    DRONE_CLASS_ARTILLERY = 5,
    DRONE_CLASS_STRUCTURE = 6,
    DRONE_CLASS_SHIP = 7,
    DRONE_CLASS_TRAIN = 8,
    DRONE_CLASS_HUMAN = 9,
};

// Which passenger group a transport carries, and which one a passenger belongs to; they match by
// number.
enum DroneCargo : int32_t {
    cargo_none = 0,
    cargo_human_group_1 = 1,
    cargo_human_group_2 = 2,
    cargo_human_group_3 = 3,
    cargo_human_group_4 = 4,
    cargo_machine_gun = 5,
    cargo_max = 6,
};
enum DroneOnboard : int32_t {
    onboard_nothing = 0,
    onboard_group_1 = 1,
    onboard_group_2 = 2,
    onboard_group_3 = 3,
    onboard_group_4 = 4,
    onboard_machine_gun = 5,
    onboard_max = 6,
};

constexpr uint32_t DRONE_FLAG_LASER_DESIGNATED = 1u << 0;
constexpr uint32_t DRONE_FLAG_RETREAT = 1u << 1;
constexpr uint32_t DRONE_FLAG_ADVANCE = 1u << 2;
constexpr uint32_t DRONE_FLAG_ENGAGED = 1u << 3;
constexpr uint32_t DRONE_FLAG_RESPONDING = 1u << 4;
constexpr uint32_t DRONE_FLAG_BOMBS_GONE = 1u << 5;
constexpr uint32_t DRONE_FLAG_UNARMED = 1u << 6;
constexpr uint32_t DRONE_FLAG_ARMED = 1u << 7;
constexpr uint32_t DRONE_FLAG_SINGLE_WEAPON = 1u << 8;
constexpr uint32_t DRONE_FLAG_CAP_INTERCEPT = 1u << 9;
constexpr uint32_t DRONE_FLAG_COLUMN = 1u << 10;
constexpr uint32_t DRONE_FLAG_ON_CARRIER = 1u << 11;
constexpr uint32_t DRONE_FLAG_BOMBING_START = 1u << 12;
constexpr uint32_t DRONE_FLAG_KILL_FAILURE = 1u << 13;
constexpr uint32_t DRONE_FLAG_KILL_SUCCESS = 1u << 14;
constexpr uint32_t DRONE_FLAG_KILL_OUTSTANDING = 1u << 15;
constexpr uint32_t DRONE_FLAG_HARD_MANOEUVRE = 1u << 16;
constexpr uint32_t DRONE_FLAG_AIR_WEAPONS = 1u << 17;
constexpr uint32_t DRONE_FLAG_GROUND_WEAPONS = 1u << 18;
constexpr uint32_t DRONE_FLAG_MOVING = 1u << 19;
constexpr uint32_t DRONE_FLAG_FLY_WITH_USER = 1u << 20;
constexpr uint32_t DRONE_FLAG_DISENGAGE = 1u << 21;
constexpr uint32_t DRONE_FLAG_EXPLODE = 1u << 22;
constexpr uint32_t DRONE_FLAG_HIDDEN_PASSENGER = 1u << 23;
constexpr uint32_t DRONE_FLAG_GEAR_SHOWN = 1u << 24;

// AI aircraft show their gear at or below this altitude and speed (world units, units a second).
constexpr int32_t GEAR_DOWN_ALTITUDE = 90 * 256;
constexpr int32_t GEAR_DOWN_SPEED_AIRCRAFT = 180 * 432;
constexpr int32_t GEAR_DOWN_SPEED_HELICOPTER = 60 * 432;

// The drone's sub-objects chosen at each build of its 3D object.
constexpr int DRONE_PART_LIST_SIZE = 20;

constexpr int DRONE_WEAPON_SLOTS = 5;
constexpr int DRONE_SUBSCRIBERS = 4;

struct DroneWeaponSlot {
    int32_t rounds;
    int32_t next_shot_time;
};

struct Drone {
    Drone* prev;
    Drone* next;
    ObjectInstance object;  // owner kind OWNER_DRONE, posed by `pose`
    Task* task;             // members carry their leader's
    Drone* first_member;    // leaders only; newest first
    int32_t formation_type;
    int32_t drone_class;
    int32_t index;  // leaders 0, 1, ...; members leader x 100 + 100, + 101, ...
    Pose pose;
    uint32_t heading, pitch, roll;
    int32_t speed;  // world units per second
    Vector3 velocity;
    int32_t aileron_input, elevator_input, rudder_input;
    int32_t ease_start_speed, ease_target_speed;
    Vector3 lag_target_position;
    Vector3 lag_target_direction;
    int32_t lag_target_speed;
    int32_t lag_pursuit;
    double last_bomb_time;
    Waypoint* first_waypoint;
    Waypoint* current_waypoint;
    Waypoint* previous_waypoint;
    int32_t waypoint_count;
    int32_t start_waypoint;
    int32_t remaining_distance;
    int32_t activation_time;  // game_clock tick before which it is not moved
    int32_t random_seed;
    int32_t flare_timer;
    // Aircraft and helicopters time their chaff; soldier and crew types hang their figure here.
    union {
        int32_t chaff_timer;
        HumanFigure* class_record;
    };
    int32_t manoeuvre;
    int32_t landing_committed;
    uint8_t damage, previous_damage;
    uint8_t cap_index;  // 255 none
    int32_t cap_end_time;
    int32_t reaction_time;
    Target target;  // the drone's own aimable reference
    Target* attack_target;
    Target chaff_target, flare_target;
    WeaponRound* last_round;
    int32_t attention_range;  // world units
    int32_t destroyed;
    int32_t weapon_id;
    uint8_t weapon_slot;  // 255 none
    DroneWeaponSlot weapon_slots[DRONE_WEAPON_SLOTS];
    int32_t ground_max_range, ground_min_range, air_max_range, air_min_range;
    uint32_t mission_flags;
    int32_t player;  // the network player flying it; -1 on this machine
    uint8_t carrier, deck_slot;  // 255 none
    int32_t cargo;
    int32_t onboard;
    Drone* subscribers[DRONE_SUBSCRIBERS];
    int32_t awaited_event;
};

// The player's aircraft.
extern Drone* user_drone;
// 1 for the object numbers of the soldier figures.
int is_human_figure_type(int object_number);
// The drone the avionics' drone pages follow.
extern Drone* watched_drone;
// The drone view's place in the cycle of the F12 keys.
extern Drone* view_cycle_leader;
extern Drone* view_cycle_drone;

extern int32_t drone_part_list[DRONE_PART_LIST_SIZE];

// The first free record, marked used; fatal when all are.
Drone* allocate_drone();
// A pointer outside the pool changes nothing.
void free_drone(Drone* drone);
// Drones in use; `size` gets the pool's size.
int count_drones(int32_t* size);

// A new leader at the end of the task's list, with the task's next index, made the watched drone.
Drone* create_drone(Task* task);
// The defaults of a new drone, its object a placeholder aircraft.
void reset_drone(Drone* drone);
// Frees it with its members and route.
void destroy_drone(Drone* drone);
// Its 3D object made afresh as the object number with the DRONE_PART_LIST_SIZE parts.
void build_drone_object(Drone* drone, int32_t object_number, const int32_t* parts);
// Object number: parts, 3D object, class record, side variant, class, ship set-up, loadout.
void set_drone_type(Drone* drone, int object_number);
// Frees the members, then makes those of the formation template (0: none).
void set_drone_formation(Drone* drone, int formation_type);
Drone* create_formation_member(Drone* leader);
void free_formation_member(Drone* member);

// The mission file's ":Drone" entries.
void set_drone_position(Drone* drone, int32_t x, int32_t y, int32_t z);
void set_drone_angles(Drone* drone, uint32_t heading, uint32_t pitch, uint32_t roll);
void set_drone_speed(Drone* drone, int32_t speed);
void set_drone_start_waypoint(Drone* drone, int n);
void set_drone_cargo(Drone* drone, int cargo);
// A passenger that is not a soldier rides hidden.
void set_drone_onboard(Drone* drone, int onboard);
void set_drone_notify(Drone* drone, int event);
void set_drone_explode(Drone* drone, int on);
void set_drone_unarmed(Drone* drone, int on);
// Bit 0 of `on`, on the drone and every member.
void set_drone_kill_failure(Drone* drone, int on);
void set_drone_kill_success(Drone* drone, int on);
void set_drone_kill_outstanding(Drone* drone, int on);
void set_drone_laser_designated(Drone* drone, int on);

// The next drone of the list it is on.
Drone* get_next_drone(Drone* drone);
Drone* get_next_member(Drone* drone);
// World units per second; the user drone's is the flight model's airspeed.
int32_t get_drone_speed(const Drone* drone);
// Moves it to the head of its task's list.
void make_drone_leader(Drone* drone);
int get_drone_object_number(const Drone* drone);
Vector3 get_drone_position(const Drone* drone);
// The drone's current waypoint, null when it has none.
Waypoint* get_drone_current_waypoint(const Drone* drone);

// Mission start: leaders whose onboard value is a transport's cargo value wait for its events.
void link_drone_passengers();

// Steps the drone's own seed; the old seed negated (callers take it modulo a range).
int32_t next_drone_random(Drone* drone);
// The range within which the drone notices enemies, by task type and for the enemy by skill.
void set_drone_attention(Drone* drone);
// AI aircraft show their gear when low and slow.
void update_drone_gear_models(Drone* drone);

// F12 and Shift+F12: the external view steps to the next or previous drone; 0 without a user
// drone.
int view_next_drone();
int view_previous_drone();

// 1 while the drone's autopilot flies it.
int get_drone_autopilot(const Drone* drone);
// The user drone's and its wingmen's bombing runs start afresh.
void reset_drone_bomb_run();
// Once a simulation step of a linked game: the remote drones from what the link received.
void update_remote_drones();

}  // namespace vyr
