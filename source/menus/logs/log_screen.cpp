#include "source/menus/logs/log_screen.h"

#include <cstdio>
#include <string>

#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/graphics/loadgfx.h"
#include "library/graphics/rect.h"
#include "library/system/event.h"
#include "library/ui/route.h"
#include "library/ui/setattr.h"
#include "library/ui/utext.h"
#include "source/menus/front_end.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/screens.h"
#include "source/startup.h"

namespace vyr {

UiObject* log_screen = nullptr;

namespace {

constexpr const char* SOURCE = "source/menus/logs/log_screen";
constexpr int KEY_BACKSPACE = 8, KEY_ENTER = 10, KEY_ESCAPE = 27;
constexpr int NAME_LIMIT = 30;
constexpr int CALL_SIGNS_PER_COLUMN = 10;
constexpr int CREATE_FROM_LINE_BELOW = 29;
constexpr int MAX_TOP_LINE = 24;

const char* const DEFAULT_CALL_SIGNS[2 * CALL_SIGNS_PER_COLUMN] = {
    "Ace",     "Bullet",   "Cougar",  "Dagger", "Elvis", "Ghost",   "Iceman", "Joker",   "Killer", "Lazer",
    "Mad Dog", "Maverick", "New One", "Rebel",  "Seal",  "Shooter", "T-bone", "Trigger", "Viper",  "Wizard"};

const char* const HEADINGS[2][13] = {
    {"Status:", "Total time:", "Combat time:", "Total missions:", "Outstanding missions:", "Successful missions:",
     "Failed missions:", "Current Campaign:", "Campaigns Won:", "Enemy aircraft kills:", "Enemy ground kills:",
     "Friendly kills:", "Aircraft lost:"},
    {"Stato:", "Tempo totale:", "Tempo in combattimento:", "Missioni totali:", "Missioni eccellenti:",
     "Missioni riuscite:", "Missioni fallite:", "Campagna attuale:", "Campagne vinte:", "Aerei nemici abbattuti:",
     "Obiettivi a terra distrutti:", "Abbattimenti amici:", "Aerei perduti:"}};

UiObject* error_box = nullptr;
UiObject* error_text = nullptr;
UiObject* list = nullptr;
UiObject* call_sign_columns[2] = {};
UiObject* rename_box = nullptr;
UiObject* rename_title = nullptr;
UiObject* rename_text = nullptr;
UiObject* detail_headings = nullptr;
UiObject* detail_values = nullptr;
UiObject* medals[3] = {};
Sprite medal_sprites[3];
std::string typed_name;
int top_line = 0;

int log_count() {
    int count = 0;
    for (PilotLog* log = first_pilot_log(); log; log = next_pilot_log(log)) ++count;
    return count;
}

int log_index(const PilotLog* wanted) {
    int index = 0;
    for (PilotLog* log = first_pilot_log(); log; log = next_pilot_log(log), ++index)
        if (log == wanted) return index;
    return -1;
}

void show_error(const char* text) {
    set_ui_text(error_text, text);
    show_ui_object(error_box, 1);
}

void close_rename_box() {
    place_text_cursor(nullptr);
    if (ui_key_focus == rename_text) ui_key_focus = nullptr;
    show_ui_object(rename_box, 0);
}

void open_rename_box(const char* title, const char* name) {
    typed_name = name;
    set_ui_text(rename_title, title);
    set_ui_text(rename_text, typed_name.c_str());
    show_ui_object(rename_box, 1);
    show_ui_object(error_box, 0);
    ui_key_focus = rename_text;
    place_text_cursor(rename_text);
}

// The line of a text under the pointer.
int line_at(UiObject* text, const Event& event) {
    select_font(text->font);
    return (event.y - text->y0) / get_line_height() + text->param2;
}

bool is_left_click(const Event& event) {
    return (event.type == EV_MOUSE_CLICK && event.value == 1) || event.type == EV_MOUSE_DBL_CLICK;
}

std::string format_time(int32_t ticks) {
    const int32_t seconds = ticks / 200;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::string campaign_text(PilotLog* log, bool italian) {
    static const char* const zones[] = {"Israel", "Korea", "Cyprus", "Afghan"};
    const int zone = get_log_current_campaign(log);
    if (zone < 1 || zone > 4) return "No Campaign";
    return std::string(zones[zone - 1]) + (italian ? " livello " : " level ") + std::to_string(get_campaign_level(log));
}

std::string campaigns_won(PilotLog* log) {
    static const struct {
        int zone;
        const char* name;
    } order[] = {{3, "Cyprus"}, {2, "Korea"}, {1, "Israel"}, {4, "Afghan"}};
    std::string text;
    for (const auto& won : order)
        if (is_campaign_won(log, won.zone)) text += (text.empty() ? "" : ", ") + std::string(won.name);
    return text;
}

void fill_detail_page(PilotLog* log) {
    const bool italian = product_language == LANG_ITALIAN;
    std::string headings;
    for (const char* heading : HEADINGS[italian]) headings += std::string(heading) + "\n";
    headings.pop_back();
    set_ui_text(detail_headings, headings.c_str());
    if (!log) {
        set_ui_text(detail_values, nullptr);
        return;
    }
    const std::string values[] = {get_log_status_name(log),
                                  format_time(get_log_total_time(log)),
                                  format_time(get_log_combat_time(log)),
                                  std::to_string(get_log_missions_flown(log)),
                                  std::to_string(get_log_outstanding_missions(log)),
                                  std::to_string(get_log_successful_missions(log)),
                                  std::to_string(get_log_failed_missions(log)),
                                  campaign_text(log, italian),
                                  campaigns_won(log),
                                  std::to_string(get_log_air_kills(log)),
                                  std::to_string(get_log_ground_kills(log)),
                                  std::to_string(get_log_friendly_kills(log)),
                                  std::to_string(get_log_aircraft_lost(log))};
    std::string text;
    for (const std::string& value : values) text += value + "\n";
    text.pop_back();
    set_ui_text(detail_values, text.c_str());
}

void fill_call_sign_columns() {
    for (int column = 0; column < 2; ++column) {
        std::string text;
        for (int line = 0; line < CALL_SIGNS_PER_COLUMN; ++line) {
            char word[16];
            std::snprintf(word, sizeof word, "%-8s", DEFAULT_CALL_SIGNS[column * CALL_SIGNS_PER_COLUMN + line]);
            text += word;
            if (line + 1 < CALL_SIGNS_PER_COLUMN) text += "\n";
        }
        set_ui_text(call_sign_columns[column], text.c_str());
        set_ui_attrs(call_sign_columns[column], ATTR_SELECTED_LINE, -1);
    }
}

// The current log's call sign selected in its column; one out of range becomes the default.
void select_call_sign(PilotLog* log) {
    int call_sign = get_log_radio_call_sign(log);
    if (call_sign < 1 || call_sign > 2 * CALL_SIGNS_PER_COLUMN) {
        call_sign = LOG_DEFAULT_RADIO_CALL_SIGN;
        set_log_radio_call_sign(log, call_sign);
    }
    const int column = (call_sign - 1) / CALL_SIGNS_PER_COLUMN;
    set_ui_attrs(call_sign_columns[column], ATTR_SELECTED_LINE, (call_sign - 1) % CALL_SIGNS_PER_COLUMN);
}

void choose_call_sign(int column, Event& event) {
    if (!is_left_click(event) || !current_pilot_log) return;
    const int line = line_at(call_sign_columns[column], event);
    if (line < 0 || line >= CALL_SIGNS_PER_COLUMN) return;
    set_ui_attrs(call_sign_columns[column], ATTR_SELECTED_LINE, line);
    set_ui_attrs(call_sign_columns[1 - column], ATTR_SELECTED_LINE, -1);
    set_log_radio_call_sign(current_pilot_log, line + 1 + column * CALL_SIGNS_PER_COLUMN);
    write_pilot_log(current_pilot_log);
}

void set_top_line(int line) {
    top_line = line;
    set_ui_top_line(list, top_line);
}

UiObject* create_selectable(const char* name, int x, int y, int width, int height, UiNotify notify) {
    return create_ui_object(UI_TEXT, log_screen, name, ATTR_POS, x, y, ATTR_SIZE, width, height, ATTR_FONT,
                            &menu_font, ATTR_TOP_LINE, 0, ATTR_SHADOW, 1, ATTR_SELECTABLE, 1, ATTR_NOTIFY, notify,
                            ATTR_NOTIFY_EVENT, EV_MOUSE_CLICK, ATTR_NOTIFY_ADD, EV_MOUSE_DBL_CLICK);
}

void create_medals() {
    const struct {
        const char* name;
        const char* picture;
        int x, y;
    } places[] = {{"Medal 1 sprite", "menuscrn\\lg_medl1.bbm", 592, 374},
                  {"Medal 2 sprite", "menuscrn\\lg_medl2.bbm", 590, 333},
                  {"Medal 3 sprite", "menuscrn\\lg_medl3.bbm", 591, 296}};
    for (int m = 0; m < 3; ++m) {
        uint8_t* pixels = nullptr;
        int width = 0, height = 0;
        load_picture(places[m].picture, &pixels, &width, &height);
        medal_sprites[m] = {width, height, 0, 0, pixels};
        medals[m] = create_ui_object(UI_SPRITE, log_screen, places[m].name, ATTR_POS, places[m].x, places[m].y,
                                     ATTR_SIZE, width, height, ATTR_SPRITE, &medal_sprites[m], ATTR_INPUT, 0,
                                     ATTR_SHOWN, 0);
    }
}

}  // namespace

int log_list_top_line() { return top_line; }

void fill_log_details() {
    fill_call_sign_columns();
    show_ui_object(error_box, 0);
    set_ui_attrs(list, ATTR_SELECTED_LINE, -1);
    for (UiObject* medal : medals) show_ui_object(medal, 0);
    std::string text;
    int line = 0;
    for (PilotLog* log = first_pilot_log(); log; log = next_pilot_log(log), ++line) {
        text += std::string(format_rank_and_name(log)) + "\n";
        if (log != current_pilot_log) continue;
        set_ui_attrs(list, ATTR_SELECTED_LINE, line);
        select_call_sign(log);
        for (int m = 0; m < 3; ++m)
            if (get_log_medal(log, m)) show_ui_object(medals[m], 1);
    }
    for (; line < LOG_LIST_LINES; ++line) text += "- Empty -\n";
    text.pop_back();
    set_ui_text(list, text.c_str());
    if (current_pilot_log) update_log_totals(current_pilot_log);
    fill_detail_page(current_pilot_log);
}

void log_screen_shown(UiObject*, Event& event) {
    if (event.value) {
        fill_log_details();
        close_rename_box();
    } else {
        save_pilot_logs();
    }
}

void select_log_entry(UiObject*, Event& event) {
    if (!is_left_click(event)) return;
    const int line = line_at(list, event);
    if (line < 0 || line >= LOG_LIST_LINES) return;
    set_ui_attrs(list, ATTR_SELECTED_LINE, line);
    if (PilotLog* log = get_pilot_log(line)) {
        make_log_current(log);
        close_rename_box();
        fill_log_details();
    } else if (line < CREATE_FROM_LINE_BELOW) {
        create_log_entry(nullptr, event);
    }
}

void create_log_entry(UiObject*, Event&) {
    if (log_count() >= LOG_FILES_PER_USER) return;
    PilotLog* log = create_pilot_log();
    const int line = log_index(log);
    for (int steps = 0; line >= top_line + LOG_VISIBLE_LINES; ++steps) {
        if (steps > 100) report_fatal_error("Boing! Infinite loop.", SOURCE, __LINE__);
        set_top_line(top_line + 1);
    }
    set_log_rank(log, 2);
    set_log_status(log, LOG_STATUS_ACTIVE);
    set_campaign_level(log, 3);
    set_log_radio_call_sign(log, LOG_DEFAULT_RADIO_CALL_SIGN);
    make_log_current(log);
    open_rename_box("Name Log", get_log_name(log));
    write_pilot_log(log);
    fill_log_details();
}

void delete_current_log(UiObject*, Event&) {
    if (!current_pilot_log) return show_error("No Current Log");
    if (is_default_log(current_pilot_log)) return show_error("Current Log Indestructable");
    delete_pilot_log(current_pilot_log);
    close_rename_box();
    show_ui_object(error_box, 0);
    fill_log_details();
}

void rename_current_log(UiObject*, Event&) {
    if (!current_pilot_log) return show_error("No Current Log");
    if (get_log_status(current_pilot_log) != LOG_STATUS_ACTIVE) return show_error("Current Log Not Active");
    if (is_default_log(current_pilot_log)) return show_error("Cannot Rename Pilot");
    open_rename_box("Rename Log", get_log_name(current_pilot_log));
}

void edit_log_name(UiObject*, Event& event) {
    const int c = event.x;
    if ((c & 0x80) || c == 0) return;
    if (c == KEY_ESCAPE) return close_rename_box();
    if (c == KEY_ENTER) {
        PilotLog* log = current_pilot_log;
        close_rename_box();
        if (!log) return;
        set_log_name(log, typed_name.empty() ? "de Fault" : typed_name.c_str());
        write_pilot_log(log);
        make_log_current(log);
        fill_log_details();
        return;
    }
    if (c == KEY_BACKSPACE) {
        if (!typed_name.empty()) typed_name.pop_back();
    } else if (typed_name.size() < NAME_LIMIT) {
        typed_name += char(c);
    }
    set_ui_text(rename_text, typed_name.c_str());
    place_text_cursor(rename_text);
}

void choose_call_sign_1(UiObject*, Event& event) { choose_call_sign(0, event); }
void choose_call_sign_2(UiObject*, Event& event) { choose_call_sign(1, event); }

void scroll_logs_up(UiObject*, Event&) {
    if (top_line > 0) set_top_line(top_line - 1);
}

void scroll_logs_down(UiObject*, Event&) {
    if (top_line < MAX_TOP_LINE && get_pilot_log(top_line + LOG_VISIBLE_LINES)) set_top_line(top_line + 1);
}

void create_log_screen() {
    log_screen = create_menu_screen("Log Screen", "menuscrn\\logs_off.lbm", log_screen_shown);
    create_menu_button(log_screen, "Scroll pilot up", 276, 113, 307, 137, "menuscrn\\lg_pscru.bbm", scroll_logs_up);
    create_menu_button(log_screen, "Scroll pilot down", 276, 138, 307, 162, "menuscrn\\lg_pscrd.bbm",
                       scroll_logs_down);
    list = create_selectable("Log Entries", 20, 90, 250, 110, select_log_entry);
    call_sign_columns[0] = create_selectable("Log callsigns col 1", 60, 268, 80, 160, choose_call_sign_1);
    call_sign_columns[1] = create_selectable("Log callsigns col 2", 180, 268, 80, 160, choose_call_sign_2);
    detail_headings = create_ui_object(UI_TEXT, log_screen, "Log Detail headings", ATTR_POS, 335, 220, ATTR_SIZE, 115,
                                       210, ATTR_FONT, &menu_font, ATTR_TOP_LINE, 0, ATTR_SHADOW, 1, ATTR_INPUT, 0);
    detail_values = create_ui_object(UI_TEXT, log_screen, "Log Detail details", ATTR_POS, 462, 220, ATTR_SIZE, 155,
                                     210, ATTR_FONT, &menu_font, ATTR_TOP_LINE, 0, ATTR_SHADOW, 1, ATTR_INPUT, 0);
    create_menu_button(log_screen, "Log Create", 320, 102, 639, 133, "menuscrn\\lg_creap.bbm", create_log_entry);
    create_menu_button(log_screen, "Log Delete", 320, 134, 639, 165, "menuscrn\\lg_delep.bbm", delete_current_log);
    create_menu_button(log_screen, "Log Rename", 320, 164, 639, 195, "menuscrn\\lg_renap.bbm", rename_current_log);
    create_small_bar(log_screen, "lg_",
                     {SmallButton::HELP, SmallButton::PREFS, SmallButton::MAIN, SmallButton::RECOG, SmallButton::BACK,
                      SmallButton::QUIT},
                     {"help", "prefs", "main", "recog", "back", "quit"});
    create_medals();
    rename_box = create_ui_object(UI_WINDOW, log_screen, "Log Rename", ATTR_POS, 332, 59, ATTR_SIZE, 296, 32,
                                  ATTR_ON_TOP, 1, ATTR_SHOWN, 0);
    rename_title = create_ui_object(UI_TEXT, rename_box, "Log Rename Title", ATTR_POS, 8, 8, ATTR_SIZE, 100, 16,
                                    ATTR_FONT, &menu_font, ATTR_TEXT, "Rename Pilot", ATTR_INPUT, 0);
    rename_text = create_ui_object(UI_TEXT, rename_box, "Log Rename Text", ATTR_POS, 112, 8, ATTR_SIZE, 176, 16,
                                   ATTR_FONT, &menu_font, ATTR_TEXT_INSET, 1, ATTR_NOTIFY, edit_log_name,
                                   ATTR_NOTIFY_EVENT, EV_KEY);
    error_box = create_ui_object(UI_WINDOW, log_screen, "Log Screen Error Box", ATTR_POS, 332, 59, ATTR_SIZE, 296, 32,
                                 ATTR_ON_TOP, 1, ATTR_SHOWN, 0);
    error_text = create_ui_object(UI_TEXT, error_box, "Log Screen Error Text", ATTR_POS, 20, 6, ATTR_SIZE, 260, 16,
                                  ATTR_FONT, &menu_font, ATTR_INPUT, 0);
}

}  // namespace vyr
