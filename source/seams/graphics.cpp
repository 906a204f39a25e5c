// Stand-ins for the accelerator's start-up and the movie player.
#include "library/animplay/movie.h"
#include "library/gfxinit/glide.h"
#include "source/startup.h"

namespace vyr {

// The world data the accelerator loads its textures from do not exist yet.
void start_accelerator() {}
void release_accelerator_display() {}

// A movie is skipped as a missing one is.
void play_movie(const char*) {}

}  // namespace vyr
