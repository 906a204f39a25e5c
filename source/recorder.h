// The flight event recorder: what happened in a flight, for the debrief. Records live in blocks
// of 1,000, linked both ways, kept until the next flight's reset.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;
struct Waypoint;
struct ground_object;

enum RecordKind : int32_t {
    RECORD_FREE = 0,
    RECORD_DELTA_TIME = 2,
    RECORD_PLAYER_POSITION = 3,
    RECORD_MOBILE_OBJECT = 8,
    RECORD_GROUND_OBJECT = 9,
    RECORD_WAYPOINT_ACHIEVED = 10,
    RECORD_PLAYER_LANDED = 12,
    RECORD_KILLED_BY_DRONE = 13,
    RECORD_KILLED_BY_OBJECT = 14,
};

struct FlightEventRecord {
    int32_t kind;
    int32_t value1, value2, value3, value4;
    intptr_t reference;  // the object concerned, or a small code
};

constexpr int RECORDS_PER_BLOCK = 1000;

struct FlightEventBlock {
    FlightEventRecord records[RECORDS_PER_BLOCK];
    FlightEventBlock* previous;
    FlightEventBlock* next;
};

// The debrief walks the blocks from the first; null before anything is recorded.
extern FlightEventBlock* first_event_block;
extern int32_t event_record_count;
extern int32_t position_record_count;

// Appends a record; a delta time straight after a delta time in the same block is added to it.
void record_event(int kind, int32_t value1, int32_t value2, int32_t value3, int32_t value4, intptr_t reference);
// Frees every block and forgets the last track position: before each flight.
void reset_flight_records();

void record_delta_time(int32_t ticks);
// The player's track: a record once the aircraft is 500 ft from the last one.
void record_player_position(int32_t x, int32_t y);
// Grade 1 to 6 of the landing check (6: on water), at world position x, y.
void record_player_landed(int32_t grade, int32_t x, int32_t y);
// A kill and its killer: 3 the player, 1 allied forces, 2 enemy forces, 0 unknown. The victim's
// record stays in place until the next mission, so the reference still names it at the debrief.
void record_mobile_object_kill_by(Drone* drone, int32_t killer);
// The record's object number goes in value3, for the debrief's undoing of the kill.
void record_ground_object_kill_by(ground_object* object, int32_t killer);
void record_waypoint_achieved(Waypoint* waypoint);
void record_killed_by_drone(intptr_t shooter, int32_t b);
void record_killed_by_object(intptr_t object, int32_t b);
// A reconnaissance target sent counts as a reached waypoint.
void count_mission_goal();

}  // namespace vyr
