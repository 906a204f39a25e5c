// Soldier body states: the motor layer that plays the animation for what the brain asked, walks
// the figure to its goal and aims its weapon.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"
#include "source/drone/soldiers.h"

namespace vyr {

struct Drone;
struct Waypoint;

// The body's states beyond standing (BODY_STAND) and dying (BODY_DYING); 12 is handled as standing.
constexpr int32_t BODY_RAISE = 1;
constexpr int32_t BODY_AIM = 2;
constexpr int32_t BODY_LOWER = 3;
constexpr int32_t BODY_KNEEL = 4;
constexpr int32_t BODY_KNEEL_AIM = 5;
constexpr int32_t BODY_STAND_UP = 6;
constexpr int32_t BODY_DIVE = 7;
constexpr int32_t BODY_PRONE = 8;
constexpr int32_t BODY_GET_UP = 9;
constexpr int32_t BODY_MOVE = 10;
constexpr int32_t BODY_GESTURE = 13;

// What the body does on reaching its goal.
enum ArrivalAction : int32_t {
    ARRIVE_AT_WAYPOINT = 0,  // a leader's waypoint rules; a member stands
    ARRIVE_DIVE = 1,
    ARRIVE_IN_POSITION = 2,
    ARRIVE_AT_DOOR = 3,
    ARRIVE_ABOARD = 4,
    ARRIVE_CLEAR_OF_TRANSPORT = 5,  // walks on to its formation place
    ARRIVE_SHORT_OF_TRANSPORT = 6,  // waits there, signalling
};

// Speeds in world units a second.
constexpr int32_t HUMAN_START_SPEED = 0x1b0;
constexpr int32_t HUMAN_RUN_SPEED = 0x1440;
constexpr int32_t HUMAN_GET_OUT_SPEED = 0xa20;
constexpr int32_t HUMAN_MAX_SPEED = 0x17a0;
// The aim's elevation kept as the aim animation's time: straight up for a soldier; 45 degrees
// for a gun, kept as its gunner's.
constexpr int32_t HUMAN_AIM_UP = 10000;
constexpr int32_t GUN_AIM_UP = 1000;

// What a figure is to do, each played by its weapon set's animation.
enum class HumanMove {
    STANDING,
    WALK,
    WALK_JOG,
    JOG,
    JOG_RUN,
    RUN,
    RAISE_WEAPON,
    AIM_STANDING,
    LOWER_WEAPON,
    KNEEL_DOWN,
    AIM_KNEELING,
    STAND_UP,
    DIVE,
    GET_UP,
    GET_OUT,
    GET_IN,
    WAVE,
    GESTURE,
};

// The animation number of `move` for the soldier's weapon set; a stretcher bearer walks with the
// stretcher, and each gesture steps the figure's gesture variant on. A drone that is no soldier
// is fatal.
int32_t choose_human_animation(Drone* drone, HumanMove move);

// A point (x right, y forward) in the transport's frame, in the world at height 0.
Vector3 transport_point(const Drone* transport, int32_t x, int32_t y);
// The waypoint moved by (dx, dy), y along the way from the soldier to it and x to its right; z 0.
Vector3 offset_toward(const Drone* drone, const Waypoint* w, int32_t dx, int32_t dy);

// Plays the body state's animation and does what it asks; an unknown state is fatal.
void update_body(Drone* drone);
// Stands where it is, still.
void stand_still(Drone* drone);
// Walks to the soldier's place in the formation at the group's current waypoint; nothing when
// that waypoint asks for no speed.
void start_formation_walk(Drone* drone);
// One frame's walk toward the goal, arriving only at a walking cycle's end.
void walk_step(Drone* drone);
// Turns and moves toward the goal; 1 on arrival.
int step_toward_goal(Drone* drone);
// Slows near the goal, else speeds up toward the desired speed.
void control_walking_speed(Drone* drone);
// Advances the walk by the distance walked; at a cycle's end picks the gait for the speed.
void choose_walking_animation(Drone* drone);
// Sent to the player's aircraft while it is not loading: stops a little ahead and waits.
void stop_short_of_transport(Drone* drone);
// Turns and raises the aim toward the attack target; fires once both are on.
void aim_human_weapon(Drone* drone);
// A gun aims at its attack target, its gunner kept behind it, and fires once the aim is on.
void aim_gun(Drone* gun);

// A transport carrying or awaiting the soldier has landed: it gets out or boards.
void board_transport(Drone* soldier, Drone* transport);

}  // namespace vyr
