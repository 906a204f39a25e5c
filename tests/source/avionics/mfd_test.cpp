#include "source/avionics/mfd.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "library/maths/trig.h"
#include "library/system/key.h"
#include "source/avionics/failures.h"
#include "source/frame_loop.h"
#include "source/radar/radar.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/system_damage.h"
#include "source/weapons/stores.h"
#include "tests/support/recording_plot.h"

namespace vyr {
namespace {

class MfdFrame : public testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        init_trig_tables();
        left_mfd_page = MFD_STORES;
        right_mfd_page = MFD_HSI;
        active_mfd = 1;
        mfd_step_forward = 0;
        credits_1_enabled = credits_1_shown = credits_2_enabled = credits_2_shown = 0;
        radar_on = 0;
        game_mode = GAME_SINGLE;
        game_clock = 0;
        system_failures = {};
        push_hot_key_layer();
        register_mfd_keys();
    }
    void TearDown() override {
        pop_hot_key_layer();
        for (Hardpoint& h : hardpoints) h.weapon_id = 0;
        for (SensorSlot& s : sensor_slots) s.sensor_type = SENSOR_TYPE_NONE;
        game_mode = GAME_SINGLE;
        radar_on = 0;
        system_failures = {};
    }
    static void fit_pod() { sensor_slots[0].sensor_type = SENSOR_TYPE_TARGETING_POD; }
    static void load_agm_65g() { hardpoints[3].weapon_id = WEAPON_AGM_65G; }
};

struct StepCase {
    const char* what;
    bool pod, agm_65g;
    int32_t mode;
    int forward;
    int display;  // 1 or 2
    int page, other_page;
    int expected;
};

TEST_F(MfdFrame, PagesStepAlongTheCycleOverTheUnavailableAndTheOtherDisplaysPage) {
    const StepCase cases[] = {
        {"forward from the HSI", false, false, GAME_SINGLE, 1, 1, MFD_HSI, MFD_STORES, MFD_RADAR},
        {"the other display's radar page is skipped once", false, false, GAME_SINGLE, 1, 1, MFD_HSI, MFD_RADAR,
         MFD_STORES},
        {"and on MFD 2 alike", false, false, GAME_SINGLE, 1, 2, MFD_HSI, MFD_RADAR, MFD_STORES},
        {"no pod, no AGM-65G: stores to failures", false, false, GAME_SINGLE, 1, 1, MFD_STORES, MFD_HSI, MFD_FAILURES},
        {"a pod offers its page", true, false, GAME_SINGLE, 1, 1, MFD_STORES, MFD_HSI, MFD_POD},
        {"AGM-65Gs offer the seeker page", false, true, GAME_SINGLE, 1, 1, MFD_STORES, MFD_HSI, MFD_MAVERICK},
        {"with a pod the seeker page is never offered", true, true, GAME_SINGLE, 1, 1, MFD_POD, MFD_HSI, MFD_FAILURES},
        {"outside the network games flight data wraps to the HSI", false, false, GAME_COMBAT, 1, 1, MFD_FLIGHT_DATA,
         MFD_STORES, MFD_HSI},
        {"deathmatch offers the frag plan", false, false, GAME_MULTI_PLAYER, 1, 1, MFD_FAILURES, MFD_HSI,
         MFD_FRAG_PLAN},
        {"capture the flag too", false, false, GAME_CAPTURE_FLAG, 1, 1, MFD_FAILURES, MFD_HSI, MFD_FRAG_PLAN},
        {"a two-player combat does not", false, false, GAME_COMBAT, 1, 1, MFD_FAILURES, MFD_HSI, MFD_FLIGHT_DATA},
        {"backward from the HSI wraps to flight data", false, false, GAME_SINGLE, 0, 1, MFD_HSI, MFD_STORES,
         MFD_FLIGHT_DATA},
        {"backward from flight data passes frag plan and credits", false, false, GAME_SINGLE, 0, 1, MFD_FLIGHT_DATA,
         MFD_HSI, MFD_FAILURES},
        {"backward in deathmatch reaches the frag plan", false, false, GAME_MULTI_PLAYER, 0, 1, MFD_FLIGHT_DATA, MFD_HSI,
         MFD_FRAG_PLAN},
        {"a page outside the cycle counts as the HSI", false, false, GAME_SINGLE, 1, 1, MFD_NOISE, MFD_STORES,
         MFD_RADAR},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.what);
        for (Hardpoint& h : hardpoints) h.weapon_id = 0;
        sensor_slots[0].sensor_type = SENSOR_TYPE_NONE;
        if (c.pod) fit_pod();
        if (c.agm_65g) load_agm_65g();
        game_mode = c.mode;
        mfd_step_forward = c.forward;
        if (c.display == 1) {
            right_mfd_page = c.other_page;
            EXPECT_EQ(step_left_mfd_page(c.page), c.expected);
        } else {
            left_mfd_page = c.other_page;
            EXPECT_EQ(step_right_mfd_page(c.page), c.expected);
        }
    }
}

TEST_F(MfdFrame, TheOnOffKeyTurnsADisplayOnByTheLastStepsDirection) {
    left_mfd_page = MFD_OFF;
    right_mfd_page = MFD_STORES;
    dispatch_hot_key(0x201a);  // Ctrl+[ before any page-step key: backward from the HSI
    EXPECT_EQ(left_mfd_page, MFD_FLIGHT_DATA);
    dispatch_hot_key(0x1a);  // [ steps forward and wraps
    EXPECT_EQ(left_mfd_page, MFD_HSI);
    dispatch_hot_key(0x201a);
    EXPECT_EQ(left_mfd_page, MFD_OFF);
    dispatch_hot_key(0x201a);
    EXPECT_EQ(left_mfd_page, MFD_RADAR) << "the page after the HSI";
    right_mfd_page = MFD_RADAR;
    dispatch_hot_key(0x201a);
    dispatch_hot_key(0x201a);
    EXPECT_EQ(left_mfd_page, MFD_STORES) << "the other display's radar page passed over";
    dispatch_hot_key(0x401a);  // Shift+[
    EXPECT_EQ(left_mfd_page, MFD_HSI);
    EXPECT_EQ(mfd_step_forward, 0);

    left_mfd_page = MFD_STORES;
    dispatch_hot_key(0x1b);  // ] on MFD 2 from the radar page
    EXPECT_EQ(right_mfd_page, MFD_FAILURES) << "the stores page on MFD 1 passed over";
    dispatch_hot_key(0x201b);
    EXPECT_EQ(right_mfd_page, MFD_OFF);
}

TEST_F(MfdFrame, TheRadarPageReplacesThePageThatStandsEarlierInTheRanking) {
    struct Case {
        int left, right;
        int radar_on;  // 1: MFD 1 shows the radar page afterwards, 2: MFD 2
    } const cases[] = {
        {MFD_STORES, MFD_HSI, 1},         {MFD_HSI, MFD_STORES, 2},        {MFD_POD, MFD_FLIGHT_DATA, 2},
        {MFD_RADAR, MFD_FLIGHT_DATA, 1},  {MFD_HSI, MFD_RADAR, 2},         {MFD_FAILURES, MFD_FAILURES, 1},
        {MFD_OFF, MFD_HSI, 2},            {MFD_FRAG_PLAN, MFD_NOISE, 1},   {MFD_CREDITS_1, MFD_OFF, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pages " << c.left << " and " << c.right);
        left_mfd_page = c.left;
        right_mfd_page = c.right;
        active_mfd = 3 - c.radar_on;
        show_radar_page();
        EXPECT_EQ(active_mfd, c.radar_on);
        EXPECT_EQ(c.radar_on == 1 ? left_mfd_page : right_mfd_page, MFD_RADAR);
        EXPECT_EQ(c.radar_on == 1 ? right_mfd_page : left_mfd_page, c.radar_on == 1 ? c.right : c.left)
            << "the other display keeps its page";
    }
}

TEST_F(MfdFrame, TheFocusGoesToADisplayShowingTheHsiThePodOrTheLiveRadar) {
    struct Case {
        int active, left, right, radar, expected;
    } const cases[] = {
        {1, MFD_RADAR, MFD_HSI, 0, 2},     {1, MFD_RADAR, MFD_STORES, 0, 1}, {1, MFD_RADAR, MFD_HSI, 1, 1},
        {1, MFD_STORES, MFD_POD, 0, 2},    {1, MFD_STORES, MFD_FAILURES, 0, 1}, {2, MFD_RADAR, MFD_HSI, 1, 2},
        {2, MFD_RADAR, MFD_STORES, 1, 1},  {2, MFD_STORES, MFD_RADAR, 1, 2}, {2, MFD_STORES, MFD_RADAR, 0, 1},
        {2, MFD_HSI, MFD_POD, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "MFD " << c.active << " with pages " << c.left << ", " << c.right
                                        << ", radar " << c.radar);
        active_mfd = c.active;
        left_mfd_page = c.left;
        right_mfd_page = c.right;
        radar_on = c.radar;
        update_mfd_focus();
        EXPECT_EQ(active_mfd, c.expected);
    }
}

TEST_F(MfdFrame, FocusFollowsPageChangesAndTheFocusKey) {
    left_mfd_page = MFD_STORES;
    right_mfd_page = MFD_HSI;
    active_mfd = 1;
    dispatch_hot_key(0x1e);
    EXPECT_EQ(active_mfd, 2) << "A moves the focus to the HSI";
    dispatch_hot_key(0x201b);
    EXPECT_EQ(right_mfd_page, MFD_OFF);
    EXPECT_EQ(active_mfd, 2) << "turning the focused display off leaves the focus on it";
    dispatch_hot_key(0x1e);
    EXPECT_EQ(active_mfd, 2) << "MFD 1's stores page takes no focus";
    dispatch_hot_key(0x1a);  // MFD 1 to the failures page: the focus rule runs
    EXPECT_EQ(active_mfd, 1);
    right_mfd_page = MFD_RADAR;
    dispatch_hot_key(0x1e);
    EXPECT_EQ(active_mfd, 1) << "a radar page with the radar off takes no focus";
    radar_on = 1;
    dispatch_hot_key(0x1e);
    EXPECT_EQ(active_mfd, 2);
}

TEST_F(MfdFrame, TheFocusKeyWithNoDisplayFocusedIsFatal) {
    active_mfd = 0;
    EXPECT_DEATH(mfd_focus_key(0x1e), "Which mfd are we talking about here, like");
}

TEST_F(MfdFrame, CreditsStayOfferedUntilShownAndLeft) {
    game_mode = GAME_MULTI_PLAYER;
    show_credits_on_mfds();
    EXPECT_EQ(left_mfd_page, MFD_CREDITS_1);
    EXPECT_EQ(right_mfd_page, MFD_CREDITS_2);
    {
        RecordingPlot plot;
        draw_mfds();
        EXPECT_NE(plot.find_text("VYR"), nullptr);
        EXPECT_NE(plot.all_text().find("Version "), std::string::npos);
    }
    dispatch_hot_key(0x1a);
    EXPECT_EQ(left_mfd_page, MFD_FRAG_PLAN) << "credits 2 stands on the other display";
    mfd_step_forward = 0;
    EXPECT_EQ(step_left_mfd_page(MFD_FRAG_PLAN), MFD_FAILURES) << "credits 1, shown and left, is no longer offered";
}

TEST_F(MfdFrame, NoiseRowsTakeTheBitsOfTwoRandomStepsPerThirtyTwoRows) {
    constexpr int32_t SEED = 12345;
    mfd_noise_seed = SEED;
    RecordingPlot plot;
    draw_mfd_noise_page(LEFT_MFD_RECT, MFD_NOISE);
    ASSERT_EQ(plot.lines.size(), 140u);
    int32_t state = SEED;
    uint32_t word = 0;
    for (int row = 0; row < 140; ++row) {
        if (row % 32 == 0) {
            state = int32_t(uint32_t(state) * 0x41C64E6Du + 0x3039u);
            const uint32_t s1 = uint32_t(state);
            state = int32_t(uint32_t(state) * 0x41C64E6Du + 0x3039u);
            word = (s1 & 0x7fff0000u) | ((uint32_t(state) >> 16) & 0x7fffu);
        }
        const RecordingPlot::Line& line = plot.lines[size_t(row)];
        SCOPED_TRACE(row);
        EXPECT_EQ(line.y0, 139 - row) << "from the top down";
        EXPECT_EQ(line.x0, 0);
        EXPECT_EQ(line.x1, 139);
        EXPECT_EQ(line.colour, (word >> (row % 32)) & 1 ? 215 : 208);
        if (row % 32 == 15 || row % 32 == 31) {
            EXPECT_EQ(line.colour, 208);
        }
    }
}

TEST_F(MfdFrame, AFailedDisplayShowsNoiseUntilItsPageIsStepped) {
    left_mfd_page = MFD_FAILURES;
    right_mfd_page = MFD_OFF;
    set_failure(FAIL_LEFT_MFD);
    set_failure(FAIL_RIGHT_MFD);
    RecordingPlot plot;
    draw_mfds();
    EXPECT_EQ(left_mfd_page, MFD_NOISE);
    EXPECT_EQ(right_mfd_page, MFD_OFF) << "a display that is off stays off";
    EXPECT_NE(plot.find_text("MFD Off"), nullptr);
    system_failures = {};
    draw_mfds();
    EXPECT_EQ(left_mfd_page, MFD_NOISE);
    dispatch_hot_key(0x1a);
    EXPECT_EQ(left_mfd_page, MFD_RADAR);
}

TEST_F(MfdFrame, AnElectricsFailureFlickersInBurstsThenGivesThePagesBack) {
    left_mfd_page = MFD_FAILURES;
    right_mfd_page = MFD_FLIGHT_DATA;
    mfd_flicker_seed = 99;
    set_failure(FAIL_ELECTRICS);
    electrics_first_failure_time = electrics_second_failure_time = 0;
    RecordingPlot plot;
    std::vector<int32_t> burst_starts;
    std::set<int> left_pages, right_pages;
    int previous = right_mfd_page;
    for (game_clock = 0; game_clock < 2000; game_clock += 10) {
        draw_mfds();
        left_pages.insert(left_mfd_page);
        right_pages.insert(right_mfd_page);
        if (right_mfd_page == MFD_NOISE && previous != MFD_NOISE) burst_starts.push_back(game_clock);
        previous = right_mfd_page;
    }
    EXPECT_EQ(right_pages, (std::set<int>{MFD_NOISE, MFD_FLIGHT_DATA}));
    EXPECT_EQ(left_pages, (std::set<int>{MFD_NOISE, MFD_FAILURES}));
    ASSERT_GE(burst_starts.size(), 3u);
    EXPECT_EQ(burst_starts[0], 0) << "the first frame bursts";
    for (size_t i = 1; i < burst_starts.size(); ++i) EXPECT_GE(burst_starts[i] - burst_starts[i - 1], 200);

    // A burst due while the last one still shows keeps the page from before it.
    left_mfd_page = MFD_FAILURES;
    right_mfd_page = MFD_FLIGHT_DATA;
    game_clock = 5000;
    electrics_first_failure_time = electrics_second_failure_time = game_clock;
    draw_mfds();
    ASSERT_EQ(right_mfd_page, MFD_NOISE);
    game_clock += 1000;
    draw_mfds();
    ASSERT_EQ(right_mfd_page, MFD_NOISE);
    for (const int32_t end = game_clock + 190; game_clock < end && right_mfd_page == MFD_NOISE; ++game_clock)
        draw_mfds();
    EXPECT_EQ(right_mfd_page, MFD_FLIGHT_DATA) << "the page comes back between bursts";

    right_mfd_page = left_mfd_page = MFD_NOISE;
    game_clock = 8500;  // between the two flickering periods
    draw_mfds();
    EXPECT_EQ(left_mfd_page, MFD_FAILURES);
    EXPECT_EQ(right_mfd_page, MFD_FLIGHT_DATA);
}

}  // namespace
}  // namespace vyr
