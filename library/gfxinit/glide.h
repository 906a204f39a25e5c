// Accelerator start-up: the 640 x 480 display with gamma and table fog, every texture the 3D
// views draw with and the texture palette. Nothing is placed in texture memory later, and the
// program cannot run without all of it: any failure here ends the program with status -1.
#pragma once

#include "library/gfxinit/textures.h"

namespace vyr {

// Returns only when the display is open and every texture and palette file is in place. The files
// come from the directories of `files`; its first object textures become accelerator textures.
void open_glide(const GlideFiles& files);

// Hands the display back to the 8-bit menus while they run.
void release_accelerator_display();

// The fog tables of the weathers: clear (and overcast), light fog and thick fog.
enum class FogLevel { CLEAR, LIGHT, THICK };
void set_fog_level(FogLevel level);

// Says on stderr what failed, gives the accelerator back and ends the program with status -1.
[[noreturn]] void fail_glide_start(const char* what, const char* name);

}  // namespace vyr
