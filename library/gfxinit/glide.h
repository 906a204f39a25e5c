// Accelerator start-up: the 640 x 480 display with gamma and table fog, every texture the 3D
// views draw with and the texture palette. Nothing is placed in texture memory later, and the
// program cannot run without all of it: any failure here ends the program with status -1.
#pragma once

#include "library/3dvisual/view.h"
#include "library/graphics/poly_types.h"

namespace vyr {

// The world's directories, each ending in a backslash ("3DDATA\", "KOREA.WZ\"), and OBJTEXT.BIN's
// texture table, whose first textures become the object textures.
struct GlideFiles {
    const char* data_directory;
    const char* war_zone_directory;
    TextureRecord* const* object_textures;  // null entries, or a null table, place nothing
    int object_texture_count;
};

// Returns only when the display is open and every texture and palette file is in place.
void start_glide(const GlideFiles& files);

// Hands the display back to the 8-bit menus while they run.
void release_accelerator_display();

// The fog table for the weather of the installed view.
void set_fog_density();

// Says on stderr what failed, gives the accelerator back and ends the program with status -1.
[[noreturn]] void fail_glide_start(const char* what, const char* name);

}  // namespace vyr
