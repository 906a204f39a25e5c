#include "source/menus/maps/map_view.h"

#include <gtest/gtest.h>

#include "source/menus/maps/waypoint_tool.h"
#include "source/mission/game_flow.h"
#include "tests/source/mission/zone_fixture.h"

namespace vyr {
namespace {

class MapViewLimits : public GeneratedZone {
protected:
    void SetUp() override {
        GeneratedZone::SetUp();
        if (IsSkipped()) return;
        enter(WAR_ZONE_ISRAEL);
        clear_map_zoom_stack();
        route_draw_list[0] = {ROUTE_END, 0, 0};
    }

    // The map's edges: inside the allowed area of the zone.
    static void expect_inside(int32_t low, int32_t high) {
        const int64_t half_x = 320LL * map_view.scale, half_y = 240LL * map_view.scale;
        EXPECT_GE(map_view.centre_x - half_x, low);
        EXPECT_LE(map_view.centre_x + half_x, high);
        EXPECT_GE(map_view.centre_y - half_y, low);
        EXPECT_LE(map_view.centre_y + half_y, high);
    }
};

TEST_F(MapViewLimits, FitOverRoutesWiderThanTheTheatreShowsTheLargestScaleInsideTheArea) {
    route_draw_list[0] = {ROUTE_OTHERS, 0, 0};
    route_draw_list[1] = {ROUTE_MOVE, 0, 0};
    route_draw_list[2] = {ROUTE_LINE, MAP_WORLD_MAX, MAP_WORLD_MAX};
    route_draw_list[3] = {ROUTE_FIRST_OUTLINE, -5, -5};  // symbols do not count
    route_draw_list[4] = {ROUTE_END, 0, 0};
    push_map_view();
    set_map_rotation(0x40000000);
    fit_map_to_routes();
    EXPECT_EQ(map_view.scale, MAP_SCALE_SHOWN_MAX);
    EXPECT_EQ(map_view.rotation, 0u);
    EXPECT_EQ(map_zoom_depth, 0);
    expect_inside(0x2000000, 0xe000000);
}

TEST_F(MapViewLimits, FitTakesTwoThirdsOfTheMapAboutTheRoutesMiddle) {
    route_draw_list[0] = {ROUTE_MOVE, 0x6000000, 0x6000000};
    route_draw_list[1] = {ROUTE_LINE, 0x6000000 + 640 * 1000, 0x6000000 + 100 * 1000};
    route_draw_list[2] = {ROUTE_END, 0, 0};
    fit_map_to_routes();
    EXPECT_EQ(map_view.scale, 1500);
    EXPECT_EQ(map_view.centre_x, 0x6000000 + 320 * 1000);
    EXPECT_EQ(map_view.centre_y, 0x6000000 + 50 * 1000);
}

TEST_F(MapViewLimits, BackWithNothingStackedAndFitWithNoRouteShowTheWholeTheatre) {
    for (void (*show)() : {pop_map_view, fit_map_to_routes}) {
        set_map_view_rotated(0x3000000, 0x9000000, 4000, 0x1234);
        show();
        EXPECT_EQ(map_view.centre_x, MAP_WORLD_MIDDLE);
        EXPECT_EQ(map_view.centre_y, MAP_WORLD_MIDDLE);
        EXPECT_EQ(map_view.scale, MAP_SCALE_SHOWN_MAX);
        EXPECT_EQ(map_view.rotation, 0u);
    }
}

TEST_F(MapViewLimits, TheZoomStackKeepsThirtyTwoViewsAndBackReturnsThemNewestFirst) {
    for (int i = 1; i <= 33; ++i) {
        set_map_view(0x6000000, 0x6000000, 1000 * i);
        push_map_view();
    }
    EXPECT_EQ(map_zoom_depth, MAP_ZOOM_DEPTH);
    pop_map_view();
    EXPECT_EQ(map_view.scale, 32000) << "the 33rd was dropped";
    EXPECT_EQ(map_zoom_depth, 31);
}

TEST_F(MapViewLimits, TheViewComesToOneTileOfTheEdgeInZoneFourAndEightElsewhere) {
    const struct {
        int zone;
        int32_t low;
    } cases[] = {{WAR_ZONE_ISRAEL, 8 << 22}, {WAR_ZONE_AFGHAN, 1 << 22}, {WAR_ZONE_NEVADA, 8 << 22}};
    for (const auto& c : cases) {
        enter(c.zone);
        set_map_view(0, MAP_WORLD_MAX, 256);
        EXPECT_EQ(map_view.centre_x, c.low + 320 * 256) << c.zone;
        EXPECT_EQ(map_view.centre_y, (64 << 22) - c.low - 240 * 256) << c.zone;
    }
}

TEST_F(MapViewLimits, MetresAndWorldUnits) {
    EXPECT_EQ(world_to_metres(MAP_WORLD_MAX), 319605);
    EXPECT_LE(metres_to_world(world_to_metres(MAP_WORLD_MAX)), MAP_WORLD_MAX) << "the last metre lies in the world";
    EXPECT_EQ(metres_to_world(1000), 839895);
    for (int32_t metres : {0, 1, 999, 123456, 319605}) EXPECT_EQ(world_to_metres(metres_to_world(metres)), metres);
}

}  // namespace
}  // namespace vyr
