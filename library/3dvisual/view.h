// What a render shows and how: the view settings, their installed copy, and the sun's light and
// shadow direction derived from them.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

constexpr int32_t VIEW_YIELD = 1;  // yield after each row of far blocks and of tiles
constexpr int32_t VIEW_CLOUDS = 2;
constexpr int32_t VIEW_SHOW_OWN_OBJECT = 4;
constexpr int32_t VIEW_SHADOWS = 8;  // mobile objects cast shadows

constexpr int32_t WEATHER_CLEAR = 0;
constexpr int32_t WEATHER_OVERCAST = 1;  // an overcast sky keeps its own cloud layer
constexpr int32_t WEATHER_LIGHT_FOG = 2;
constexpr int32_t WEATHER_THICK_FOG = 3;

constexpr int32_t NIGHT_VISION_ALTERNATE = 2;  // the other remap; no detail, textures or clouds

struct ViewSettings {
    int32_t visual_range;         // tiles each side of the eye's tile
    int32_t object_near_limit;    // depths (world units) at or below this queue no object
    int32_t object_visual_range;  // nor at or beyond this
    int32_t sun_heading;          // binary angle of the light's horizontal direction
    int32_t sun_elevation;        // negative when the light falls downwards
    int32_t darkness;             // 0 by day
    int32_t cloud_base;           // world units
    int32_t cloud_top;
    int32_t terrain_detail;
    int32_t object_textures;  // 0 flat, 1 textured, 2 Gouraud, 3 textured Gouraud
    int32_t weather;          // 0 clear, 1 overcast, 2 light fog, 3 thick fog
    int32_t night_vision;
    void* own_object;  // the viewer's own ObjectInstance, not drawn without VIEW_SHOW_OWN_OBJECT
    int32_t flags;
};

// The player's visual preferences and the mission's light and weather.
extern ViewSettings view_settings;
// The settings of the render in progress.
extern ViewSettings current_view;
// Feet, 0 to 2978, drawn by the world set-up: where an overcast sky puts its cloud layer.
extern int32_t cloud_random;
// Feet: the reference height of the cloud fade.
extern int32_t cloud_fade_height;

// 1.31 unit vector towards the sun.
extern Vector3 light_vector;
// 4.28: a shadow's horizontal displacement per unit of height.
extern int32_t shadow_step_x;
extern int32_t shadow_step_y;

// Installs a copy; `settings` itself is left as it is.
void set_view_settings(const ViewSettings* settings);
// The light and shadow steps, recomputed only when the sun moved or objects were loaded.
void update_view_trig();

}  // namespace vyr
