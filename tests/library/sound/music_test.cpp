#include "library/sound/music.h"

#include "tests/library/sound/sound_fixture.h"

namespace vyr {
namespace {

constexpr int FILLED = MUSIC_RING_SIZE - 131072;  // what a fill leaves unplayed at most

class Music : public SoundTest {
protected:
    // A file whose every byte tells its offset apart from its neighbours (and from silence).
    static std::vector<uint8_t> write_music(const char* name, int size) {
        std::vector<uint8_t> bytes(static_cast<size_t>(size));
        for (int i = 0; i < size; ++i) bytes[i] = uint8_t(1 + (i * 7 + i / 251) % 127);
        write_bytes(name, bytes);
        return bytes;
    }

    static std::vector<uint8_t> ring(int offset, int length, int kind = SOUND_STEREO_8) {
        return contents(get_stream_buffer(kind), offset, length);
    }

    // The first offset at which the ring differs from `expected` from `offset` on; -1 when none.
    static long ring_differs(int offset, const std::vector<uint8_t>& expected, int kind = SOUND_STEREO_8) {
        std::vector<uint8_t> got = ring(offset, int(expected.size()), kind);
        if (got.size() != expected.size()) return 0;
        auto where = std::mismatch(got.begin(), got.end(), expected.begin());
        return where.first == got.end() ? -1 : where.first - got.begin();
    }

    static std::vector<uint8_t> part(const std::vector<uint8_t>& bytes, long from, long to) {
        return {bytes.begin() + from, bytes.begin() + to};
    }

    static bool stream_plays(int kind = SOUND_STEREO_8) {
        return buffer_status(get_stream_buffer(kind)) == SOUND_PLAYING;
    }
};

TEST_F(Music, RingFillsAndRefillsAsTheCursorMoves) {
    std::vector<uint8_t> file = write_music("sound/long.raw", 3 * MUSIC_RING_SIZE);
    play_stream("sound\\long.raw", 2, 22050, 0, 0);
    ASSERT_TRUE(music_file_open());
    EXPECT_STREQ(music_file_name, "sound\\long.raw");
    EXPECT_EQ(music_head, FILLED);
    EXPECT_EQ(ring_differs(0, part(file, 0, FILLED)), -1);
    long written = FILLED;
    for (int pass = 0; pass < 12; ++pass) {
        listen(200);  // two seconds: 88,200 bytes of stereo at 22050 Hz
        const int head = music_head;
        music_reader_step();
        const int added = (music_head - head + MUSIC_RING_SIZE) % MUSIC_RING_SIZE;
        EXPECT_GE(added, 88200 - 2048) << pass;
        EXPECT_LE(music_space, 131072) << pass;
        written += added;
        const int block = (music_head - MUSIC_BLOCK_SIZE + MUSIC_RING_SIZE) % MUSIC_RING_SIZE;
        EXPECT_EQ(ring_differs(block, part(file, written - MUSIC_BLOCK_SIZE, written)), -1) << pass;
    }
    EXPECT_GT(written, MUSIC_RING_SIZE);  // the head has gone round
    EXPECT_TRUE(stream_plays());
}

TEST_F(Music, LoopingFileWrapsToItsLoopOffsetWithoutAGap) {
    const struct {
        int size, offset;
    } cases[] = {{3000, 1000}, {100, 0}, {5000, 4999}, {4096, 2048}};
    for (auto c : cases) {
        std::vector<uint8_t> file = write_music("sound/loop.raw", c.size);
        play_stream("sound\\loop.raw", 1, 22050, 1, c.offset);
        EXPECT_EQ(music_head, FILLED);
        EXPECT_EQ(is_stream_playing(), 0);  // a loop is music, not speech to wait for
        std::vector<uint8_t> expected(file.begin(), file.end());
        while (expected.size() < 20000) expected.insert(expected.end(), file.begin() + c.offset, file.end());
        expected.resize(20000);
        EXPECT_EQ(ring_differs(0, expected, SOUND_MONO_8), -1) << c.size << " " << c.offset;
        stop_music_now();
    }
}

TEST_F(Music, ShortFileDrainsWithSilenceAndStartsThePendingRequest) {
    std::vector<uint8_t> loop = write_music("sound/menu.raw", 1000000);
    play_stream("sound\\menu.raw", 2, 22050, 1, 0);
    std::vector<uint8_t> speech = write_music("sound/speech.raw", 1000);
    play_stream("sound\\speech.raw", 2, 22050, 0, 0);  // sets the looping menu music aside
    EXPECT_EQ(music_pending, 1);
    EXPECT_FALSE(music_file_open());
    EXPECT_EQ(music_draining, 1);
    EXPECT_EQ(music_head, 1000 + 5 * MUSIC_BLOCK_SIZE);
    std::vector<uint8_t> expected = speech;
    expected.resize(1000 + 5 * MUSIC_BLOCK_SIZE, 0x80);
    EXPECT_EQ(ring_differs(0, expected), -1);
    EXPECT_EQ(is_stream_playing(), 1);
    // Fewer than 12,288 bytes wait to be played: the next pass ends the speech.
    music_reader_step();
    EXPECT_EQ(music_draining, 0);
    EXPECT_EQ(music_pending, 0);
    EXPECT_STREQ(music_file_name, "sound\\menu.raw");
    EXPECT_EQ(ring_differs(0, part(loop, 0, FILLED)), -1);
    EXPECT_TRUE(stream_plays());
}

TEST_F(Music, LongerFilePlaysOutBeforeTheNextStarts) {
    write_music("sound/theme.raw", 4000);
    write_music("sound/speech.raw", 40000);
    set_music_situation_source([] { return MusicSituation{1, 1, 0}; });
    play_stream("sound\\speech.raw", 2, 22050, 0, 0);
    music_reader_step();  // still playing: the theme is only chosen
    EXPECT_EQ(music_draining, 1);
    EXPECT_EQ(music_pending, 1);
    EXPECT_TRUE(stream_plays());
    // 40,000 bytes of stereo at 22050 Hz last about 0.9 s; the reader looks every 0.1 s.
    int passes = 0;
    for (; passes < 20 && std::string(music_file_name) != "sound\\theme.raw"; ++passes) {
        listen(10);
        music_reader_step();
    }
    EXPECT_GE(passes, 8);  // not before the speech has played out
    EXPECT_STREQ(music_file_name, "sound\\theme.raw");
    EXPECT_EQ(music_draining, 1);  // the theme too is short: it drains in turn
}

TEST_F(Music, ReaderChoosesTheNextMusicFromFlowZoneAndScreens) {
    for (const char* name : {"sound/syria.raw", "sound/china.raw", "sound/greek.raw", "sound/theme.raw"})
        write_music(name, 1000000);
    static MusicSituation now;
    set_music_situation_source([] { return now; });
    const struct {
        MusicSituation situation;
        const char* chosen;  // null: nothing
    } cases[] = {
        {{1, 1, 0}, "sound\\theme.raw"},
        {{4, 2, 0}, "sound\\china.raw"},
        {{4, 2, MUSIC_SCREEN_GAME}, nullptr},
        {{3, 3, 0}, "sound\\greek.raw"},
        {{3, 3, MUSIC_SCREEN_PREFERENCES}, "sound\\theme.raw"},
        {{3, 1, MUSIC_SCREEN_LOG}, "sound\\theme.raw"},
        {{4, 5, 0}, nullptr},
    };
    for (const auto& c : cases) {
        now = c.situation;
        music_reader_step();
        EXPECT_EQ(music_pending, c.chosen ? 1 : 0) << now.game_flow << " " << now.war_zone;
        restart_music();
        if (c.chosen) {
            EXPECT_STREQ(music_file_name, c.chosen) << now.game_flow << " " << now.war_zone;
        }
        EXPECT_EQ(bool(music_file_open()), c.chosen != nullptr);
        stop_music_now();
    }
    // With music playing, a campaign still asks for its theatre; a quick start asks for nothing.
    play_stream("sound\\theme.raw", 2, 22050, 1, 0);
    now = {1, 1, 0};
    music_reader_step();
    EXPECT_EQ(music_pending, 0);
    now = {4, 1, 0};
    music_reader_step();
    EXPECT_EQ(music_pending, 1);
}

TEST_F(Music, FadeTakesTheLevelDownToSilenceThenStops) {
    std::vector<uint8_t> loud(100000, 0xc0);
    write_bytes("sound/loud.raw", loud);
    play_stream("sound\\loud.raw", 2, 22050, 1, 0);
    const double full = rms(listen(10), 0);
    ASSERT_GT(full, 16000);
    platform::take_audio_capture();
    fade_out_stream();
    std::vector<int16_t> fade = platform::take_audio_capture();
    ASSERT_GE(fade.size(), size_t(64 * 441 * 2));
    double previous = full + 1;
    for (size_t at = 0; at + 882 <= fade.size(); at += 882) {
        double level = rms(std::vector<int16_t>(fade.begin() + at, fade.begin() + at + 882), 0);
        EXPECT_LE(level, previous) << at;
        previous = level;
    }
    EXPECT_LT(previous, full / 1000);
    EXPECT_FALSE(music_file_open());
    EXPECT_EQ(music_fading, 0);
    EXPECT_FALSE(stream_plays());
    EXPECT_EQ(rms(listen(10), 0), 0);
}

TEST_F(Music, StoppedMusicRestartsFromItsBeginning) {
    std::vector<uint8_t> menu = write_music("sound/menu.raw", 1500000);
    play_stream("sound\\menu.raw", 2, 22050, 1, 0);
    listen(300);
    music_reader_step();
    radio_channel = 3;
    stop_music();  // before a flight
    EXPECT_EQ(music_pending, 1);
    EXPECT_FALSE(music_file_open());
    EXPECT_EQ(radio_channel, -1);
    EXPECT_FALSE(stream_plays());
    restart_music();  // after it
    EXPECT_EQ(music_pending, 0);
    EXPECT_STREQ(music_file_name, "sound\\menu.raw");
    EXPECT_EQ(ring_differs(0, part(menu, 0, FILLED)), -1);
    EXPECT_TRUE(stream_plays());
    // Nothing pending: a restart fades what plays and stops.
    restart_music();
    EXPECT_FALSE(music_file_open());
    EXPECT_FALSE(stream_plays());
}

TEST_F(Music, NewStreamFadesTheOldOneEvenWhenItsFileIsMissing) {
    write_music("sound/menu.raw", 300000);
    play_stream("sound\\menu.raw", 2, 22050, 0, 0);
    play_stream("sound\\missing.raw", 2, 22050, 0, 0);
    EXPECT_EQ(music_pending, 0);  // music that does not loop is not set aside
    EXPECT_FALSE(music_file_open());
    EXPECT_FALSE(stream_plays());
    EXPECT_EQ(rms(listen(10), 0), 0);
}

TEST_F(Music, StreamsNeedMusicOrSpeechOn) {
    write_music("sound/theme.raw", 30000);
    sound_music_on = 0;
    play_theme_music();
    play_stream("sound\\theme.raw", 2, 22050, 0, 0);
    EXPECT_FALSE(music_file_open());
    EXPECT_EQ(is_stream_playing(), 0);
    sound_speech_on = 1;
    play_stream("sound\\theme.raw", 2, 22050, 0, 0);
    EXPECT_EQ(is_stream_playing(), 1);
    sound_music_on = 1;
    play_theme_music();
    EXPECT_STREQ(music_file_name, "sound\\theme.raw");
}

TEST_F(Music, MasterLevelReachesTheMusicUnlessItFades) {
    write_music("sound/menu.raw", 300000);
    play_stream("sound\\menu.raw", 2, 22050, 1, 0);
    set_master_volume(32);
    EXPECT_EQ(get_buffer_volume(get_stream_buffer(SOUND_STEREO_8)), 32);
    music_fading = 1;
    set_master_volume(20);
    EXPECT_EQ(get_buffer_volume(get_stream_buffer(SOUND_STEREO_8)), 32);
    music_fading = 0;
}

}  // namespace
}  // namespace vyr
