#include "source/menus/missions/mission_select.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "library/config/prefs.h"
#include "library/graphics/ddraw.h"
#include "library/ui/object.h"
#include "library/ui/setattr.h"
#include "source/menus/front_end.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/missions/catalogue.h"
#include "source/menus/notify.h"
#include "source/menus/screens.h"
#include "source/mission/game_flow.h"
#include "source/mission/mission.h"
#include "source/mission/mission_data.h"
#include "source/sknet/link.h"
#include "source/sknet/remote_choices.h"
#include "tests/source/mission/zone_fixture.h"

namespace vyr {
namespace {

UiObject* find_object(UiObject* parent, const char* name) {
    for (UiObject* child = parent->first_child; child; child = child->next_sibling) {
        if (std::strncmp(child->name, name, UI_NAME_SIZE - 1) == 0) return child;  // names are cut to fit
        if (UiObject* found = find_object(child, name)) return found;
    }
    return nullptr;
}

std::string text_of(const char* name) {
    const UiObject* object = find_object(missions_select_screen, name);
    return object && object->text ? object->text : "";
}

bool shown(const char* name) {
    const UiObject* object = find_object(missions_select_screen, name);
    EXPECT_NE(object, nullptr) << name;
    return object && (object->flags & UIF_SHOWN);
}

// The screen over Israel's single missions 3, 1 and 2 (1 untitled), a Korean one and an Israeli
// training mission, flown by a pilot who failed mission 2 and was outstanding in mission 3.
class MissionSelect : public GeneratedZone {
protected:
    void SetUp() override {
        GeneratedZone::SetUp();
        if (IsSkipped()) return;
        load_prefs(nullptr);
        enter(WAR_ZONE_ISRAEL);
        build_menu_fonts();
        set_display_clip(0, 0, 639, 479);
        create_ui_object(UI_BOX, nullptr, "Root", ATTR_RECT, 0, 0, 639, 479);
        create_mission_screen();
        for (UiObject*& toggle : training_toggles) toggle = create_ui_object(UI_TOGGLE, ui_root, "Training toggle");
        add("C", 3, WAR_ZONE_ISRAEL, FLOW_SINGLE_MISSION);
        add(nullptr, 1, WAR_ZONE_ISRAEL, FLOW_SINGLE_MISSION);
        add("B", 2, WAR_ZONE_ISRAEL, FLOW_SINGLE_MISSION);
        add("Korean", 4, WAR_ZONE_KOREA, FLOW_SINGLE_MISSION);
        add("Training", 5, WAR_ZONE_ISRAEL, FLOW_TRAINING);
        current_pilot_log = create_pilot_log();
        set_log_status(current_pilot_log, 2);  // active: "Load Mission" is not sent to the log screen
        log_mission_result(current_pilot_log, 2, WAR_ZONE_ISRAEL, 0);
        set_log_mission_result(current_pilot_log, WAR_ZONE_ISRAEL, 2, 0, LOG_FAILED);
        log_mission_result(current_pilot_log, 3, WAR_ZONE_ISRAEL, 0);
        set_log_mission_result(current_pilot_log, WAR_ZONE_ISRAEL, 3, 0, LOG_OUTSTANDING);
        set_game_flow(FLOW_SINGLE_MISSION);
        clear_mission_filter();
        set_mission_filter_zone(WAR_ZONE_ISRAEL);
        set_mission_filter_single();
        two_player_position = 1;
        Event show{EV_DISPLAY, 1, 0, 0, 0};
        missions_screen_shown(missions_select_screen, show);
    }
    void TearDown() override {
        while (pilot_logs) delete_pilot_log(pilot_logs);
        current_pilot_log = nullptr;
        current_mission = nullptr;
        two_player_position = 1;
        free_mission_catalogue();
        destroy_ui_tree();
        training_toggles[0] = training_toggles[1] = nullptr;
        GeneratedZone::TearDown();
    }

    static void add(const char* title, int number, int zone, int flow) {
        Mission* mission = create_mission_record();
        mission->number = number;
        if (title) add_mission_title(mission, title);
        add_mission_description(mission, ("About " + std::to_string(number)).c_str());
        set_mission_zone(mission, zone);
        set_mission_flow(mission, flow);
    }

    static void click_line(int line) {
        UiObject* list = find_object(missions_select_screen, "Mission List");
        Event click{EV_MOUSE_CLICK, 1, 100, list->y0 + 16 * line + 5, 0};
        select_mission_from_list(list, click);
    }
    // The other machine's choice of a line, as this machine's list hears it.
    static void remote_line(int line) { press_mission_line(line); }
};

TEST_F(MissionSelect, ListsTheFilteredMissionsInNumberOrderWithThePilotsResults) {
    EXPECT_EQ(text_of("Mission Number"), "  1\n  2\n  3");
    EXPECT_EQ(text_of("Mission List"), "\nB\nC") << "the untitled mission keeps its line";
    EXPECT_EQ(text_of("Mission Ticks"), ".\n\3\n\1") << "not flown, failed, outstanding";
    EXPECT_FALSE(shown("Mission Level")) << "the levels are the campaign's";
}

TEST_F(MissionSelect, AClickShowsTheLinesMissionAndTheSelectedLineAgainChangesNothing) {
    EXPECT_FALSE(shown("Load Mission"));
    click_line(0);  // the first line is free to choose once the screen is shown
    ASSERT_NE(current_mission, nullptr);
    EXPECT_EQ(current_mission->number, 1);
    EXPECT_EQ(text_of("Missions Info Text"), "About 1");
    EXPECT_TRUE(shown("Mission Select Screen Background"));
    EXPECT_TRUE(shown("Load Mission"));
    click_line(2);
    EXPECT_EQ(current_mission->number, 3);
    show_ui_object(find_object(missions_select_screen, "Load Mission"), 0);
    click_line(2);
    EXPECT_FALSE(shown("Load Mission")) << "the selected line clicked again does nothing";
    click_line(5);
    EXPECT_FALSE(shown("Mission Select Screen Background")) << "a line past the list shows nothing";
    EXPECT_EQ(text_of("Missions Info Text"), "");
}

TEST_F(MissionSelect, TheFollowerTakesTheOtherMachinesLinesAndNoneBeyondItsList) {
    two_player_position = 2;
    remote_line(1);
    ASSERT_NE(current_mission, nullptr);
    EXPECT_EQ(current_mission->number, 2);
    EXPECT_EQ(find_object(missions_select_screen, "Mission List")->selection, 1);
    for (int line : {3, -1, 1 << 30}) {
        remote_line(line);
        EXPECT_EQ(current_mission, nullptr) << line;
        EXPECT_EQ(find_object(missions_select_screen, "Mission List")->selection, -1) << line;
        EXPECT_FALSE(shown("Mission Select Screen Background")) << line;
        Event load{EV_SELECT, line, 0, 0, 0};
        load_chosen_mission(find_object(missions_select_screen, "Load Mission"), load);
        EXPECT_EQ(map_entered_from_list, 0) << line << ": nothing is started";
        press_mission_next();
        EXPECT_EQ(map_entered_from_list, 0) << line << ": the list holds no line to load";
    }
}

TEST_F(MissionSelect, TheBackHookSwallowsOneBackAfterAnUnsavedEdit) {
    map_entered_from_list = 1;
    mission_modified = 1;
    EXPECT_EQ(map_back_hook(), 0);
    mission_modified = 0;
    EXPECT_EQ(map_back_hook(), 1);
    map_entered_from_list = 0;
}

}  // namespace
}  // namespace vyr
