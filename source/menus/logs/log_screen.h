// The Log Screen: the user's pilots, the current one's spoken call sign and details, and the
// plates that create, delete and rename pilots. Errors show in a one-line box on the screen.
#pragma once

namespace vyr {

struct UiObject;
struct Event;

constexpr int LOG_LIST_LINES = 31;
constexpr int LOG_VISIBLE_LINES = 8;

// The whole page again from the loaded logs: the list, the call signs, the medals, the details.
void fill_log_details();

void log_screen_shown(UiObject* object, Event& event);
void select_log_entry(UiObject* object, Event& event);
// Nothing at 30 logs; else a new active pilot becomes current and the box to name it opens.
void create_log_entry(UiObject* object, Event& event);
void delete_current_log(UiObject* object, Event& event);
void rename_current_log(UiObject* object, Event& event);
// Key events of the name box: Enter keeps the name ("de Fault" for none), Escape drops it.
void edit_log_name(UiObject* object, Event& event);
void choose_call_sign_1(UiObject* object, Event& event);
void choose_call_sign_2(UiObject* object, Event& event);
void scroll_logs_up(UiObject* object, Event& event);
void scroll_logs_down(UiObject* object, Event& event);

// The list's first line shown.
int log_list_top_line();

}  // namespace vyr
