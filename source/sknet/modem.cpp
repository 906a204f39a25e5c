#include "source/sknet/modem.h"

#include <cstdio>
#include <cstring>

#include "library/config/prefs.h"
#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/ui/object.h"
#include "library/ui/setattr.h"
#include "library/ui/utext.h"
#include "source/menus/front_end.h"
#include "source/menus/screens.h"
#include "source/sknet/modem_link.h"
#include "source/sknet/two_player.h"
#include "source/sknet/two_player_screen.h"

namespace vyr {

int32_t modem_type = 0;
int32_t phone_type = 0;

namespace {

constexpr const char* SOURCE_PATH = "sknet/modem.cpp";
constexpr int KEY_BACKSPACE = 8, KEY_ENTER = 10, KEY_ESCAPE = 27;
constexpr int FIELD_WIDTH = 214, NAME_WIDTH = 87;

const char* const DEFAULT_PROFILES[MODEM_TYPE_COUNT] = {
    "Hayes Compatible|AT&FE0&C1%C0|ATS0=0|",
    "US Robotics|AT&F1E0&C1&K0|ATS0=0|",
    "Practical Peripherals|AT&F1E0&C1&K3S46=0|ATS0=0|AT%LCD=\"Vyr\"|",
    "Hayes DSVD|AT&FE0&C1%C0|AT-SSE=1#VLS=5|ATS0=0|",
    "ZyXEL|AT&FE0X7&K1|ATS0=0|",
};

char profiles[MODEM_PROFILE_SLOTS][MODEM_PROFILE_SIZE] = {};

struct PhoneBookEntry {
    char number[PHONE_BOOK_NUMBER_SIZE];
    char name[PHONE_BOOK_NAME_SIZE];
};
PhoneBookEntry phone_book[PHONE_BOOK_ENTRIES] = {};
char typed_name[PHONE_BOOK_NAME_SIZE] = {};
int naming_entry = -1;  // the entry whose name field is open
char modem_command[MODEM_COMMAND_SIZE] = {};

UiObject* phone_book_area = nullptr;
UiObject* set_button_area = nullptr;
UiObject* set_button = nullptr;
UiObject* entry_radios[PHONE_BOOK_ENTRIES] = {};
UiObject* entry_texts[PHONE_BOOK_ENTRIES] = {};
UiObject* phone_type_text = nullptr;
UiObject* answer_text = nullptr;
UiObject* dial_radio = nullptr;
UiObject* hang_up_radio = nullptr;
UiObject* command_toggle = nullptr;
UiObject* command_text = nullptr;

void set_text(UiObject* text, const char* value) {
    if (text) set_ui_text(text, value);
}

void set_state(UiObject* object, int state) {
    if (object) set_ui_state(object, state);
}

// Commands of `profile` after its model name; false when it has no "|".
bool commands_of(const char* profile, char out[MODEM_PROFILE_SIZE]) {
    const char* bar = std::strchr(profile, '|');
    if (!bar) return false;
    std::snprintf(out, MODEM_PROFILE_SIZE, "%s", bar + 1);
    return true;
}

void take_default(int slot, const char* name) {
    set_pref_string(name, DEFAULT_PROFILES[slot]);
    if (!commands_of(DEFAULT_PROFILES[slot], profiles[slot]))
        report_fatal_error("No '|' delimiter in string", SOURCE_PATH, __LINE__);
}

const char* shown_name(int entry) {
    const PhoneBookEntry& e = phone_book[entry];
    return e.number[0] && e.name[0] ? e.name : "-";
}

void show_phone_book() {
    for (int i = 0; i < PHONE_BOOK_ENTRIES; ++i) set_text(entry_texts[i], i == naming_entry ? typed_name : shown_name(i));
}

// Enter, Escape and Backspace of a text field; another key is appended while the text stays
// shorter than `size` and narrower than `width` in the menu font. True for Enter.
bool type_into(char* text, int size, int width, int key, UiObject* field) {
    const size_t length = std::strlen(text);
    if (key == KEY_ENTER) return true;
    if (key == KEY_BACKSPACE) {
        if (length) text[length - 1] = '\0';
    } else if (key == KEY_ESCAPE) {
        text[0] = '\0';
    } else if (key > 0 && key < 256 && length + 1 < static_cast<size_t>(size)) {
        text[length] = static_cast<char>(key);
        text[length + 1] = '\0';
        select_font(&menu_font);
        if (field && get_text_width(text) >= width) text[length] = '\0';
    }
    set_text(field, text);
    return false;
}

void close_name_field() {
    if (naming_entry >= 0 && ui_key_focus == entry_texts[naming_entry]) ui_key_focus = nullptr;
    naming_entry = -1;
    show_phone_book();
}

void release_entries() {
    for (UiObject* radio : entry_radios) set_state(radio, 0);
}

void edit_modem_command(UiObject*, Event&) {
    ui_key_focus = ui_key_focus == command_text ? nullptr : command_text;
}

void type_modem_command(UiObject*, Event& event) {
    if (!type_into(modem_command, MODEM_COMMAND_SIZE, FIELD_WIDTH, event.x, command_text)) return;
    ui_key_focus = nullptr;
    add_modem_message("Sending modem command");
    send_modem_command(modem_command);
}

void show_phone_type() { set_text(phone_type_text, phone_type ? "Pulse Dial" : "Tone Dial"); }

void toggle_phone_type(UiObject*, Event&) {
    phone_type ^= 1;
    set_pref_int("PHONE_TYPE", phone_type);
    show_phone_type();
}

UiObject* field_text(UiObject* parent, const char* name, int x, int y, int width, UiNotify typed) {
    return create_ui_object(UI_TEXT, parent, name, ATTR_POS, x, y, ATTR_SIZE, width, 16, ATTR_FONT, &menu_font,
                            ATTR_TOP_LINE, 0, ATTR_ON_TOP, 1, ATTR_NOTIFY, typed, ATTR_NOTIFY_EVENT, EV_KEY);
}

UiObject* row_text(UiObject* parent, const char* name, int x, int y) {
    return create_ui_object(UI_TEXT, parent, name, ATTR_POS, x, y, ATTR_SIZE, 150, 16, ATTR_FONT, &menu_font,
                            ATTR_TOP_LINE, 0, ATTR_SHADOW, 1, ATTR_ON_TOP, 1, ATTR_INPUT, 0);
}

void row_buttons(UiObject* parent, const char* stem, int y, UiNotify pressed) {
    char picture[40];
    std::snprintf(picture, sizeof picture, "menuscrn\\2p_%smi.bbm", stem);
    create_menu_button(parent, "Minus button", 260, y, 283, y + 19, picture, pressed);
    std::snprintf(picture, sizeof picture, "menuscrn\\2p_%spl.bbm", stem);
    create_menu_button(parent, "Plus button", 284, y, 307, y + 19, picture, pressed);
}

}  // namespace

void load_modem_profiles(int clear_first) {
    if (clear_first) std::memset(profiles, 0, sizeof profiles);
    for (int slot = 0; slot < MODEM_PROFILE_SLOTS; ++slot) {
        char name[16], stored[MODEM_PROFILE_SIZE];
        std::snprintf(name, sizeof name, "MODEM%d", slot);
        if (get_pref_string(name, stored, sizeof stored)) {
            if (slot <= 1 && std::strchr(stored, '-')) {
                take_default(slot, name);
                char connection[24];
                std::snprintf(connection, sizeof connection, "MODEM_CONNECTION%d", slot);
                set_pref_string(connection, "");
            } else if (!commands_of(stored, profiles[slot])) {
                profiles[slot][0] = '\0';
            }
        } else if (slot < MODEM_TYPE_COUNT) {
            take_default(slot, name);
        } else {
            profiles[slot][0] = '\0';
        }
    }
    int type = 0;
    modem_type = get_pref_int("MODEM_TYPE", &type) && type >= 0 && type < MODEM_TYPE_COUNT ? type : 0;
    int phone = 0;
    phone_type = get_pref_int("PHONE_TYPE", &phone) && phone == 1 ? 1 : 0;
}

const char* modem_profile(int slot) { return slot >= 0 && slot < MODEM_PROFILE_SLOTS ? profiles[slot] : ""; }

ModemCommands split_modem_profile(int slot) {
    ModemCommands commands;
    const char* start = modem_profile(slot);
    for (const char* bar; commands.count < MAX_MODEM_COMMANDS && (bar = std::strchr(start, '|')); start = bar + 1)
        std::snprintf(commands.lines[commands.count++], sizeof commands.lines[0], "%.*s\r", static_cast<int>(bar - start),
                      start);
    return commands;
}

void load_phone_book() {
    for (int i = 0; i < PHONE_BOOK_ENTRIES; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "PHONE_BOOK_NUMBER%d", i);
        if (!get_pref_string(name, phone_book[i].number, sizeof phone_book[i].number)) phone_book[i].number[0] = '\0';
        std::snprintf(name, sizeof name, "PHONE_BOOK_NAME%d", i);
        if (!get_pref_string(name, phone_book[i].name, sizeof phone_book[i].name)) phone_book[i].name[0] = '\0';
    }
    show_phone_book();
}

const char* phone_book_number(int entry) { return entry >= 0 && entry < PHONE_BOOK_ENTRIES ? phone_book[entry].number : ""; }
const char* phone_book_name(int entry) { return entry >= 0 && entry < PHONE_BOOK_ENTRIES ? shown_name(entry) : "-"; }

void choose_phone_book_entry(UiObject* object, Event& event) {
    int entry = event.value;
    for (int i = 0; i < PHONE_BOOK_ENTRIES; ++i)
        if (object && object == entry_radios[i]) entry = i;
    if (entry < 0 || entry >= PHONE_BOOK_ENTRIES) return;
    if (set_button && set_button->state) {
        close_name_field();
        naming_entry = entry;
        std::snprintf(typed_name, sizeof typed_name, "%s", std::strcmp(shown_name(entry), "-") ? shown_name(entry) : "");
        ui_key_focus = entry_texts[entry];
        show_phone_book();
        return;
    }
    if (phone_book[entry].number[0]) set_two_player_phone_number(phone_book[entry].number);
}

void type_phone_book_name(UiObject*, Event& event) {
    if (naming_entry < 0) return;
    if (!type_into(typed_name, PHONE_BOOK_NAME_SIZE, NAME_WIDTH, event.x, entry_texts[naming_entry])) return;
    PhoneBookEntry& entry = phone_book[naming_entry];
    std::snprintf(entry.name, sizeof entry.name, "%s", typed_name[0] ? typed_name : "-");
    std::snprintf(entry.number, sizeof entry.number, "%s", two_player_phone_number());
    char name[32];
    std::snprintf(name, sizeof name, "PHONE_BOOK_NAME%d", naming_entry);
    set_pref_string(name, entry.name);
    std::snprintf(name, sizeof name, "PHONE_BOOK_NUMBER%d", naming_entry);
    set_pref_string(name, entry.number);
    close_name_field();
    set_state(set_button, 0);
    release_entries();
}

void phone_book_set_button(UiObject*, Event&) {
    if (!set_button) return;
    const bool turning_on = set_button->state != 0;
    if (turning_on && (!two_player_phone_number()[0] || naming_entry >= 0)) {
        set_ui_state(set_button, 0);
    } else if (!turning_on) {
        close_name_field();
        release_entries();
    }
}

void create_modem_controls(UiObject* screen, UiObject* modem_area) {
    phone_type_text = row_text(modem_area, "Phone type", 133, 41);
    row_buttons(modem_area, "r7", 39, toggle_phone_type);
    answer_text = row_text(modem_area, "Modem answer", 133, 75);
    row_buttons(modem_area, "r8", 73, modem_answer_button);

    UiObject* dialling = create_ui_object(UI_BOX, modem_area, "Dial buttons", ATTR_RECT, 112, 108, 279, 125,
                                          ATTR_TRANSPARENT, 1);
    dial_radio = create_ui_object(UI_RADIO, dialling, "Dial number button", ATTR_RECT, 0, 0, 87, 17, ATTR_PICTURE,
                                  "menuscrn\\2p_dialn.bbm", ATTR_TRANSPARENT, 1, ATTR_NOTIFY, dial_button,
                                  ATTR_NOTIFY_EVENT, EV_SELECT);
    hang_up_radio = create_ui_object(UI_RADIO, dialling, "Hang up phone button", ATTR_RECT, 101, 0, 166, 17,
                                     ATTR_PICTURE, "menuscrn\\2p_hangu.bbm", ATTR_TRANSPARENT, 1, ATTR_NOTIFY,
                                     hang_up_button, ATTR_NOTIFY_EVENT, EV_SELECT);
    command_toggle = create_ui_object(UI_TOGGLE, modem_area, "Modem command button", ATTR_RECT, 103, 143, 252, 158,
                                      ATTR_PICTURE, "menuscrn\\dummy.bbm", ATTR_TRANSPARENT, 1, ATTR_NOTIFY,
                                      edit_modem_command, ATTR_NOTIFY_EVENT, EV_SELECT);
    command_text = field_text(modem_area, "Modem command", 105, 143, 148, type_modem_command);

    phone_book_area = create_ui_object(UI_PICTURE, screen, "Phone book area", ATTR_RECT, 0, 360, 319, 439,
                                       ATTR_PICTURE, "menuscrn\\2p_booka.bbm", ATTR_TRANSPARENT, 1, ATTR_SHOWN, 0);
    for (int i = 0; i < PHONE_BOOK_ENTRIES; ++i) {
        const int x = i < 3 ? 43 : 178, y = 16 + 16 * (i % 3);
        entry_radios[i] = create_ui_object(UI_RADIO, phone_book_area, "Phone book entry", ATTR_RECT, x, y, x + 95,
                                           y + 15, ATTR_PICTURE, "menuscrn\\dummy.bbm", ATTR_TRANSPARENT, 1,
                                           ATTR_NOTIFY, choose_phone_book_entry, ATTR_NOTIFY_EVENT, EV_SELECT);
        entry_texts[i] = field_text(phone_book_area, "Phone book name", x + 2, y, 94, type_phone_book_name);
        set_ui_attrs(entry_texts[i], ATTR_INPUT, 0);
    }
    set_button_area = create_ui_object(UI_PICTURE, screen, "Phone book set button area", ATTR_RECT, 320, 395, 431,
                                       426, ATTR_PICTURE, "menuscrn\\2p_setof.bbm", ATTR_TRANSPARENT, 1, ATTR_SHOWN, 0);
    set_button = create_ui_object(UI_TOGGLE, set_button_area, "Phone book set button", ATTR_RECT, 0, 0, 111, 31,
                                  ATTR_PICTURE, "menuscrn\\2p_seton.bbm", ATTR_TRANSPARENT, 1, ATTR_NOTIFY,
                                  phone_book_set_button, ATTR_NOTIFY_EVENT, EV_SELECT);
    show_phone_type();
    show_answer_mode(" ");
    show_phone_book();
}

void show_modem_controls(int on) {
    if (phone_book_area) show_ui_object(phone_book_area, on);
    if (set_button_area) show_ui_object(set_button_area, on);
}

void show_answer_mode(const char* text) { set_text(answer_text, text); }
void release_dial_button() { set_state(dial_radio, 0); }
void release_hang_up_button() { set_state(hang_up_radio, 0); }

void release_modem_command() {
    set_state(command_toggle, 0);
    if (ui_key_focus == command_text) ui_key_focus = nullptr;
}

}  // namespace vyr
