// The mission goals: what must be destroyed, reconnoitred, mined or landed on, the counts the
// flight keeps towards them, and the announcement the first time every one is met.
#pragma once

#include <cstdint>

namespace vyr {

struct ObjectInstance;
struct Waypoint;
struct ground_object;

// The second flag byte's bit 4: a ground object whose destruction is a goal of this mission.
constexpr uint16_t GROUND_MISSION_TARGET = 0x1000;

// The points scored on the target runway: the weapons' runway_damage under the goals' name.
extern int32_t& goal_damage_tally;
// 1 when the player's route has no runway target, so the runway goal is met from the start.
extern int32_t landing_goal_met;
// Counted during a flight; waypoints_reached counts the reconnaissance reports sent.
extern int32_t soldiers_picked_up;
extern int32_t soldiers_delivered;
extern int32_t waypoints_reached;

// 1 when the route from `first` holds a Target waypoint on a runway.
int has_runway_landing(Waypoint* first);

// Mission start: the targets at the route's Target waypoints and the grid's enemy mission
// targets flagged, the waypoint targets counted, the kills owed taken from the mission.
void init_mission_goals();

// The recorder's: a destroyed ground object, and the 3D object of a destroyed drone.
void note_mission_target_destroyed(const ground_object* object);
void note_mission_drone_killed(const ObjectInstance* object);
// One reconnaissance report sent.
void note_waypoint_reached();
// Announces the mission accomplished the first time every goal is met; never in a quick start.
void check_mission_accomplished();
// What the announcement does (the cockpit's words and speech), installed by the flight; none
// before.
void set_mission_announcement(void (*announce)());

}  // namespace vyr
