#include "source/menus/front_end.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "library/debug/fatal.h"
#include "library/graphics/loadgfx.h"
#include "library/graphics/rect.h"
#include "library/maths/random.h"
#include "library/os/file.h"
#include "library/sound/music.h"
#include "library/system/memory.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/ui/screens.h"
#include "library/ui/umenu.h"
#include "library/ui/utext.h"
#include "source/menus/brief/briefing.h"
#include "source/menus/debrief/debrief.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/missions/campaign.h"
#include "source/menus/missions/catalogue.h"
#include "source/menus/missions/mission_select.h"
#include "source/menus/prefs_screens.h"
#include "source/menus/screens.h"
#include "source/menus/speech.h"
#include "source/mission/game_flow.h"

namespace vyr {

namespace {

constexpr const char* SOURCE_PATH = "source/menus/gameflow";

int32_t campaign_result = 0;

constexpr int CAMPAIGN_START_LEVEL = 3;
constexpr int CAMPAIGN_LIVES = 3;
constexpr int RESULT_FAILED = 2;
constexpr int RESULT_WON = 3;
// Speech codes of the campaign's situation.
constexpr int SPEECH_SITUATION = 1;
constexpr int SPEECH_CAMPAIGN_BEGUN = 2;
constexpr int SPEECH_FAILED = 4;
constexpr int SPEECH_WON = 5;

constexpr int GLYPHS = 256;
constexpr int GLYPH_SIZE = 16;
constexpr int SHEET_CELL = 17;
constexpr int SHEET_COLUMNS = 32;
constexpr int EMPTY_GLYPH_WIDTH = 4;
constexpr int FONT_WIDTH = 11;

uint8_t menu_glyphs[GLYPHS][GLYPH_SIZE * GLYPH_SIZE];
uint8_t menu_widths[GLYPHS];

void draw_glyph_at(int c, int x, int y, int colour) {
    uint8_t table[256] = {};
    table[1] = uint8_t(colour);
    const Sprite glyph = {GLYPH_SIZE, GLYPH_SIZE, 0, 0, menu_glyphs[uint8_t(c)]};
    draw_sprite_remap(&glyph, x, y, table);
}

// Columns 0 to 15 of the glyph; 0 when only the first column, or nothing, is inked.
int rightmost_ink(const uint8_t* glyph) {
    int rightmost = 0;
    for (int row = 0; row < GLYPH_SIZE; ++row)
        for (int column = 0; column < GLYPH_SIZE; ++column)
            if (glyph[row * GLYPH_SIZE + column]) rightmost = std::max(rightmost, column);
    return rightmost;
}

MusicSituation menu_music_situation() { return {get_game_flow(), get_war_zone(), shown_music_screens()}; }

}  // namespace

Mission* current_campaign_mission = nullptr;

Font menu_font = {draw_menu_glyph, FONT_WIDTH, 15, FONT_PROPORTIONAL, menu_widths};
Font menu_font_tall = {draw_menu_glyph_low, FONT_WIDTH, 19, FONT_PROPORTIONAL, menu_widths};

void set_campaign_result(int result) { campaign_result = result; }

void draw_menu_glyph(int c, int x, int y, int colour) { draw_glyph_at(c, x, y, colour); }
void draw_menu_glyph_low(int c, int x, int y, int colour) { draw_glyph_at(c, x, y + 1, colour); }

void build_menu_fonts() {
    std::memset(menu_glyphs, 0, sizeof menu_glyphs);
    constexpr int SHEET_WIDTH = 640, SHEET_HEIGHT = 480;
    auto* sheet = static_cast<uint8_t*>(allocate_memory(SHEET_WIDTH * SHEET_HEIGHT, SOURCE_PATH, __LINE__));
    std::memset(sheet, 0, SHEET_WIDTH * SHEET_HEIGHT);
    read_picture("fonts\\11x15.lbm", &sheet, SHEET_WIDTH, SHEET_HEIGHT, nullptr, nullptr, nullptr);
    for (int c = 0; c < GLYPHS; ++c) {
        const int left = (c % SHEET_COLUMNS) * SHEET_CELL, top = (c / SHEET_COLUMNS) * SHEET_CELL;
        for (int row = 0; row < GLYPH_SIZE; ++row)
            for (int column = 0; column < GLYPH_SIZE; ++column) {
                const uint8_t p = sheet[(top + row) * SHEET_WIDTH + left + column];
                menu_glyphs[c][row * GLYPH_SIZE + column] = p > 1 ? uint8_t(p - 1) : 0;
            }
        const int width = rightmost_ink(menu_glyphs[c]);
        menu_widths[c] = uint8_t(width ? width : EMPTY_GLYPH_WIDTH);
    }
    const uint8_t digit_width = *std::max_element(menu_widths + '0', menu_widths + '9' + 1);
    std::fill(menu_widths + '0', menu_widths + '9' + 1, digit_width);
    free_memory(sheet, SOURCE_PATH, __LINE__);
}

namespace {

void show_mission_list(void (*set_filter)(), int zone) {
    if (get_log_status(current_pilot_log) != 2) {
        push_screen(log_screen);
        return;
    }
    clear_mission_filter();
    set_mission_filter_zone(zone);
    set_filter();
    push_screen(missions_select_screen);
}

}  // namespace

void show_training_missions() { show_mission_list(set_mission_filter_training, WAR_ZONE_NEVADA); }
void show_single_missions() { show_mission_list(set_mission_filter_single, get_war_zone()); }

namespace {

void show_situation(int speech_code) {
    push_screen(situation_screen);
    play_menu_speech(speech_code);
}

void restart_campaign(PilotLog* log) {
    lock_scheduler();
    end_campaign(log);
    set_log_current_campaign(log, get_war_zone());
    set_campaign_lives(log, CAMPAIGN_LIVES);
    set_campaign_seed(log, draw_rand());
    set_campaign_level(log, CAMPAIGN_START_LEVEL);
    campaign_result = 0;
    current_campaign_mission = nullptr;
    find_mission_text(get_war_zone(), 0, 0);
    unlock_scheduler();
    show_situation(SPEECH_CAMPAIGN_BEGUN);
}

// A lost or won campaign is spoken of at the level it ended on, so its block is ended only once
// the speech has been named from it.
void close_campaign(PilotLog* log, int result, int speech_code) {
    lock_scheduler();
    find_mission_text(get_war_zone(), 0, result);
    unlock_scheduler();
    show_situation(speech_code);
    lock_scheduler();
    if (result == RESULT_WON) set_campaign_won(log, get_war_zone());
    end_campaign(log);
    unlock_scheduler();
}

}  // namespace

void enter_campaign() {
    PilotLog* log = current_pilot_log;
    if (get_log_status(log) != LOG_STATUS_ACTIVE) {
        push_screen(log_screen);
        return;
    }
    clear_mission_filter();
    set_mission_filter_zone(get_war_zone());
    set_mission_filter_campaign();
    if (get_log_current_campaign(log) != get_war_zone()) {
        set_log_current_campaign(log, get_war_zone());
        // Level 3 is also where a begun campaign stands after a failure at level 4; only one
        // without lives was never begun (or has been ended), and only that one starts afresh.
        if (get_campaign_level(log) == CAMPAIGN_START_LEVEL && get_campaign_lives(log) == 0) {
            restart_campaign(log);
            return;
        }
    }
    set_log_current_campaign(log, get_war_zone());
    switch (choose_campaign_mission(&current_campaign_mission)) {
    case CAMPAIGN_LOST: close_campaign(log, RESULT_FAILED, SPEECH_FAILED); break;
    case CAMPAIGN_WON: close_campaign(log, RESULT_WON, SPEECH_WON); break;
    default:
        lock_scheduler();
        find_mission_text(get_war_zone(), get_campaign_level(log), campaign_result);
        unlock_scheduler();
        show_situation(campaign_result == RESULT_FAILED ? SPEECH_FAILED : SPEECH_SITUATION);
    }
}

void find_mission_text(int zone, int level, int result) {
    constexpr int CAMPAIGN_TEXT_KIND = 7;
    int number = level;
    const char* section = ":Situation";
    if (level == 0) {
        number = 0;
        if (result == 0)
            section = ":Description";
        else if (result == 2)
            section = ":Failure";
        else if (result == 3)
            section = ":Success";
        else
            report_fatal_error("Unknown Campaign Result", SOURCE_PATH, __LINE__);
    } else if (result == 2) {
        number = level + 1;
        section = ":Failure";
    }
    char* name = language_folder(zone, CAMPAIGN_TEXT_KIND, number);
    char file_name[128];
    std::snprintf(file_name, sizeof file_name, "missdata\\%s.txt", name);
    if (!check_file_exists(file_name))
        report_fatal_error("couldn't find mission text warzone %d, level %d, name %s, result %d", SOURCE_PATH,
                           __LINE__, zone, level, name, result);
    free_memory(name, SOURCE_PATH, __LINE__);
    size_t size = 0;
    char* file = static_cast<char*>(load_file_alloc(file_name, &size, SOURCE_PATH, __LINE__));
    const std::string text = file ? std::string(file, size) : std::string();
    free_memory(file, SOURCE_PATH, __LINE__);
    size_t at = text.find(section);
    if (at == std::string::npos) report_fatal_error("Cannot find find in ptr", SOURCE_PATH, __LINE__);
    at = text.find('\n', at);
    at = at == std::string::npos ? text.size() : at;
    while (at < text.size() && (text[at] == '\r' || text[at] == '\n')) ++at;
    // A single ':' starts the next section; "::" is a colon followed by a blank.
    std::string shown;
    for (size_t i = at; i < text.size(); ++i) {
        if (text[i] != ':') {
            shown += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == ':') {
            shown += ": ";
            ++i;
        } else {
            break;
        }
    }
    set_ui_text(situation_text, shown.c_str());
}

void init_front_end() {
    init_pilot_logs();
    create_menu_screens();
    start_briefing_player();
    init_debrief();
    refresh_preferences_screen();
    set_pointer_shape(pointer_arrow);
    ui_menu_font = &menu_font;
    set_music_situation_source(menu_music_situation);
}

}  // namespace vyr
