#include "library/sound/samples.h"

#include <climits>

#include "library/config/prefs.h"
#include "tests/library/sound/sound_fixture.h"

namespace vyr {
namespace {

using Samples = SoundTest;

TEST(SampleTable, RowsAreNamedAsTheGameNamesThem) {
    const struct {
        int row;
        const char* file_name;
    } rows[] = {
        {SAMPLE_ENGINE, "sound\\VYRENG.raw"},
        {SAMPLE_GUN, "sound\\GUN22.raw"},
        {SAMPLE_WARNING_5, "sound\\WRNG5.raw"},
        {SAMPLE_ARTILLERY, "sound\\ARTILERY.raw"},
        {SAMPLE_GROUND_CONTROL_2, "sound\\gndc0002.raw"},
        {SAMPLE_CHAT_1 + 79, "sound\\CHAT0080.raw"},
        {SAMPLE_DRONE_1 + 28, "sound\\drone029.raw"},
        {SAMPLE_DRONE_32, "sound\\drone032.raw"},
        {SAMPLE_CALL_SIGN_1 + 19, "sound\\call0020.RAW"},
        {SAMPLE_TPLR_21, "sound\\TPLR0021.RAW"},
        {SAMPLE_VMS_1 + 5, "sound\\vms00006.RAW"},
        {SAMPLE_GROUND_CONTROL_3 + 5, "sound\\gndc0008.RAW"},
    };
    for (const auto& r : rows) EXPECT_STREQ(sample_table[r.row].file_name, r.file_name) << r.row;
    EXPECT_EQ(sample_table[SAMPLE_COUNT].file_name, nullptr);
    int looping = 0, fast = 0, minimal = 0;
    for (int row = 0; row < SAMPLE_COUNT; ++row) {
        looping += sample_table[row].loop;
        fast += sample_table[row].rate == 22050;
        minimal += sample_table[row].minimal;
    }
    EXPECT_EQ(looping, 12);  // engine, afterburner, gun, tone, stall and seven outside loops
    EXPECT_EQ(fast, 8);
    EXPECT_EQ(minimal, 45);
}

TEST_F(Samples, PlayScalesTheLevelByTheMasterLevel) {
    load_tone(12);
    const struct {
        int master, level, heard;
    } cases[] = {{63, 63, 63}, {31, 63, 31}, {63, 7, 7}, {0, 63, 5},  // 5: the level of silence
                 {INT_MAX, INT_MAX, 63}, {63, -7, 5}, {INT_MIN, 63, 5}};   // out of range: held to 0..63
    for (auto c : cases) {
        master_volume = c.master;
        int channel = play_sample(12, 0, c.level, 0x8000);
        ASSERT_GE(channel, 0);
        EXPECT_EQ(get_buffer_volume(channel_buffer(channel)), c.heard) << c.master << " " << c.level;
        stop_channel(channel);
    }
}

TEST_F(Samples, PlayIsGated) {
    load_tone(12);
    EXPECT_EQ(play_sample(13, 0, 63, 0), -1);  // not loaded
    EXPECT_EQ(play_sample(-1, 0, 63, 0), -1);
    EXPECT_EQ(play_sample(SAMPLE_COUNT, 0, 63, 0), -1);
    sound_effects_on = 0;
    EXPECT_EQ(play_sample(12, 0, 63, 0), -1);
    sound_effects_on = 1;
    for (int i = 0; i < MAX_SOUND_CHANNELS; ++i) EXPECT_EQ(play_sample(12, 0, 63, 0), i);
    EXPECT_EQ(play_sample(12, 0, 63, 0), -1);  // all sixteen busy: nothing is cut
    for (int i = 0; i < MAX_SOUND_CHANNELS; ++i) EXPECT_EQ(channel_status(i), SOUND_PLAYING);
}

TEST_F(Samples, ReusedChannelLosesItsRole) {
    load_tone(32);  // a one-shot of 1000 bytes at 11025 Hz: under ten periods
    load_tone(12);
    speech_channel = play_sample(32, 0, 63, 0);
    radio_channel = play_sample(32, 0, 63, 0);
    ASSERT_EQ(speech_channel, 0);
    ASSERT_EQ(radio_channel, 1);
    listen(10);
    EXPECT_EQ(play_sample(12, 0, 63, 0), 0);
    EXPECT_EQ(speech_channel, -1);
    EXPECT_EQ(radio_channel, 1);
    EXPECT_EQ(play_sample(12, 0, 63, 0), 1);
    EXPECT_EQ(radio_channel, -1);
}

TEST_F(Samples, ChannelPanAndLevelAreHeardWhilePlaying) {
    load_tone(30);  // loops
    int channel = play_sample(30, 0, 63, 0x0000);
    const double full = rms(listen(20), 0);
    EXPECT_NEAR(rms(listen(20), 1) / full, 1.0, 0.01);  // the pan waits for set_channel_pan
    set_channel_pan(channel, 0x4000);
    std::vector<int16_t> mix = listen(20);
    EXPECT_NEAR(rms(mix, 0) / full, 1.0, 0.01);
    EXPECT_NEAR(rms(mix, 1) / full, 0.0032, 0.001);  // -50 dB
    set_channel_pan(channel, 0xc000);
    mix = listen(20);
    EXPECT_NEAR(rms(mix, 0) / full, 0.0032, 0.001);
    EXPECT_NEAR(rms(mix, 1) / full, 1.0, 0.01);
    // A later level change is scaled by the master level too.
    master_volume = 21;
    set_channel_volume(channel, 63);
    EXPECT_EQ(get_buffer_volume(channel_buffer(channel)), 21);
    stop_buffer(channel_buffer(channel));
    set_channel_volume(channel, 7);
    EXPECT_EQ(get_buffer_volume(channel_buffer(channel)), 21);  // not playing: untouched
}

TEST_F(Samples, VolumesAreStoredAsSettings) {
    set_master_volume(40);
    int value = 0;
    EXPECT_TRUE(get_pref_int("Sound Master Volume", &value) && value == 40);
    EXPECT_TRUE(get_pref_int("Sound Music Volume", &value) && value == 40);
    set_effects_volume(12);
    speech_volume = 9;
    read_sound_volumes();
    EXPECT_EQ(effects_volume, 12);
    EXPECT_EQ(speech_volume, 9);  // no setting: unchanged
    EXPECT_EQ(music_volume, 40);
}

TEST_F(Samples, StoredAndSetLevelsAreHeldToTheirRange) {
    const char* const names[] = {"Sound Master Volume", "Sound Music Volume", "Sound Speech Volume",
                                 "Sound Effects Volume"};
    int* const volumes[] = {&master_volume, &music_volume, &speech_volume, &effects_volume};
    const struct {
        int level, held;
    } cases[] = {{INT_MAX, 63}, {64, 63}, {-1, 0}, {INT_MIN, 0}, {40, 40}};
    for (auto c : cases) {
        for (const char* name : names) set_pref_int(name, c.level);
        read_sound_volumes();
        for (int* volume : volumes) EXPECT_EQ(*volume, c.held) << "read " << c.level;
        for (int* volume : volumes) *volume = 9;
        set_master_volume(c.level);
        set_speech_volume(c.level);
        set_effects_volume(c.level);
        for (int i = 0; i < 4; ++i) {
            int stored = 0;
            EXPECT_EQ(*volumes[i], c.held) << "set " << names[i] << " " << c.level;
            EXPECT_TRUE(get_pref_int(names[i], &stored) && stored == c.held) << names[i] << " " << c.level;
        }
    }
}

}  // namespace
}  // namespace vyr
