// Stand-in for the movie player.
#include "library/animplay/movie.h"

namespace vyr {

// A movie is skipped as a missing one is.
void play_movie(const char*) {}

}  // namespace vyr
