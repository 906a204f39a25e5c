#include "platform/movie/player.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/audio/audio.h"
#include "platform/display/display.h"
#include "platform/timer/timer.h"
#include "tests/platform/movie/movie_bytes.h"
#include "tests/support/scratch.h"

namespace vyr::platform {
namespace {

using namespace movie_bytes;

constexpr int FULL_SCREEN[4] = {0, 0, 640, 480};

// A 640 x 480 display and the null sound device on a virtual clock, and a movie file of the test's own.
class MoviePlayer : public testing::Test {
protected:
    void SetUp() override {
        set_clock_mode(ClockMode::VIRTUAL);
        ASSERT_TRUE(start_periodic_timer(nullptr));
        set_audio_backend(AudioBackend::NUL);
        ASSERT_TRUE(open_audio());
        start_audio_capture();
        ASSERT_TRUE(open_display());
        ASSERT_TRUE(set_display_mode(640, 480));
        ASSERT_TRUE(create_surfaces(false));
    }

    void TearDown() override {
        close_movie_sound(sound);
        close_movie_video(video);
        close_movie_player(movie);
        close_display();
        close_audio();
        stop_periodic_timer();
    }

    std::string write(const Bytes& bytes) { return write_bytes(scratch / "movie.rpl", bytes).string(); }

    // Opens the file with video and, when it has some, sound, and starts it.
    void start(const Bytes& bytes) {
        ASSERT_EQ(open_movie_player(&movie, write(bytes)), 0) << movie_error();
        ASSERT_EQ(open_movie_video(&video, movie), 0);
        if (movie_sound_channels(movie)) {
            ASSERT_EQ(open_movie_sound(&sound, movie), 0);
        }
        start_movie(movie, video, sound);
    }

    uint8_t visible_pixel(int x, int y) {
        SurfaceLock lock{};
        EXPECT_EQ(lock_surface(Surface::VISIBLE, lock), LockStatus::OK);
        uint8_t pixel = lock.pixels[y * lock.pitch + x];
        unlock_surface(Surface::VISIBLE);
        return pixel;
    }

    uint32_t shown_colour(int index) {
        PaletteEntry entry{};
        get_palette(&entry, index, 1);
        return uint32_t(entry.red) << 16 | uint32_t(entry.green) << 8 | entry.blue;
    }

    ScratchDirectory scratch;
    int movie = 0, video = 0, sound = 0;
};

TEST_F(MoviePlayer, EachFrameIsShownWhenTheClockReachesItsTime) {
    start(plain_movie(6, 10, true));  // a frame every 10 periods
    uint64_t origin = timer_periods();
    EXPECT_EQ(movie_total_frames(movie), 6);
    for (int n = 0; n < 6; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(movie_current_frame(movie), n);
        ASSERT_EQ(play_movie_frame(movie, video, sound, FULL_SCREEN), 0);
        uint64_t elapsed = timer_periods() - origin;
        EXPECT_GE(elapsed, uint64_t(n * 10));
        EXPECT_LE(elapsed, uint64_t(n * 10 + 4));  // the frame is presented once it is due
        EXPECT_EQ(shown_colour(1), frame_colour(n));
    }
    EXPECT_EQ(movie_current_frame(movie), 6);
    EXPECT_NE(play_movie_frame(movie, video, sound, FULL_SCREEN), 0);  // nothing after the last
}

TEST_F(MoviePlayer, TheFrameFillsTheDisplayByAWholeFactorCentred) {
    start(plain_movie(1, 10, false));
    ASSERT_EQ(play_movie_frame(movie, video, sound, FULL_SCREEN), 0);
    // 16 x 10 forty times over is 640 x 400, between bands of 40 rows.
    EXPECT_EQ(visible_pixel(0, 39), 0);
    EXPECT_EQ(visible_pixel(0, 40), 1);
    EXPECT_EQ(visible_pixel(639, 439), 1);
    EXPECT_EQ(visible_pixel(639, 440), 0);
}

TEST_F(MoviePlayer, TheTrackIsHeardWhileTheFramesPlay) {
    start(plain_movie(4, 10, true));
    for (int n = 0; n < 4; ++n) ASSERT_EQ(play_movie_frame(movie, video, sound, FULL_SCREEN), 0);
    std::vector<int16_t> heard = take_audio_capture();
    ASSERT_FALSE(heard.empty());
    EXPECT_TRUE(std::any_of(heard.begin(), heard.end(), [](int16_t s) { return s < -1000; }));  // 8-bit 100s
}

TEST_F(MoviePlayer, ASilentMovieHasNoSoundToOpen) {
    start(plain_movie(2, 10, false));
    EXPECT_EQ(movie_sound_channels(movie), 0);
    EXPECT_NE(open_movie_sound(&sound, movie), 0);
    EXPECT_EQ(sound, 0);
    EXPECT_EQ(play_movie_frame(movie, video, 0, FULL_SCREEN), 0);
    std::vector<int16_t> heard = take_audio_capture();
    EXPECT_TRUE(std::all_of(heard.begin(), heard.end(), [](int16_t s) { return s == 0; }));
}

TEST_F(MoviePlayer, AFrameThatCannotBeDecodedEndsPlayback) {
    Bytes bytes = header(16, 10, 3, 10, 0, 0, 0);
    for (const Bytes& code : {filled(16, 10, 1), Bytes{0x00}, filled(16, 10, 1)}) {
        Bytes part = chunk(one_colour(1, 1, 2, 3), code, {});
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    start(bytes);
    EXPECT_EQ(play_movie_frame(movie, video, sound, FULL_SCREEN), 0);
    EXPECT_NE(play_movie_frame(movie, video, sound, FULL_SCREEN), 0);
}

TEST_F(MoviePlayer, ABrokenFileDoesNotOpenAndSaysWhy) {
    Bytes bytes = plain_movie(2, 10, true);
    bytes.resize(bytes.size() - 10);
    std::string path = write(bytes);
    EXPECT_NE(open_movie_player(&movie, path), 0);
    EXPECT_EQ(movie, 0);
    EXPECT_EQ(movie_error(), path + ": frame 1: chunk of 436 bytes past the end of the file");
    EXPECT_EQ(movie_total_frames(1), 0);
}

}  // namespace
}  // namespace vyr::platform
