// How the player's aircraft meets the ground and other objects: touchdown grading, lift-off,
// the ground roll, collisions, and the end of the mission at the last waypoint.
#pragma once

#include <cstdint>

namespace vyr {

struct ObjectInstance;

// How the flight's landing went, for the debrief.
enum LandingResult : int32_t { LANDING_NONE = 0, LANDING_ENGINE_FIRE = 1, LANDING_CRASH = 2, LANDING_GEAR_COLLAPSE = 3 };
extern int32_t landing_result;

// The touchdown criteria the player failed to meet.
constexpr uint8_t FAULT_DESCENT_RATE = 0x01;
constexpr uint8_t FAULT_VELOCITY = 0x02;
constexpr uint8_t FAULT_ROLL = 0x04;
constexpr uint8_t FAULT_PITCH = 0x08;
constexpr uint8_t FAULT_BETA = 0x10;
extern uint8_t landing_faults;
// Damage over tolerance of the last crash landing.
extern float landing_damage_ratio;
extern int32_t gear_collapsed;
// What the player flew into: its object number, 11 a crater. The same word as the frame loop's
// `die_object`, the companion of `die_flag`, under the name the debrief reads it by.
extern int32_t& collision_object;
// The owner of the mover last flown into (null: none), for the crash report to other players.
extern const void* collision_owner;

// An end reason that takes effect once `game_clock` passes its time (0: none).
extern int32_t pending_end_reason;
extern int32_t pending_end_time;
// The end at the last waypoint has been asked for since the last lift-off.
extern int32_t destination_handled;

// Model start: no landing outcome and no object hit.
void clear_landing_outcome();
// After each full-model sub-step: touchdown, lift-off and arrival at the last waypoint.
void check_touchdown();
// Once per model update.
void check_collisions();
void check_ground_roll();

// Grades a touchdown (vt ft/s, sink ft/s down, angles in radians): 1 smooth .. 4 damaged, 5 a
// crash landing, 6 ditched; 0 when the flight is already ending.
int assess_touchdown(double vt, double beta, double sink, double pitch, double roll);
// Flown onto a carrier's deck: parked there level, a perfect landing.
void land_on_deck(ObjectInstance* ship);
// The damage of a touchdown's faults, hard surfaces with the gear down forgiving more; sets the
// bits of the faults that weigh more than 0.2.
double touchdown_damage(bool hard_surface, double vt, double beta, double sink, double pitch, double roll,
                        uint8_t& faults);

// 1 when the player stands where the route's last waypoint counts as reached.
int is_at_final_waypoint();

}  // namespace vyr
