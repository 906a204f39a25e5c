// Stand-in for the 3D world until it is built: the view settings the preferences and the detail
// keys write, the smoke settings, the animation hook and the object buffer's counts. It renders
// nothing.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int32_t VIEW_YIELD = 1;
constexpr int32_t VIEW_CLOUDS = 2;
constexpr int32_t VIEW_SHOW_OWN_OBJECT = 4;
constexpr int32_t VIEW_SHADOWS = 8;

struct ViewSettings {
    int32_t visual_range;
    int32_t object_near_limit;
    int32_t object_visual_range;
    int32_t sun_heading;
    int32_t sun_elevation;
    int32_t darkness;
    int32_t cloud_base;
    int32_t cloud_top;
    int32_t terrain_detail;
    int32_t object_textures;
    int32_t weather;
    int32_t night_vision;
    void* own_object;
    int32_t flags;
};

// The player's visual preferences and the mission's light and weather.
extern ViewSettings view_settings;

// Ticks a smoke puff lives, and how dense the smoke is drawn.
extern int32_t smoke_life;
extern int32_t smoke_density;

using AnimationHook = void (*)(void* instance);
void set_animation_hook(AnimationHook hook);

// Objects queued in this frame's object buffer, and how many of them were behind the eye.
int get_object_buffer_count();
int get_object_buffer_back_count();

}  // namespace vyr
