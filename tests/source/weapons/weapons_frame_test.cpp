#include "source/weapons/weapons_frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "library/maths/random.h"
#include "source/avionics/views.h"
#include "source/frame_loop.h"
#include "source/mission/game_flow.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/rounds.h"
#include "source/weapons/speech.h"
#include "source/weapons/stores.h"
#include "tests/library/sound/sound_fixture.h"

namespace vyr {
namespace {

TEST(GameRandom, DrawsFollowTheTwoStepRuleAndMoveTheSharedSeed) {
    set_game_random_state(12345);
    const int expected[] = {12345, 1406936836, 2042126632, 1309374013, 689326154, 2076141648};
    EXPECT_EQ(next_game_random(), expected[0]);
    EXPECT_EQ(random_seed, -1492899873);  // two steps from 12345
    for (size_t i = 1; i < std::size(expected); ++i) EXPECT_EQ(next_game_random(), expected[i]) << i;
    EXPECT_EQ(get_game_random_state(), 2579645);
}

// A state from another machine with bit 31 set would be drawn as a negative number, and a
// chatter row below the first.
TEST(GameRandom, AReceivedStateKeepsBit31ClearAndTwoMachinesDrawAlike) {
    set_game_random_state(int32_t(0x80000005u));
    EXPECT_EQ(get_game_random_state(), 5);
    std::vector<int> first;
    for (int i = 0; i < 100; ++i) first.push_back(next_game_random());
    set_game_random_state(5);
    for (int i = 0; i < 100; ++i) {
        const int drawn = next_game_random();
        EXPECT_GE(drawn, 0);
        EXPECT_EQ(drawn, first[size_t(i)]) << i;
    }
}

TEST(GameRandom, ALinkedGameDrawsOneFirstAndALocalOneFromTheSharedSeed) {
    const int32_t saved = connection_mode;
    connection_mode = CONNECTION_DIRECT;
    random_seed = 777;
    reset_weapons();
    EXPECT_EQ(next_game_random(), 1);
    connection_mode = CONNECTION_NONE;
    random_seed = 777;
    reset_weapons();
    EXPECT_NE(next_game_random(), 1);
    EXPECT_EQ(next_chatter_time, 6000);
    connection_mode = saved;
}

// The sound world with rows that can be heard, flown in the cockpit of a single mission.
class WeaponsFrame : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        view_mode = VIEW_COCKPIT;
        set_game_flow(FLOW_SINGLE_MISSION);
        game_mode = GAME_SINGLE;
        time_acceleration = time_acceleration_request = 1;
        game_clock = 0;
        reset_weapons();
        clear_speech_queue();
        opening_call_made = 0;
    }
    void TearDown() override {
        set_game_flow(FLOW_QUICK_START);
        game_clock = 0;
        SoundTest::TearDown();
    }

    static int channels_playing(int row) {
        int n = 0;
        for (int channel = 0; channel < MAX_SOUND_CHANNELS; ++channel)
            n += channel_sample(channel) == row && channel_status(channel) == SOUND_PLAYING;
        return n;
    }
};

TEST_F(WeaponsFrame, TheSpeechQueueTakesTenAndPlaysTheNewestFirstWhenTheChannelIsFree) {
    for (int row = 140; row < 150; ++row) {
        load_tone(row);
        EXPECT_EQ(queue_speech(row), 0) << row;
    }
    EXPECT_EQ(queue_speech(150), -1);
    play_queued_speech();
    ASSERT_GE(speech_channel, 0);
    EXPECT_EQ(channel_sample(speech_channel), 149);
    play_queued_speech();  // still speaking: nothing taken off the queue
    EXPECT_EQ(channels_playing(148), 0);
    stop_channel(speech_channel);
    play_queued_speech();
    EXPECT_EQ(channel_sample(speech_channel), 148);
    EXPECT_EQ(queue_speech(150), 0);  // room again for one
}

TEST_F(WeaponsFrame, UnderTimeAccelerationNothingIsQueued) {
    load_tone(140);
    time_acceleration = 2;
    EXPECT_EQ(queue_speech(140), -1);
    time_acceleration = 1;
    play_queued_speech();
    EXPECT_EQ(channels_playing(140), 0);
}

TEST_F(WeaponsFrame, TheGunLoopStartsOnTheFirstFrameOfRoundsInTheNearViewsAndStopsOnTheFirstWithout) {
    load_tone(12);
    const struct {
        int view;
        int heard;
    } views[] = {{VIEW_COCKPIT, 1}, {1, 0}, {2, 0}, {VIEW_AIRFRAME_CAMERA, 1}, {VIEW_RUNWAY_CAMERA, 1}, {5, 0}};
    for (const auto& v : views) {
        view_mode = v.view;
        gun_rounds_fired = 1;
        update_weapons_frame();
        EXPECT_EQ(channels_playing(12), v.heard) << v.view;
        view_mode = VIEW_COCKPIT;
        gun_rounds_fired = 1;  // firing on: no second start, even in a near view
        update_weapons_frame();
        EXPECT_EQ(channels_playing(12), v.heard) << v.view;
        update_weapons_frame();
        EXPECT_EQ(channels_playing(12), 0) << v.view;
    }
    // The internal gun's burst ends it too.
    gun_rounds_fired = internal_gun_fired = 1;
    update_weapons_frame();
    gun_rounds_fired = 1;
    update_weapons_frame();
    EXPECT_EQ(channels_playing(12), 0);
}

// A draw of n gives chatter row 51 + n % 80.
TEST_F(WeaponsFrame, ChatterKeepsSomeRowsBackUntilTheFourthMinute) {
    load_tone(78);
    next_chatter_time = 0;
    opening_call_made = 1;
    set_game_random_state(27);  // row 78
    game_clock = 30000;
    update_weapons_frame();
    EXPECT_EQ(next_chatter_time, 0);  // refused: a new draw next frame
    EXPECT_EQ(radio_channel, -1);
    set_game_random_state(27);
    game_clock = 50000;
    update_weapons_frame();
    EXPECT_EQ(channel_sample(radio_channel), 78);
    EXPECT_GE(next_chatter_time, 54000);
    EXPECT_LT(next_chatter_time, 58000);
}

TEST_F(WeaponsFrame, TheFirstTwoMinutesSpeakTheOpeningCallOnceAndRefuseEveryOtherDraw) {
    load_tone(59);
    load_tone(51);
    game_clock = 5999;
    set_game_random_state(0);  // row 51
    update_weapons_frame();
    EXPECT_EQ(radio_channel, -1);  // the first slot is 30 s in
    game_clock = 6000;
    set_game_random_state(0);
    update_weapons_frame();
    ASSERT_GE(radio_channel, 0);
    EXPECT_EQ(channel_sample(radio_channel), 59);
    EXPECT_EQ(opening_call_made, 1);
    stop_channel(radio_channel);
    const int32_t slot = next_chatter_time;
    game_clock = slot;
    set_game_random_state(0);
    update_weapons_frame();
    EXPECT_EQ(channels_playing(51) + channels_playing(59), 0);
    EXPECT_EQ(next_chatter_time, slot);
}

TEST_F(WeaponsFrame, NoChatterInQuickStartTrainingLinkedModesOrUnderTimeAcceleration) {
    load_tone(59);
    game_clock = 6000;
    const auto silent = [&](const char* what) {
        set_game_random_state(0);
        update_weapons_frame();
        EXPECT_EQ(radio_channel, -1) << what;
        EXPECT_EQ(opening_call_made, 0) << what;
    };
    set_game_flow(FLOW_QUICK_START);
    silent("quick start");
    set_game_flow(FLOW_TRAINING);
    silent("training");
    set_game_flow(FLOW_SINGLE_MISSION);
    for (int32_t mode : {GAME_COMBAT, GAME_MULTI_PLAYER, GAME_CAPTURE_FLAG}) {
        game_mode = mode;
        silent("linked mode");
    }
    game_mode = GAME_SINGLE;
    time_acceleration_request = 2;
    silent("accelerated");
}

}  // namespace
}  // namespace vyr
