#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "library/graphics/ddraw.h"
#include "library/graphics/plot.h"
#include "library/graphics/screen.h"
#include "source/menus/maps/map_key.h"
#include "source/menus/maps/map_view.h"
#include "source/menus/maps/waypoint_tool.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "tests/support/worlds.h"

namespace vyr {
namespace {

// A hand-made task over the generated theatre: its drones' routes given as waypoint types, laid
// out eastwards from a corner of the theatre, one row per drone.
class RouteDrawing : public GeneratedMission {
protected:
    void SetUp() override {
        GeneratedMission::SetUp();
        if (IsSkipped()) return;
        enter(1);
        flatten_ground();
        task = create_task();
        map_keys[KEY_WAYPOINTS] = 1;
    }
    void TearDown() override {
        game_mode = GAME_SINGLE;
        two_player_position = 1;
        if (screen) destroy_screen(screen);
        GeneratedMission::TearDown();
    }

    Drone* add_drone(const std::vector<int>& types) {
        Drone* drone = create_drone(task);
        const int row = int(drones.size());
        for (size_t i = 0; i < types.size(); ++i) {
            Waypoint* w = append_waypoint(drone);
            w->type = types[i];
            w->x = 0x4000000 + int32_t(i) * 100000;
            w->y = 0x4000000 + row * 100000;
            w->letter = char('A' + i);
        }
        drones.push_back(drone);
        return drone;
    }

    std::vector<int> kinds() const {
        std::vector<int> out;
        for (int i = 0; i < route_draw_count; ++i) out.push_back(route_draw_list[i].kind);
        return out;
    }

    // Draws the list into a fresh 640 x 480 screen with the view on (x, y).
    void draw(int mode, int32_t x, int32_t y, int32_t scale, uint32_t rotation) {
        if (!screen) screen = create_screen(640, 480);
        select_screen(screen);
        clear_screen(0);
        map_view.centre_x = x;
        map_view.centre_y = y;
        map_view.scale = scale;
        map_view.rotation = rotation;
        setup_map_plot();
        draw_route_list(mode);
    }
    int pixel(int x, int y) const { return screen->pixels[y * (screen->width + screen->row_pad) + x]; }

    Task* task = nullptr;
    std::vector<Drone*> drones;
    Screen* screen = nullptr;
};

TEST_F(RouteDrawing, LinesLieUnderSymbolsUnderLettersAndTheOwnRouteComesLast) {
    Drone* own = add_drone({WAYPOINT_DEPARTURE, WAYPOINT_TARGET});
    add_drone({WAYPOINT_DEPARTURE, WAYPOINT_TURNING});
    add_drone({WAYPOINT_DEPARTURE, WAYPOINT_RECON});
    select_drone(own);
    build_route_draw_list();
    EXPECT_EQ(kinds(), (std::vector<int>{11, 1, 2, 1, 2, 8, 7, 8, 6, 5, 4, 5, 3, 10, 1, 2, 8, 6, 5, 9, 3, 9}));
    EXPECT_EQ(route_draw_list[route_draw_count].kind, ROUTE_END);
    EXPECT_EQ(route_draw_list[20].x, own->first_waypoint->next->x);
    EXPECT_EQ(route_draw_list[21].x, uint8_t(own->first_waypoint->next->letter));
    EXPECT_NE(route_draw_list[21].x, 0);
}

TEST_F(RouteDrawing, TheOwnRouteIsTheSelectedDronesOrInALinkedMissionThePositionsDrone) {
    Drone* leader = add_drone({WAYPOINT_DEPARTURE});
    Drone* second = add_drone({WAYPOINT_DEPARTURE});
    Drone* third = add_drone({WAYPOINT_DEPARTURE});
    select_drone(third);
    const struct {
        int mode, position;
        Drone* own;
    } cases[] = {{GAME_SINGLE, 1, third},
                 {GAME_SINGLE, 2, third},
                 {GAME_TWO_PLAYER_MISSION, 1, leader},
                 {GAME_LINKED_MISSION, 2, second},
                 {GAME_COMBAT, 2, third}};
    for (const auto& c : cases) {
        game_mode = c.mode;
        two_player_position = c.position;
        build_route_draw_list();
        const std::vector<int> k = kinds();
        const auto own = std::find(k.begin(), k.end(), int(ROUTE_OWN));
        ASSERT_NE(own, k.end());
        EXPECT_EQ(route_draw_list[own - k.begin() + 1].y, c.own->first_waypoint->y) << c.mode << "/" << c.position;
    }
}

TEST_F(RouteDrawing, AnOversizedTaskGivesUpAnotherRouteAndKeepsTheOwnWhole) {
    for (int d = 0; d < 26; ++d) add_drone(std::vector<int>(39, WAYPOINT_TURNING));
    select_drone(drones[0]);
    build_route_draw_list();  // 26 routes of 39 waypoints would take 3,084 entries
    EXPECT_LE(route_draw_count, ROUTE_DRAW_LIST_SIZE);
    const std::vector<int> k = kinds();
    EXPECT_EQ(std::count(k.begin(), k.end(), int(ROUTE_MOVE)), 25) << "one other route left out";
    const auto own = std::find(k.begin(), k.end(), int(ROUTE_OWN));
    ASSERT_NE(own, k.end());
    EXPECT_EQ(k.end() - own, 1 + 4 * 39) << "the own route whole";
}

TEST_F(RouteDrawing, SymbolsStayUprightOnATurnedMap) {
    Drone* own = add_drone({WAYPOINT_DEPARTURE});
    own->first_waypoint->letter = 0;
    select_drone(own);
    build_route_draw_list();
    const Waypoint* w = own->first_waypoint;
    for (uint32_t rotation : {0u, 0x10000000u, 0x30000000u}) {
        draw(1, w->x, w->y, 1000, rotation);
        int x0 = 640, x1 = -1, y0 = 480, y1 = -1;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (pixel(x, y) == 251) {
                    x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
                }
        EXPECT_NEAR(x1 - x0, 16, 1) << rotation << ": a square of 8 pixels about the point, not a diamond";
        EXPECT_NEAR(y1 - y0, 16, 1) << rotation;
        EXPECT_EQ(pixel(320 - 8, 240), 251) << rotation << ": its left side through the point's row";
    }
}

TEST_F(RouteDrawing, OverAStaleLayerLegsStopShortOfTheirWaypoints) {
    Drone* own = add_drone({WAYPOINT_DEPARTURE, WAYPOINT_TURNING});
    select_drone(own);
    build_route_draw_list();
    const Waypoint* first = own->first_waypoint;
    // 100 pixels apart, the first at the centre.
    draw(0, first->x, first->y, 1000, 0);
    EXPECT_EQ(pixel(370, 240), 251) << "the middle of the leg";
    EXPECT_EQ(pixel(420 - 4, 240), 0) << "cut off before the next waypoint's circle";
    EXPECT_EQ(pixel(320 + 4, 240), 0) << "and after the first's square";
    draw(1, first->x, first->y, 1000, 0);
    EXPECT_EQ(pixel(420 - 10, 240), 251) << "into the route layer the leg runs on to the symbol";
}

TEST_F(RouteDrawing, TheWaypointsKeyHidesOnlyTheOwnRoute) {
    Drone* own = add_drone({WAYPOINT_DEPARTURE, WAYPOINT_TURNING});
    add_drone({WAYPOINT_DEPARTURE, WAYPOINT_TURNING});
    select_drone(own);
    build_route_draw_list();
    map_keys[KEY_WAYPOINTS] = 0;
    draw(1, own->first_waypoint->x + 50000, own->first_waypoint->y + 50000, 1000, 0);
    EXPECT_EQ(pixel(320, 290), 0) << "own leg";
    EXPECT_EQ(pixel(320, 190), 248) << "the wingman's leg";
}

}  // namespace
}  // namespace vyr
