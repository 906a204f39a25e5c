// The menu screens: every screen a full-screen picture under one root object, built once at
// start-up in a fixed order and shown only through the screen stack.
#pragma once

#include <array>

#include "library/ui/object.h"

namespace vyr {

// Fonts, root, and every screen with its objects; shows nothing.
void create_menu_screens();

// A hidden screen filling the root, with its background picture (which carries the look of its
// buttons unpressed) and, when given, a notify for EV_DISPLAY.
UiObject* create_menu_screen(const char* name, const char* picture, UiNotify display = nullptr);
// A button of the small-button bar in its slot (0 to 5, left to right).
UiObject* create_bar_button(UiObject* screen, int slot, const char* name, const char* picture, UiNotify notify);
// A transparent picture button notifying on EV_SELECT; its picture is its pressed look.
UiObject* create_menu_button(UiObject* screen, const char* name, int x0, int y0, int x1, int y1,
                             const char* picture, UiNotify notify);

// A small-button bar along the bottom: one button a slot, its picture "menuscrn\<prefix><suffix>.bbm".
enum class SmallButton { HELP, PREFS, MAIN, LOG, RECOG, BACK, QUIT };
void create_small_bar(UiObject* screen, const char* prefix, const std::array<SmallButton, 6>& buttons,
                      const std::array<const char*, 6>& suffixes);

// The six small buttons of a war zone's own screens, "menuscrn\<prefix>help.bbm" to "quit.bbm"
// (Help, Prefs, Log, Recog, Back, Quit), and their pictures of another zone's prefix.
std::array<UiObject*, 6> create_zone_bar(UiObject* screen, const char* prefix);
void dress_zone_bar(const std::array<UiObject*, 6>& bar, const char* prefix);

// The Main Screen (at once, or through the screen stack's fade) and the Preferences Screen over it.
void push_main_screen(int at_once);
void push_preferences_screen();

// Undoes what the set-up of a two-player mission changes on the Game Screen (its map buttons, the
// Afghan one only when asked, and small buttons shown, its remote-control message hidden), the
// mission select screen and the map.
void restore_single_player_dress(bool with_afghan_map);

// The Situation Screen in the war zone's dress (zones 1 to 4): its map and its buttons.
void dress_situation_screen(int zone);

// The MUSIC_SCREEN_* bits of the screens on show, for the music's choice.
int shown_music_screens();

extern UiObject* exit_screen;
extern UiObject* main_screen;
extern UiObject* quick_start_screen;
extern UiObject* tv_scores_screen;
extern UiObject* help_pages[4];
extern UiObject* game_screen;
extern UiObject* combat_screen;
extern UiObject* movie_backdrop;
extern UiObject* situation_screen;
extern UiObject* situation_text;
// On the mission select screen: "training crashes button on", "Training weapons button on".
extern UiObject* training_toggles[2];
// Promotion, then the three medals.
extern UiObject* award_screens[4];
// The quick-start kind's radios.
extern UiObject* air_combat_radio;
extern UiObject* ground_combat_radio;

}  // namespace vyr
