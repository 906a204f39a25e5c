// What and how a render shows.
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

}  // namespace vyr
