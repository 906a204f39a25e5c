#include "source/menus/maps/map_key.h"

#include "library/config/prefs.h"
#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/graphics/plot_draw.h"
#include "library/ui/setattr.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/menus/front_end.h"
#include "source/menus/maps/map_layers.h"

namespace vyr {

int32_t map_keys[MAP_KEY_ID_LIMIT] = {};
UiObject* map_key_box = nullptr;

namespace {

constexpr const char* SOURCE_PATH = "source/menus/maps/map_key";
constexpr int ALLIED_COLOUR = 205, ENEMY_COLOUR = 206;
constexpr int32_t AAA_RING = 3110912, SAM_RING = 7777280;
constexpr int32_t RECON_SQUARE = 512000, SMALL_SQUARE = 102400;

struct KeySwitch {
    int id;
    const char* toggle;
    const char* label;
    const char* setting;
};
const KeySwitch KEY_SWITCHES[] = {
    {KEY_GRID_LINES, "Key: Grid", "Grid Lines", "Key Grid Lines"},
    {KEY_WAYPOINTS, "Key: Waypoints", "Waypoints", "Key Waypoints"},
    {KEY_COMPASS_ROSE, "Key: Compass Rose", "Compass", "Key Compass Rose"},
    {KEY_ALLIED_AAA, "Key: Allied AAA", "Allied AAA", "Key Allied AAA"},
    {KEY_ALLIED_SAM, "Key: Allied SAM", "Allied SAM", "Key Allied SAM"},
    {KEY_ENEMY_AAA, "Key: Enemy AAA", "Enemy AAA", "Key Enemy AAA"},
    {KEY_ENEMY_SAM, "Key: Enemy SAM", "Enemy SAM", "Key Enemy SAM"},
    {KEY_SIDES, "Key: Sides", "Sides", "Key Sides"},
    {KEY_ILS_BEACON, "Key: ILS Beacon", "ILS Beacon", "Key ILS Beacon"},
    {KEY_AIRFIELD_NAMES, "Key: Airfield Names", "Airfield Names", "Key Airfield Names"},
};

const KeySwitch* find_switch(int id) {
    for (const KeySwitch& key : KEY_SWITCHES)
        if (key.id == id) return &key;
    return nullptr;
}

// A square of `side` about (x, y) with both diagonals; only its top and bottom edges when asked.
void draw_crossed_square(int32_t x, int32_t y, int32_t side, bool with_sides, int colour) {
    const int32_t h = side / 2;
    draw_plot_line(x - h, y + h, x + h, y + h, colour);
    draw_plot_line(x - h, y - h, x + h, y - h, colour);
    if (with_sides) {
        draw_plot_line(x - h, y - h, x - h, y + h, colour);
        draw_plot_line(x + h, y - h, x + h, y + h, colour);
    }
    draw_plot_line(x - h, y - h, x + h, y + h, colour);
    draw_plot_line(x - h, y + h, x + h, y - h, colour);
}

void draw_slot_symbols(GameplayCell& cell, int type, int colour, void (*draw)(const GameplayObject&, int)) {
    for (GameplayObject* object : get_gameplay_slots(cell, type))
        if (object && object->type == type) draw(*object, colour);
}

}  // namespace

void create_map_key_box(UiObject* map) {
    const int height = map->y1 - map->y0 + 1;
    map_key_box = create_ui_object(UI_WINDOW, map, "Map Key Box", ATTR_POS, 0, 0, ATTR_SIZE, 100, height,
                                   ATTR_CLOSE_BOX, ATTR_MOVABLE, 0, ATTR_COLOUR, 252u * 0x01010101u, ATTR_SHOWN, 1);
    UiObject* area = create_ui_object(UI_BOX, map_key_box, "Map Box Area", ATTR_POS, 1, 18, ATTR_SIZE, 100 - 2,
                                      height - 19, ATTR_INPUT, 0);
    int y = 0;
    for (const KeySwitch& key : KEY_SWITCHES) {
        int value = 1;
        get_pref_int(key.setting, &value);
        create_ui_object(UI_TOGGLE, area, key.toggle, ATTR_POS, 0, y, ATTR_SIZE, 100 - 2, 18, ATTR_TEXT, key.label,
                         ATTR_FONT, &menu_font, ATTR_ID, key.id, ATTR_STATE, value, ATTR_NOTIFY, toggle_map_key,
                         ATTR_NOTIFY_EVENT, EV_SELECT);
        set_map_key(key.id, value);
        y += 20;
    }
}

void set_map_key(int id, int value) {
    const KeySwitch* key = find_switch(id);
    if (!key) {
        report_fatal_error("Set Map Key ?", SOURCE_PATH, __LINE__);
        return;
    }
    map_keys[id] = value;
    if (id == KEY_WAYPOINTS)
        refresh_map_screen();
    else
        redraw_overlay_layer();
    set_pref_int(key->setting, value);
}

void toggle_map_key(UiObject* object, Event&) { set_map_key(object->id, object->state); }

void draw_tile_objects(int i, int j) {
    if (i < 0 || j < 0 || i >= GAMEPLAY_GRID_SIZE || j >= GAMEPLAY_GRID_SIZE) return;
    GameplayCell& cell = gameplay_grid[i * GAMEPLAY_GRID_SIZE + j];
    const int side = cell.side & CELL_SIDE_MASK;
    if (side != SIDE_ALLIED && side != SIDE_ENEMY) return;
    const int colour = side == SIDE_ALLIED ? ALLIED_COLOUR : ENEMY_COLOUR;
    const bool allied = side == SIDE_ALLIED;
    if (map_keys[allied ? KEY_ALLIED_AAA : KEY_ENEMY_AAA])
        draw_slot_symbols(cell, GAMEPLAY_AAA, colour,
                          [](const GameplayObject& o, int c) { draw_plot_circle(o.x, o.y, AAA_RING, c); });
    if (map_keys[allied ? KEY_ALLIED_SAM : KEY_ENEMY_SAM])
        draw_slot_symbols(cell, GAMEPLAY_SAM, colour,
                          [](const GameplayObject& o, int c) { draw_plot_circle(o.x, o.y, SAM_RING, c); });
    draw_slot_symbols(cell, GAMEPLAY_RECON, colour,
                      [](const GameplayObject& o, int c) { draw_crossed_square(o.x, o.y, RECON_SQUARE, true, c); });
    draw_slot_symbols(cell, GAMEPLAY_LASER, colour,
                      [](const GameplayObject& o, int c) { draw_crossed_square(o.x, o.y, SMALL_SQUARE, true, c); });
    draw_slot_symbols(cell, GAMEPLAY_PROHIBITED, colour, [](const GameplayObject& o, int c) {
        const int32_t h = SMALL_SQUARE / 2;
        draw_plot_line(o.x - h, o.y - h, o.x + h, o.y + h, c);
        draw_plot_line(o.x - h, o.y + h, o.x + h, o.y - h, c);
    });
    draw_slot_symbols(cell, GAMEPLAY_TARGET, colour,
                      [](const GameplayObject& o, int c) { draw_crossed_square(o.x, o.y, SMALL_SQUARE, false, c); });
}

}  // namespace vyr
