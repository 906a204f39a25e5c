// Stand-in for movie playback until the player exists: a movie is skipped as a missing one is.
#pragma once

namespace vyr {

void play_movie(const char* name);

}  // namespace vyr
