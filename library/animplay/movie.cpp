#include "library/animplay/movie.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "library/debug/fatal.h"
#include "library/graphics/display.h"
#include "library/os/file.h"
#include "library/os/path.h"
#include "library/sound/music.h"
#include "library/system/event.h"
#include "library/system/key.h"
#include "platform/movie/player.h"

namespace vyr {

int movie_handle = 0;
int video_handle = 0;
int sound_handle = 0;
int movie_rect[4] = {0, 0, 0, 0};

namespace {

constexpr const char* SOURCE = "library/animplay/movie";

// One attempt to open the movie under `base`: 0 when the player took it.
int open_movie_in(const std::filesystem::path& base, const char* name) {
    std::filesystem::path path = find_path(base, name);
    if (path.empty()) return 1;
    int result = platform::open_movie_player(&movie_handle, path.string());
    if (result != 0) std::fprintf(stderr, "vyr: movie not played: %s\n", platform::movie_error().c_str());
    return result;
}

// A key press or a mouse button press asks to skip; a click's release comes as a click event too
// and must not skip the next movie as well.
bool skip_requested() {
    Event event;
    while (get_event(event)) {
        bool key_pressed = event.type == EV_KEY && (event.value & KEY_RELEASE) == 0;
        bool button_pressed = event.type == EV_MOUSE_CLICK && event.value != 0;
        if (key_pressed || button_pressed) {
            flush_events();
            return true;
        }
    }
    return false;
}

}  // namespace

int play_movie(const char* name) {
    if (!check_file_exists(name)) return 1;
    stop_music();
    toggle_exclusive_mode();
    open_movie(name);
    toggle_exclusive_mode();
    request_video_mode(1);
    restart_music();
    return 1;
}

int open_movie(const char* name) {
    if (std::strlen(name) > MOVIE_NAME_LIMIT) report_fatal_error("Animation filename too long: %s.", SOURCE, __LINE__, name);
    const std::filesystem::path& read_only = get_read_only_path();
    bool opened = !read_only.empty() && open_movie_in(read_only, name) == 0;
    if (!opened && open_movie_in({}, name) != 0) return 0;
    platform::open_movie_video(&video_handle, movie_handle);
    if (platform::movie_sound_channels(movie_handle) != 0) platform::open_movie_sound(&sound_handle, movie_handle);
    movie_rect[0] = 0;
    movie_rect[1] = 0;
    movie_rect[2] = 640;
    movie_rect[3] = 480;
    platform::start_movie(movie_handle, video_handle, sound_handle);
    play_movie_frames();
    return 1;
}

int play_movie_frames() {
    if (movie_handle == 0) return 1;
    int result = 0;
    bool skip = false;
    while (platform::movie_current_frame(movie_handle) < platform::movie_total_frames(movie_handle) && result == 0 &&
           !skip) {
        skip = skip_requested();
        result = platform::play_movie_frame(movie_handle, video_handle, sound_handle, movie_rect);
    }
    close_movie();
    return result == 0 ? 1 : 0;
}

void close_movie() {
    if (movie_handle == 0) return;
    platform::close_movie_sound(sound_handle);
    platform::close_movie_video(video_handle);
    platform::close_movie_player(movie_handle);
    movie_handle = video_handle = sound_handle = 0;
}

}  // namespace vyr
