#include "source/menus/screens.h"

#include <array>
#include <iterator>
#include <string>

#include "library/3dvisual/plan_map.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/display.h"
#include "library/graphics/font.h"
#include "library/graphics/loadgfx.h"
#include "library/graphics/rect.h"
#include "library/sound/music.h"
#include "library/ui/screens.h"
#include "library/ui/setattr.h"
#include "library/ui/upicture.h"
#include "library/ui/utext.h"
#include "source/hotkeys.h"
#include "source/menus/debrief/debrief.h"
#include "source/menus/front_end.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/maps/map_screen.h"
#include "source/menus/missions/mission_select.h"
#include "source/menus/notify.h"
#include "source/menus/prefs_screens.h"
#include "source/menus/recognition.h"
#include "source/menus/top_ten.h"
#include "source/mission/quick_start.h"
#include "source/sknet/net_screens.h"

namespace vyr {

UiObject* exit_screen = nullptr;
UiObject* main_screen = nullptr;
UiObject* quick_start_screen = nullptr;
UiObject* tv_scores_screen = nullptr;
UiObject* help_pages[4] = {};
UiObject* game_screen = nullptr;
UiObject* combat_screen = nullptr;
UiObject* movie_backdrop = nullptr;
UiObject* situation_screen = nullptr;
UiObject* situation_text = nullptr;
UiObject* training_toggles[2] = {};
UiObject* award_screens[4] = {};
UiObject* air_combat_radio = nullptr;
UiObject* ground_combat_radio = nullptr;

namespace {

void ignore_display(UiObject*, Event&) {}

// The six slots of the small-button bar along the bottom; neighbours overlap.
constexpr std::array<std::array<int, 4>, 6> BAR_SLOTS = {{{0, 445, 111, 476},
                                                          {106, 445, 217, 476},
                                                          {212, 445, 323, 476},
                                                          {320, 445, 431, 476},
                                                          {425, 445, 536, 476},
                                                          {526, 445, 637, 476}}};

struct BarButton {
    const char* name;
    UiNotify notify;
};
const BarButton MAIN = {"Small Main Button", go_main_screen};
const BarButton HELP = {"Small Help Button", show_help_screen};
const BarButton PREFS = {"Small Prefs Button", show_preferences_screen};
const BarButton LOG = {"Small Log Button", show_log_screen};
const BarButton RECOG = {"Small Recog Button", show_recognition_screen};
const BarButton ANIMS = {"Small Anims Button", play_next_movie};
const BarButton BACK = {"Small Back Button", go_back_screen};
const BarButton QUIT = {"Small Quit Button", show_exit_screen};

// Each screen's bar: its buttons in the slots and their pictures, "menuscrn\<prefix><suffix>.bbm".
std::array<UiObject*, 6> create_bar(UiObject* screen, const char* prefix, const std::array<BarButton, 6>& buttons,
                                    const std::array<const char*, 6>& suffixes) {
    std::array<UiObject*, 6> bar = {};
    for (size_t i = 0; i < buttons.size(); ++i) {
        const std::string picture = std::string("menuscrn\\") + prefix + suffixes[i] + ".bbm";
        bar[i] = create_bar_button(screen, int(i), buttons[i].name, picture.c_str(), buttons[i].notify);
    }
    return bar;
}

std::array<UiObject*, 4> map_buttons = {};
UiObject* remote_message = nullptr;
std::array<UiObject*, 6> game_bar = {};

void create_exit_screen() {
    exit_screen = create_menu_screen("Exit Screen", "menuscrn\\exit_off.lbm");
    UiObject* quit = create_menu_button(exit_screen, "Quit Game", 525, 445, 636, 476, "menuscrn\\ex_quit.bbm", quit_game);
    UiObject* stay = create_menu_button(exit_screen, "Don't Quit Game", 420, 445, 531, 476, "menuscrn\\ex_back.bbm",
                                        close_exit_screen);
    set_ui_attrs(quit, ATTR_TRANSPARENT, 0);
    set_ui_attrs(stay, ATTR_TRANSPARENT, 0);
    UiObject* credits = create_ui_object(UI_TEXT, exit_screen, "Credits", ATTR_POS, 110, 15, ATTR_SIZE, 500, 420,
                                         ATTR_FONT, &font_large, ATTR_TOP_LINE, 0, ATTR_SHADOW, 1, ATTR_INPUT, 0);
    const char* const lines[] = {"VYR COMBAT FLIGHT SIMULATOR\n", "\n", "Design, code, art and sound\n",
                                 "  the Vyr team\n", "\n", "Thanks for flying with us.\n"};
    for (const char* line : lines) append_ui_text(credits, line);
}

void create_main_screen() {
    main_screen = create_menu_screen("Main Screen", "menuscrn\\main_off.lbm", main_screen_shown);
    create_menu_button(main_screen, "Quick Button", 400, 37, 639, 108, "menuscrn\\mn_qstrt.bbm",
                       show_quick_start_screen);
    create_menu_button(main_screen, "Combat Button", 400, 180, 639, 251, "menuscrn\\mn_comba.bbm", show_combat_screen);
    create_menu_button(main_screen, "Training Button", 400, 323, 639, 394, "menuscrn\\mn_train.bbm", start_training);
    create_bar(main_screen, "mn_", {HELP, PREFS, LOG, RECOG, ANIMS, QUIT},
               {"help", "prefs", "log", "recog", "anim", "quit"});
}

void create_quick_start_screen() {
    quick_start_screen = create_menu_screen("Quick Start Screen", "menuscrn\\qs_off.lbm", quick_start_screen_shown);
    create_menu_button(quick_start_screen, "Quick Start Warzone 1", 404, 38, 639, 103, "menuscrn\\qs_wz1.bbm",
                       quick_start_zone_1);
    create_menu_button(quick_start_screen, "Quick Start Warzone 2", 403, 109, 639, 173, "menuscrn\\qs_wz2.bbm",
                       quick_start_zone_2);
    create_menu_button(quick_start_screen, "Quick Start Warzone 3", 403, 179, 639, 242, "menuscrn\\qs_wz3.bbm",
                       quick_start_zone_3);
    create_menu_button(quick_start_screen, "Quick Start Warzone 4", 404, 251, 639, 313, "menuscrn\\qs_wz4.bbm",
                       quick_start_zone_4);
    UiObject* area = create_ui_object(UI_BOX, quick_start_screen, "Quickstart game type area", ATTR_RECT, 365, 370,
                                      591, 401, ATTR_TRANSPARENT, 1, ATTR_INPUT, 0);
    air_combat_radio = create_ui_object(UI_RADIO, area, "Air combat button", ATTR_RECT, 0, 0, 111, 31, ATTR_PICTURE,
                                        "menuscrn\\qs_airco.bbm", ATTR_TRANSPARENT, 1, ATTR_NOTIFY,
                                        choose_quick_start_kind, ATTR_NOTIFY_EVENT, EV_MOUSE_CLICK);
    ground_combat_radio = create_ui_object(UI_RADIO, area, "Gnd combat button", ATTR_RECT, 115, 0, 226, 31,
                                           ATTR_PICTURE, "menuscrn\\qs_groun.bbm", ATTR_TRANSPARENT, 1, ATTR_NOTIFY,
                                           choose_quick_start_kind, ATTR_NOTIFY_EVENT, EV_MOUSE_CLICK);
    set_ui_state(air_combat_radio, 1);
    set_ui_state(ground_combat_radio, 0);
    set_quick_start_kind(1);
    create_bar(quick_start_screen, "qs_", {HELP, PREFS, LOG, RECOG, BACK, QUIT},
               {"help", "prefs", "logs", "recog", "back", "quit"});
    create_ui_object(UI_TOGGLE, quick_start_screen, "Invincible button on", ATTR_RECT, 425, 330, 536, 361,
                     ATTR_PICTURE, "menuscrn\\qs_invin.bbm", ATTR_TRANSPARENT, 1, ATTR_SHOWN, 1, ATTR_STATE, 0,
                     ATTR_NOTIFY, toggle_quick_start_invincible, ATTR_NOTIFY_EVENT, EV_SELECT);
}

// Digits 0 to 9 stacked in one picture, shown four at a time.
void create_tv_scores_screen() {
    constexpr int DIGIT_WIDTH = 44, DIGIT_HEIGHT = 50;
    static uint8_t* digits = nullptr;
    static Sprite digit_sprites[10];
    int width = 0, height = 0;
    load_picture("menuscrn\\tv_score.bbm", &digits, &width, &height);
    for (int d = 0; d < 10; ++d)
        digit_sprites[d] = {DIGIT_WIDTH, DIGIT_HEIGHT, 0, 0,
                            digits && width == DIGIT_WIDTH && height >= 10 * DIGIT_HEIGHT
                                ? digits + size_t(d) * DIGIT_WIDTH * DIGIT_HEIGHT
                                : nullptr};
    tv_scores_screen = create_menu_screen("TV Scores Screen", "menuscrn\\tv_demo.lbm", ignore_display);
    UiObject* area = create_ui_object(UI_BOX, tv_scores_screen, "Sprite area", ATTR_RECT, 437, 200, 613, 250,
                                      ATTR_TRANSPARENT, 1);
    const char* const names[] = {"Column 1 Sprite", "Column 2 Sprite", "Column 3 Sprite", "Column 4 Sprite"};
    for (int i = 0; i < 4; ++i)
        if (digit_sprites[0].pixels)
            create_ui_object(UI_SPRITE, area, names[i], ATTR_POS, i * DIGIT_WIDTH, 0, ATTR_SIZE, DIGIT_WIDTH,
                             DIGIT_HEIGHT, ATTR_SPRITE, &digit_sprites[0]);
    const auto& slot = BAR_SLOTS[5];
    create_menu_button(tv_scores_screen, BACK.name, slot[0], slot[1], slot[2], slot[3], "menuscrn\\qs_quit.bbm",
                       BACK.notify);
}

void create_help_pages() {
    const UiNotify forward[] = {help_forward_1, help_forward_2, help_forward_3, help_forward_4};
    const UiNotify back[] = {help_back_1, help_back_2, help_back_3, help_back_4};
    const UiNotify leave[] = {help_exit_1, help_exit_2, help_exit_3, help_exit_4};
    for (int page = 0; page < 4; ++page) {
        const std::string name = "Help page " + std::to_string(page + 1);
        const std::string picture = "menuscrn\\h" + std::to_string(page + 1) + "_off.lbm";
        help_pages[page] = create_menu_screen(name.c_str(), picture.c_str());
        create_menu_button(help_pages[page], "Forward Button", 320, 445, 413, 476, "menuscrn\\hl_forwa.bbm",
                           forward[page]);
        create_menu_button(help_pages[page], "Back Button", 425, 445, 536, 476, "menuscrn\\hl_back.bbm", back[page]);
        create_menu_button(help_pages[page], "Exit Button", 526, 445, 637, 476, "menuscrn\\hl_exit.bbm", leave[page]);
    }
}

void create_game_screen() {
    game_screen = create_menu_screen("Game Screen", "menuscrn\\wz_off.lbm");
    const struct {
        const char* name;
        int x0, y0, x1, y1;
        const char* picture;
        UiNotify notify;
    } maps[] = {{"Europe Map", 400, 36, 639, 107, "menuscrn\\wz_israe.bbm", choose_war_zone_1},
                {"Korea Map", 400, 132, 639, 203, "menuscrn\\wz_korea.bbm", choose_war_zone_2},
                {"Cyprus Map", 400, 229, 639, 300, "menuscrn\\wz_cypru.bbm", choose_war_zone_3},
                {"Afghan Map", 404, 325, 639, 389, "menuscrn\\wz_afgha.bbm", choose_war_zone_4}};
    for (size_t i = 0; i < std::size(maps); ++i) {
        const auto& map = maps[i];
        map_buttons[i] = create_menu_button(game_screen, map.name, map.x0, map.y0, map.x1, map.y1, map.picture,
                                            map.notify);
        set_ui_attrs(map_buttons[i], ATTR_NOTIFY_ADD, EV_ENTER, ATTR_NOTIFY_ADD, EV_LEAVE);
    }
    remote_message = create_ui_object(UI_TOGGLE, game_screen, "Remote Controlled message", ATTR_RECT,
                                      display_width() - 120, 0, display_width(), 20, ATTR_TEXT, "Remote Controlled",
                                      ATTR_FONT, &menu_font, ATTR_INPUT, 0, ATTR_SHOWN, 0);
    game_bar = create_bar(game_screen, "wz_", {HELP, PREFS, LOG, RECOG, BACK, QUIT},
                          {"help", "prefs", "logs", "recog", "back", "quit"});
}

void create_combat_screen() {
    combat_screen = create_menu_screen("Combat Screen", "menuscrn\\comb_off.lbm", combat_screen_shown);
    create_menu_button(combat_screen, "Single Missions Button", 390, 36, 639, 107, "menuscrn\\cb_singl.bbm",
                       start_single_missions);
    create_menu_button(combat_screen, "Campaign Button", 390, 132, 639, 203, "menuscrn\\cb_campa.bbm", start_campaign);
    create_menu_button(combat_screen, "Network Button", 390, 229, 639, 300, "menuscrn\\cb_netwo.bbm",
                       start_network_game);
    create_menu_button(combat_screen, "Two player Button", 390, 324, 639, 395, "menuscrn\\cb_twopl.bbm",
                       start_two_player_screen);
    create_bar(combat_screen, "cb_", {HELP, PREFS, LOG, RECOG, BACK, QUIT},
               {"help", "prefs", "logs", "recog", "back", "quit"});
}

// The small buttons of the war zones' own screens, after the zone's prefix.
constexpr std::array<const char*, 6> ZONE_BAR_SUFFIXES = {"help", "prefs", "logs", "recog", "back", "quit"};
UiObject* situation_load = nullptr;
std::array<UiObject*, 6> situation_bar = {};

void create_situation_screen() {
    situation_screen = create_menu_screen("Situation Screen", "menuscrn\\c_isr_of.lbm");
    situation_text = create_ui_object(UI_TEXT, situation_screen, "Situation Text", ATTR_RECT, 334, 68, 624, 370,
                                      ATTR_FONT, &menu_font, ATTR_WRAP, 1, ATTR_SELECTED_LINE, 0, ATTR_SHADOW, 1);
    situation_load = create_menu_button(situation_screen, "Load Mission", 528, 395, 639, 426,
                                        "menuscrn\\mi_commi.bbm", load_campaign_mission);
    situation_bar = create_zone_bar(situation_screen, "mi_");
}

// They take input only in training.
void create_training_toggles() {
    training_toggles[0] = create_ui_object(UI_TOGGLE, missions_select_screen, "training crashes button on", ATTR_RECT,
                                           320, 395, 431, 426, ATTR_PICTURE, "menuscrn\\tr_nocr1.bbm", ATTR_SHOWN, 1,
                                           ATTR_TRANSPARENT, 0, ATTR_INPUT, 0, ATTR_NOTIFY, toggle_training_invincible,
                                           ATTR_NOTIFY_EVENT, EV_SELECT);
    training_toggles[1] = create_ui_object(UI_TOGGLE, missions_select_screen, "Training weapons button on", ATTR_RECT,
                                           424, 395, 535, 426, ATTR_PICTURE, "menuscrn\\tr_free1.bbm", ATTR_SHOWN, 1,
                                           ATTR_TRANSPARENT, 0, ATTR_INPUT, 0, ATTR_NOTIFY, toggle_training_weapons,
                                           ATTR_NOTIFY_EVENT, EV_SELECT);
}

void create_award_screens() {
    const struct {
        const char* name;
        const char* picture;
    } awards[] = {{"Promo Screen", "menuscrn\\prm_lt.lbm"},
                  {"Medal 1 Screen", "menuscrn\\bstar.lbm"},
                  {"Medal 2 Screen", "menuscrn\\fcross.lbm"},
                  {"Medal 3 Screen", "menuscrn\\honor.lbm"}};
    for (size_t i = 0; i < std::size(awards); ++i) {
        award_screens[i] = create_menu_screen(awards[i].name, awards[i].picture);
        create_ui_object(UI_BUTTON, award_screens[i], "Exit", ATTR_POS, display_clip_x1,
                                          display_clip_y1, ATTR_SIZE, 41, 15, ATTR_KEEP_INSIDE, ATTR_TEXT, "Exit",
                                          ATTR_FONT, &menu_font, ATTR_AT_BACK, 1, ATTR_MENU, 0, ATTR_ID, int(i + 1),
                                          ATTR_NOTIFY, close_award_screen, ATTR_NOTIFY_EVENT, EV_SELECT);
    }
}

void create_main_screens() {
    register_common_keys();
    create_main_screen();
    create_quick_start_screen();
    create_tv_scores_screen();
    create_help_pages();
}

}  // namespace

UiObject* create_menu_screen(const char* name, const char* picture, UiNotify display) {
    UiObject* screen = create_ui_object(UI_PICTURE, ui_root, name, ATTR_SHOWN, 0, ATTR_FILL_PARENT, ATTR_PICTURE,
                                        picture);
    if (display) set_ui_attrs(screen, ATTR_NOTIFY, display, ATTR_NOTIFY_EVENT, EV_DISPLAY);
    return screen;
}

UiObject* create_bar_button(UiObject* screen, int slot, const char* name, const char* picture, UiNotify notify) {
    const auto& place = BAR_SLOTS.at(size_t(slot));
    return create_menu_button(screen, name, place[0], place[1], place[2], place[3], picture, notify);
}

UiObject* create_menu_button(UiObject* screen, const char* name, int x0, int y0, int x1, int y1, const char* picture,
                             UiNotify notify) {
    return create_ui_object(UI_BUTTON, screen, name, ATTR_RECT, x0, y0, x1, y1, ATTR_PICTURE, picture,
                            ATTR_TRANSPARENT, 1, ATTR_NOTIFY, notify, ATTR_NOTIFY_EVENT, EV_SELECT);
}

void create_menu_screens() {
    map_alt_colouring = 1;
    build_menu_fonts();
    create_ui_object(UI_BOX, nullptr, "Root Object", ATTR_RECT, display_clip_x0, display_clip_y0,
                     display_clip_x1, display_clip_y1);
    create_exit_screen();
    create_main_screens();
    create_top_ten_objects();
    create_game_screen();
    create_combat_screen();
    create_mission_screen();
    create_map_screen();
    create_situation_screen();
    create_training_toggles();
    create_recognition_screen();
    create_preferences_screens();
    create_log_screen();
    create_award_screens();
    create_network_screen();
    movie_backdrop = create_menu_screen("", "");
    set_ui_attrs(movie_backdrop, ATTR_NOTIFY_EVENT, EV_DISPLAY);
    create_two_player_screen();
}

void create_small_bar(UiObject* screen, const char* prefix, const std::array<SmallButton, 6>& buttons,
                      const std::array<const char*, 6>& suffixes) {
    const BarButton kinds[] = {HELP, PREFS, MAIN, LOG, RECOG, BACK, QUIT};
    std::array<BarButton, 6> bar;
    for (size_t i = 0; i < buttons.size(); ++i) bar[i] = kinds[int(buttons[i])];
    create_bar(screen, prefix, bar, suffixes);
}

void restore_single_player_dress(bool with_afghan_map) {
    for (size_t i = 0; i < map_buttons.size(); ++i)
        show_ui_object(map_buttons[i], i < 3 || with_afghan_map);
    show_ui_object(remote_message, 0);
    for (UiObject* button : game_bar) show_ui_object(button, 1);
    return_mission_screen_to_local_control();
    return_map_screen_to_local_control();
}

// A flight flown without the menus (a test's) has no screens to give back.
void return_screens_to_local_control() {
    if (game_screen) restore_single_player_dress(true);
}

void dress_situation_screen(int zone) {
    const struct {
        const char* prefix;
        const char* background;
    } dresses[] = {{"mi_", "menuscrn\\c_isr_of.lbm"},
                   {"mk_", "menuscrn\\c_kor_of.lbm"},
                   {"mc_", "menuscrn\\c_cyp_of.lbm"},
                   {"ma_", "menuscrn\\c_afg_of.lbm"}};
    if (zone < 1 || zone > int(std::size(dresses))) return;
    const auto& dress = dresses[zone - 1];
    set_ui_picture(situation_screen, dress.background);
    const std::string pictures = std::string("menuscrn\\") + dress.prefix;
    set_ui_picture(situation_load, (pictures + "commi.bbm").c_str());
    dress_zone_bar(situation_bar, dress.prefix);
}

std::array<UiObject*, 6> create_zone_bar(UiObject* screen, const char* prefix) {
    return create_bar(screen, prefix, {HELP, PREFS, LOG, RECOG, BACK, QUIT}, ZONE_BAR_SUFFIXES);
}

void dress_zone_bar(const std::array<UiObject*, 6>& bar, const char* prefix) {
    for (size_t i = 0; i < bar.size(); ++i)
        set_ui_picture(bar[i], (std::string("menuscrn\\") + prefix + ZONE_BAR_SUFFIXES[i] + ".bbm").c_str());
}

void push_main_screen(int at_once) {
    if (at_once)
        push_screen_now(main_screen);
    else
        push_screen(main_screen);
}

void push_preferences_screen() { push_screen(preferences_screen); }

int shown_music_screens() {
    auto shown = [](const UiObject* screen) { return screen && (screen->flags & UIF_SHOWN); };
    int bits = 0;
    if (shown(game_screen)) bits |= MUSIC_SCREEN_GAME;
    if (shown(log_screen)) bits |= MUSIC_SCREEN_LOG;
    if (shown(exit_screen)) bits |= MUSIC_SCREEN_EXIT;
    if (shown(preferences_screen)) bits |= MUSIC_SCREEN_PREFERENCES;
    if (shown(recognition_screen)) bits |= MUSIC_SCREEN_RECOGNITION;
    if (shown(tv_scores_screen)) bits |= MUSIC_SCREEN_TV_SCORES;
    return bits;
}

}  // namespace vyr
