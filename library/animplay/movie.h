// Movie playback.
#pragma once

namespace vyr {

// Plays the movie to its end; a movie that is not there is skipped.
void play_movie(const char* name);

}  // namespace vyr
