// The menu screens.
#pragma once

namespace vyr {

// The Main Screen (at once, or through the screen stack's fade) and the Preferences Screen over it.
void push_main_screen(int at_once);
void push_preferences_screen();

}  // namespace vyr
