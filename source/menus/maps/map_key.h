// The map key: ten switches for what the mission map shows, each kept in the settings store, and
// the symbols of the planned defences and targets of each tile.
#pragma once

#include <cstdint>

#include "library/system/event.h"

namespace vyr {

struct UiObject;

enum MapKeyId : int32_t {
    KEY_GRID_LINES = 1,
    KEY_WAYPOINTS = 2,
    KEY_COMPASS_ROSE = 5,
    KEY_ALLIED_AAA = 6,
    KEY_ALLIED_SAM = 7,
    KEY_ENEMY_AAA = 10,
    KEY_ENEMY_SAM = 11,
    KEY_ILS_BEACON = 13,
    KEY_AIRFIELD_NAMES = 14,
    KEY_SIDES = 16,
};
constexpr int MAP_KEY_ID_LIMIT = 17;
// Each switch by its id; 0 off, else on.
extern int32_t map_keys[MAP_KEY_ID_LIMIT];

// The "Map Key Box" on the map; each switch starts from its setting, on when it has none.
void create_map_key_box(UiObject* map);
extern UiObject* map_key_box;
// Sets the switch, redraws its layer and stores it; an id outside the key is fatal.
void set_map_key(int id, int value);
void toggle_map_key(UiObject* object, Event& event);

// The ground-object symbols of tile (i, j) through the map plot, with the plot offset at (0, 0).
void draw_tile_objects(int i, int j);

}  // namespace vyr
