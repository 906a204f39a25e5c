// Movie playback: the game's music stops, the movie player has the display until the movie ends
// or a key press or mouse button skips it, and the display comes back in the 640 x 480 mode.
#pragma once

namespace vyr {

constexpr int MOVIE_NAME_LIMIT = 47;

// Handles of the movie player, 0 while no movie is open.
extern int movie_handle;
extern int video_handle;
extern int sound_handle;
extern int movie_rect[4];  // where frames go: left, top, width, height

// Plays the movie named as the game names files ("anims\intro.rpl"); a missing one is skipped
// without touching music or display. A name over MOVIE_NAME_LIMIT characters is fatal. Always 1.
int play_movie(const char* name);
// Opens the movie in the read-only data directory, else in the working directory, plays it and
// closes it: 1 after playing, 0 when neither opened.
int open_movie(const char* name);
// Plays frames until the last, a bad one or a skip asked for by a key press or a button press;
// the skip takes effect after one more frame. Closes the movie. 0 when the last frame failed.
int play_movie_frames();
// Shuts the player down; nothing while no movie is open.
void close_movie();

}  // namespace vyr
