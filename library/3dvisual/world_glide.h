// The accelerator started over the world's files, and its fog following the view's weather.
#pragma once

#include "library/gfxinit/glide.h"

namespace vyr {

// open_glide on the directories of world_settings and the object textures of texture_table.
void start_glide();

// The fog table for the weather of the installed view.
void set_fog_density();

}  // namespace vyr
