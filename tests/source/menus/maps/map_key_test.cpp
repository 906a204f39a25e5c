#include "source/menus/maps/map_key.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "library/config/prefs.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/plot.h"
#include "library/graphics/screen.h"
#include "library/ui/object.h"
#include "library/ui/setattr.h"
#include "source/avionics/landing_aid.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/menus/front_end.h"
#include "source/menus/maps/map_layers.h"
#include "source/menus/maps/map_view.h"
#include "source/mission/mission_data.h"
#include "tests/source/mission/zone_fixture.h"
#include "tests/support/recording_plot.h"

namespace vyr {
namespace {

constexpr uint32_t ONE_DEGREE = 11930465;

// The map's layer screens over the generated Israel, with no map canvas.
class MapKey : public GeneratedZone {
protected:
    void SetUp() override {
        GeneratedZone::SetUp();
        if (IsSkipped()) return;
        load_prefs(nullptr);
        enter(1);
        build_menu_fonts();
        for (Screen** layer : {&ground_layer, &overlay_layer, &route_layer, &composite_a, &composite_b})
            *layer = create_screen(640, 480);
        set_display_clip(0, 0, 639, 479);
        map = create_ui_object(UI_BOX, nullptr, "Map", ATTR_RECT, 0, 0, 639, 479);
        reset_gameplay_grid();
    }
    void TearDown() override {
        destroy_ui_tree();
        for (Screen** layer : {&ground_layer, &overlay_layer, &route_layer, &composite_a, &composite_b}) {
            destroy_screen(*layer);
            *layer = nullptr;
        }
        for (MapLayerState* state : {&ground_state, &overlay_state, &route_state}) state->request = state->changed = 0;
        reset_gameplay_grid();
        GeneratedZone::TearDown();
    }

    static void keys_only(std::initializer_list<int> on) {
        std::memset(map_keys, 0, sizeof map_keys);
        for (int id : on) map_keys[id] = 1;
    }
    static int overlay_pixel(int x, int y) {
        return overlay_layer->pixels[y * (overlay_layer->width + overlay_layer->row_pad) + x];
    }
    // Whether the overlay holds `colour` in the 5 x 5 pixels about (x, y).
    static bool overlay_near(int x, int y, int colour) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (overlay_pixel(x + dx, y + dy) == colour) return true;
        return false;
    }

    UiObject* map = nullptr;
};

TEST_F(MapKey, AllTenSwitchesStartOnWithoutSettingsAndEachIsStoredAndRedrawsItsOwnLayer) {
    create_map_key_box(map);
    for (int id : {KEY_GRID_LINES, KEY_WAYPOINTS, KEY_COMPASS_ROSE, KEY_ALLIED_AAA, KEY_ALLIED_SAM, KEY_ENEMY_AAA,
                   KEY_ENEMY_SAM, KEY_SIDES, KEY_ILS_BEACON, KEY_AIRFIELD_NAMES})
        EXPECT_EQ(map_keys[id], 1) << id;
    const struct {
        int id;
        const char* setting;
        bool route_layer;
    } cases[] = {{KEY_WAYPOINTS, "Key Waypoints", true}, {KEY_SIDES, "Key Sides", false},
                 {KEY_GRID_LINES, "Key Grid Lines", false}};
    for (const auto& c : cases) {
        overlay_state.request = route_state.request = 0;
        set_map_key(c.id, 0);
        EXPECT_EQ(map_keys[c.id], 0) << c.setting;
        int stored = -1;
        EXPECT_TRUE(get_pref_int(c.setting, &stored)) << c.setting;
        EXPECT_EQ(stored, 0) << c.setting;
        EXPECT_EQ(route_state.request != 0, c.route_layer) << c.setting;
        EXPECT_EQ(overlay_state.request != 0, !c.route_layer) << c.setting;
    }
}

TEST_F(MapKey, TheBoxReadsTheStoredSwitches) {
    set_pref_int("Key Sides", 0);
    set_pref_int("Key Grid Lines", 0);
    create_map_key_box(map);
    EXPECT_EQ(map_keys[KEY_SIDES], 0);
    EXPECT_EQ(map_keys[KEY_GRID_LINES], 0);
    EXPECT_EQ(map_keys[KEY_COMPASS_ROSE], 1);
}

TEST_F(MapKey, EachSlotDrawsItsOwnSymbolInItsSidesColourAndTheRingsFollowTheirSwitches) {
    const int32_t x = (10 << 22) + 100000, y = (12 << 22) + 100000;
    set_cell_side(SIDE_ALLIED, x, y);
    GameplayCell& cell = gameplay_grid[10 * GAMEPLAY_GRID_SIZE + 12];
    GameplayObject objects[7] = {};
    const int types[] = {GAMEPLAY_AAA, GAMEPLAY_SAM, GAMEPLAY_RECON, GAMEPLAY_LASER, GAMEPLAY_PROHIBITED,
                         GAMEPLAY_TARGET, GAMEPLAY_SAM};
    for (int i = 0; i < 7; ++i) objects[i] = {types[i], x, y, 0, 0, nullptr, nullptr, 0, 0};
    cell.aaa[0] = &objects[0];
    cell.sam[1] = &objects[1];
    cell.recon[0] = &objects[2];
    cell.laser[0] = &objects[3];
    cell.prohibited[2] = &objects[4];
    cell.target[0] = &objects[5];
    cell.aaa[1] = &objects[6];  // a SAM in an AAA slot is not drawn
    keys_only({KEY_ALLIED_AAA, KEY_ENEMY_SAM});
    setup_map_plot();
    RecordingPlot plot;
    draw_tile_objects(10, 12);
    ASSERT_EQ(plot.circles.size(), 1u) << "the allied gun ring only";
    EXPECT_EQ(plot.circles[0].radius, 3110912);
    EXPECT_EQ(plot.circles[0].colour_or_pattern, 205u);
    int by_size[3] = {};  // lines of the 512,000 square, of the 102,400 shapes
    for (const auto& line : plot.lines) {
        EXPECT_EQ(line.colour, 205);
        const int32_t span = std::max(std::abs(line.x1 - line.x0), std::abs(line.y1 - line.y0));
        ++by_size[span == 512000 ? 0 : span == 102400 ? 1 : 2];
    }
    EXPECT_EQ(by_size[0], 6) << "the recon square: four sides and two diagonals";
    EXPECT_EQ(by_size[1], 6 + 2 + 4) << "laser square, prohibited cross, target's top, bottom and diagonals";
    EXPECT_EQ(by_size[2], 0);
    keys_only({KEY_ALLIED_SAM});
    plot.circles.clear();
    draw_tile_objects(10, 12);
    ASSERT_EQ(plot.circles.size(), 1u);
    EXPECT_EQ(plot.circles[0].radius, 7777280);
}

TEST_F(MapKey, TheRunwayNearestTheWindPicksTheApproachWedge) {
    ASSERT_GT(get_airfield_count(), 0);
    Airfield& airfield = airfield_table[0];
    const Airfield kept = airfield;
    set_cell_side(SIDE_ALLIED, airfield.x, airfield.y);
    for (IlsBeacon& beacon : airfield.beacons) beacon = {};
    const uint32_t headings[] = {90, 180};
    for (int i = 0; i < 2; ++i) airfield.beacons[i] = {airfield.x, airfield.y, 0, 0, 0, 0, headings[i] * ONE_DEGREE, 0, 1100};
    map_view = {MAP_SCALE_SHOWN_MAX, airfield.x, airfield.y, 0, 0, 0, 0};
    keys_only({KEY_ILS_BEACON});
    const struct {
        uint32_t wind;
        int wedge_x, wedge_y, clear_x, clear_y;
    } cases[] = {{170, 320, 200, 280, 240},   // the 180 runway: the wedge to the north
                 {80, 280, 240, 320, 200},    // the 90 runway: to the west
                 {350, 280, 240, 320, 200}};  // 100 degrees from 90 across north, 170 from 180
    for (const auto& c : cases) {
        wind_direction = c.wind * ONE_DEGREE;
        redraw_overlay_layer();
        EXPECT_TRUE(overlay_near(c.wedge_x, c.wedge_y, 1)) << c.wind;
        EXPECT_FALSE(overlay_near(c.clear_x, c.clear_y, 1)) << c.wind;
    }
    airfield = kept;
}

TEST_F(MapKey, SidesOffTakesAwayTheStippleAndKeepsTheRings) {
    const int32_t x = (32 << 22) + (1 << 21), y = (32 << 22) + (1 << 21);
    for (int i = 28; i < 36; ++i)
        for (int j = 28; j < 36; ++j) set_cell_side(i < 32 ? SIDE_ALLIED : SIDE_ENEMY, i << 22, j << 22);
    update_front_line_distances();
    GameplayObject site = {GAMEPLAY_SAM, x - (2 << 22), y, 0, 0, nullptr, nullptr, 0, 0};
    gameplay_grid[30 * GAMEPLAY_GRID_SIZE + 32].sam[0] = &site;
    map_view = {40000, x - (2 << 22), y, 0, 0, 0, 0};
    for (int sides : {1, 0}) {
        keys_only({KEY_ALLIED_SAM});
        map_keys[KEY_SIDES] = sides;
        select_screen(overlay_layer);
        clear_screen(0);
        overlay_state.request = 1;
        draw_overlay_tiles();
        const int32_t ring_pixels = 7777280 / 40000;
        EXPECT_TRUE(overlay_near(320 + ring_pixels, 240, 205)) << sides << ": the SAM ring";
        int stipple = 0;
        for (int y0 = 100; y0 < 140; ++y0)
            for (int x0 = 100; x0 < 140; ++x0) stipple += overlay_pixel(x0, y0) == 205;
        EXPECT_EQ(stipple > 0, sides == 1) << sides;
    }
    gameplay_grid[30 * GAMEPLAY_GRID_SIZE + 32].sam[0] = nullptr;
}

}  // namespace
}  // namespace vyr
