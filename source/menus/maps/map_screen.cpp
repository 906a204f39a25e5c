#include "source/menus/maps/map_screen.h"

#include <cstdio>
#include <iterator>

#include "library/3dvisual/view.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/font.h"
#include "library/graphics/screen.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/ui/repaint.h"
#include "library/ui/screens.h"
#include "library/ui/setattr.h"
#include "library/ui/utext.h"
#include "source/drone/waypoint.h"
#include "source/menus/brief/briefing.h"
#include "source/menus/debrief/debrief.h"
#include "source/menus/front_end.h"
#include "source/menus/maps/map_key.h"
#include "source/menus/maps/map_layers.h"
#include "source/menus/maps/map_tools.h"
#include "source/menus/maps/map_view.h"
#include "source/menus/maps/task_box.h"
#include "source/menus/maps/waypoint_tool.h"
#include "source/menus/missions/payload.h"
#include "source/menus/prefs_screens.h"
#include "source/menus/speech.h"
#include "source/mission/mission_data.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/menu_choice.h"
#include "source/sknet/net_screens.h"
#include "source/startup.h"

namespace vyr {

// The map screen is looked for in these steps of the clock while it is pushed.
constexpr int MAP_UP_WAIT_UNITS = 50;

UiObject* map_screen = nullptr;
UiObject* map_exit_button = nullptr;
UiObject* debrief_exit_button = nullptr;
UiObject* map_tool_box = nullptr;
UiObject* map_remote_message = nullptr;
UiObject* waypoint_tool_box = nullptr;
UiObject* map_3d_view = nullptr;
UiObject* map_3d_graphic = nullptr;
UiObject* map_sprite = nullptr;
UiObject* met_box = nullptr;
UiObject* point_data_box = nullptr;
UiObject* point_data_text = nullptr;
UiObject* briefing_playback[4] = {};
UiObject* briefing_button = nullptr;
UiObject* briefing_takeoff_button = nullptr;
UiObject* subtitles_box = nullptr;
UiObject* subtitles_title = nullptr;
UiObject* subtitles_text = nullptr;
UiObject* subtitles_scrollbar = nullptr;
UiObject* log_box = nullptr;
UiObject* log_retry_button = nullptr;

namespace {

UiObject* save_button = nullptr;

constexpr uint32_t BOX_COLOUR = 252u * 0x01010101u;
constexpr int MENU_CHOICE_DEBRIEF_EXIT = 21;
constexpr int CAMERA_WIDTH = 18, CAMERA_HEIGHT = 12;
constexpr uint32_t ONE_DEGREE = 11930465;
constexpr int SAVE_BUTTON_ID = 19;
constexpr uint32_t UNSAVED_FILL = 247u * 0x01010101u, SAVED_FILL = 249u * 0x01010101u;

UiObject* waypoint_buttons[MAP_WAYPOINT_BUTTONS] = {};
UiObject* waypoint_insert = nullptr;
UiObject* waypoint_delete = nullptr;
UiObject* met_values[3] = {};
uint8_t camera_pixels[CAMERA_WIDTH * CAMERA_HEIGHT] = {};
Sprite camera_sprite = {CAMERA_WIDTH, CAMERA_HEIGHT, 0, 0, camera_pixels};

bool italian() { return product_language == LANG_ITALIAN; }

void show_save_state(int modified) { set_ui_attrs(save_button, ATTR_COLOUR, modified ? UNSAVED_FILL : SAVED_FILL); }

// A mission just loaded: its routes lettered and timed, the task box, the routes and the view.
void refresh_loaded_mission() {
    letter_selected_route();
    recalc_all_waypoint_times();
    yield_if_due();
    rebuild_task_box(0);
    build_route_draw_list();
    refresh_waypoint_info();
    yield_if_due();
    redraw_map();
}

UiObject* create_map_window(UiObject* map, const char* name, int x, int y, int width, int height) {
    return create_ui_object(UI_WINDOW, map, name, ATTR_POS, x, y, ATTR_SIZE, width, height, ATTR_CLOSE_BOX,
                            ATTR_MOVABLE, 1, ATTR_SHOWN, 0);
}

UiObject* create_label(UiObject* parent, const char* name, int x, int y, const char* text) {
    return create_ui_object(UI_TEXT, parent, name, ATTR_POS, x, y, ATTR_TEXT, text, ATTR_FONT, &menu_font, ATTR_FIT,
                            ATTR_INPUT, 0);
}

UiObject* create_map_button(UiObject* parent, UiType type, const char* name, int x, int y, int width, int height,
                            const char* text, int id, UiNotify notify) {
    return create_ui_object(type, parent, name, ATTR_POS, x, y, ATTR_SIZE, width, height, ATTR_TEXT, text, ATTR_FONT,
                            &menu_font, ATTR_ID, id, ATTR_NOTIFY, notify, ATTR_NOTIFY_EVENT, EV_SELECT);
}

void create_tool_box(UiObject* map) {
    map_tool_box = create_ui_object(UI_WINDOW, map, "Map Tool Box", ATTR_POS, display_width() - 82, 40, ATTR_SIZE, 82,
                                    161, ATTR_ON_TOP, 1, ATTR_COLOUR, BOX_COLOUR, ATTR_SHOWN, 1);
    create_label(map_tool_box, "Map Tool Box Title", 8, 1, "Map Tool Box");
    const struct {
        UiType type;
        const char* name;
        const char* text;
        int id;
    } buttons[7][2] = {
        {{UI_RADIO, "Map Zoom", "Zoom", 1}, {UI_RADIO, "Map Rotate", "Rotate", 4}},
        {{UI_RADIO, "Map Waypoint", "Way", 7}, {UI_RADIO, "No Tool", "Disable", 0}},
        {{UI_BUTTON, "Map Zoom Out", "Back", 2}, {UI_BUTTON, "Map Fit", "Fit", 3}},
        {{UI_BUTTON, "Map Key Button", "Key", 6}, {UI_BUTTON, "Map Met Button", "Met", 8}},
        {{UI_BUTTON, "Map 3D", "3D", 17}, {UI_BUTTON, "Map Payload", "Pay", 18}},
        {{UI_BUTTON, "Map Point Data", "Point", 9}, {UI_BUTTON, "Map Task Button", "Task", 21}},
        {{UI_BUTTON, "Save", "Save", 19}, {UI_BUTTON, "Restore", "Restore", 28}},
    };
    const int tops[7] = {17, 37, 61, 81, 101, 121, 141};
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 2; ++column) {
            const auto& b = buttons[row][column];
            UiObject* button = create_map_button(map_tool_box, b.type, b.name, column ? 42 : 2, tops[row], 38, 18,
                                                 b.text, b.id, handle_map_tool_button);
            if (b.id == MAP_TOOL_NONE) set_ui_state(button, 1);
            if (b.id == SAVE_BUTTON_ID) save_button = button;
        }
}

void create_waypoint_tool_box(UiObject* map) {
    waypoint_tool_box = create_map_window(map, "Waypoint Tool Box", 34, 0, 202, 106);
    waypoint_insert = create_map_button(waypoint_tool_box, UI_BUTTON, "Waypoint Tool Insert", 22, 2, 38, 18, "Ins", 0,
                                        insert_map_waypoint);
    waypoint_delete = create_map_button(waypoint_tool_box, UI_BUTTON, "Waypoint Tool Delete", 62, 2, 38, 18, "Del", 0,
                                        delete_map_waypoint);
    create_map_button(waypoint_tool_box, UI_TOGGLE, "Waypoint Tool Information", 102, 2, 38, 18, "Info", 0,
                      toggle_waypoint_info);
    for (int i = 0; i < MAP_WAYPOINT_BUTTONS; ++i) {
        const char letter[2] = {char('A' + i % 26), 0};
        waypoint_buttons[i] = create_map_button(waypoint_tool_box, UI_RADIO, "Waypoint Button", 2 + 20 * (i % 10),
                                                22 + 20 * (i / 10), 18, 18, letter, i, choose_map_waypoint);
    }
}

void create_3d_view(UiObject* map) {
    const int w = display_width(), h = display_height();
    map_3d_view = create_ui_object(UI_WINDOW, map, "Map 3D View", ATTR_POS, 100, 100, ATTR_SIZE, w / 2, h / 2 + 20,
                                   ATTR_CLOSE_BOX, ATTR_RESIZE_BOX, ATTR_MOVABLE, 1, ATTR_SHOWN, 0, ATTR_NOTIFY,
                                   handle_map_event, ATTR_NOTIFY_EVENT, EV_SIZE);
    map_3d_graphic = create_ui_object(UI_CANVAS, map_3d_view, "Map 3D Graphic", ATTR_POS, 1, 1, ATTR_SIZE, w / 2 - 2,
                                      h / 2 - 2, ATTR_INPUT, 0);
    create_ui_screen(map_3d_graphic);
    const char* const names[] = {"Map 3D Satalite", "Map 3D Rotation", "Map 3D Random"};
    const char* const texts[] = {"Sat", "Point", "Fly"};
    for (int i = 0; i < 3; ++i) {
        UiObject* radio = create_map_button(map_3d_view, UI_RADIO, names[i], 2 + 45 * i, h / 2 + 1, 41, 15, texts[i],
                                            i + 1, handle_map_tool_button);
        if (i == 2) set_ui_state(radio, 1);
    }
}

void create_met_box(UiObject* map) {
    met_box = create_map_window(map, "Met Box", 10, 10, 210, 90);
    create_label(met_box, "Met Box Title", 40, 2, "Meteorological Information");
    const char* const labels[] = {"Wind Strength      :", "Wind Direction      :", "Weather condition  :"};
    for (int i = 0; i < 3; ++i) {
        create_label(met_box, "Met Box Label", 4, 20 + 20 * i, labels[i]);
        met_values[i] = create_label(met_box, "Met Box Value", 130, 20 + 20 * i, "Unknown");
    }
}

void create_briefing_controls(UiObject* map) {
    const char* const names[] = {"Briefing Start", "Briefing Back", "Briefing Forward", "Briefing End"};
    const char* const texts[] = {"<<", "<", ">", ">>"};
    const UiNotify notifies[] = {briefing_start, briefing_back, briefing_forward, briefing_end};
    for (int i = 0; i < 4; ++i) {
        briefing_playback[i] = create_map_button(map, UI_BUTTON, names[i], 217 + 52 * i, 459, 50, 20, texts[i], 0,
                                                 notifies[i]);
        show_ui_object(briefing_playback[i], 0);
    }
    briefing_button = create_map_button(map, UI_BUTTON, "Briefing", display_width() - 82, 0, 82, 18, "Briefing", 0,
                                        toggle_briefing_subtitles);
    briefing_takeoff_button = create_map_button(map, UI_BUTTON, "Briefing Takeoff", display_width() - 82, 20, 82, 18,
                                                italian() ? "Decollo" : "Takeoff", 0, briefing_takeoff);
    show_ui_object(briefing_takeoff_button, 0);
}

void create_subtitles_box(UiObject* map) {
    subtitles_box = create_map_window(map, "Subtitles Box", 70, 400, 500, 50);
    show_ui_object(subtitles_box, 1);
    subtitles_title = create_ui_object(UI_TEXT, subtitles_box, "Briefing Subtitles", ATTR_POS, 20, 2, ATTR_SIZE, 500,
                                       20, ATTR_TEXT, "Briefing Subtitles", ATTR_FONT, &menu_font, ATTR_INPUT, 0);
    subtitles_text = create_ui_object(UI_TEXT, subtitles_box, "Subtitles Text", ATTR_POS, 20, 18, ATTR_SIZE, 470, 30,
                                      ATTR_TEXT, "No briefing.", ATTR_FONT, &menu_font, ATTR_WRAP, 1,
                                      ATTR_SELECTED_LINE, 0);
    create_map_button(subtitles_box, UI_BUTTON, "Subtitles Min/Max", 484, 0, 16, 16, "", 50, toggle_subtitles_size);
    subtitles_scrollbar = create_ui_object(UI_SCROLL_V, subtitles_box, "Subtitles Scrollbar", ATTR_POS, 2, 18,
                                           ATTR_SIZE, 12, 30, ATTR_NOTIFY, scroll_subtitles, ATTR_NOTIFY_EVENT,
                                           EV_SCROLL, ATTR_NOTIFY_ADD, EV_SELECT);
    link_text_scroller(subtitles_text, subtitles_scrollbar);
}

void create_log_box(UiObject* map) {
    log_box = create_ui_object(UI_WINDOW, map, "Debrief Log Do Not Log Box", ATTR_POS, 170, 140, ATTR_SIZE, 240, 100,
                               ATTR_CLOSE_BOX, ATTR_INPUT, 0, ATTR_ON_TOP, 1, ATTR_SHOWN, 1);
    create_ui_object(UI_TEXT, log_box, "Log Box Title", ATTR_POS, 20, 2, ATTR_SIZE, 500, 20, ATTR_TEXT,
                     "Do you wish to log this mission?", ATTR_FONT, &menu_font, ATTR_INPUT, 0);
    create_map_button(log_box, UI_BUTTON, "Yeap", 30, 50, 79, 15, "Yes", 0, log_flown_mission);
    create_map_button(log_box, UI_BUTTON, "No", 120, 50, 79, 15, "No", 0, skip_logging);
    log_retry_button = create_map_button(log_box, UI_BUTTON, "Retry", 75, 75, 79, 15, "Retry", 0, retry_mission);
}

}  // namespace

void create_map_screen() {
    map_screen = create_ui_object(UI_CANVAS, ui_root, "Map Screen", ATTR_NOTIFY, handle_map_event, ATTR_DRAW_EVENT, 1,
                                  ATTR_SHOWN, 0);
    build_map_boxes(map_screen);
    const char* exit_text = italian() ? "Esci" : "Exit";
    const int x = display_clip_x1 - 55, y = display_clip_y1 - 15;
    map_exit_button = create_map_button(map_screen, UI_BUTTON, "Map exit button", x, y, 55, 15, exit_text, 0,
                                        close_map_screen);
    debrief_exit_button = create_map_button(map_screen, UI_BUTTON, "Debrief exit button", x, y, 55, 15, exit_text, 0,
                                            close_debrief_map);
    show_ui_object(debrief_exit_button, 0);
    set_mission_map_hooks(show_save_state, refresh_loaded_mission);
}

void build_map_boxes(UiObject* map) {
    set_ui_attrs(map, ATTR_RECT, display_clip_x0, display_clip_y0, display_clip_x1, display_clip_y1);
    set_map_view_rotated(MAP_WORLD_MIDDLE, MAP_WORLD_MIDDLE, 0, 0);
    create_map_layers();
    set_ui_attrs(map, ATTR_SCREEN, composite_b);
    create_tool_box(map);
    map_remote_message = create_ui_object(UI_TOGGLE, map, "Remote Controlled message", ATTR_RECT, 0, 0, 120, 20,
                                          ATTR_TEXT, "Remote Controlled", ATTR_FONT, &menu_font, ATTR_INPUT, 0,
                                          ATTR_SHOWN, 0, ATTR_RAISE);
    create_map_key_box(map);
    create_waypoint_tool_box(map);
    create_waypoint_info_box(map);
    create_3d_view(map);
    map_sprite = create_ui_object(UI_SPRITE, map, "Map Sprite", ATTR_POS, 320, 240, ATTR_SIZE, CAMERA_WIDTH, 11,
                                  ATTR_SPRITE, &camera_sprite, ATTR_INPUT, 0, ATTR_AT_BACK, 1, ATTR_SHOWN, 0);
    create_payload_screen(map);
    create_met_box(map);
    create_task_box(map);
    point_data_box = create_map_window(map, "Point Data Box", 10, 10, 180, 75);
    point_data_text = create_label(point_data_box, "Point Data Text", 4, 20, "Point Data");
    create_briefing_controls(map);
    create_subtitles_box(map);
    create_log_box(map);
}

void close_map_screen(UiObject*, Event&) {
    choose_menu_music();
    pop_screen();
}

void close_debrief_map(UiObject*, Event& event) {
    if (game_mode == GAME_SINGLE) {
        ask_log_mission();
        return;
    }
    send_menu_choice(MENU_CHOICE_DEBRIEF_EXIT, event);
    choose_menu_music();
    push_two_player_screen();
    show_ui_object(map_exit_button, 1);
    show_ui_object(debrief_exit_button, 0);
}

void update_met_box() {
    char text[32];
    std::snprintf(text, sizeof text, "%d Kts", int(wind_speed));
    set_ui_text(met_values[0], text);
    // Taken unsigned, as the mission is written: a signed angle past the half turn would show
    // one degree too many.
    std::snprintf(text, sizeof text, "%d Degs", int(wind_direction / ONE_DEGREE));
    set_ui_text(met_values[1], text);
    const char* const conditions[] = {"Clear", "Overcast", "Light Fog", "Thick Fog"};
    const int weather = view_settings.weather;
    set_ui_text(met_values[2], weather >= 0 && weather < int(std::size(conditions)) ? conditions[weather] : "Unknown");
}

// A map whose Waypoint Tool Box was made without its buttons (a test's) has none to set.
UiObject* waypoint_button(int i) { return i >= 0 && i < MAP_WAYPOINT_BUTTONS ? waypoint_buttons[i] : nullptr; }

void show_waypoint_button(int i, int on) {
    if (UiObject* button = waypoint_button(i)) show_ui_object(button, on);
}
void set_waypoint_button_state(int i, int state) {
    if (UiObject* button = waypoint_button(i)) set_ui_state(button, state);
}
void set_waypoint_button_label(int i, char letter) {
    const char text[2] = {letter, 0};
    if (UiObject* button = waypoint_button(i)) set_ui_text(button, text);
}
void show_waypoint_insert_delete(int insert, int remove) {
    if (!waypoint_insert) return;
    show_ui_object(waypoint_insert, insert);
    show_ui_object(waypoint_delete, remove);
}

// A mission opened without the menus built (a test's) has no map to show it on.
void set_map_subtitles(const char* title, const char* text) {
    if (!map_screen) return;
    set_ui_text(subtitles_title, title);
    yield_thread();
    set_ui_text(subtitles_text, text);
    set_ui_top_line(subtitles_text, 0);
    link_text_scroller(subtitles_text, subtitles_scrollbar);
}

void show_map_screen() {
    if (!map_screen) return;
    fade_screen_out();
    push_screen_now(map_screen);
    while (!(map_screen->flags & UIF_SHOWN)) sleep_thread(MAP_UP_WAIT_UNITS);
    resume_ui_updates();
    yield_thread();
    fade_screen_in();
    set_pointer_shape(pointer_arrow);
}

void return_map_screen_to_local_control() {
    show_ui_object(map_tool_box, mission_planner != 0);
    show_ui_object(briefing_takeoff_button, 1);
    show_ui_object(map_exit_button, 1);
    show_ui_object(map_remote_message, 0);
}

}  // namespace vyr
