#include "source/mission/game_flow.h"

#include <cstdio>
#include <iterator>

#include "library/3dvisual/map_terrain.h"
#include "library/3dvisual/plan_map.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/world.h"
#include "library/config/prefs.h"
#include "library/graphics/palette.h"
#include "library/system/mouse.h"
#include "source/avionics/landing_aid.h"

namespace vyr {

namespace {

const char* const THEATRE_DIRECTORIES[] = {"israel.wz", "korea.wz", "cyprus.wz", "afghan.wz", "nevada.wz"};
constexpr int FALLBACK_WAR_ZONE = WAR_ZONE_CYPRUS;
constexpr int MAP_MENU_BACKGROUND = 99;

int32_t game_flow = FLOW_NONE;
int32_t war_zone = 0;

}  // namespace

int get_game_flow() { return game_flow; }
void set_game_flow(int flow) { game_flow = flow; }

int get_war_zone() { return war_zone; }

void set_war_zone(int zone) {
    if (zone < 1 || zone > int(std::size(THEATRE_DIRECTORIES))) zone = FALLBACK_WAR_ZONE;
    if (zone == war_zone) return;
    war_zone = zone;
    zone_override_active = zone == WAR_ZONE_KOREA;
    map_background_colour = MAP_MENU_BACKGROUND;
    std::snprintf(world_settings.data_directory, sizeof world_settings.data_directory, "3ddata\\");
    std::snprintf(world_settings.war_zone_directory, sizeof world_settings.war_zone_directory, "%s\\",
                  THEATRE_DIRECTORIES[zone - 1]);
    set_pref_int("Set Map", zone);
    set_pointer_shape(pointer_wait);
    world_settings.flags = WORLD_LOAD_DATA;
    init_world(&world_settings);
    world_settings.flags &= ~WORLD_LOAD_DATA;
    reload_terrain_textures(&world_settings);
    build_ils_beacon_lists();
    compute_terrain_max_height();
}

}  // namespace vyr
