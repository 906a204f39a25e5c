#include "library/3dvisual/view.h"

#include "library/3dvisual/objects.h"
#include "library/maths/trig.h"

namespace vyr {

ViewSettings view_settings = {7, -262144, 4194304, 0, -0x15555555, 0, 6400000, 6912000, 2, 3, 0, 0,
                              nullptr, VIEW_CLOUDS | VIEW_SHADOWS};
ViewSettings current_view;
int32_t cloud_random = 0;
int32_t cloud_fade_height = 26000;
Vector3 light_vector;
int32_t shadow_step_x = 0;
int32_t shadow_step_y = 0;

namespace {

constexpr int32_t SHADOW_STEEPEST = int32_t(0xF8E38E39);  // -10 degrees: no shadow runs longer
constexpr int32_t CLEAR_FADE_HEIGHT = 26000;
constexpr int32_t OVERCAST_BASE = 13000;
constexpr int32_t OVERCAST_FADE = 14000;
constexpr int32_t OVERCAST_TOP = 15000;

// The sun the light was last computed for; straight overhead before the first.
int32_t lit_heading = 0;
int32_t lit_elevation = 0x40000000;

int32_t shadow_step(int32_t sine_heading, int32_t cosine_elevation, int32_t sine_elevation) {
    return int32_t(-((int64_t(sine_heading) * cosine_elevation) >> 3) / sine_elevation);
}

}  // namespace

void set_view_settings(const ViewSettings* settings) {
    current_view = *settings;
    if (current_view.night_vision == NIGHT_VISION_ALTERNATE) {
        current_view.terrain_detail = 0;
        current_view.object_textures = 0;
        current_view.flags &= ~VIEW_CLOUDS;
    }
    if (current_view.weather == WEATHER_OVERCAST) {
        current_view.cloud_base = (cloud_random + OVERCAST_BASE) * 256;
        current_view.cloud_top = (cloud_random + OVERCAST_TOP) * 256;
        cloud_fade_height = cloud_random + OVERCAST_FADE;
    } else {
        cloud_fade_height = CLEAR_FADE_HEIGHT;
    }
    update_view_trig();
}

void update_view_trig() {
    const int32_t heading = current_view.sun_heading;
    const int32_t elevation = current_view.sun_elevation;
    if (heading == lit_heading && elevation == lit_elevation && !objects_loaded) return;
    const int32_t sin_heading = lookup_sin(uint32_t(heading)), cos_heading = lookup_cos(uint32_t(heading));
    const int32_t sin_elevation = lookup_sin(uint32_t(elevation)), cos_elevation = lookup_cos(uint32_t(elevation));
    light_vector = {-mul31(sin_heading, cos_elevation), -mul31(cos_heading, cos_elevation), -sin_elevation};
    light_unrotated_objects();
    lit_heading = heading;
    lit_elevation = elevation;
    // A sun near the horizon would throw shadows without end.
    const int32_t shadow_elevation = elevation > SHADOW_STEEPEST ? SHADOW_STEEPEST : elevation;
    const int32_t sin_shadow = lookup_sin(uint32_t(shadow_elevation));
    const int32_t cos_shadow = lookup_cos(uint32_t(shadow_elevation));
    shadow_step_x = shadow_step(sin_heading, cos_shadow, sin_shadow);
    shadow_step_y = shadow_step(cos_heading, cos_shadow, sin_shadow);
}

}  // namespace vyr
