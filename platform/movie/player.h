// The movie player: one movie file at a time, its frames drawn into the 8-bit display at the
// movie's rate by the program clock, its sound track played through the mixer in step.
//
// Handles are nonzero ints written through the caller's pointer; 0 is none, and a call given 0
// for the video or sound does without it. Every call comes from the one thread that plays.
#pragma once

#include <string>

namespace vyr::platform {

// Reads the movie file at `path` (a host path); 0 on success with `*movie` set, else 1 with
// `*movie` left alone and the reason kept for `movie_error`.
int open_movie_player(int* movie, const std::string& path);
const std::string& movie_error();

// The header's values of an open movie (0 for a handle that is not open).
int movie_width(int movie);
int movie_height(int movie);
int movie_sound_channels(int movie);
int movie_sound_rate(int movie);
int movie_sound_bits(int movie);
int movie_total_frames(int movie);
// The frames played so far.
int movie_current_frame(int movie);

// Takes the display for the movie: 640 x 480 with a visible surface of index 0 and no back buffer,
// whatever mode the program had set (the program sets its own again afterwards).
int open_movie_video(int* video, int movie);
// The movie's sound track in a buffer of the mixer; `*sound` stays 0 without a sound device.
int open_movie_sound(int* sound, int movie);

// Frame 0 is due now; frame n at n / rate seconds after it by the program clock. The sound starts.
void start_movie(int movie, int video, int sound);
// Waits until the next frame is due, decodes it and shows it centred in `rect` (left, top, width,
// height on the display, cut to the surface), enlarged by the largest whole factor that fits: 0
// to go on, 1 when the frame could not be decoded or shown. Late frames are shown at once, so a slow machine plays the movie longer
// but never drops a frame the next one is coded against.
int play_movie_frame(int movie, int video, int sound, const int rect[4]);

// Each gives back what its open took; a handle of 0 does nothing.
void close_movie_sound(int sound);
void close_movie_video(int video);
void close_movie_player(int movie);

}  // namespace vyr::platform
