#include "library/sound/dsound.h"

#include "library/config/prefs.h"
#include "tests/library/sound/sound_fixture.h"

namespace vyr {
namespace {

TEST(SoundLevels, LevelsAndPansConvertToHundredthsOfADecibel) {
    const std::pair<int, int> levels[] = {
        {0, -10000}, {-5, -10000}, {1, -10000}, {7, -8142}, {32, -1000}, {63, -15}, {64, 0}, {200, 0},
    };
    for (auto [level, attenuation] : levels) EXPECT_EQ(level_to_attenuation(level), attenuation) << level;
    const std::pair<int, int> inverse[] = {{-15, 63}, {-8142, 7}, {0, 64}, {-10000, 5}};
    for (auto [attenuation, level] : inverse)
        EXPECT_EQ(attenuation_to_level(attenuation), level) << attenuation;
    const std::pair<int, int> pans[] = {
        {0, -10000}, {1, -10000}, {0x4000, -5000}, {0x7fff, -1}, {0x8000, 0},
        {0x8001, 0}, {0xc000, 5000}, {0xffff, 10000}, {0x20000, 10000}, {-100, -10000},
    };
    for (auto [pan, balance] : pans) EXPECT_EQ(pan_to_balance(pan), balance) << pan;
}

TEST_F(SoundTest, BuffersHoldAtLeastAHundredBytesOfTheirKind) {
    for (int kind : {SOUND_MONO_8, SOUND_MONO_16, SOUND_STEREO_8, SOUND_STEREO_16}) {
        SoundBuffer* b = create_sound_buffer(10, 22050, kind);
        ASSERT_NE(b, nullptr) << kind;
        uint8_t* region = lock_sound_buffer(b, 0, 100);
        ASSERT_NE(region, nullptr) << kind;
        unlock_sound_buffer(b, region, 0);
        EXPECT_EQ(lock_sound_buffer(b, 0, 101), nullptr) << kind;
        release_sound_buffer(b);
    }
    for (int kind : {0, 3, 8}) EXPECT_EQ(create_sound_buffer(1000, 22050, kind), nullptr) << kind;
}

TEST_F(SoundTest, VolumeReadsBackAsTheLevel) {
    SoundBuffer* b = create_sound_buffer(100, 22050, SOUND_MONO_8);
    for (int level : {63, 32, 7}) {
        set_buffer_volume(b, level);
        EXPECT_EQ(get_buffer_volume(b), level);
    }
    release_sound_buffer(b);
}

// Sixteen looping sounds on their channels.
class Channels : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        sample = create_sound_buffer(1000, 22050, SOUND_MONO_8);
    }
    void TearDown() override {
        release_sound_buffer(sample);
        SoundTest::TearDown();
    }
    int start(int row, int loop) {
        int channel = find_free_channel(0);
        if (channel >= 0)
            start_channel(row, channel, duplicate_sound_buffer(sample), 1000, 22050, 63, 0x8000, loop);
        return channel;
    }
    SoundBuffer* sample = nullptr;
};

TEST_F(Channels, SixteenAreExhaustedAndFinishedOnesReused) {
    for (int i = 0; i < MAX_SOUND_CHANNELS; ++i) EXPECT_EQ(start(100 + i, 1), i);
    EXPECT_EQ(find_free_channel(0), -1);
    for (int i = 0; i < MAX_SOUND_CHANNELS; ++i) {
        EXPECT_EQ(channel_status(i), SOUND_PLAYING) << i;  // none was stopped for the search
        EXPECT_EQ(channel_sample(i), 100 + i);
    }
    stop_channel(5);
    EXPECT_EQ(channel_sample(5), -1);
    EXPECT_EQ(start(7, 0), 5);  // a one-shot of 1000 bytes at 22050 Hz: 5 periods
    listen(6);
    EXPECT_EQ(channel_status(5), SOUND_STOPPED);
    EXPECT_EQ(channel_sample(5), 7);  // kept until the channel is wanted again
    EXPECT_EQ(find_free_channel(0), 5);
}

TEST_F(Channels, FocusLossPausesChannelsAndStreamUntilItReturns) {
    ASSERT_EQ(start(1, 1), 0);
    ASSERT_EQ(start(2, 0), 1);
    listen(6);  // the one-shot on channel 1 has ended
    SoundBuffer* stream = get_stream_buffer(SOUND_STEREO_8);
    uint8_t* p = lock_sound_buffer(stream, 0, STREAM_BUFFER_LENGTH);
    std::fill_n(p, STREAM_BUFFER_LENGTH, 0xc0);
    unlock_sound_buffer(stream, p, STREAM_BUFFER_LENGTH);
    set_buffer_volume(stream, 63);
    play_buffer(stream, 1);
    on_window_thread(deactivate_sound);
    EXPECT_EQ(channel_status(0), SOUND_STOPPED);
    EXPECT_EQ(channel_sample(0), 1);   // kept for the return
    EXPECT_EQ(channel_sample(1), -1);  // an ended sound is let go
    EXPECT_EQ(buffer_status(stream), SOUND_STOPPED);
    EXPECT_EQ(rms(listen(10), 0), 0);
    on_window_thread(activate_sound);
    EXPECT_EQ(channel_status(0), SOUND_PLAYING);
    EXPECT_EQ(channel_status(1), SOUND_STOPPED);
    EXPECT_EQ(buffer_status(stream), SOUND_PLAYING);
    EXPECT_GT(rms(listen(10), 0), 10000);
    stop_buffer(stream);
    EXPECT_EQ(find_free_channel(0), 1);  // the game side's next search frees the ended sound
}

TEST_F(SoundTest, DuplicatesPlayTheOriginalsSamples) {
    SoundBuffer* original = create_sound_buffer(441 * 100, 44100, SOUND_MONO_8);
    uint8_t* p = lock_sound_buffer(original, 0, 441 * 100);
    for (int i = 0; i < 441 * 100; ++i) p[i] = uint8_t(i % 7 == 0 ? 0xff : 0x80);
    unlock_sound_buffer(original, p, 441 * 100);
    SoundBuffer* a = duplicate_sound_buffer(original);
    SoundBuffer* b = duplicate_sound_buffer(original);
    set_buffer_volume(a, 64);
    set_buffer_volume(b, 64);
    play_buffer(a, 0);
    std::vector<int16_t> one = listen(10);
    rewind_buffer(a, 0);
    play_buffer(b, 0);
    std::vector<int16_t> two = listen(10);
    for (size_t i = 0; i < one.size(); ++i) ASSERT_EQ(two[i], std::min(2 * one[i], 32767)) << i;
    EXPECT_EQ(one[0], 127 * 256);
    for (SoundBuffer* buffer : {a, b, original}) release_sound_buffer(buffer);
}

TEST_F(SoundTest, StreamBufferIsRemadeOnlyForTheOtherKind) {
    SoundBuffer* stereo = get_stream_buffer(SOUND_STEREO_8);
    ASSERT_NE(stereo, nullptr);
    uint8_t* p = lock_sound_buffer(stereo, 0, 4);
    std::fill_n(p, 4, 0x11);
    unlock_sound_buffer(stereo, p, 4);
    EXPECT_EQ(get_stream_buffer(SOUND_STEREO_16), stereo);  // every kind but mono is stereo
    EXPECT_EQ(contents(get_stream_buffer(SOUND_MONO_8), 0, 4), std::vector<uint8_t>(4, 0x80));
    SoundBuffer* mono = get_stream_buffer(SOUND_MONO_8);
    EXPECT_EQ(get_stream_buffer(SOUND_MONO_8), mono);
}

TEST_F(SoundTest, NothingHappensWithoutADevice) {
    SoundBuffer* b = create_sound_buffer(100, 22050, SOUND_MONO_8);
    send_request(REQ_RELEASE_SOUND);
    EXPECT_EQ(sound_device_present.load(), 0);
    EXPECT_EQ(create_sound_buffer(100, 22050, SOUND_MONO_8), nullptr);
    EXPECT_EQ(duplicate_sound_buffer(b), nullptr);
    EXPECT_EQ(find_free_channel(0), -1);
    EXPECT_EQ(get_stream_buffer(SOUND_STEREO_8), nullptr);
    EXPECT_EQ(lock_sound_buffer(b, 0, 10), nullptr);
    EXPECT_EQ(get_buffer_volume(b), SOUND_SILENT);
    EXPECT_EQ(get_play_position(b), 0);
    play_buffer(b, 1);
    EXPECT_EQ(buffer_status(b), SOUND_STOPPED);
    release_sound_buffer(b);
}

TEST(SoundCard, SettingsAreReadAndStoredUnderTheirNames) {
    set_pref_int("Sound IRQ", 7);
    read_sound_card_settings();
    EXPECT_EQ(sound_card_settings[0], 1);  // no card setting: none
    EXPECT_EQ(sound_card_settings[2], 7);
    set_sound_card(2);
    set_sound_dma(5);
    int value = 0;
    EXPECT_TRUE(get_pref_int("Sound Card", &value) && value == 2);
    EXPECT_TRUE(get_pref_int("Sound DMA", &value) && value == 5);
    EXPECT_EQ(open_sound_card(), 1);
}

}  // namespace
}  // namespace vyr
