// The modem's profiles, the phone book and the modem's replies, with the modem area's controls of
// the two-player screen.
#pragma once

#include <cstdint>

#include "library/system/event.h"
#include "source/sknet/modem_reply.h"

namespace vyr {

struct UiObject;

constexpr int MODEM_PROFILE_SLOTS = 10;
constexpr int MODEM_PROFILE_SIZE = 200;
constexpr int MODEM_TYPE_COUNT = 5;
constexpr int MAX_MODEM_COMMANDS = 20;
constexpr int PHONE_BOOK_ENTRIES = 6;
constexpr int PHONE_BOOK_NUMBER_SIZE = 50;
constexpr int PHONE_BOOK_NAME_SIZE = 20;
constexpr int MODEM_COMMAND_SIZE = 50;
// Which profile the screen chose, 0..4, and its command lines (each ended by "\r").
extern int32_t modem_type;
struct ModemCommands {
    int count = 0;
    char lines[MAX_MODEM_COMMANDS][MODEM_PROFILE_SIZE + 1] = {};
};

// With `clear_first` every slot is forgotten first; slots 0..4 take and store their defaults when
// absent, and a slot 0 or 1 holding "-" is put back to its default.
void load_modem_profiles(int clear_first);
// Slot 0..9's commands after the model name ("" when empty).
const char* modem_profile(int slot);
// The chosen profile's command lines, at most 20.
ModemCommands split_modem_profile(int slot);

// The phone book: entry 0..5's number and name (empty when unset).
void load_phone_book();
const char* phone_book_number(int entry);
const char* phone_book_name(int entry);
void choose_phone_book_entry(UiObject* object, Event& event);
void type_phone_book_name(UiObject* object, Event& event);
void phone_book_set_button(UiObject* object, Event& event);

// The modem area's controls beside the phone number: the phone type and answer rows, dial and
// hang up, the modem command; and the phone book with its set button.
void create_modem_controls(UiObject* screen, UiObject* modem_area);
void show_modem_controls(int on);
void show_answer_mode(const char* text);
void release_dial_button();
void release_hang_up_button();
void release_modem_command();
// 0 tone, 1 pulse.
extern int32_t phone_type;

}  // namespace vyr
