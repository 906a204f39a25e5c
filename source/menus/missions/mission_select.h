// The mission select screen: the list of missions of the chosen flow and war zone.
#pragma once

namespace vyr {

struct UiObject;
extern UiObject* missions_select_screen;
void create_mission_screen();
// The mission select screen in the war zone's dress (zone 5: training's).
void dress_mission_screens(int zone);

}  // namespace vyr
