#include "source/recorder.h"

#include <gtest/gtest.h>

#include <vector>

namespace vyr {
namespace {

std::vector<FlightEventRecord> all_records() {
    std::vector<FlightEventRecord> records;
    for (const FlightEventBlock* block = first_event_block; block; block = block->next)
        for (const FlightEventRecord& record : block->records)
            if (record.kind != RECORD_FREE) records.push_back(record);
    return records;
}

int block_count() {
    int count = 0;
    for (const FlightEventBlock* block = first_event_block; block; block = block->next) ++count;
    return count;
}

class Recorder : public testing::Test {
protected:
    void SetUp() override { reset_flight_records(); }
    void TearDown() override { reset_flight_records(); }
};

TEST_F(Recorder, ConsecutiveDeltaTimesMergeUntilAnotherKindComesBetween) {
    record_delta_time(6);
    record_delta_time(7);
    record_player_position(200000, 0);
    record_delta_time(3);
    record_delta_time(4);
    const auto records = all_records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].kind, RECORD_DELTA_TIME);
    EXPECT_EQ(records[0].value1, 13);
    EXPECT_EQ(records[1].kind, RECORD_PLAYER_POSITION);
    EXPECT_EQ(records[2].value1, 7);
    EXPECT_EQ(event_record_count, 3) << "a merge counts nothing";
}

TEST_F(Recorder, TheThousandAndFirstRecordStartsALinkedSecondBlockWithoutMerging) {
    record_delta_time(1);
    for (int i = 2; i < RECORDS_PER_BLOCK; ++i) record_waypoint_achieved(nullptr);
    record_event(RECORD_DELTA_TIME, 5, 0, 0, 0, 0);
    EXPECT_EQ(block_count(), 1);
    // The block is full: the last record there is the delta time just written.
    record_delta_time(2);
    ASSERT_EQ(block_count(), 2);
    const FlightEventBlock* second = first_event_block->next;
    EXPECT_EQ(second->previous, first_event_block);
    EXPECT_EQ(first_event_block->previous, nullptr);
    EXPECT_EQ(second->records[0].kind, RECORD_DELTA_TIME);
    EXPECT_EQ(second->records[0].value1, 2);
    EXPECT_EQ(first_event_block->records[RECORDS_PER_BLOCK - 1].value1, 5);
    EXPECT_EQ(event_record_count, RECORDS_PER_BLOCK + 1);
}

TEST_F(Recorder, TheTrackRecordsAPositionOnce500FeetAway) {
    const struct {
        int32_t x, y;
        bool recorded;
    } steps[] = {{127999, 127999, false}, {128000, 0, true},  {255999, 1, false},
                 {128000, 128000, true},  {0, 128000, true},  {-127999, 128000, false}};
    int expected = 0;
    for (const auto& step : steps) {
        record_player_position(step.x, step.y);
        expected += step.recorded;
        EXPECT_EQ(position_record_count, expected) << step.x << ", " << step.y;
    }
}

TEST_F(Recorder, ANewFlightsTrackStartsWhereverTheLastOneEnded) {
    record_player_position(50'000'000, 50'000'000);
    reset_flight_records();
    EXPECT_EQ(first_event_block, nullptr);
    EXPECT_EQ(event_record_count, 0);
    // Close to where the last flight ended, but 500 ft from the start of the world.
    record_player_position(50'000'000 + 1000, 50'000'000);
    EXPECT_EQ(position_record_count, 1) << "the last flight's end would have held this back";
}

TEST_F(Recorder, WritersFillTheirFields) {
    record_player_landed(6, 100, 200);
    record_killed_by_drone(77, 3);
    const auto records = all_records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].kind, RECORD_PLAYER_LANDED);
    EXPECT_EQ(records[0].reference, 6);
    EXPECT_EQ(records[0].value1, 100);
    EXPECT_EQ(records[0].value2, 200);
    EXPECT_EQ(records[1].kind, RECORD_KILLED_BY_DRONE);
    EXPECT_EQ(records[1].reference, 77);
    EXPECT_EQ(records[1].value3, 3);
}

}  // namespace
}  // namespace vyr
