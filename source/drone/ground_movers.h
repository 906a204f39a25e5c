// Tanks, vehicles and trains driving from waypoint to waypoint, their formation members keeping
// their slots in open country and following the route in single file on roads, railways, rivers
// and raised routes. The movers themselves are declared in drone_movers.h.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct Drone;

// One time step of `drone` at the pace of `pace_setter`; with `carry` its members ride along.
void step_ground_drone(Drone* drone, const Drone* pace_setter, bool carry);
// On along the leg by the drone's own speed, without arriving.
void advance_ground_drone(Drone* drone);
// Every living member on by its own velocity.
void carry_members(Drone* leader);
// The drone reached its current waypoint, `travel` being this step's way at its pace.
void arrive_at_waypoint(Drone* drone, int32_t travel);
// The leader has turned at a waypoint: its members take their slots on the new leg.
void follow_leader_turn(Drone* leader, int32_t travel, int32_t previous_remaining);
// Where a member of template row `row` stands when the leader reaches its current waypoint.
void get_formation_slot(const Drone* leader, int formation_type, int row, Vector3& point);

}  // namespace vyr
