// The menu screens' callbacks: moving along the screen stack, choosing the game flow, the war
// zone and the coming flight's rules, and starting the flight.
#pragma once

#include <cstdint>

#include "library/system/event.h"
#include "library/ui/object.h"

namespace vyr {

// The coming or last quick start: 0 none, 1 normal (its score enters the top ten), 3 invincible.
extern int32_t quick_start_level;
extern int32_t quick_start_invincible;

// The "Small Back Button" asks it first: 0 stays on the screen. Null clears it.
using BackHook = int (*)();
void set_back_hook(BackHook hook);

void quick_start_zone_1(UiObject* object, Event& event);
void quick_start_zone_2(UiObject* object, Event& event);
void quick_start_zone_3(UiObject* object, Event& event);
void quick_start_zone_4(UiObject* object, Event& event);
void choose_war_zone_1(UiObject* object, Event& event);
void choose_war_zone_2(UiObject* object, Event& event);
void choose_war_zone_3(UiObject* object, Event& event);
void choose_war_zone_4(UiObject* object, Event& event);
void start_single_missions(UiObject* object, Event& event);
void start_campaign(UiObject* object, Event& event);
void combat_screen_shown(UiObject* object, Event& event);
void show_quick_start_screen(UiObject* object, Event& event);
void show_combat_screen(UiObject* object, Event& event);
void start_training(UiObject* object, Event& event);
void show_help_screen(UiObject* object, Event& event);
void show_preferences_screen(UiObject* object, Event& event);
void show_log_screen(UiObject* object, Event& event);
void show_recognition_screen(UiObject* object, Event& event);
void go_main_screen(UiObject* object, Event& event);
void go_back_screen(UiObject* object, Event& event);
void close_exit_screen(UiObject* object, Event& event);
void quit_game(UiObject* object, Event& event);
void play_next_movie(UiObject* object, Event& event);
void main_screen_shown(UiObject* object, Event& event);
void quick_start_screen_shown(UiObject* object, Event& event);
void toggle_quick_start_invincible(UiObject* object, Event& event);
void choose_quick_start_kind(UiObject* object, Event& event);
void toggle_training_invincible(UiObject* object, Event& event);
void toggle_training_weapons(UiObject* object, Event& event);
void load_campaign_mission(UiObject* object, Event& event);
// The help pages' buttons, page by page; the pages stay on the screen stack in order.
void help_forward_1(UiObject* object, Event& event);
void help_forward_2(UiObject* object, Event& event);
void help_forward_3(UiObject* object, Event& event);
void help_forward_4(UiObject* object, Event& event);
void help_back_1(UiObject* object, Event& event);
void help_back_2(UiObject* object, Event& event);
void help_back_3(UiObject* object, Event& event);
void help_back_4(UiObject* object, Event& event);
void help_exit_1(UiObject* object, Event& event);
void help_exit_2(UiObject* object, Event& event);
void help_exit_3(UiObject* object, Event& event);
void help_exit_4(UiObject* object, Event& event);
// The Exit Screen, from every "Small Quit Button".
void show_exit_screen(UiObject* object, Event& event);

}  // namespace vyr
