#include "library/3dvisual/world_glide.h"

#include "library/3dvisual/objects.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"

namespace vyr {

void start_glide() {
    open_glide({world_settings.data_directory, world_settings.war_zone_directory, texture_table, texture_count});
}

void set_fog_density() {
    switch (current_view.weather) {
    case WEATHER_LIGHT_FOG: set_fog_level(FogLevel::LIGHT); break;
    case WEATHER_THICK_FOG: set_fog_level(FogLevel::THICK); break;
    default: set_fog_level(FogLevel::CLEAR); break;
    }
}

}  // namespace vyr
