// Streamed music and long speech: a raw 8-bit PCM file plays through a 1 MiB ring (the stream
// buffer) that loops, refilled 2 KiB at a time by the "Music Reader Thread". One file plays at a
// time; a new one fades the old one out. When a file that does not loop ends, the ring plays
// out and the next music is chosen from the game flow, the war zone and the screens on show.
#pragma once

namespace vyr {

constexpr int MUSIC_RING_SIZE = 1048576;
constexpr int MUSIC_BLOCK_SIZE = 2048;
constexpr int MUSIC_NAME_SIZE = 256;
constexpr int MUSIC_RESTART_RATE = 22000;

// Owned by the preferences: "Sound Music" and "Sound Speech".
extern int sound_music_on;
extern int sound_speech_on;

// The reader's state, shown as debug watch lines.
extern int music_head;   // write position in the ring
extern int music_space;  // bytes of the ring free to write
extern int music_fading;
extern int music_draining;  // a file ended and its last bytes are playing out
extern int music_pending;   // requests waiting for `restart_music`
extern char music_file_name[MUSIC_NAME_SIZE];
int music_file_open();

// What the choice of the next music looks at, supplied by the front end. Without a source the
// reader chooses nothing.
constexpr int MUSIC_SCREEN_GAME = 1;
constexpr int MUSIC_SCREEN_LOG = 2;
constexpr int MUSIC_SCREEN_EXIT = 4;
constexpr int MUSIC_SCREEN_PREFERENCES = 8;
constexpr int MUSIC_SCREEN_RECOGNITION = 16;
constexpr int MUSIC_SCREEN_TV_SCORES = 32;
struct MusicSituation {
    int game_flow;
    int war_zone;
    int screens_shown;  // MUSIC_SCREEN_* bits
};
using MusicSituationSource = MusicSituation (*)();
void set_music_situation_source(MusicSituationSource source);

// Start-up: the watch lines, an empty ring, and the reader thread.
void init_music();

// Starts `name` at once (channels 1 or 2, rate in Hz), fading out what plays. Nothing without a
// device or with both music and speech off; a missing file plays nothing.
void play_stream(const char* name, int channels, int rate, int loop, int loop_offset);
void play_theme_music();
// Queues the open file to start again from its beginning at the next `restart_music`.
void save_music_position();
// Before a flight or a movie: keeps the music for later, fades it out and lets go of the buffer.
void stop_music();
void restart_music();
void start_requested_music();
// 1 while the stream plays a file that does not loop.
int is_stream_playing();
// Silences and stops at once, forgetting what was pending.
void stop_music_now();
// Fades out over 64 steps of 2 clock units, then stops and closes the file: sleeping between
// steps, or busy-waiting on the clock.
void fade_out_music();
void fade_out_stream();
// The music level set by the volume settings, applied to the file that plays unless it fades.
void apply_music_level(int level);

// One pass of the reader thread: refill or play out, then choose the next music.
void music_reader_step();

}  // namespace vyr
