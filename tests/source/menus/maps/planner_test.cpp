// Planning on the mission map: the tools on the pointer's events, the point data, the waypoint tool
// and its boxes, the task box and the 3D view's camera, over a hand-made flight in the generated
// Israel with the map's boxes built under a root of the test's own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "library/3dvisual/ground_objects.h"
#include "library/config/prefs.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/plot.h"
#include "library/graphics/screen.h"
#include "library/ui/object.h"
#include "library/ui/setattr.h"
#include "source/gameplay/defence_sites.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/menus/front_end.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/maps/map_layers.h"
#include "source/menus/maps/map_screen.h"
#include "source/menus/maps/map_tools.h"
#include "source/menus/maps/map_view.h"
#include "source/menus/maps/task_box.h"
#include "source/menus/maps/waypoint_tool.h"
#include "source/menus/prefs_screens.h"
#include "source/weapons/object_types.h"
#include "tests/support/worlds.h"

namespace vyr {
namespace {

constexpr int32_t SCALE = 10000;
constexpr int32_t CENTRE = 0x6000000;

class MapPlanner : public GeneratedMission {
protected:
    void SetUp() override {
        GeneratedMission::SetUp();
        if (IsSkipped()) return;
        load_prefs(nullptr);
        enter(1);
        flatten_ground();
        reset_gameplay_grid();
        build_menu_fonts();
        set_display_size(640, 480);
        set_display_clip(0, 0, 639, 479);
        for (Screen** layer : {&ground_layer, &overlay_layer, &route_layer, &composite_a, &composite_b})
            *layer = create_screen(640, 480);
        UiObject* root = create_ui_object(UI_BOX, nullptr, "Root Object", ATTR_RECT, 0, 0, 639, 479);
        map_screen = create_ui_object(UI_CANVAS, root, "Map Screen", ATTR_RECT, 0, 0, 639, 479, ATTR_NOTIFY,
                                      handle_map_event);
        map_tool_box = create_ui_object(UI_WINDOW, map_screen, "Map Tool Box", ATTR_POS, 558, 40, ATTR_SIZE, 82, 161);
        for (int id : {MAP_TOOL_ZOOM, MAP_TOOL_ROTATE, MAP_TOOL_WAYPOINT, MAP_TOOL_NONE})
            create_ui_object(UI_RADIO, map_tool_box, "Tool", ATTR_ID, id, ATTR_STATE, id == MAP_TOOL_NONE);
        waypoint_tool_box = create_ui_object(UI_WINDOW, map_screen, "Waypoint Tool Box", ATTR_SHOWN, 0);
        point_data_box = create_ui_object(UI_WINDOW, map_screen, "Point Data Box", ATTR_SHOWN, 0);
        point_data_text = create_ui_object(UI_TEXT, point_data_box, "Point Data Text", ATTR_TEXT, "Point Data");
        create_waypoint_info_box(map_screen);
        create_task_box(map_screen);
        set_map_view_rotated(CENTRE, CENTRE, SCALE, 0);
        task = create_task();
        set_user_task(task);
        mission_planner = 1;
    }
    void TearDown() override {
        reset_map_tool();
        destroy_ui_tree();
        map_screen = map_tool_box = waypoint_tool_box = point_data_box = point_data_text = nullptr;
        waypoint_info_box = task_box = task_text = nullptr;
        for (Screen** layer : {&ground_layer, &overlay_layer, &route_layer, &composite_a, &composite_b}) {
            destroy_screen(*layer);
            *layer = nullptr;
        }
        for (MapLayerState* state : {&ground_state, &overlay_state, &route_state}) state->request = state->changed = 0;
        clear_map_zoom_stack();
        current_pilot_log = nullptr;
        mission_planner = 0;
        reset_gameplay_grid();
        GeneratedMission::TearDown();
    }

    static void pointer(int type, int buttons, int x, int y) {
        Event event{type, buttons, x, y, 0};
        handle_map_event(map_screen, event);
    }
    static void click(int x, int y) {
        pointer(EV_MOUSE_CLICK, 1, x, y);
        pointer(EV_MOUSE_CLICK, 0, x, y);
    }
    static void drag(int x0, int y0, int x1, int y1) {
        pointer(EV_MOUSE_CLICK, 1, x0, y0);
        pointer(EV_MOUSE_MOVE, 1, x1, y1);
        pointer(EV_MOUSE_CLICK, 0, x1, y1);
    }
    static void tool_button(int id) {
        UiObject button{};
        button.id = id;
        Event event{EV_SELECT, 0, 0, 0, 0};
        handle_map_tool_button(&button, event);
    }
    static void world_at(int x, int y, int32_t& wx, int32_t& wy) {
        setup_map_plot();
        map_screen_to_plot(x, y, wx, wy);
    }
    static void pixel_of(const Waypoint* w, int& x, int& y) {
        setup_map_plot();
        int32_t sx, sy;
        project_plot_point(w->x, w->y, sx, sy);
        x = sx;
        y = sy;
    }
    static std::string text_of(const char* name) {
        UiObject* object = find(waypoint_info_box, name);
        return object && object->text ? object->text : "";
    }
    static UiObject* find(UiObject* from, const char* name) {
        for (UiObject* child = from ? from->first_child : nullptr; child; child = child->next_sibling) {
            if (std::strcmp(child->name, name) == 0) return child;
            if (UiObject* found = find(child, name)) return found;
        }
        return nullptr;
    }

    // A drone of the task with a route of these types, 100 pixels apart eastwards from the centre.
    Drone* add_drone(const std::vector<int>& types, int object_number = OBJ_VYR_WINGMAN) {
        Drone* drone = create_drone(task);
        set_drone_type(drone, object_number);
        for (size_t i = 0; i < types.size(); ++i) {
            Waypoint* w = append_waypoint(drone);
            w->type = types[i];
            w->x = CENTRE + int32_t(i) * 100 * SCALE;
            w->y = CENTRE + int32_t(drones.size()) * 50 * SCALE;
            w->z = 5000 * 256;
            w->speed = 400 * 432;
        }
        drones.push_back(drone);
        return drone;
    }
    Drone* turning_route(int count) {
        std::vector<int> types(size_t(count), WAYPOINT_TURNING);
        types.front() = WAYPOINT_DEPARTURE;
        types.back() = WAYPOINT_LANDING;
        return add_drone(types);
    }

    Task* task = nullptr;
    std::vector<Drone*> drones;
};

TEST_F(MapPlanner, AZoomClickZoomsSixteenTimesAboutItAndBackReturns) {
    tool_button(MAP_TOOL_ZOOM);
    int32_t x, y;
    world_at(400, 200, x, y);
    click(400, 200);
    EXPECT_EQ(map_view.scale, SCALE / 16);
    EXPECT_NEAR(map_view.centre_x, x, SCALE);
    EXPECT_NEAR(map_view.centre_y, y, SCALE);
    tool_button(2);  // "Back"
    EXPECT_EQ(map_view.scale, SCALE);
    EXPECT_EQ(map_view.centre_x, CENTRE);
    EXPECT_EQ(map_view.centre_y, CENTRE);
}

TEST_F(MapPlanner, AZoomBoxTakesTheDisplaysAspect) {
    const struct {
        int dx, dy;
        int32_t scale;  // half-width over the display's half-width
    } cases[] = {{100, 10, SCALE * 100 / 320}, {10, 90, SCALE * 120 / 320}, {-160, -120, SCALE / 2}, {2, 2, SCALE * 20 / 320}};
    tool_button(MAP_TOOL_ZOOM);
    for (const auto& c : cases) {
        drag(320, 240, 320 + c.dx, 240 + c.dy);
        EXPECT_EQ(map_view.scale, c.scale) << c.dx << "," << c.dy;
        tool_button(2);
    }
}

TEST_F(MapPlanner, ATurnFromThePressOnTheCentreStartsAtBearingZero) {
    tool_button(MAP_TOOL_ROTATE);
    int cx, cy;
    Waypoint centre{};
    centre.x = CENTRE;
    centre.y = CENTRE;
    pixel_of(&centre, cx, cy);
    drag(cx, cy, cx, cy - 100);  // the pointer ends due north of the centre: a quarter turn
    const double degrees = double(int32_t(map_view.rotation)) * 90.0 / 1073741824.0;
    EXPECT_NEAR(degrees, -90.0, 1.0);
    set_map_rotation(0);
    drag(cx + 100, cy, cx, cy - 100);  // from due east to due north: the same quarter
    EXPECT_NEAR(double(int32_t(map_view.rotation)) * 90.0 / 1073741824.0, -90.0, 1.0);
}

TEST_F(MapPlanner, ARightPressCentresTheMapWhateverTheTool) {
    for (int tool : {MAP_TOOL_NONE, MAP_TOOL_ZOOM}) {
        set_map_view_rotated(CENTRE, CENTRE, SCALE, 0);
        tool_button(tool);
        int32_t x, y;
        world_at(500, 100, x, y);
        pointer(EV_MOUSE_CLICK, 2, 500, 100);
        pointer(EV_MOUSE_CLICK, 0, 500, 100);
        EXPECT_NEAR(map_view.centre_x, x, 1) << tool;
        EXPECT_NEAR(map_view.centre_y, y, 1) << tool;
        EXPECT_EQ(map_view.scale, SCALE) << tool;
    }
}

TEST_F(MapPlanner, WayNeedsASelectedDrone) {
    tool_button(MAP_TOOL_WAYPOINT);
    EXPECT_EQ(map_tool, MAP_TOOL_NONE);
    EXPECT_FALSE(waypoint_tool_box->flags & UIF_SHOWN);
    for (UiObject* radio = map_tool_box->first_child; radio; radio = radio->next_sibling)
        EXPECT_EQ(radio->state, radio->id == MAP_TOOL_NONE) << radio->id;
    select_drone(turning_route(3));
    tool_button(MAP_TOOL_WAYPOINT);
    EXPECT_EQ(map_tool, MAP_TOOL_WAYPOINT);
    EXPECT_TRUE(waypoint_tool_box->flags & UIF_SHOWN);
}

TEST_F(MapPlanner, PointDataNamesTheGroundUnderThePointer) {
    // The first ground object of the theatre that the search finds on its own foot.
    const ground_object* record = nullptr;
    int32_t x = 0, y = 0;
    for (int tile = 0; tile < 4096 && !record; ++tile)
        for (int i = 0; i < ground_object_count(ground_object_tiles[tile]) && !record; ++i) {
            const ground_object& r = ground_object_records(ground_object_tiles[tile])[i];
            x = ((tile / 64) << 22) + r.x * 256;
            y = ((tile % 64) << 22) + r.y * 256;
            if (find_nearest_ground_object(x, y) == &r) record = &r;
        }
    ASSERT_NE(record, nullptr);
    set_map_view_rotated(x, y, 2 * SCALE, 0);  // 300 pixels reach into another tile
    set_cell_side(SIDE_ENEMY, x, y);
    Waypoint at{};
    at.x = x;
    at.y = y;
    int px, py;
    pixel_of(&at, px, py);
    const struct {
        int px, py;
        std::string expected;
    } cases[] = {{px, py, "Teritory: Enemy\nObject: " + std::string(get_object_type_name(record->type))},
                 {px > 320 ? px - 300 : px + 300, py, "Teritory: Neutral\nObject: No Object"}};
    for (const auto& c : cases) {
        point_data_x = c.px;
        point_data_y = c.py;
        update_point_data();
        const std::string text = point_data_text->text;
        EXPECT_EQ(text.substr(0, 21), "Ground Height:      0") << text;
        EXPECT_NE(text.find(c.expected), std::string::npos) << text;
        EXPECT_EQ(point_data_update, 0);
    }
}

TEST_F(MapPlanner, DraggingMovesOnlyAMiddleWaypointAndOnlyPastFourPixels) {
    Drone* drone = turning_route(4);
    select_drone(drone);
    tool_button(MAP_TOOL_WAYPOINT);
    const struct {
        int index, pixels;
        bool moves;
        const char* fixed;
    } cases[] = {{0, 20, false, " (Fixed)"}, {3, 20, false, " (Fixed)"}, {1, 3, false, ""}, {1, 5, true, ""},
                 {2, 40, true, ""}};
    for (const auto& c : cases) {
        Waypoint* w = drone->first_waypoint;
        for (int i = 0; i < c.index; ++i) w = w->next;
        const int32_t x0 = w->x;
        int px, py;
        pixel_of(w, px, py);
        drag(px, py, px + c.pixels, py);
        EXPECT_EQ(selected_waypoint, w) << c.index;
        EXPECT_EQ(w->x != x0, c.moves) << c.index << " by " << c.pixels;
        EXPECT_EQ(text_of("Waypoint Title"), std::string("Waypoint ") + w->letter + c.fixed);
    }
}

TEST_F(MapPlanner, AWaypointReleasedBelowTheGroundIsRaisedToIt) {
    Drone* drone = turning_route(3);
    select_drone(drone);
    tool_button(MAP_TOOL_WAYPOINT);
    Waypoint* middle = drone->first_waypoint->next;
    middle->z = -5000;
    int px, py;
    pixel_of(middle, px, py);
    drag(px, py, px + 10, py + 10);
    EXPECT_EQ(middle->z, 0);
}

TEST_F(MapPlanner, InsertGoesHalfwayAtThePreviousAltitudeAndDeleteSelectsTheNext) {
    Drone* drone = turning_route(4);
    Waypoint* first = drone->first_waypoint;
    Waypoint* second = first->next;
    second->x += 3;  // an odd sum: the mean rounds towards zero
    second->z = 9000 * 256;
    Waypoint* third = second->next;
    select_waypoint(third);
    Event event{EV_SELECT, 0, 0, 0, 0};
    insert_map_waypoint(nullptr, event);
    Waypoint* added = second->next;
    ASSERT_NE(added, third);
    EXPECT_EQ(selected_waypoint, added);
    EXPECT_EQ(added->type, WAYPOINT_TURNING);
    EXPECT_EQ(added->x, int32_t((int64_t(second->x) + third->x) / 2));
    EXPECT_EQ(added->y, (second->y + third->y) / 2);
    EXPECT_EQ(added->z, second->z);
    EXPECT_EQ(added->next, third);
    delete_map_waypoint(nullptr, event);
    EXPECT_EQ(selected_waypoint, third);
    EXPECT_EQ(second->next, third);
}

TEST_F(MapPlanner, InsertIsOfferedBetweenTheEndsWhileASavedRouteKeepsEveryWaypoint) {
    const struct {
        int length, index, insert, remove;
    } cases[] = {{5, 0, 0, 0}, {5, 4, 0, 0}, {5, 2, 1, 1}, {38, 10, 1, 1}, {39, 10, 0, 1}};
    for (const auto& c : cases) {
        Drone* drone = turning_route(c.length);
        select_drone(drone);
        select_waypoint_by_index(c.index);
        int insert = -1, remove = -1;
        offered_waypoint_edits(insert, remove);
        EXPECT_EQ(insert, c.insert) << c.length << "/" << c.index;
        EXPECT_EQ(remove, c.remove) << c.length << "/" << c.index;
        Event event{EV_SELECT, 0, 0, 0, 0};
        insert_map_waypoint(nullptr, event);
        EXPECT_LE(drone->waypoint_count, MAX_ROUTE_WAYPOINTS);
    }
}

TEST_F(MapPlanner, TheInformationBoxShowsTimeWithWaitsTheLegAndTheShownType) {
    Drone* drone = add_drone({WAYPOINT_DEPARTURE, WAYPOINT_CAP_START, WAYPOINT_TURNING, WAYPOINT_TURNING,
                              WAYPOINT_TARGET, WAYPOINT_TURNING});
    Waypoint* w[6];
    w[0] = drone->first_waypoint;
    for (int i = 1; i < 6; ++i) w[i] = w[i - 1]->next;
    w[1]->x = w[0]->x + 2 * 1351680;  // two miles east, at the same altitude
    w[0]->wait = 10 * 200 + 150;       // whole seconds only
    w[1]->wait = 5 * 200;
    select_waypoint(w[1]);
    refresh_waypoint_info();
    EXPECT_EQ(text_of("Waypoint Leg"), "Length this leg: " + std::to_string(2 * 1351680 / 256) + "ft (2 miles)");
    const int seconds = w[1]->arrival_time / 200 + 15;
    char expected[64];
    std::snprintf(expected, sizeof expected, "Time to this waypoint: %d:%.2d:%.2d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    EXPECT_EQ(text_of("Waypoint Time"), expected);
    const struct {
        int index;
        const char* shown;
    } cases[] = {{1, "Cap Start"}, {2, "Cap End"}, {3, "Initial Point"}, {4, "Target"}, {5, "Landing"}};
    for (const auto& c : cases) {
        select_waypoint(w[c.index]);
        refresh_waypoint_info();
        EXPECT_EQ(std::string(find(waypoint_info_box, "Type Text")->text), c.shown) << c.index;
    }
    select_waypoint(w[2]);
    Event event{EV_SELECT, 0, 0, 0, 0};
    find(waypoint_info_box, "Type Text")->notify(find(waypoint_info_box, "Type Text"), event);
    EXPECT_EQ(w[2]->type, WAYPOINT_TARGET) << "Cap End steps on to Target";
    select_waypoint(nullptr);
    refresh_waypoint_info();
    EXPECT_EQ(text_of("Waypoint Title"), "No Waypoint");
}

TEST_F(MapPlanner, TheTypeButtonStepsOnlyWithTheMissionPlannerAndDeployGetsItsRadius) {
    Drone* drone = turning_route(3);
    select_waypoint(drone->first_waypoint);
    UiObject* button = find(waypoint_info_box, "Type Text");
    Event event{EV_SELECT, 0, 0, 0, 0};
    mission_planner = 0;
    button->notify(button, event);
    EXPECT_EQ(drone->first_waypoint->type, WAYPOINT_DEPARTURE);
    mission_planner = 1;
    button->notify(button, event);
    EXPECT_EQ(drone->first_waypoint->type, WAYPOINT_DEPLOY);
    EXPECT_EQ(drone->first_waypoint->target_radius, 2520000);
}

TEST_F(MapPlanner, TheSpinnersOfAFixedWaypointGoBackAndAMiddleOneMoves) {
    Drone* drone = turning_route(3);
    UiObject* cell = nullptr;  // X's first digit: the first made of the two fields' first digits
    for (UiObject* child = waypoint_info_box->first_child; child; child = child->next_sibling)
        if (child->type == UI_SPINNER && child->param0 == 100000) cell = child;
    for (Waypoint* w : {drone->first_waypoint, drone->first_waypoint->next}) {
        select_waypoint(w);
        refresh_waypoint_info();
        const int32_t x0 = w->x, shown = *cell->variable;
        *cell->variable = shown + 100000;
        Event event{EV_SELECT, *cell->variable, 0, 0, 0};
        cell->notify(cell, event);
        if (!w->prev) {
            EXPECT_EQ(*cell->variable, shown) << "set back";
            EXPECT_EQ(w->x, x0);
        } else {
            EXPECT_EQ(w->x, metres_to_world(shown + 100000));
        }
    }
}

TEST_F(MapPlanner, TheTaskBoxListsThePilotAndHisWingmenAndARightClickSelectsOnly) {
    char name[] = "Longcallsign";
    PilotLog log{};
    log.name = name;
    current_pilot_log = &log;
    for (int i = 0; i < 4; ++i) turning_route(3);
    select_drone(drones[0]);
    rebuild_task_box(1);
    EXPECT_EQ(task_box->x1 - task_box->x0, 300);
    EXPECT_EQ(task_box->y1 - task_box->y0, 120);
    const std::string text = task_text->text;
    const std::string type = get_object_type_name(OBJ_VYR_WINGMAN);
    EXPECT_EQ(text, "\nLongcallsign: " + type + "\nWingman     : " + type + "\nWingman     : " + type +
                        "\nWingman     : " + type + "\n");
    EXPECT_EQ(task_text->selection, 1);
    const int line_height = task_text->font->height + 1;
    Event right{EV_MOUSE_CLICK, 2, task_text->x0 + 5, task_text->y0 + 3 * line_height + 1, 0};
    handle_task_click(task_text, right);
    EXPECT_EQ(task_text->selection, 3);
    EXPECT_EQ(selected_drone, drones[0]);
    Event left{EV_MOUSE_CLICK, 1, task_text->x0 + 5, task_text->y0 + 2 * line_height + 1, 0};
    handle_task_click(task_text, left);
    EXPECT_EQ(selected_drone, drones[1]);
    EXPECT_EQ(task_text->selection, 2);
}

TEST_F(MapPlanner, TheCameraJumpsCirclesOrFliesToItsTarget) {
    map_3d.camera.position = {CENTRE, CENTRE, 0};
    map_3d.speed = 0;
    map_3d.orbit = 0;
    set_3d_view_target(CENTRE + 4000000, CENTRE);
    map_3d.mode = MAP_3D_SAT;
    move_3d_camera(0.1);
    EXPECT_EQ(map_3d.camera.position.x, CENTRE + 4000000);
    EXPECT_EQ(map_3d.camera.position.z, 2560000);
    map_3d.mode = MAP_3D_POINT;
    move_3d_camera(1.0);
    const Vector3& p = map_3d.camera.position;
    EXPECT_NEAR(std::hypot(double(p.x) - map_3d.target_x, double(p.y) - map_3d.target_y), 76800, 2);
    EXPECT_EQ(map_3d.orbit, 1u << 28);
    map_3d.mode = MAP_3D_FLY;
    map_3d.camera.position = {CENTRE, CENTRE, 0};
    map_3d.speed = 0;
    for (int frame = 0; frame < 40; ++frame) {
        const int32_t before = map_3d.camera.position.x;
        move_3d_camera(0.5);
        EXPECT_LE(map_3d.camera.position.x - before, 512000 / 2) << "2,000 ft/s at most";
    }
    EXPECT_LT(std::abs(map_3d.camera.position.x - map_3d.target_x), 65536) << "come to rest on the target";
    const Vector3 rest = map_3d.camera.position;
    move_3d_camera(0.5);
    EXPECT_EQ(map_3d.camera.position.x, rest.x) << "and stays there";
    EXPECT_EQ(map_3d.camera.position.z, 25600);
    set_3d_view_target(rest.x + 4000000, rest.y + 4000000);
    move_3d_camera(0.01);
    EXPECT_NEAR(double(map_3d.heading), double(0x20000000u), 0x1000000) << "facing north-east at once";
}

}  // namespace
}  // namespace vyr
