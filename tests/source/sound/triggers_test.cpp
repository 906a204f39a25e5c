#include "source/sound/triggers.h"

#include "source/avionics/failures.h"
#include "source/avionics/views.h"
#include "source/frame_loop.h"
#include "tests/library/sound/sound_fixture.h"

namespace vyr {
namespace {

class SoundTriggers : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        stop_all_sounds();
        view_mode = VIEW_COCKPIT;
        system_failures = {};
        game_clock = 0;
        threat_sound_delay = 2;
        threat_sound_volume = 100;
        for (int row : {0, 3, 12, 25, 26, 30, 31, 32, 33, 50, 159, 196, 200}) load_tone(row);
    }
    void TearDown() override {
        stop_all_sounds();
        SoundTest::TearDown();
    }
    static std::vector<int> channels_playing(int row) {
        std::vector<int> channels;
        for (int channel = 0; channel < MAX_SOUND_CHANNELS; ++channel)
            if (channel_status(channel) == SOUND_PLAYING && channel_sample(channel) == row) channels.push_back(channel);
        return channels;
    }
    static int playing_count(int row) { return int(channels_playing(row).size()); }
};

TEST_F(SoundTriggers, TheAfterburnerPlaysOnOneChannel) {
    start_afterburner_sound();
    start_afterburner_sound();
    EXPECT_EQ(playing_count(3), 1);
    set_afterburner_level(40);
    EXPECT_EQ(get_buffer_volume(channel_buffer(channels_playing(3)[0])), 40);
    stop_afterburner_sound();
    EXPECT_EQ(playing_count(3), 0);
    EXPECT_EQ(afterburner_sound_on, 0);
}

TEST_F(SoundTriggers, AWarningToneWaitsForItsRepeatTimeAndPlaysAtItsLevel) {
    struct Case {
        int volume, level;
    };
    for (const Case c : {Case{100, 20}, {150, 20}, {199, 20}, {200, 40}, {99, 5}}) {  // level 0 is heard as 5
        stop_all_sounds();
        game_clock += 10000;
        threat_sound_volume = c.volume;
        play_warning_tone(25);
        ASSERT_EQ(playing_count(25), 1) << c.volume;
        EXPECT_EQ(get_buffer_volume(channel_buffer(channels_playing(25)[0])), c.level) << c.volume;
    }
    threat_sound_volume = 100;
    stop_all_sounds();
    game_clock += 10000;
    play_warning_tone(26);
    play_warning_tone(25);  // the warning channel still plays
    EXPECT_EQ(playing_count(25), 0);
    for (int channel : channels_playing(26)) stop_channel(channel);
    play_warning_tone(25);  // another row plays once the channel is free
    EXPECT_EQ(playing_count(25), 1);
    for (int channel : channels_playing(25)) stop_channel(channel);
    game_clock += 399;
    play_warning_tone(25);  // within 2 s of its last
    EXPECT_EQ(playing_count(25), 0);
    game_clock += 1;
    play_warning_tone(25);
    EXPECT_EQ(playing_count(25), 1);
}

TEST_F(SoundTriggers, SpeechWaitsForTheSpeechChannelButRow159CutsIt) {
    play_speech(200);
    play_speech(196);  // busy
    EXPECT_EQ(playing_count(200), 1);
    EXPECT_EQ(playing_count(196), 0);
    EXPECT_EQ(last_speech_sample, 200);
    play_speech(159);
    EXPECT_EQ(playing_count(200), 0);
    EXPECT_EQ(playing_count(159), 1);
    EXPECT_EQ(last_speech_sample, 159);
    stop_all_sounds();
    view_mode = VIEW_AIRFRAME_CAMERA;  // speech is a cockpit sound
    play_speech(200);
    EXPECT_EQ(playing_count(200), 0);
    view_mode = VIEW_COCKPIT;
    set_failure(FAIL_RADIO);
    play_radio_sample(50);
    EXPECT_EQ(playing_count(50), 0);
}

TEST_F(SoundTriggers, TheEngineLoopTakesItsRateAndLevelByTheView) {
    set_loop_sample(NO_LOOP_SAMPLE);
    restore_engine_sound();
    ASSERT_EQ(playing_count(0), 1);
    restore_engine_sound();  // already current
    EXPECT_EQ(playing_count(0), 1);
    SoundBuffer* engine = channel_buffer(channels_playing(0)[0]);
    struct Case {
        int view, rate, level;
    };
    for (const Case c : {Case{VIEW_COCKPIT, 20000, 30}, {VIEW_COCKPIT, 2500, 15}, {VIEW_COCKPIT, 50, 5},
                         {VIEW_AIRFRAME_CAMERA, 20000, 5}}) {
        set_loop_level(5);
        view_mode = c.view;
        set_engine_sound_rate(c.rate);
        EXPECT_EQ(get_buffer_volume(engine), c.level) << c.view << " " << c.rate;
    }
    view_mode = VIEW_COCKPIT;
    play_helicopter_loop();
    EXPECT_EQ(playing_count(0), 0);
    EXPECT_EQ(playing_count(33), 1);
    EXPECT_EQ(current_loop_sample, 33);
    stop_vehicle_loops();
    EXPECT_EQ(current_loop_sample, NO_LOOP_SAMPLE);
    set_loop_sample(33);
    stop_vehicle_loops();  // none played: the row stays
    EXPECT_EQ(current_loop_sample, 33);
}

TEST_F(SoundTriggers, StoppingTheSeekerLeavesTheMissileWarningTone) {
    start_threat_tone();
    start_seeker_tone();
    ASSERT_EQ(playing_count(30), 2);
    stop_seeker_tone();
    EXPECT_EQ(playing_count(30), 1);
    EXPECT_EQ(threat_sound_on, 1);
    set_tone_rate(44100);
    start_seeker_tone();
    stop_threat_tone();
    EXPECT_EQ(playing_count(30), 1);  // the seeker's
    EXPECT_EQ(seeker_sound_on, 1);
    stop_seeker_tone();
    EXPECT_EQ(playing_count(30), 0);
}

TEST_F(SoundTriggers, AfterStopAllSoundsTheGunAndTheTonesStartAgain) {
    start_gun_sound();
    start_threat_tone();
    start_seeker_tone();
    start_stall_warning();
    stop_all_sounds();
    for (int row : {12, 30, 31}) EXPECT_EQ(playing_count(row), 0) << row;
    start_gun_sound();
    start_threat_tone();
    start_seeker_tone();
    start_stall_warning();
    EXPECT_EQ(playing_count(12), 1);
    EXPECT_EQ(playing_count(30), 2);
    EXPECT_EQ(playing_count(31), 1);
    end_gun_burst_sound();
    EXPECT_EQ(playing_count(12), 0);
    EXPECT_EQ(gun_sound_on, 0);
}

TEST_F(SoundTriggers, NothingPlaysWithEffectsOff) {
    sound_effects_on = 0;
    start_gun_sound();
    start_engine_sound();
    play_speech(200);
    EXPECT_EQ(gun_sound_on, 0);
    for (int channel = 0; channel < MAX_SOUND_CHANNELS; ++channel) EXPECT_NE(channel_status(channel), SOUND_PLAYING);
}

}  // namespace
}  // namespace vyr
