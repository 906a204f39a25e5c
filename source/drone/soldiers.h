// Soldier figures and groups: the figure record hung on a soldier, a mounted gun or a casualty;
// the group walk from leader to members, the leader's waypoint rules, death and damage, stretcher
// parties, mounted guns and the count of soldiers aboard the player's aircraft.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"

namespace vyr {

struct Drone;
struct ObjectInstance;

// Flag bits 0-3: the soldier's slot in its formation.
constexpr uint32_t HUMAN_SLOT_MASK = 15u;
constexpr uint32_t HUMAN_CYCLE_END = 1u << 4;
constexpr uint32_t HUMAN_GROUP_LEADER = 1u << 7;
constexpr uint32_t HUMAN_BOARDING = 1u << 8;
constexpr uint32_t HUMAN_UNLOAD = 1u << 9;
// Bits 10-11: 2 when the detached item has just been put on after a shot.
constexpr int HUMAN_ITEM_SHIFT = 10;
constexpr uint32_t HUMAN_ITEM_MASK = 3u << HUMAN_ITEM_SHIFT;
constexpr uint32_t HUMAN_POSE_CHANGED = 1u << 12;
constexpr uint32_t HUMAN_INITIALISED = 1u << 13;
// Bits 14-15: 2 for an allied soldier, else 1.
constexpr int HUMAN_SIDE_SHIFT = 14;
constexpr uint32_t HUMAN_SIDE_MASK = 3u << HUMAN_SIDE_SHIFT;
constexpr uint32_t HUMAN_GUNNER_DOWN = 1u << 16;
constexpr uint32_t HUMAN_GUN_DONE = 1u << 17;
constexpr uint32_t HUMAN_MANNING = 1u << 18;
constexpr uint32_t HUMAN_IN_POSITION = 1u << 19;
constexpr uint32_t HUMAN_FINISHED = 1u << 20;
// A figure given no formation of its own.
constexpr uint32_t HUMAN_NO_FORMATION = 1u << 21;
constexpr uint32_t HUMAN_CARRIER = 1u << 22;
constexpr uint32_t HUMAN_CARRIED = 1u << 23;
constexpr uint32_t HUMAN_GUN_CREW = 1u << 24;
constexpr uint32_t HUMAN_LOADING = 1u << 25;
constexpr uint32_t HUMAN_ARMED = 1u << 26;
// Bits 27-29: the gesture variant, 0..5.
constexpr int HUMAN_GESTURE_SHIFT = 27;
constexpr uint32_t HUMAN_GESTURE_MASK = 7u << HUMAN_GESTURE_SHIFT;

// The brain's action states.
enum HumanAction : int32_t {
    ACTION_WAIT = 0,
    ACTION_ADVANCE = 2,
    ACTION_ENGAGE = 3,
    ACTION_DEFEND = 4,
    ACTION_GET_OUT = 5,
    ACTION_BOARD = 6,
    ACTION_REGROUP = 7,
    ACTION_DEAD = 8,
    ACTION_NO_MORE = 9,
    ACTION_SIGNAL = 10,
};

// The body's states that the figures set.
constexpr int32_t BODY_STAND = 0;
constexpr int32_t BODY_DYING = 11;

// The soldiers' weapon sets, which pick their animations.
enum class SoldierSet { NONE, PLAIN, M, R, S };
SoldierSet get_soldier_set(int32_t object_number);

// The record hung on a soldier, a mounted gun or a casualty.
struct HumanFigure {
    int32_t action_state;
    int32_t body_state;
    Drone* leader;
    Drone* transport;  // the vehicle boarded or left, the gun a gunner serves, or a gun's gunner
    Matrix3* gun_part_matrix;
    Matrix3* joints[11];  // joints 1..11; joint 11 null when the figure holds no item
    Vector3 goal;
    ObjectInstance* item_holder;
    ObjectInstance* detached_item;  // off the holder but while shown
    int32_t arrival_action;
    int32_t desired_speed;
    int32_t move_on_time;
    int32_t timer;
    int32_t animation_time;  // ms into the animation
    int32_t search_time;
    int32_t animation;  // 0..73
    uint32_t flags;
};

inline uint32_t figure_slot(const HumanFigure* figure) { return figure->flags & HUMAN_SLOT_MASK; }

// Each makes the drone's figure record (its class record) from its 3D object, which must be built.
void create_human_figure(Drone* drone);
void create_gun_figure(Drone* drone);
void create_plain_figure(Drone* drone);
// Frees the record, and the detached item with it when it is off its holder (else the object's
// tree frees it).
void free_human_figure(Drone* drone);
// A figure that leads no group of its own.
void set_figure_alone(HumanFigure* figure);
// A figure that has become a formation member of `leader`.
void set_figure_leader(HumanFigure* figure, Drone* leader);
// A formation member's figure takes its slot (low four bits); `crew` when it serves a gun.
void set_figure_formation_row(HumanFigure* figure, int row, int crew);

// Per frame for a group's leader: the mounted gun's step, or the brain of the leader and of each
// member in turn.
void update_human_drone(Drone* drone);
// The next soldier of the drone's group, or null.
Drone* next_group_member(Drone* drone);
// The leader arrives at its current waypoint: the group waits, defends or gets ready to board;
// a type soldiers do not use is fatal.
void human_waypoint_reached(Drone* leader);
// On to the next waypoint (back to the first after the last); the group advances.
void advance_group_waypoint(Drone* leader);

// The soldier falls: the next of the eight death animations; nothing for one already fallen.
void kill_human_figure(Drone* drone);
// A hit soldier dies, taking a stretcher party down with it, leaving a gun unmanned or handing
// its group to the next living member.
void damage_human_drone(Drone* drone, int attacker);

// A soldier leading a template of three becomes a stretcher party's front bearer, its first
// member the rear bearer (the second is the casualty).
void form_stretcher_party(Drone* drone);
// The rear bearer and the casualty keep their places behind the front bearer; a fallen rear
// bearer plays its death to the end.
void carry_stretcher(Drone* rear_bearer);
// A shown item goes back into the hand's pocket: the item counter counts down.
void put_item_away(HumanFigure* figure);

// A soldier group starts aboard its transport, ready to get out.
void unload_human_group(Drone* drone);
// Per frame for a mounted gun.
void update_gun_figure(Drone* gun);

// The gunner stands 4 ft behind its gun, facing the gun's way.
void seat_gunner(const Drone* gun, Drone* gunner);

// Soldiers carried by the player's aircraft, each a passenger's weight.
void set_aboard_count(int32_t count);
int32_t get_aboard_count();
void add_soldier_aboard();
void remove_soldier_aboard();
// The two drones the figure links, its leader and its transport (null where none, or no figure).
void get_figure_linked_drones(Drone* drone, Drone* out[2]);

}  // namespace vyr
