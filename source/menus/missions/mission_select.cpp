#include "source/menus/missions/mission_select.h"

#include <array>
#include <cstdio>
#include <string>

#include "library/graphics/display.h"
#include "library/graphics/font.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/ui/repaint.h"
#include "library/ui/screens.h"
#include "library/ui/setattr.h"
#include "library/ui/upicture.h"
#include "library/ui/utext.h"
#include "source/menus/brief/briefing.h"
#include "source/menus/debrief/debrief.h"
#include "source/menus/front_end.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/maps/map_screen.h"
#include "source/menus/maps/map_view.h"
#include "source/menus/missions/catalogue.h"
#include "source/menus/notify.h"
#include "source/menus/screens.h"
#include "source/menus/speech.h"
#include "source/mission/game_flow.h"
#include "source/mission/mission.h"
#include "source/mission/mission_data.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "source/sknet/menu_choice.h"
#include "source/weapons/stores.h"

namespace vyr {

UiObject* missions_select_screen = nullptr;
int32_t map_entered_from_list = 0;
UiObject* mission_list = nullptr;

namespace {

constexpr int MENU_CHOICE_LOAD = 17;
constexpr int MENU_CHOICE_SELECT = 18;
constexpr int LEVEL_BUTTONS = 10;

UiObject* description_box = nullptr;
UiObject* remote_message = nullptr;
std::array<UiObject*, LEVEL_BUTTONS> level_buttons = {};
UiObject* number_column = nullptr;
UiObject* tick_column = nullptr;
UiObject* description = nullptr;
UiObject* load_button = nullptr;
std::array<UiObject*, 6> small_buttons = {};

// This machine mirrors the choices made on the other one.
bool following() { return two_player_position == 2; }

int flow_speech_code() {
    switch (get_game_flow()) {
    case FLOW_TRAINING: return 10;
    case FLOW_CAMPAIGN: return 3;
    default: return 6;
    }
}

void speak_listed_mission(int line) {
    speech_mission_index = line + 1;
    play_menu_speech(flow_speech_code());
}

// The menu font's signs for a pilot's result: outstanding, success and failure are its glyphs 1,
// 2 and 3.
char result_sign(int result) {
    switch (result) {
    case LOG_NOT_FLOWN: return '.';
    case LOG_FAILED: return '\3';
    case LOG_SUCCESSFUL: return '\2';
    case LOG_OUTSTANDING: return '\1';
    default: return '-';
    }
}

Mission* listed_mission(int n) {
    if (n < 0) return nullptr;
    Mission* mission = first_listed_mission();
    for (int i = 0; mission && i < n; ++i) mission = next_listed_mission(mission);
    return mission;
}

// No line selected: a cleared selection would leave line 0 selected, and the first mission could
// not be chosen by a click on it.
void clear_list_selection() {
    clear_ui_selection(mission_list, 0);
    set_ui_attrs(mission_list, ATTR_SELECTED_LINE, -1);
}

void clear_description() {
    show_ui_object(description_box, 0);
    set_ui_text(description, nullptr);
}

}  // namespace

void create_mission_screen() {
    UiObject* screen = create_menu_screen("Missions Select Screen", "menuscrn\\cyprus.lbm", missions_screen_shown);
    missions_select_screen = screen;
    description_box = create_ui_object(UI_BOX, screen, "Mission Select Screen Background", ATTR_RECT, 330, 70, 625,
                                       370, ATTR_TRANSPARENT, 1, ATTR_SHOWN, 0);
    remote_message = create_ui_object(UI_TEXT, screen, "Remote Controlled message", ATTR_RECT, display_width() - 120,
                                      0, display_width() - 1, 19, ATTR_TEXT, "Remote Controlled", ATTR_FONT,
                                      &menu_font, ATTR_INPUT, 0, ATTR_SHOWN, 0);
    for (int k = 0; k < LEVEL_BUTTONS; ++k) {
        const std::string label = std::to_string(k + 1);
        level_buttons[k] = create_ui_object(UI_RADIO, screen, "Mission Level", ATTR_RECT, 170 + 18 * k, 2,
                                            186 + 18 * k, 20, ATTR_TEXT, label.c_str(), ATTR_FONT, &menu_font, ATTR_ID,
                                            k + 1, ATTR_SHOWN, 0, ATTR_NOTIFY, choose_mission_level,
                                            ATTR_NOTIFY_EVENT, EV_SELECT);
    }
    number_column = create_ui_object(UI_TEXT, screen, "Mission Number", ATTR_RECT, 0, 34, 20, display_height() - 32,
                                     ATTR_FONT, &menu_font, ATTR_SHOWN, 0, ATTR_INPUT, 0);
    mission_list = create_ui_object(UI_TEXT, screen, "Mission List", ATTR_RECT, 18, 78, 292, 407, ATTR_FONT,
                                    &menu_font, ATTR_TEXT_COLOUR, COLOUR_UI_TEXT, ATTR_TRANSPARENT, 1,
                                    ATTR_SELECTABLE, 1, ATTR_NOTIFY, select_mission_from_list, ATTR_NOTIFY_EVENT,
                                    EV_MOUSE_CLICK, ATTR_NOTIFY_ADD, EV_MOUSE_MOVE, ATTR_NOTIFY_ADD,
                                    EV_MOUSE_DBL_CLICK);
    tick_column = create_ui_object(UI_TEXT, screen, "Mission Ticks", ATTR_RECT, 292, 74, 305, 415, ATTR_FONT,
                                   &menu_font, ATTR_TEXT_COLOUR, COLOUR_UI_TEXT, ATTR_TRANSPARENT, 1, ATTR_INPUT, 0);
    description = create_ui_object(UI_TEXT, description_box, "Missions Info Text", ATTR_POS, 8, 8, ATTR_SIZE, 283,
                                   284, ATTR_FONT, &menu_font, ATTR_WRAP, 1, ATTR_TEXT_COLOUR, COLOUR_UI_TEXT,
                                   ATTR_TRANSPARENT, 1);
    load_button = create_menu_button(screen, "Load Mission", 528, 395, 639, 426, "menuscrn\\mp_commi.bbm",
                                     load_chosen_mission);
    small_buttons = create_zone_bar(screen, "mp_");
}

void dress_mission_screens(int zone) {
    const struct {
        const char* background;
        const char* prefix;
    } dresses[] = {{"menuscrn\\m_is_off.lbm", "mi_"},
                   {"menuscrn\\m_ko_off.lbm", "mk_"},
                   {"menuscrn\\m_cy_off.lbm", "mc_"},
                   {"menuscrn\\m_af_off.lbm", "ma_"},
                   {"menuscrn\\training.lbm", "tr_"}};
    if (zone < 1 || zone > int(std::size(dresses))) return;
    const auto& dress = dresses[zone - 1];
    set_ui_picture(missions_select_screen, dress.background);
    dress_zone_bar(small_buttons, dress.prefix);
    set_ui_picture(load_button, (std::string("menuscrn\\") + dress.prefix + "commi.bbm").c_str());
    show_ui_object(description_box, 0);
}

void compile_mission_list() {
    set_ui_text(number_column, nullptr);
    set_ui_text(tick_column, nullptr);
    set_ui_text(mission_list, "Compiling Mission List ...\n");
    const bool campaign = get_game_flow() == FLOW_CAMPAIGN;
    for (UiObject* button : level_buttons) show_ui_object(button, campaign);
    sort_mission_catalogue();
    std::string numbers, titles, ticks;
    for (Mission* mission = first_listed_mission(); mission; mission = next_listed_mission(mission)) {
        const bool first = numbers.empty();
        char number[16];
        std::snprintf(number, sizeof number, first ? "%3d" : "\n%3d", int(mission->number));
        numbers += number;
        if (!first) titles += '\n';
        titles += mission->title ? mission->title : "";
        if (!first) ticks += '\n';
        const int result = current_pilot_log ? find_log_mission_result(current_pilot_log, mission->zone,
                                                                       campaign ? 1 : 0, mission->number)
                                             : LOG_NOT_FLOWN;
        ticks += result_sign(result);
    }
    set_ui_text(number_column, numbers.c_str());
    set_ui_text(mission_list, titles.c_str());
    set_ui_text(tick_column, ticks.c_str());
}

int select_listed_mission(int n) {
    if (!following()) send_menu_choice(MENU_CHOICE_SELECT, Event{EV_SELECT, 0, n, 0, 0});
    Mission* mission = listed_mission(n);
    current_mission = mission;
    if (!mission) {
        clear_description();
        return 0;
    }
    show_ui_object(description_box, 1);
    set_ui_text(description, mission->description);
    set_ui_top_line(description, 0);
    return 1;
}

void missions_screen_shown(UiObject*, Event& event) {
    clear_list_selection();
    clear_description();
    show_ui_object(load_button, 0);
    if (!event.value) return;
    compile_mission_list();
    const bool training = get_game_flow() == FLOW_TRAINING;
    set_ui_state(training_toggles[1], training && unlimited_weapons);
    set_ui_state(training_toggles[0], training && invincible);
}

void select_mission_from_list(UiObject* object, Event& event) {
    if (following()) {
        // A line past this machine's list (the two lists may differ) selects nothing.
        const int line = event.x;
        clear_list_selection();
        if (!listed_mission(line)) {
            current_mission = nullptr;
            clear_description();
            return;
        }
        set_ui_attrs(object, ATTR_SELECTED_LINE, line);
        if (select_listed_mission(line)) speak_listed_mission(line);
        return;
    }
    if (event.type != EV_MOUSE_CLICK || event.value != 1) return;
    select_font(object->font);
    const int line = (event.y - object->y0) / get_line_height() + object->param2;
    if (line == object->selection) return;
    show_ui_object(load_button, 0);
    set_ui_attrs(object, ATTR_SELECTED_LINE, line);
    if (!select_listed_mission(line)) return;
    speak_listed_mission(line);
    show_ui_object(load_button, 1);
}

void load_chosen_mission(UiObject*, Event& event) {
    if (!send_menu_choice(MENU_CHOICE_LOAD, event)) return;  // no active pilot: the log screen instead
    const int line = following() ? event.value : mission_list->selection;
    Mission* mission = listed_mission(line);
    if (mission) start_chosen_mission(mission);
}

void start_chosen_mission(Mission* mission) {
    set_pointer_shape(pointer_wait);
    suspend_ui_updates();
    set_debrief_texts(mission->failure, mission->success, mission->outstanding);
    map_entered_from_list = 1;
    mission_modified = 0;
    current_mission = mission;
    if (!load_mission(mission)) {  // the player's own data file was refused: the list stays
        resume_ui_updates();
        set_pointer_shape(pointer_arrow);
        return;
    }
    set_back_hook(map_back_hook);
    fit_map_to_routes();
    yield_thread();
    set_map_subtitles(mission->title, mission->description);
    yield_thread();
    do_briefing(mission->briefing);
    show_map_screen();
}

int map_back_hook() {
    set_back_hook(nullptr);
    return map_entered_from_list && mission_modified ? 0 : 1;
}

void choose_mission_level(UiObject* object, Event&) {
    if (current_pilot_log) set_campaign_level(current_pilot_log, object->id);
    set_mission_filter_level(object->id);
    compile_mission_list();
}

Mission* get_current_mission() { return current_mission; }
void set_current_mission(Mission* mission) { current_mission = mission; }

void delete_current_mission() {
    Mission* mission = current_mission;
    if (!mission) return;
    current_mission = nullptr;
    delete_mission(mission);
    free_mission_record(mission);
}

void return_mission_screen_to_local_control() {
    for (UiObject* button : small_buttons) show_ui_object(button, 1);
    show_ui_object(load_button, 1);
    set_ui_attrs(mission_list, ATTR_INPUT, 1);
    show_ui_object(remote_message, 0);
}

}  // namespace vyr
