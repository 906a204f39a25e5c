// Stand-in for the mission goals: they count nothing yet but the weapons' runway result, cleared
// with them.
#include "source/mission/goals.h"

#include "source/weapons/round_impact.h"

namespace vyr {

int32_t goal_damage_tally = 0;
int32_t landing_goal_met = 0;
int32_t soldiers_picked_up = 0;
int32_t soldiers_delivered = 0;
int32_t waypoints_reached = 0;

void init_mission_goals() {
    runway_damage = 0;
    runway_destroyed = 0;
}
void check_mission_accomplished() {}
void restore_destroyed_ground_objects() {}
void note_mission_drone_killed() {}
void note_mission_target_destroyed() {}
void note_waypoint_reached() {}

}  // namespace vyr
