#include "source/menus/top_ten.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "library/config/prefs.h"
#include "library/graphics/font.h"
#include "library/ui/route.h"
#include "library/ui/setattr.h"
#include "library/ui/utext.h"
#include "source/menus/front_end.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/screens.h"
#include "source/mission/quick_start.h"

namespace vyr {

TopTenEntry ground_top_ten[TOP_TEN_ROWS];
TopTenEntry air_top_ten[TOP_TEN_ROWS];
int32_t editing_row = -1;

namespace {

constexpr int FIRST_ROW_Y = 90;
constexpr int ROW_STEP = 20;
constexpr int NAME_X = 65;
constexpr int SCORE_X = 285;
constexpr int KEY_BACKSPACE = 8, KEY_ENTER = 10, KEY_ESCAPE = 27;

UiObject* name_texts[TOP_TEN_ROWS] = {};
UiObject* score_texts[TOP_TEN_ROWS] = {};
UiObject* last_score_text = nullptr;
// The table a name entry was opened in; null while no entry is open.
TopTenEntry* entry_table = nullptr;

TopTenEntry* selected_table() { return quick_start_kind == 2 ? ground_top_ten : air_top_ten; }

void load_table(TopTenEntry* table, const char* kind) {
    for (int i = 0; i < TOP_TEN_ROWS; ++i) {
        char key[64];
        std::snprintf(key, sizeof key, "Quick Start Score (%s) %d", kind, i + 1);
        int score = 0;
        get_pref_int(key, &score);
        table[i].score = score;
        std::snprintf(key, sizeof key, "Quick Start Name (%s) %d", kind, i + 1);
        if (!get_pref_string(key, table[i].name, TOP_TEN_NAME_SIZE)) std::snprintf(table[i].name, TOP_TEN_NAME_SIZE, "Blank");
    }
}

void save_table(const TopTenEntry* table, const char* kind) {
    for (int i = 0; i < TOP_TEN_ROWS; ++i) {
        char key[64];
        std::snprintf(key, sizeof key, "Quick Start Score (%s) %d", kind, i + 1);
        set_pref_int(key, table[i].score);
        std::snprintf(key, sizeof key, "Quick Start Name (%s) %d", kind, i + 1);
        set_pref_string(key, table[i].name);
    }
}

// The entry's name after one key.
void edit_name(char* name, int c) {
    const size_t length = std::strlen(name);
    if (c == KEY_BACKSPACE) {
        if (length) name[length - 1] = 0;
    } else if (c == KEY_ESCAPE) {
        name[0] = 0;
    } else if (length < size_t(TOP_TEN_NAME_LIMIT)) {
        name[length] = char(c);
        name[length + 1] = 0;
    }
}

}  // namespace

void load_top_ten() {
    load_table(ground_top_ten, "Ground");
    load_table(air_top_ten, "Air");
    quick_start_score = 0;
}

void save_top_ten() {
    save_table(ground_top_ten, "Ground");
    save_table(air_top_ten, "Air");
}

void enter_top_ten_score() { enter_top_ten_score(quick_start_score); }

void enter_top_ten_score(int score) {
    if (last_score_text) {
        set_ui_text(last_score_text, std::to_string(score).c_str());
        show_ui_object(last_score_text, 1);
    }
    TopTenEntry* table = selected_table();
    entry_table = nullptr;
    if (score == 0 || score < table[TOP_TEN_ROWS - 1].score) {
        editing_row = -1;
        return;
    }
    int row = TOP_TEN_ROWS - 1;
    while (row > 0 && table[row - 1].score < score) {
        if (name_texts[row]) set_ui_attrs(name_texts[row], ATTR_SELECTED_LINE, -1);
        table[row] = table[row - 1];
        --row;
    }
    table[row].score = score;
    const char* pilot = get_log_name(current_pilot_log);
    std::snprintf(table[row].name, TOP_TEN_NAME_SIZE, "%s", pilot ? pilot : "");
    editing_row = row;
    entry_table = table;
    ui_key_focus = name_texts[row];
}

void show_top_ten_screen() { refresh_top_ten_lists(); }

void create_top_ten_objects() {
    for (int i = 0; i < TOP_TEN_ROWS; ++i) {
        const int y = FIRST_ROW_Y + ROW_STEP * i;
        name_texts[i] = create_ui_object(UI_TEXT, quick_start_screen, "List of Top Ten names", ATTR_POS, NAME_X, y,
                                         ATTR_SIZE, 285, 20, ATTR_FONT, &menu_font_tall, ATTR_TOP_LINE, 0, ATTR_SHADOW,
                                         1, ATTR_AT_BACK, 1, ATTR_SELECTABLE, 1, ATTR_TEXT_INSET, 1, ATTR_NOTIFY,
                                         enter_top_ten_name, ATTR_NOTIFY_EVENT, EV_KEY);
        score_texts[i] = create_ui_object(UI_TEXT, quick_start_screen, "List of Top Ten scores", ATTR_POS, SCORE_X, y,
                                          ATTR_SIZE, 60, 20, ATTR_FONT, &menu_font_tall, ATTR_TOP_LINE, 0, ATTR_SHADOW,
                                          1, ATTR_ON_TOP, 1, ATTR_INPUT, 0);
    }
    last_score_text = create_ui_object(UI_TEXT, quick_start_screen, "Last score", ATTR_POS, 191, 362, ATTR_SIZE, 60, 20,
                                       ATTR_FONT, &menu_font_tall, ATTR_TOP_LINE, 0, ATTR_SHADOW, 1, ATTR_TEXT_INSET, 1,
                                       ATTR_ON_TOP, 1, ATTR_INPUT, 0);
}

void refresh_top_ten_lists() {
    const TopTenEntry* table = selected_table();
    select_font(&menu_font_tall);
    const int w = get_char_width('0');
    for (int i = 0; i < TOP_TEN_ROWS && name_texts[i]; ++i) {
        const int y = FIRST_ROW_Y + ROW_STEP * i;
        const std::string score = std::to_string(table[i].score);
        const int n = int(score.size());
        move_ui_object(score_texts[i], SCORE_X + 10 * w - n * w, y);
        resize_ui_object(score_texts[i], n * w + 3, 18);
        set_ui_text(score_texts[i], score.c_str());
        set_ui_text(name_texts[i], table[i].name);
        set_ui_attrs(name_texts[i], ATTR_SELECTED_LINE, i == editing_row ? 0 : -1);
    }
    place_text_cursor(editing_row >= 0 && entry_table ? ui_key_focus : nullptr);
    save_top_ten();
}

void enter_top_ten_name(UiObject*, Event& event) {
    const int c = event.x;
    if ((c & 0x80) || c == 0 || !entry_table || editing_row < 0) return;
    if (c == KEY_ENTER) {
        set_text_cursor(-100, 100, 0);
        ui_key_focus = nullptr;
        entry_table = nullptr;
    } else {
        edit_name(entry_table[editing_row].name, c);
    }
    refresh_top_ten_lists();
}

}  // namespace vyr
