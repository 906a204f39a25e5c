#include "source/menus/brief/briefing.h"

#include <gtest/gtest.h>

#include <string>

#include "library/system/timer.h"
#include "library/ui/object.h"
#include "library/ui/setattr.h"
#include "library/ui/uoaccess.h"
#include "library/ui/utext.h"
#include "source/drone/drone.h"
#include "source/drone/task.h"
#include "source/drone/waypoint.h"
#include "source/flight.h"
#include "source/menus/front_end.h"
#include "source/menus/maps/map_screen.h"
#include "source/menus/maps/map_view.h"
#include "source/mission/game_flow.h"
#include "source/mission/mission.h"
#include "source/mission/selection.h"
#include "tests/support/headless_world.h"
#include "tests/support/worlds.h"

namespace vyr {
namespace {

// Placing the 3D view rebuilds the world's palette through the window thread.
const testing::Environment* const window_thread = testing::AddGlobalTestEnvironment(new WindowThreadEnvironment);

// The map's briefing objects under a root of their own, and a route A-B-C over Israel selected.
class Briefing : public GeneratedMission {
protected:
    void SetUp() override {
        GeneratedMission::SetUp();
        if (IsSkipped()) return;
        enter(1);
        build_menu_fonts();
        map_screen = create_ui_object(UI_BOX, nullptr, "Root Object", ATTR_RECT, 0, 0, 639, 479);
        auto window = [](const char* name, int x, int y, int w, int h) {
            return create_ui_object(UI_WINDOW, map_screen, name, ATTR_POS, x, y, ATTR_SIZE, w, h);
        };
        map_tool_box = window("Map Tool Box", 558, 40, 82, 161);
        map_3d_view = window("Map 3D View", 100, 100, 320, 260);
        for (int i = 0; i < 3; ++i)
            create_ui_object(UI_RADIO, map_3d_view, "Map 3D Random", ATTR_POS, 2 + 45 * i, 241, ATTR_SIZE, 41, 15);
        subtitles_box = window("Subtitles Box", 70, 400, 500, 50);
        subtitles_title = create_ui_object(UI_TEXT, subtitles_box, "Briefing Subtitles", ATTR_POS, 20, 2, ATTR_SIZE,
                                           500, 20, ATTR_FONT, &menu_font);
        subtitles_text = create_ui_object(UI_TEXT, subtitles_box, "Subtitles Text", ATTR_POS, 20, 18, ATTR_SIZE, 470,
                                          30, ATTR_FONT, &menu_font, ATTR_WRAP, 1);
        subtitles_scrollbar = create_ui_object(UI_SCROLL_V, subtitles_box, "Subtitles Scrollbar", ATTR_POS, 2, 18,
                                               ATTR_SIZE, 12, 30);
        briefing_button = create_ui_object(UI_BUTTON, map_screen, "Briefing", ATTR_POS, 558, 0, ATTR_SIZE, 82, 18,
                                           ATTR_TEXT, "Briefing", ATTR_FONT, &menu_font);
        map_view = {256, 0x4000000, 0x4000000, 0, 0, 0, 0};

        Drone* drone = create_drone(create_task());
        for (int i = 0; i < 3; ++i) {
            Waypoint* w = append_waypoint(drone);
            w->x = 0x4000000 + i * 10000;
            w->y = 0x4000000 - i * 5000;
            w->letter = char('A' + i);
        }
        select_waypoint(drone->first_waypoint);
        reset_briefing();
    }
    void TearDown() override {
        reset_briefing();
        briefing_running = 0;
        for (UiObject** object : {&map_screen, &map_tool_box, &map_3d_view, &subtitles_box, &subtitles_title,
                                  &subtitles_text, &subtitles_scrollbar, &briefing_button})
            *object = nullptr;
        destroy_ui_tree();
        current_mission = nullptr;
        in_flight = 0;
        set_game_flow(FLOW_NONE);
        GeneratedMission::TearDown();
    }

    // The table in short: "T@offset:text", "K:title", "Y35" (sync) and so on, one blank apart.
    static std::string table() {
        std::string out;
        for (int i = 0; i < briefing_entry_count; ++i) {
            const BriefingEntry& e = briefing_entries[i];
            const auto& v = e.value;
            if (!out.empty()) out += ' ';
            switch (e.kind) {
            case BRIEF_TEXT: out += "T@" + std::to_string(v[0]) + ":" + e.text; break;
            case BRIEF_TRACK: out += "K:" + e.text; break;
            case BRIEF_SPEECH: out += "S" + std::to_string(v[0]); break;
            case BRIEF_SYNC: out += "Y" + std::to_string(v[0]); break;
            case BRIEF_FLY:
                out += "F" + std::to_string((v[0] - 0x4000000) / 10000) + std::to_string((v[2] - 0x4000000) / 10000);
                break;
            case BRIEF_ROTATE: out += "R" + std::to_string((v[0] - 0x4000000) / 10000); break;
            case BRIEF_KEY: out += "E" + std::to_string(v[0]) + std::to_string(v[1]) + std::to_string(v[2]); break;
            default: out += "#" + std::to_string(e.kind);
            }
        }
        return out;
    }
    static void play(int steps) {
        for (int i = 0; i < steps; ++i) play_briefing_step();
    }
    static bool shown(UiObject* object) { return is_ui_shown(object) != 0; }
    Event press{EV_SELECT, 0, 0, 0, 0};
};

TEST_F(Briefing, ScriptsSplitIntoSubtitlesAndCommands) {
    const struct {
        const char* script;
        const char* table;
    } cases[] = {
        {"  Fly north\n to the river. \n", "T@0:Fly north\n to the river."},
        {"One{TRACK}Two{track  The Target }Three", "T@0:One K: T@4:Two K:The Target  T@8:Three"},
        {"{SYNC 35}{sync}{Speech -7}{SYNCx12}{RESYNC now}{ZOOM}{FIT}{NO3D}{PAY}{NOPAY}",
         "Y35 Y0 S-7 Y0 #5 #6 #7 #11 #12 #13"},
        {"{FLY AB}{FLY  BC}{FLY A B}{FLY AZ}{FLY A}{FLY}", "F01 F12"},
        {"{ROTATE C}{ROTATE Z}{ROTATE}{rotate   a}", "R2"},
        {"{KEY e s +}{KEY Ax-}{KEY A}{KEY q?+}", "E221 E100 E100 E001"},
        {" \n\t{FLY AZ}  {ROTATE Q}\r\n", ""},
        {"{TRACK unclosed", "K:unclosed"},
    };
    for (const auto& c : cases) {
        reset_briefing();
        split_briefing_text(c.script);
        EXPECT_EQ(table(), c.table) << c.script;
    }
    reset_briefing();
    split_briefing_text("One{TRACK}Two");
    EXPECT_STREQ(get_ui_text(subtitles_text), "One\nTwo\n");
}

TEST_F(Briefing, TheTableAndTheCommandHaveTheirLimits) {
    std::string script;
    for (int i = 0; i < MAX_BRIEFING_ENTRIES + 1; ++i) script += "{SYNC " + std::to_string(i) + "}";
    split_briefing_text(script.c_str());
    EXPECT_EQ(briefing_entry_count, MAX_BRIEFING_ENTRIES);
    EXPECT_EQ(briefing_entries[MAX_BRIEFING_ENTRIES - 1].value[0], MAX_BRIEFING_ENTRIES - 1);

    reset_briefing();
    split_briefing_text(("{TRACK " + std::string(114, 'x') + "}after").c_str());
    ASSERT_EQ(briefing_entry_count, 2);
    EXPECT_EQ(briefing_entries[0].text, std::string(MAX_BRIEFING_COMMAND - 6, 'x'));
    EXPECT_EQ(briefing_entries[1].text, "after") << "the rest of a long command is skipped, not read as text";
}

TEST_F(Briefing, AnUnknownCommandIsFatalNamingTheMissionFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Mission mission{};
    mission.zone = 1;
    mission.flow = FLOW_SINGLE_MISSION;
    mission.number = 1;
    current_mission = &mission;
    EXPECT_DEATH(split_briefing_text("Go.{ TRACK Intro}"),
                 "Add Unknown Briefing Command  TRACK Intro in missdata.*\\.txt");
    EXPECT_DEATH(parse_briefing("LAND"), "Add Unknown Briefing Command LAND");
}

TEST_F(Briefing, SyncHoldsUntilMoreThanItsTimeHasPassed) {
    const struct {
        const char* sync;
        int units_since_track;
        bool passes;
    } cases[] = {
        {"{SYNC 35}", 719, false}, {"{SYNC 35}", 720, true}, {"{SYNC 0}", 19, false},
        {"{SYNC 0}", 20, true},    {"{SYNC -1}", 0, true},
    };
    for (const auto& c : cases) {
        reset_briefing();
        split_briefing_text((std::string("{TRACK}") + c.sync).c_str());
        restart_briefing();
        play(1);
        briefing_time = read_clock() - c.units_since_track;
        play(1);
        EXPECT_EQ(briefing_position, c.passes ? 2 : 1) << c.sync << " after " << c.units_since_track;
    }
}

TEST_F(Briefing, ThePlayerShowsTitlesAndScrollsAndSteersThe3DView) {
    split_briefing_text("{TRACK Ingress}First.{ROTATE B}{SPEECH 2}{KEY A A +}{PAY}{FLY AC}{NOPAY}{FLY BC}{NO3D}");
    restart_briefing();
    EXPECT_FALSE(shown(map_tool_box));
    EXPECT_TRUE(shown(subtitles_box));
    const bool view_after[] = {false, false, true, true, true, false, true, false, true, false};
    show_ui_object(map_3d_view, 0);
    for (int i = 0; i < briefing_entry_count; ++i) {
        play(1);
        EXPECT_EQ(shown(map_3d_view), view_after[i]) << "after entry " << i;
    }
    EXPECT_STREQ(get_ui_text(subtitles_title), "Ingress");
    EXPECT_EQ(get_ui_width(map_3d_view), 242);
    EXPECT_EQ(briefing_running.load(), 1);
    play(1);
    EXPECT_EQ(briefing_running.load(), 0) << "the end of the table stops the player";
}

TEST_F(Briefing, PlaybackButtonsMoveBetweenSections) {
    split_briefing_text("{TRACK One}a{TRACK Two}b{TRACK Three}c");  // tracks at 0, 2, 4
    restart_briefing();
    play(3);
    briefing_back(nullptr, press);
    EXPECT_EQ(briefing_position, 0) << "the section before the one in progress";
    briefing_back(nullptr, press);
    EXPECT_EQ(briefing_position, -1);
    EXPECT_EQ(briefing_running.load(), 0) << "stopped before the start";
    play_briefing_step();
    EXPECT_EQ(briefing_position, -1) << "nothing is read before the table";
    briefing_forward(nullptr, press);
    EXPECT_EQ(briefing_position, 0);
    EXPECT_EQ(briefing_running.load(), 1);
    briefing_position = 1;
    briefing_forward(nullptr, press);
    EXPECT_EQ(briefing_position, 2);
    briefing_end(nullptr, press);
    EXPECT_EQ(briefing_position, 5);
    EXPECT_FALSE(shown(subtitles_box));
    play(2);
    EXPECT_EQ(briefing_running.load(), 0);
    briefing_back(nullptr, press);
    EXPECT_EQ(briefing_position, 2) << "from the end: the last section is in progress";
    briefing_start(nullptr, press);
    EXPECT_EQ(briefing_position, 0);
    EXPECT_EQ(briefing_running.load(), 1);
}

TEST_F(Briefing, AScriptWithoutEntriesLeavesThePlayerStopped) {
    split_briefing_text("  {FLY AZ}\n");
    briefing_running = 0;
    for (auto button : {briefing_end, briefing_forward}) {
        button(nullptr, press);
        EXPECT_EQ(briefing_running.load(), 0);
    }
}

TEST_F(Briefing, TheBriefingButtonOnlyHidesOrShowsWithoutASpeechToStart) {
    ASSERT_TRUE(is_ui_visible(subtitles_box));
    toggle_briefing_subtitles(briefing_button, press);
    EXPECT_FALSE(shown(subtitles_box));
    set_ui_text(briefing_button, "Debrief");
    set_game_flow(FLOW_SINGLE_MISSION);
    toggle_briefing_subtitles(briefing_button, press);
    EXPECT_TRUE(shown(subtitles_box));
}

TEST_F(Briefing, NoScriptHidesTheSubtitlesAtTheirTallSize) {
    for (int start_height : {50, 210}) {
        resize_ui_object(subtitles_box, 500, start_height);
        do_briefing(nullptr);
        EXPECT_FALSE(shown(subtitles_box));
        EXPECT_EQ(get_ui_height(subtitles_box), 210) << start_height;
        EXPECT_EQ(get_ui_y(subtitles_box) + get_ui_height(subtitles_box), 478);
        EXPECT_EQ(get_ui_height(subtitles_text), 190);
    }
}

TEST_F(Briefing, TakingOffStopsTheBriefing) {
    split_briefing_text("{TRACK One}a");
    restart_briefing();
    in_flight = 1;  // no second flight is started
    briefing_takeoff(nullptr, press);
    EXPECT_EQ(briefing_running.load(), 0) << "the rest would replace the debrief's title";
}

TEST_F(Briefing, TheViewWindowGoesToTheFirstBestSpotOfTheScan) {
    const struct {
        float points[2][2];
        int point_count;
        float segment[4];
        int segment_count;
        int window_x, window_y;
    } cases[] = {
        {{{496, 306}}, 1, {}, 0, 8, 8},
        {{{128, 98}}, 1, {}, 0, 376, 216},
        {{}, 0, {0, 200, 640, 200}, 1, 8, 216},  // every x ties: the first stays
        {{{300, 200}, {310, 200}}, 2, {300, 0, 300, 0}, 1, 376, 216},  // a one-point segment is its point
    };
    for (const auto& c : cases) {
        clear_view_avoid_lists();
        for (int i = 0; i < c.point_count; ++i) add_view_avoid_pixel_point(c.points[i][0], c.points[i][1]);
        if (c.segment_count) add_view_avoid_pixel_segment(c.segment[0], c.segment[1], c.segment[2], c.segment[3]);
        place_3d_view_window();
        EXPECT_EQ(get_ui_x(map_3d_view), c.window_x);
        EXPECT_EQ(get_ui_y(map_3d_view), c.window_y);
    }
    EXPECT_FLOAT_EQ(distance_to_segment(5, 5, 5, 0, 5, 0), 5.0f);
    EXPECT_FLOAT_EQ(distance_to_segment(3, 4, -10, 0, 10, 0), 4.0f);
    EXPECT_FLOAT_EQ(distance_to_segment(13, 4, -10, 0, 10, 0), 5.0f);
}

}  // namespace
}  // namespace vyr
