// Stand-in for the screens of the front end not built yet (recognition, preferences, pilot logs,
// debrief, goals, map), which show only their background pictures, and the choice of campaign
// missions.
#include "library/ui/screens.h"
#include "library/ui/upicture.h"
#include "source/controls.h"
#include "source/menus/debrief/debrief.h"
#include "source/menus/front_end.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/missions/campaign.h"
#include "source/menus/missions/catalogue.h"
#include "source/mission/goals.h"
#include "source/menus/missions/mission_select.h"
#include "source/menus/prefs_screens.h"
#include "source/menus/recognition.h"
#include "source/menus/screens.h"
#include "source/recorder.h"
#include "source/weapons/round_impact.h"

namespace vyr {

int32_t mission_planner = 0;
int32_t first_run_flight = 0;
int32_t goal_damage_tally = 0;
int32_t landing_goal_met = 0;
int32_t soldiers_picked_up = 0;
int32_t soldiers_delivered = 0;
int32_t waypoints_reached = 0;


const uint8_t* get_menu_colour_table() { return nullptr; }
void set_visual_detail(int) {}

// Flown from the keyboard until the control devices are chosen.
void apply_control_type() {
    control_type = CONTROL_KEYBOARD;
    joystick_throttle = joystick_throttle_curve = joystick_rudder = 0;
}

// The screens of the recognition viewer, the preferences, the pilot logs and the mission list show
// only their backgrounds and a way back.
UiObject* recognition_screen = nullptr;
UiObject* preferences_screen = nullptr;
UiObject* log_screen = nullptr;
UiObject* missions_select_screen = nullptr;
void create_mission_screen() {
    missions_select_screen = create_bare_screen("Missions Select Screen", "menuscrn\\m_cy_off.lbm");
}
void create_recognition_screen() {
    recognition_screen = create_bare_screen("Vehicle Recognition Screen", "menuscrn\\rec_off.lbm");
}
void create_preferences_screens() {
    preferences_screen = create_bare_screen("Preferences Screen", "menuscrn\\pref3_of.lbm");
}
void refresh_preferences_screen() {}
void create_log_screen() { log_screen = create_bare_screen("Log Screen", "menuscrn\\logs_off.lbm"); }
void dress_mission_screens(int zone) {
    const char* const backgrounds[] = {"menuscrn\\m_is_off.lbm", "menuscrn\\m_ko_off.lbm", "menuscrn\\m_cy_off.lbm",
                                       "menuscrn\\m_af_off.lbm", "menuscrn\\training.lbm"};
    if (zone >= 1 && zone <= 5) set_ui_picture(missions_select_screen, backgrounds[zone - 1]);
}

// No campaign, map, goal or debrief screen exists yet to write or show; the flight's
// records are kept until the next one, and an award screen only closes.
void refresh_map_screen() {}
void return_screens_to_local_control() {}
void reset_debrief_records() { reset_flight_records(); }
void show_debrief() {}
void close_award_screen(UiObject*, Event&) { pop_screen(); }
// No campaign mission is chosen yet: a campaign in progress finds none at its level.
int choose_campaign_mission(Mission** mission) {
    *mission = nullptr;
    PilotLog* log = current_pilot_log;
    if (!log || get_log_current_campaign(log) == 0) return -1;
    const int level = get_campaign_level(log);
    if (level == 0) return -2;
    if (level == 11) return -3;
    return get_campaign_lives(log) == 0 ? -2 : 0;
}
void open_campaign_mission() {}
// The goals count nothing yet but the weapons' runway result, cleared with them.
void init_mission_goals() {
    runway_damage = 0;
    runway_destroyed = 0;
}
void check_mission_accomplished() {}
void restore_destroyed_ground_objects() {}
void note_mission_drone_killed() {}
void note_mission_target_destroyed() {}
void note_waypoint_reached() {}

}  // namespace vyr
