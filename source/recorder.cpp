#include "source/recorder.h"

#include <cstdlib>

#include "library/3dvisual/ground_objects.h"
#include "library/system/memory.h"
#include "source/drone/drone.h"
#include "source/mission/goals.h"

namespace vyr {

FlightEventBlock* first_event_block = nullptr;
int32_t event_record_count = 0;
int32_t position_record_count = 0;

namespace {

constexpr const char* SOURCE = "source/recorder";
constexpr int32_t TRACK_STEP = 128000;  // 500 ft

FlightEventBlock* current_block = nullptr;
int32_t last_x = 0, last_y = 0;

FlightEventBlock* new_block(FlightEventBlock* previous) {
    auto* block = static_cast<FlightEventBlock*>(allocate_memory(sizeof(FlightEventBlock), SOURCE, __LINE__));
    for (FlightEventRecord& record : block->records) record = {};
    block->previous = previous;
    block->next = nullptr;
    return block;
}

void write(FlightEventRecord& record, const FlightEventRecord& value) {
    record = value;
    ++event_record_count;
}

}  // namespace

void record_event(int kind, int32_t value1, int32_t value2, int32_t value3, int32_t value4, intptr_t reference) {
    const FlightEventRecord value = {kind, value1, value2, value3, value4, reference};
    if (!current_block) {
        first_event_block = current_block = new_block(nullptr);
        write(current_block->records[0], value);
        return;
    }
    FlightEventRecord* records = current_block->records;
    for (int i = 0; i < RECORDS_PER_BLOCK; ++i) {
        if (records[i].kind != RECORD_FREE) continue;
        if (i > 0 && kind == RECORD_DELTA_TIME && records[i - 1].kind == RECORD_DELTA_TIME) {
            records[i - 1].value1 += value1;
            return;
        }
        write(records[i], value);
        return;
    }
    FlightEventBlock* block = new_block(current_block);
    current_block->next = block;
    current_block = block;
    write(block->records[0], value);
}

void reset_flight_records() {
    for (FlightEventBlock* block = first_event_block; block;) {
        FlightEventBlock* next = block->next;
        free_memory(block, SOURCE, __LINE__);
        block = next;
    }
    first_event_block = current_block = nullptr;
    event_record_count = position_record_count = 0;
    // A track left over from the last flight would hold back the first records of this one.
    last_x = last_y = 0;
}

void record_delta_time(int32_t ticks) { record_event(RECORD_DELTA_TIME, ticks, 0, 0, 0, 0); }

void record_player_position(int32_t x, int32_t y) {
    if (std::abs(int64_t(x) - last_x) < TRACK_STEP && std::abs(int64_t(y) - last_y) < TRACK_STEP) return;
    record_event(RECORD_PLAYER_POSITION, x, y, 0, 0, 0);
    last_x = x;
    last_y = y;
    ++position_record_count;
}

void record_player_landed(int32_t grade, int32_t x, int32_t y) {
    record_event(RECORD_PLAYER_LANDED, x, y, 0, 0, grade);
}

void record_mobile_object_kill_by(Drone* drone, int32_t killer) {
    record_event(RECORD_MOBILE_OBJECT, 0, 0, 0, killer, reinterpret_cast<intptr_t>(drone));
    note_mission_drone_killed(drone ? &drone->object : nullptr);
}

void record_ground_object_kill_by(ground_object* object, int32_t killer) {
    record_event(RECORD_GROUND_OBJECT, 0, 0, object->type, killer, reinterpret_cast<intptr_t>(object));
    note_mission_target_destroyed(object);
}

void record_waypoint_achieved(Waypoint* waypoint) {
    record_event(RECORD_WAYPOINT_ACHIEVED, 0, 0, 0, 0, reinterpret_cast<intptr_t>(waypoint));
}

void record_killed_by_drone(intptr_t shooter, int32_t b) { record_event(RECORD_KILLED_BY_DRONE, 0, 0, b, 0, shooter); }

void record_killed_by_object(intptr_t object, int32_t b) { record_event(RECORD_KILLED_BY_OBJECT, 0, 0, b, 0, object); }

void count_mission_goal() { note_waypoint_reached(); }

}  // namespace vyr
