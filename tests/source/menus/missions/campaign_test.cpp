#include "source/menus/missions/campaign.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <vector>

#include <string>

#include "source/menus/debrief/debrief.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/missions/catalogue.h"
#include "source/menus/speech.h"
#include "source/mission/game_flow.h"
#include "source/mission/mission_data.h"
#include "tests/support/scratch.h"
#include "tests/support/worlds.h"

namespace vyr {
namespace {

constexpr int KOREA = 2;

// A catalogue of Korea's level-3 campaign missions 11, 12 and 13 in that order, beside missions
// no Korean campaign at level 3 may take; and a pilot in the Korean campaign at level 3.
class CampaignChoice : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        add(99, KOREA, FLOW_CAMPAIGN, 4);
        add(98, 1, FLOW_CAMPAIGN, 3);
        add(97, KOREA, FLOW_SINGLE_MISSION, 3);
        for (int number : {13, 12, 11}) add(number, KOREA, FLOW_CAMPAIGN, 3);
        log = create_pilot_log();
        current_pilot_log = log;
        set_log_current_campaign(log, KOREA);
        set_campaign_level(log, 3);
        set_campaign_lives(log, 3);
        set_campaign_seed(log, 0);
    }
    void TearDown() override {
        current_pilot_log = nullptr;
        delete_pilot_log(log);
        current_mission = nullptr;
        free_mission_catalogue();
        clear_mission_filter();
        set_mission_filter_level(0);
        ScratchDirectories::TearDown();
    }

    static void add(int number, int zone, int flow, int level) {
        Mission* mission = create_mission_record();
        mission->number = number;
        set_mission_zone(mission, zone);
        set_mission_flow(mission, flow);
        set_mission_level(mission, level);
    }
    void flown(int mission, int result) {
        log_campaign_mission(log, mission);
        set_campaign_mission_result(log, mission, result);
    }
    static int choose() {
        Mission* mission = reinterpret_cast<Mission*>(1);
        const int number = choose_campaign_mission(&mission);
        EXPECT_EQ(mission ? mission->number : 0, number > 0 ? number : 0);
        if (mission) {
            EXPECT_EQ(current_mission, mission);
        }
        return number;
    }

    PilotLog* log = nullptr;
};

// Results 1 and 2 fail, 3 and 4 are done; with seed 0 the draw takes the pool's first, with seed
// 1 its third of three (16,838 % 3).
TEST_F(CampaignChoice, UntriedMissionsComeBeforeFailedOnesAndFailedBeforeDone) {
    const struct {
        std::vector<std::pair<int, int>> results;
        int32_t seed;
        int chosen;
    } cases[] = {
        {{}, 0, 11},
        {{}, 1, 13},
        {{{11, 3}, {12, 2}}, 0, 13},
        {{{11, 3}, {12, 1}, {13, 4}}, 1, 12},
        {{{11, 2}, {12, 3}, {13, 1}}, 1, 11},  // 16,838 % 2
        {{{11, 3}, {12, 4}, {13, 3}}, 0, 11},
        {{{11, 3}, {12, 4}, {13, 3}}, 1, 13},
    };
    for (const auto& c : cases) {
        end_campaign(log);
        set_log_current_campaign(log, KOREA);
        set_campaign_level(log, 3);
        set_campaign_lives(log, 3);
        set_campaign_seed(log, c.seed);
        for (const auto& [mission, result] : c.results) flown(mission, result);
        EXPECT_EQ(choose(), c.chosen) << "seed " << c.seed << ", " << c.results.size() << " flown";
    }
}

TEST_F(CampaignChoice, TheSameMissionComesAgainUntilTheSeedSteps) {
    std::set<int> chosen;
    for (int32_t seed = 0; seed < 40; ++seed) {
        set_campaign_seed(log, seed);
        const int first = choose();
        EXPECT_EQ(choose(), first) << seed;
        chosen.insert(first);
    }
    EXPECT_EQ(chosen, (std::set<int>{11, 12, 13}));
}

TEST_F(CampaignChoice, OnlyTheFirstEightOfALevelInCatalogueOrderAreCandidates) {
    free_mission_catalogue();
    for (int number = 10; number >= 1; --number) add(number, KOREA, FLOW_CAMPAIGN, 3);
    for (int number = 1; number <= 8; ++number) flown(number, 3);  // 9 and 10 never flown
    for (int32_t seed = 0; seed < 40; ++seed) {
        set_campaign_seed(log, seed);
        EXPECT_LE(choose(), 8) << seed;
    }
}

TEST_F(CampaignChoice, ACampaignNotBegunLostWonOrWithoutMissionsChoosesNone) {
    const struct {
        int campaign, level, lives, result;
    } cases[] = {
        {0, 3, 3, CAMPAIGN_NOT_BEGUN},
        {KOREA, 0, 3, CAMPAIGN_LOST},
        {KOREA, 5, 0, CAMPAIGN_LOST},  // no lives left above level 0
        {KOREA, 11, 0, CAMPAIGN_WON},
        {KOREA, 5, 3, CAMPAIGN_EMPTY_LEVEL},
        {4, 3, 3, CAMPAIGN_EMPTY_LEVEL},
    };
    for (const auto& c : cases) {
        set_log_current_campaign(log, c.campaign);
        if (c.campaign) {
            set_campaign_level(log, c.level);
            set_campaign_lives(log, c.lives);
        }
        EXPECT_EQ(choose(), c.result) << c.campaign << " " << c.level << " " << c.lives;
    }
    current_pilot_log = nullptr;
    EXPECT_EQ(choose(), CAMPAIGN_NOT_BEGUN);
}

// Korea's campaign at its start, over the generated catalogue: "Load Mission" opens its one
// level-3 mission.
class CampaignStart : public GeneratedMission {
protected:
    void SetUp() override {
        GeneratedMission::SetUp();
        if (IsSkipped()) return;
        enter(KOREA);
        load_mission_catalogue();
        log = create_pilot_log();
        current_pilot_log = log;
        set_log_current_campaign(log, KOREA);
        set_campaign_level(log, 3);
        set_campaign_lives(log, 3);
    }
    void TearDown() override {
        current_pilot_log = nullptr;
        if (log) delete_pilot_log(log);
        current_mission = nullptr;
        free_mission_catalogue();
        clear_mission_filter();
        set_mission_filter_level(0);
        GeneratedMission::TearDown();
    }
    PilotLog* log = nullptr;
};

TEST_F(CampaignStart, LoadMissionLoadsTheChosenMissionKeepsItsTextsAndNamesItsSpeech) {
    Mission* mission = nullptr;
    const int number = choose_campaign_mission(&mission);
    ASSERT_GT(number, 0);
    ASSERT_EQ(mission->level, 3);
    mission_success_count = -1;
    start_campaign_mission(mission);
    EXPECT_EQ(current_mission_number, number);
    EXPECT_EQ(mission_success_count, 0) << "its data file read";
    EXPECT_EQ(debrief_failure_text, mission->failure);
    EXPECT_EQ(debrief_success_text, mission->success);
    EXPECT_EQ(debrief_outstanding_text, mission->outstanding);
    EXPECT_STREQ(debrief_success_text, "Mission accomplished.");
    EXPECT_EQ(speech_mission_index, number);
    EXPECT_EQ(std::string(make_speech_file_name(3)), "speech\\koreac0" + std::to_string(number) + ".raw");
}

}  // namespace
}  // namespace vyr
