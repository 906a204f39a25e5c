// The mission goals: what must be destroyed, reached or landed on, and the counts the flight
// keeps towards them.
#pragma once

#include <cstdint>

namespace vyr {

// Added to by the weapons code; cleared before each flight.
extern int32_t goal_damage_tally;
// 1 when the player's route asks for no runway landing, so that landing counts for nothing.
extern int32_t landing_goal_met;
// Counted during a flight.
extern int32_t soldiers_picked_up;
extern int32_t soldiers_delivered;
extern int32_t waypoints_reached;

void init_mission_goals();
// The ground objects at the mission's destroy points start destroyed.
void apply_destroy_points();
// Undoes the ground-object destruction the flight recorded.
void restore_destroyed_ground_objects();

void note_mission_drone_killed();
void note_mission_target_destroyed();
void note_waypoint_reached();
// Every goal met ends the mission as accomplished.
void check_mission_accomplished();

}  // namespace vyr
