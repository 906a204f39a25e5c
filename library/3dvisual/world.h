// The top of the 3D world: set-up and tear-down from one WorldSettings record, the effects'
// step, and the render of a scene in its fixed order of passes. The world reaches the game only
// through the hooks the game installs; set-up and tear-down clear them.
#pragma once

#include <cstdint>

#include "library/3dvisual/view.h"
#include "library/maths/matrix.h"

namespace vyr {

struct ObjectInstance;
struct ground_object;

constexpr int32_t WORLD_BUILD_PALETTE = 1;
constexpr int32_t WORLD_LOAD_DATA = 2;
constexpr int WORLD_DIRECTORY_SIZE = 100;

struct WorldSettings {
    int32_t flags;
    // Prefixes of the 3D data files and of the theatre's files, each ending in a backslash.
    char data_directory[WORLD_DIRECTORY_SIZE];
    char war_zone_directory[WORLD_DIRECTORY_SIZE];
    // 64 x 64 dynamic ground-object tile lists (x-major), each a count and its records; null
    // until the gameplay grid fills it.
    int16_t** dynamic_ground_objects;
};

extern WorldSettings world_settings;
// The record the last init_world was given, through which the loaders find their files.
extern WorldSettings* current_world_settings;

// The frame time of the effect step, as a 1.31 fraction of a second and in ticks of 1/200 s.
extern int32_t effect_frame_fraction;
extern int32_t effect_ticks;

using RenderPollHook = void (*)();
// Poses an object's parts before they are placed: the soldier figures' limbs. `level` is the
// level of detail drawn, 0 the nearest.
using AnimationHook = void (*)(void* instance, int level);

extern AnimationHook animation_hook;

void init_world(WorldSettings* settings);
void shutdown_world();

// Null clears a hook. The poll hook runs once in the middle of every full render.
void set_render_poll_hook(RenderPollHook hook);
void set_animation_hook(AnimationHook hook);

// Once per time-acceleration step.
void update_world_effects(int32_t frame_fraction);

// The scene from `eye` with the installed view settings, into the viewport.
void render_world(const Pose* eye);
// A sensor page's picture: `settings` reduced to no clouds, shadows or textures and installed.
void render_sensor_view(const Pose* eye, const ViewSettings* settings);
// The render of the sensor pages: no sky palette, no effects but explosions, no poll hook.
void render_world_reduced(const Pose* eye);
// One object alone on colour 0xD0, lit by the sun heading, sun elevation and darkness of
// `light`, which are installed with the sensor view's other settings: a viewer's picture of it.
void render_object_view(const Pose* eye, ObjectInstance* instance, const ViewSettings* light);
// The same for a ground-object record of tile (tile_x, tile_y).
void render_ground_object_view(const Pose* eye, const ground_object* record, int tile_x, int tile_y,
                               const ViewSettings* light);

}  // namespace vyr
