#include "library/sound/music.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "library/debug/fatal.h"
#include "library/os/file.h"
#include "library/sound/dsound.h"
#include "library/sound/samples.h"
#include "library/system/thread.h"
#include "library/system/timer.h"

namespace vyr {

int sound_music_on = 0;
int sound_speech_on = 0;
int music_head = 0;
int music_space = MUSIC_RING_SIZE;
int music_fading = 0;
int music_draining = 0;
int music_pending = 0;
char music_file_name[MUSIC_NAME_SIZE] = {};

namespace {

constexpr const char* SOURCE_PATH = "library/sound/music";
constexpr const char* THEME_MUSIC = "sound\\theme.raw";
constexpr const char* WAR_ZONE_MUSIC[] = {"sound\\syria.raw", "sound\\china.raw", "sound\\greek.raw"};
constexpr int KEEP_FREE = 131072;  // the fill leaves this much of the ring unwritten
constexpr int REFILL_SPACE = 12288;
constexpr int DRAIN_BLOCKS = 5;
constexpr uint8_t SILENCE = 0x80;
constexpr int FLOW_SINGLE_MISSION = 3;
constexpr int FLOW_CAMPAIGN = 4;

struct MusicRequest {
    char name[MUSIC_NAME_SIZE];
    int channels;
    int loop;
    int loop_offset;
    int start_offset;
};

FileHandle* music_file = nullptr;
SoundBuffer* music_buffer = nullptr;  // the stream buffer while the music owns it
int last_play_position = 0;
int music_channels = 2;
int music_loop = 0;
int music_loop_offset = 0;
MusicRequest pending_request = {};
uint32_t reader_thread_id = 0;
MusicSituationSource situation_source = nullptr;

void copy_name(char* to, const char* from) { std::snprintf(to, MUSIC_NAME_SIZE, "%s", from); }

void close_music_file() {
    if (music_file) close_file(std::exchange(music_file, nullptr));
}

// Opens the file at `start` into a fresh ring and plays it; false when the file is missing.
bool open_music(const char* name, int channels, int start) {
    close_music_file();
    if (!check_file_exists(name)) return false;
    music_file = open_file(name, FILE_ACCESS_READ, FILE_MODE_EXISTING, SOURCE_PATH, __LINE__);
    if (!music_file) return false;
    seek_file(music_file, start);
    copy_name(music_file_name, name);
    music_head = 0;
    last_play_position = 0;
    music_space = MUSIC_RING_SIZE;
    music_buffer = get_stream_buffer(channels == 2 ? SOUND_STEREO_8 : SOUND_MONO_8);
    music_draining = 0;
    return true;
}

void start_ring(int rate) {
    rewind_buffer(music_buffer, 0);
    set_buffer_rate(music_buffer, rate);
    set_buffer_volume(music_buffer, master_volume);
    play_buffer(music_buffer, 1);
    music_fading = 0;
}

void advance_head(int bytes) {
    music_head = (music_head + bytes) % MUSIC_RING_SIZE;
    music_space -= bytes;
}

// Fills `region` from the file, from the loop offset again as often as the end comes; silence
// where a loop holds nothing.
void read_looping(uint8_t* region) {
    size_t filled = read_file(music_file, region, MUSIC_BLOCK_SIZE, SOURCE_PATH, __LINE__);
    while (filled < size_t(MUSIC_BLOCK_SIZE)) {
        seek_file(music_file, music_loop_offset);
        size_t got = read_file(music_file, region + filled, MUSIC_BLOCK_SIZE - filled, SOURCE_PATH, __LINE__);
        if (got == 0) {
            std::fill(region + filled, region + MUSIC_BLOCK_SIZE, SILENCE);
            break;
        }
        filled += got;
    }
}

bool write_silent_block() {
    uint8_t* region = lock_sound_buffer(music_buffer, music_head, MUSIC_BLOCK_SIZE);
    if (!region) return false;
    std::fill_n(region, MUSIC_BLOCK_SIZE, SILENCE);
    unlock_sound_buffer(music_buffer, region, MUSIC_BLOCK_SIZE);
    advance_head(MUSIC_BLOCK_SIZE);
    return true;
}

// One block of the file into the ring at the head; false when the ring could not be locked.
bool copy_music_block() {
    lock_scheduler();
    uint8_t* region = lock_sound_buffer(music_buffer, music_head, MUSIC_BLOCK_SIZE);
    if (!region) {
        unlock_scheduler();
        return false;
    }
    if (music_loop) {
        read_looping(region);
        unlock_sound_buffer(music_buffer, region, MUSIC_BLOCK_SIZE);
        advance_head(MUSIC_BLOCK_SIZE);
    } else {
        int count = int(read_file(music_file, region, MUSIC_BLOCK_SIZE, SOURCE_PATH, __LINE__));
        unlock_sound_buffer(music_buffer, region, count);
        advance_head(count);
        if (count < MUSIC_BLOCK_SIZE) {
            close_music_file();
            // Silence after the end, so that the ring plays none of the old music before the
            // reader stops it.
            for (int i = 0; i < DRAIN_BLOCKS && write_silent_block(); ++i) {
            }
            music_draining = 1;
        }
    }
    unlock_scheduler();
    return true;
}

void fill_music_buffer() {
    if (!music_file || !copy_music_block()) return;
    while (music_file && music_space > KEEP_FREE && copy_music_block()) {
    }
}

void update_music_space() {
    if (!music_buffer) {
        music_space = MUSIC_RING_SIZE - music_head;
        return;
    }
    int position = get_play_position(music_buffer);
    int moved = position - last_play_position;
    if (moved < 0) moved += MUSIC_RING_SIZE;
    last_play_position = position;
    music_space = std::min(music_space + moved, MUSIC_RING_SIZE);
}

void fade(void (*wait)(int units)) {
    music_fading = 1;
    if (music_buffer) {
        const int level = get_buffer_volume(music_buffer);
        for (int k = 63; k >= 0; --k) {
            set_buffer_volume(music_buffer, k * level / 63);
            wait(2);
        }
        set_buffer_volume(music_buffer, 0);
        stop_buffer(music_buffer);
    }
    music_fading = 0;
    close_music_file();
}

void silence_and_stop() {
    set_buffer_volume(music_buffer, 0);
    stop_buffer(music_buffer);
}

void request_music(const char* name) {
    pending_request = {};
    copy_name(pending_request.name, name);
    pending_request.channels = 2;
    music_pending = 1;
}

void choose_next_music() {
    if (!situation_source) return;
    const MusicSituation s = situation_source();
    const bool single = s.game_flow == FLOW_SINGLE_MISSION;
    const bool campaign = s.game_flow == FLOW_CAMPAIGN;
    const bool game_or_log = s.screens_shown & (MUSIC_SCREEN_GAME | MUSIC_SCREEN_LOG);
    if (s.war_zone >= 1 && s.war_zone <= 3 && !game_or_log && (campaign || (single && !music_file)))
        request_music(WAR_ZONE_MUSIC[s.war_zone - 1]);
    if (music_file) return;
    constexpr int THEME_SCREENS = MUSIC_SCREEN_GAME | MUSIC_SCREEN_LOG | MUSIC_SCREEN_EXIT |
                                  MUSIC_SCREEN_PREFERENCES | MUSIC_SCREEN_RECOGNITION |
                                  MUSIC_SCREEN_TV_SCORES;
    if ((!single && !campaign) || (single && (s.screens_shown & THEME_SCREENS))) request_music(THEME_MUSIC);
}

void music_reader_thread() {
    set_thread_priority(1);
    set_thread_background();
    while (!sound_device_present.load()) sleep_thread(100);
    for (;;) music_reader_step();
}

}  // namespace

int music_file_open() { return music_file ? 1 : 0; }

void set_music_situation_source(MusicSituationSource source) { situation_source = source; }

void init_music() {
    watch_debug_value("Music Head", 0, &music_head);
    watch_debug_value("Music Space", 0, &music_space);
    watch_debug_value("Music file", 1, music_file_name);
    music_space = MUSIC_RING_SIZE;
    close_music_file();
    music_head = last_play_position = music_pending = music_fading = 0;
    reader_thread_id = create_thread("Music Reader Thread", music_reader_thread);
}

void play_stream(const char* name, int channels, int rate, int loop, int loop_offset) {
    if (!sound_device_present.load() || (!sound_music_on && !sound_speech_on)) return;
    if (music_file || (music_buffer && buffer_status(music_buffer) == SOUND_PLAYING)) {
        if (!music_pending && music_loop) save_music_position();
        fade_out_music();
    }
    music_loop = loop;
    music_loop_offset = loop_offset;
    music_channels = channels;
    if (!open_music(name, channels, 0)) return;
    fill_music_buffer();
    start_ring(rate);
}

void play_theme_music() {
    if (sound_music_on && check_file_exists(THEME_MUSIC)) play_stream(THEME_MUSIC, 2, 22000, 0, 0);
}

void save_music_position() {
    if (!music_file) return;
    ++music_pending;
    copy_name(pending_request.name, music_file_name);
    pending_request.channels = music_channels;
    pending_request.loop = music_loop;
    pending_request.loop_offset = music_loop_offset;
    pending_request.start_offset = 0;
}

void stop_music() {
    if (music_file && !music_pending && sound_music_on) save_music_position();
    if (buffer_status(music_buffer) == SOUND_PLAYING) fade_out_stream();
    music_buffer = nullptr;
    radio_channel = -1;
}

void restart_music() {
    if (sound_device_present.load()) start_requested_music();
}

void start_requested_music() {
    if (!music_pending) {
        fade_out_music();
        silence_and_stop();
        music_fading = 0;
        close_music_file();
        return;
    }
    while (music_fading) sleep_thread(20);
    music_pending = 0;
    if (!sound_music_on) return;
    const MusicRequest request = pending_request;
    music_loop = request.loop;
    music_channels = request.channels;
    music_loop_offset = request.loop_offset;
    if (!open_music(request.name, request.channels, request.start_offset)) return;
    fill_music_buffer();
    start_ring(MUSIC_RESTART_RATE);
}

int is_stream_playing() {
    if (!sound_device_present.load() || (!sound_music_on && !sound_speech_on)) return 0;
    return buffer_status(music_buffer) == SOUND_PLAYING && !music_loop ? 1 : 0;
}

void stop_music_now() {
    silence_and_stop();
    close_music_file();
    music_pending = 0;
    music_fading = 0;
    music_draining = 0;
}

void fade_out_music() { fade(sleep_thread); }

void fade_out_stream() { fade(wait_clock); }

void apply_music_level(int level) {
    if (music_file && !music_fading) set_buffer_volume(music_buffer, level);
}

void music_reader_step() {
    if (music_file) {
        update_music_space();
        if (music_space >= REFILL_SPACE) {
            fill_music_buffer();
            sleep_thread(20);
        } else {
            sleep_thread(100);
            sleep_thread(20);
        }
    } else if (music_draining) {
        update_music_space();
        if (music_space <= MUSIC_RING_SIZE - REFILL_SPACE) {
            sleep_thread(20);
        } else {
            silence_and_stop();
            music_draining = 0;
            start_requested_music();
        }
    } else {
        sleep_thread(100);
    }
    choose_next_music();
}

}  // namespace vyr
