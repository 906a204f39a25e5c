// The Log Screen: pilots created, named, deleted and scrolled, call signs chosen, and the
// current pilot's detail page.
#include "source/menus/logs/log_screen.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "library/ui/route.h"
#include "library/ui/uoaccess.h"
#include "source/menus/logs/pilot_log.h"
#include "source/startup.h"
#include "tests/source/menus/menu_objects.h"

namespace vyr {
namespace {

constexpr int LINE_HEIGHT = 16;  // the menu font's

class LogScreen : public MenuObjects {
protected:
    void SetUp() override {
        MenuObjects::SetUp();
        if (IsSkipped()) return;
        init_pilot_logs();
        create_log_screen();
        Event shown{EV_DISPLAY, 1, 0, 0, 0};
        log_screen_shown(log_screen, shown);
        while (log_list_top_line() > 0) scroll_logs_up(nullptr, shown);
    }
    void TearDown() override {
        while (pilot_logs) delete_pilot_log(pilot_logs);
        product_language = LANG_ENGLISH;
        MenuObjects::TearDown();
    }

    static int count() {
        int n = 0;
        for (PilotLog* log = first_pilot_log(); log; log = next_pilot_log(log)) ++n;
        return n;
    }
    static void press(void (*callback)(UiObject*, Event&)) {
        Event select{EV_SELECT, 0, 0, 0, 0};
        callback(nullptr, select);
    }
    static void type(const std::string& keys) {
        for (char c : keys) {
            Event key{EV_KEY, 0, c, 0, 0};
            edit_log_name(nullptr, key);
        }
    }
    static void click_line(const char* name, int line) {
        UiObject* text = find(log_screen, name);
        Event click{EV_MOUSE_CLICK, 1, get_ui_left(text) + 5, get_ui_top(text) + line * LINE_HEIGHT + 3, 0};
        text->notify(text, click);
    }
    static std::vector<std::string> lines(const char* name) {
        std::vector<std::string> out;
        std::istringstream in(get_ui_text(find(log_screen, name)));
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    }
    static bool shown(const char* name) { return is_ui_shown(find(log_screen, name, 0)) != 0; }
};

TEST_F(LogScreen, ANewPilotIsNamedByEnterAndAnEmptyNameIsDeFaultWithoutMakingADefaultLog) {
    const int before = count();
    press(create_log_entry);
    ASSERT_EQ(count(), before + 1);
    PilotLog* pilot = current_pilot_log;
    EXPECT_EQ(get_log_rank(pilot), 2);
    EXPECT_EQ(get_log_status(pilot), LOG_STATUS_ACTIVE);
    EXPECT_EQ(get_log_radio_call_sign(pilot), LOG_DEFAULT_RADIO_CALL_SIGN);
    EXPECT_EQ(ui_key_focus, find(log_screen, "Log Rename Text"));
    EXPECT_STREQ(get_ui_text(find(log_screen, "Log Rename Title")), "Name Log");
    type("\n");
    EXPECT_STREQ(get_log_name(pilot), "de Fault");
    EXPECT_FALSE(is_default_log(pilot));
    EXPECT_EQ(ui_key_focus, nullptr);

    press(rename_current_log);
    EXPECT_STREQ(get_ui_text(find(log_screen, "Log Rename Title")), "Rename Log");
    type(std::string(8, '\b') + "Mavericx\bk\n");
    EXPECT_STREQ(get_log_name(pilot), "Maverick");
    EXPECT_EQ(lines("Log Entries")[before], std::string(get_log_rank_name(pilot)) + " Maverick");
    press(rename_current_log);
    type("Goose\x1b");
    EXPECT_STREQ(get_log_name(pilot), "Maverick") << "Escape keeps the name";
    press(rename_current_log);
    type(std::string(40, 'x') + "\n");
    EXPECT_EQ(std::string(get_log_name(pilot)).size(), 30u) << "the name stops growing at 30";
}

TEST_F(LogScreen, ThirtyLogsAreTheMostAndTheListScrollsToEachNewOne) {
    while (count() < LOG_FILES_PER_USER) {
        press(create_log_entry);
        type("\n");
        EXPECT_EQ(log_list_top_line(), std::max(0, count() - LOG_VISIBLE_LINES)) << count();
    }
    press(create_log_entry);
    EXPECT_EQ(count(), LOG_FILES_PER_USER);
    EXPECT_EQ(lines("Log Entries").size(), size_t(LOG_LIST_LINES));
    EXPECT_EQ(lines("Log Entries").back(), "- Empty -");

    Event none{};
    scroll_logs_down(nullptr, none);
    EXPECT_EQ(log_list_top_line(), LOG_FILES_PER_USER - LOG_VISIBLE_LINES) << "no log below the list";
    for (int i = 0; i < 40; ++i) scroll_logs_up(nullptr, none);
    EXPECT_EQ(log_list_top_line(), 0);
    scroll_logs_down(nullptr, none);
    EXPECT_EQ(log_list_top_line(), 1);
}

TEST_F(LogScreen, TheDefaultLogCanBeNeitherDeletedNorRenamedAndOthersGo) {
    PilotLog* default_log = current_pilot_log;
    ASSERT_TRUE(is_default_log(default_log));
    const struct {
        void (*callback)(UiObject*, Event&);
        const char* error;
    } refusals[] = {{delete_current_log, "Current Log Indestructable"}, {rename_current_log, "Cannot Rename Pilot"}};
    for (const auto& refusal : refusals) {
        press(refusal.callback);
        EXPECT_TRUE(shown("Log Screen Error Box"));
        EXPECT_STREQ(get_ui_text(find(log_screen, "Log Screen Error Text")), refusal.error);
        EXPECT_EQ(current_pilot_log, default_log);
    }
    press(create_log_entry);
    type("Iceman\n");
    EXPECT_FALSE(shown("Log Screen Error Box"));
    press(delete_current_log);
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(current_pilot_log, default_log) << "the one before takes its place";

    current_pilot_log = nullptr;
    press(delete_current_log);
    EXPECT_STREQ(get_ui_text(find(log_screen, "Log Screen Error Text")), "No Current Log");
}

TEST_F(LogScreen, ClickingAPilotMakesItCurrentAndAnEmptyLineCreatesOne) {
    PilotLog* default_log = current_pilot_log;
    press(create_log_entry);
    type("Ghost\n");
    click_line("Log Entries", 0);
    EXPECT_EQ(current_pilot_log, default_log);
    EXPECT_EQ(get_ui_selected_line(find(log_screen, "Log Entries")), 0);
    click_line("Log Entries", 5);
    EXPECT_EQ(count(), 3);
    EXPECT_STREQ(get_ui_text(find(log_screen, "Log Rename Title")), "Name Log");
}

TEST_F(LogScreen, CallSignsAreChosenByLineAndOneOutOfRangeShowsViper) {
    PilotLog* pilot = current_pilot_log;
    set_log_radio_call_sign(pilot, 0);
    fill_log_details();
    EXPECT_EQ(get_log_radio_call_sign(pilot), 19);
    EXPECT_EQ(get_ui_selected_line(find(log_screen, "Log callsigns col 2")), 8);
    EXPECT_EQ(lines("Log callsigns col 2")[8], "Viper   ");
    EXPECT_EQ(get_ui_selected_line(find(log_screen, "Log callsigns col 1")), -1);

    click_line("Log callsigns col 1", 2);
    EXPECT_EQ(get_log_radio_call_sign(pilot), 3);
    EXPECT_EQ(get_ui_selected_line(find(log_screen, "Log callsigns col 1")), 2);
    EXPECT_EQ(get_ui_selected_line(find(log_screen, "Log callsigns col 2")), -1);
    PilotLog* read = create_pilot_log();
    read_pilot_log(read, pilot->file_number);
    EXPECT_EQ(get_log_radio_call_sign(read), 3) << "written at once";
    delete_pilot_log(read);
}

TEST_F(LogScreen, TheDetailPageShowsTimesMissionsCampaignsKillsAndMedals) {
    press(create_log_entry);
    type("Jester\n");
    PilotLog* pilot = current_pilot_log;
    add_log_total_time(pilot, (3600 + 2 * 60 + 3) * 200 + 199);
    add_log_combat_time(pilot, 61 * 200);
    log_mission_result(pilot, 4, 2, 0);
    set_log_mission_result(pilot, 2, 4, 0, LOG_SUCCESSFUL);
    log_mission_result(pilot, 5, 2, 0);
    set_log_mission_result(pilot, 2, 5, 0, LOG_FAILED);
    set_log_current_campaign(pilot, 2);
    set_campaign_level(pilot, 5);
    set_campaign_won(pilot, 1);
    set_campaign_won(pilot, 3);
    add_log_air_kills(pilot, 7);
    add_log_ground_kills(pilot, 2);
    set_log_medal(pilot, 0, 1);
    set_log_medal(pilot, 2, 1);
    fill_log_details();
    const std::vector<std::string> values = lines("Log Detail details");
    ASSERT_EQ(values.size(), 13u);
    EXPECT_EQ(values[1], "01:02:03");
    EXPECT_EQ(values[2], "00:01:01");
    EXPECT_EQ(values[5], "1") << "successful";
    EXPECT_EQ(values[6], "1") << "failed";
    EXPECT_EQ(values[7], "Korea level 5");
    EXPECT_EQ(values[8], "Cyprus, Israel");
    EXPECT_EQ(values[9], "7");
    EXPECT_EQ(values[10], "2");
    EXPECT_EQ(lines("Log Detail headings")[4], "Outstanding missions:");
    EXPECT_TRUE(shown("Medal 1 sprite"));
    EXPECT_FALSE(shown("Medal 2 sprite"));
    EXPECT_TRUE(shown("Medal 3 sprite"));

    product_language = LANG_ITALIAN;
    fill_log_details();
    EXPECT_EQ(lines("Log Detail headings")[0], "Stato:");
    EXPECT_EQ(lines("Log Detail details")[7], "Korea livello 5");
    click_line("Log Entries", 0);
    EXPECT_FALSE(shown("Medal 1 sprite")) << "the default pilot holds none";
}

}  // namespace
}  // namespace vyr
