#include "platform/movie/player.h"

#include <algorithm>
#include <cstring>

#include "platform/audio/audio.h"
#include "platform/display/display.h"
#include "platform/display/vblank.h"
#include "platform/movie/movie_file.h"
#include "platform/timer/timer.h"

namespace vyr::platform {

namespace {

constexpr int HANDLE = 1;  // one movie, one video and one sound at a time
constexpr int PERIODS_PER_SECOND = 100;
constexpr int MOVIE_DISPLAY_WIDTH = 640;
constexpr int MOVIE_DISPLAY_HEIGHT = 480;

struct Player {
    bool open = false;
    MovieFile file;
    MoviePicture picture;
    int current = 0;
    uint64_t start = 0;  // timer period of frame 0
    bool video = false;
    AudioBuffer* sound = nullptr;
};

Player player;
std::string last_error;

bool is_open(int movie) { return movie == HANDLE && player.open; }

const MovieHeader& header() { return player.file.header; }

void wait_until_due() {
    uint64_t due = player.start + uint64_t(player.current) * PERIODS_PER_SECOND / uint64_t(header().rate);
    while (periodic_timer_running() && timer_periods() < due) wait_for_vertical_blank();
}

// The picture enlarged into the middle of the rectangle; what falls outside the surface is cut.
bool draw_picture(const int rect[4]) {
    SurfaceLock lock{};
    if (lock_surface(Surface::VISIBLE, lock) != LockStatus::OK) return false;
    const MoviePicture& picture = player.picture;
    int scale = std::max(1, std::min(rect[2] / picture.width, rect[3] / picture.height));
    int left = rect[0] + (rect[2] - picture.width * scale) / 2;
    int top = rect[1] + (rect[3] - picture.height * scale) / 2;
    for (int y = std::max(0, top); y < std::min(lock.height, top + picture.height * scale); ++y) {
        const uint8_t* source = &picture.pixels[size_t((y - top) / scale) * picture.width];
        uint8_t* row = lock.pixels + ptrdiff_t(y) * lock.pitch;
        for (int x = std::max(0, left); x < std::min(lock.width, left + picture.width * scale); ++x)
            row[x] = source[(x - left) / scale];
    }
    unlock_surface(Surface::VISIBLE);
    PaletteEntry entries[256];
    for (int i = 0; i < 256; ++i)
        entries[i] = {picture.palette[size_t(i) * 3], picture.palette[size_t(i) * 3 + 1],
                      picture.palette[size_t(i) * 3 + 2], 0};
    set_palette(entries, 0, 256);
    present_display();
    return true;
}

}  // namespace

int open_movie_player(int* movie, const std::string& path) {
    if (player.open) {
        last_error = "a movie is open already";
        return 1;
    }
    MovieFile file;
    if (!read_movie_file(path, file, last_error)) return 1;
    player = Player{};
    player.file = std::move(file);
    player.picture = blank_movie_picture(player.file.header);
    player.open = true;
    *movie = HANDLE;
    return 0;
}

const std::string& movie_error() { return last_error; }

int movie_width(int movie) { return is_open(movie) ? header().width : 0; }
int movie_height(int movie) { return is_open(movie) ? header().height : 0; }
int movie_sound_channels(int movie) { return is_open(movie) ? header().sound_channels : 0; }
int movie_sound_rate(int movie) { return is_open(movie) ? header().sound_rate : 0; }
int movie_sound_bits(int movie) { return is_open(movie) ? header().sound_bits : 0; }
int movie_total_frames(int movie) { return is_open(movie) ? header().frames : 0; }
int movie_current_frame(int movie) { return is_open(movie) ? player.current : 0; }

int open_movie_video(int* video, int movie) {
    if (!is_open(movie) || !set_display_mode(MOVIE_DISPLAY_WIDTH, MOVIE_DISPLAY_HEIGHT) || !create_surfaces(false))
        return 1;
    player.video = true;
    *video = HANDLE;
    return 0;
}

int open_movie_sound(int* sound, int movie) {
    if (!is_open(movie) || header().sound_channels == 0 || player.file.sound.empty()) return 1;
    const std::vector<uint8_t>& track = player.file.sound;
    AudioBuffer* buffer =
        create_audio_buffer(int(track.size()), header().sound_rate, header().sound_channels, header().sound_bits);
    if (!buffer) return 1;
    if (uint8_t* region = lock_audio_buffer(buffer, 0, int(track.size()))) {
        std::memcpy(region, track.data(), track.size());
        unlock_audio_buffer(buffer, region, int(track.size()));
    }
    player.sound = buffer;
    *sound = HANDLE;
    return 0;
}

void start_movie(int movie, int, int sound) {
    if (!is_open(movie)) return;
    player.start = timer_periods();
    if (sound == HANDLE && player.sound) play_audio_buffer(player.sound, false);
}

int play_movie_frame(int movie, int video, int, const int rect[4]) {
    if (!is_open(movie) || player.current >= header().frames) return 1;
    wait_until_due();
    if (!decode_movie_frame(player.file, player.current, player.picture)) return 1;
    ++player.current;
    if (video == HANDLE && player.video && !draw_picture(rect)) return 1;
    return 0;
}

void close_movie_sound(int sound) {
    if (sound != HANDLE || !player.sound) return;
    release_audio_buffer(player.sound);
    player.sound = nullptr;
}

void close_movie_video(int video) {
    if (video == HANDLE) player.video = false;
}

void close_movie_player(int movie) {
    if (!is_open(movie)) return;
    close_movie_sound(HANDLE);
    player = Player{};
}

}  // namespace vyr::platform
