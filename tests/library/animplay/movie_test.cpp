#include "library/animplay/movie.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "library/graphics/ddraw.h"
#include "library/graphics/display.h"
#include "library/system/event.h"
#include "library/system/key.h"
#include "platform/timer/timer.h"
#include "tests/library/sound/sound_fixture.h"
#include "tests/platform/movie/movie_bytes.h"

namespace vyr {
namespace {

using namespace movie_bytes;

constexpr int FRAMES = 6;
constexpr int SPACE = 0x39;

std::atomic<int> most_sound_handle{0};
void watch_sound_handle(uint64_t) { most_sound_handle = std::max(most_sound_handle.load(), sound_handle); }

// The game side of a headless window with the null sound device, the menu music playing, and the
// display in the 320 x 200 mode so that a movie's hand-back to 640 x 480 shows.
class MoviePlayback : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        std::vector<uint8_t> music(200000, 140);
        write_bytes("sound/menu.raw", music);
        play_stream("sound\\menu.raw", 2, 22050, 1, 0);
        listen(10);
        music_reader_step();
        radio_channel = 3;  // stopping the music lets the radio's channel go
        RequestBlock block = {0, 0, 0, 0};
        send_request(REQ_CREATE_DIRECTDRAW, block);
        ASSERT_EQ(block[0], 1);
        ASSERT_EQ(request_video_mode(0), 1);
        most_sound_handle = 0;
    }

    void TearDown() override {
        platform::set_period_listener(nullptr);
        SoundTest::TearDown();
    }

    void put_movie(const std::filesystem::path& directory, const std::string& name, const Bytes& bytes) {
        vyr::write_bytes(directory / "anims" / name, bytes);
    }

    // The colour of the middle of the last frame presented, which the movie shows at 640 x 480.
    uint32_t shown() const {
        EXPECT_EQ(headless->frame_width(), 640);
        std::vector<uint32_t> frame = headless->frame();
        return frame.size() == 640 * 480 ? frame[240 * 640 + 320] : 0;
    }

    bool music_was_stopped() const { return radio_channel == -1; }
};

TEST_F(MoviePlayback, AMissingMovieTouchesNeitherMusicNorDisplay) {
    EXPECT_EQ(play_movie("anims\\missing.rpl"), 1);
    EXPECT_FALSE(music_was_stopped());
    EXPECT_EQ(display_width(), 320);
    EXPECT_TRUE(buffer_status(get_stream_buffer(SOUND_STEREO_8)) == SOUND_PLAYING);
}

TEST_F(MoviePlayback, AFileThatIsNoMovieStopsAndRestartsTheMusicAndLeavesMode1) {
    put_movie(data, "bad.rpl", Bytes{'V', 'Y', 'R', 'M', 1, 0});
    EXPECT_EQ(play_movie("anims\\bad.rpl"), 1);
    EXPECT_TRUE(music_was_stopped());
    EXPECT_TRUE(buffer_status(get_stream_buffer(SOUND_STEREO_8)) == SOUND_PLAYING) << "the music again";
    EXPECT_STREQ(music_file_name, "sound\\menu.raw");
    EXPECT_EQ(display_width(), 640);
    EXPECT_EQ(display_height(), 480);
    EXPECT_EQ(movie_handle, 0);
}

TEST_F(MoviePlayback, TheReadOnlyDirectoryIsTriedFirstThenTheWorkingDirectory) {
    put_movie(data, "both.rpl", plain_movie(1, 10, false));
    put_movie(work, "both.rpl", plain_movie(2, 10, false));
    put_movie(work, "work.rpl", plain_movie(3, 10, false));
    put_movie(data, "data.rpl", plain_movie(4, 10, false));
    const struct {
        const char* name;
        int last_frame;
    } cases[] = {{"anims\\BOTH.RPL", 0}, {"anims\\work.rpl", 2}, {"ANIMS\\data.rpl", 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        play_movie(c.name);
        EXPECT_EQ(shown(), frame_colour(c.last_frame));
        EXPECT_EQ(display_width(), 640);
    }
}

// Events waiting when the movie starts: a skip shows one more frame, anything else lets it play on.
TEST_F(MoviePlayback, AKeyPressOrAButtonPressEndsTheMovieAfterTheNextFrame) {
    put_movie(data, "six.rpl", plain_movie(FRAMES, 10, true));
    const struct {
        const char* what;
        Event event;
        int last_frame;
    } cases[] = {
        {"key press", {EV_KEY, SPACE, 0, 0, 0}, 0},
        {"key release", {EV_KEY, SPACE | KEY_RELEASE, 0, 0, 0}, FRAMES - 1},
        {"pointer move", {EV_MOUSE_MOVE, 0, 10, 10, 0}, FRAMES - 1},
        {"button press", {EV_MOUSE_CLICK, 1, 10, 10, 0}, 0},
        {"button release", {EV_MOUSE_CLICK, 0, 10, 10, 0}, FRAMES - 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        flush_events();
        post_event(c.event);
        play_movie("anims\\six.rpl");
        EXPECT_EQ(shown(), frame_colour(c.last_frame));
    }
}

TEST_F(MoviePlayback, OneClickEndsOneMovieAndNotTheNext) {
    put_movie(data, "six.rpl", plain_movie(FRAMES, 10, false));
    post_event({EV_MOUSE_CLICK, 1, 10, 10, 0});
    post_event({EV_MOUSE_CLICK, 0, 10, 10, 0});
    play_movie("anims\\six.rpl");
    EXPECT_EQ(shown(), frame_colour(0));
    play_movie("anims\\six.rpl");
    EXPECT_EQ(shown(), frame_colour(FRAMES - 1));
}

TEST_F(MoviePlayback, OnlyAMovieWithSoundSetsUpSound) {
    put_movie(data, "silent.rpl", plain_movie(3, 10, false));
    put_movie(data, "sounded.rpl", plain_movie(3, 10, true));
    platform::set_period_listener(watch_sound_handle);
    play_movie("anims\\silent.rpl");
    EXPECT_EQ(most_sound_handle, 0);
    listen(1);
    play_movie("anims\\sounded.rpl");
    EXPECT_NE(most_sound_handle, 0);
    EXPECT_EQ(sound_handle, 0) << "and lets it go at the end";
}

TEST_F(MoviePlayback, AFrameThatCannotBeDecodedEndsThePlaybackEarly) {
    Bytes bytes = header(16, 10, 3, 10, 0, 0, 0);
    for (int n = 0; n < 3; ++n) {
        Bytes part = chunk(one_colour(1, uint8_t(frame_colour(n) >> 16), 100, uint8_t(50 + n)),
                           n == 1 ? Bytes{0x00} : filled(16, 10, 1), {});
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    put_movie(data, "broken.rpl", bytes);
    play_movie("anims\\broken.rpl");
    EXPECT_EQ(shown(), frame_colour(0));
    EXPECT_EQ(movie_handle, 0);
    EXPECT_EQ(display_width(), 640);
}

TEST_F(MoviePlayback, ANameOverFortySevenCharactersIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a forked child would lack the window thread
    std::string name = "anims\\" + std::string(MOVIE_NAME_LIMIT - 5, 'a') + ".rpl";  // 48
    EXPECT_EXIT(open_movie(name.c_str()), testing::ExitedWithCode(10), "Animation filename too long: anims.a+\\.rpl\\.");
}

}  // namespace
}  // namespace vyr
