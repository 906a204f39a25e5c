// The mission select screen: the list of missions of the chosen flow and war zone, each with the
// current pilot's result, the description of the one clicked, and its opening on the map.
#pragma once

#include <cstdint>

#include "library/system/event.h"

namespace vyr {

struct Mission;
struct UiObject;
extern UiObject* missions_select_screen;
// Set once a mission was opened from the list.
extern int32_t map_entered_from_list;
// The list of missions, whose line the other machine's choice selects on the follower.
extern UiObject* mission_list;

void create_mission_screen();
// The mission select screen in the war zone's dress (zone 5: training's): background, small
// buttons and "Load Mission"; the description box hidden.
void dress_mission_screens(int zone);

// Numbers, titles and result signs of the missions the filter passes, in number order.
void compile_mission_list();
// Makes the n-th listed mission (from 0) current and shows its description: 1, or 0 when the list
// has no such line (the description is then cleared and nothing is current).
int select_listed_mission(int n);
// Opens the mission on the map with its briefing.
void start_chosen_mission(Mission* mission);

Mission* get_current_mission();
void set_current_mission(Mission* mission);
// Removes the current mission's record and its saved data file; none is current afterwards.
void delete_current_mission();

// The Back hook the map leaves behind: refuses once while a mission opened from the list has
// unsaved changes, and removes itself.
int map_back_hook();

// The notifies of the screen's objects.
void missions_screen_shown(UiObject* object, Event& event);
void select_mission_from_list(UiObject* object, Event& event);
void load_chosen_mission(UiObject* object, Event& event);
void choose_mission_level(UiObject* object, Event& event);

// Back to the player after a linked set-up: the buttons and the list take input, the remote
// message hidden.
void return_mission_screen_to_local_control();

}  // namespace vyr
