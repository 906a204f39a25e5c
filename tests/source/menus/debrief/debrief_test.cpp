#include "source/menus/debrief/debrief.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "library/3dvisual/features.h"
#include "library/maths/random.h"
#include "source/avionics/views.h"
#include "source/frame_loop.h"
#include "source/gameplay/defence_sites.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/menus/logs/pilot_log.h"
#include "source/mission/game_flow.h"
#include "source/mission/goals.h"
#include "source/mission/mission.h"
#include "source/mission/mission_data.h"
#include "source/models/landing.h"
#include "source/recorder.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/damage.h"
#include "source/weapons/object_types.h"
#include "source/weapons/round_impact.h"
#include "source/weapons/weapon_keys.h"
#include "tests/source/weapons/impact_world.h"

namespace vyr {
namespace {

constexpr int32_t HOUSE = 215;
constexpr int32_t TANK = 1079;  // T72, grouped with its variants 1080 and 1081
constexpr int32_t HELICOPTER_GUNSHIP = 64;  // an aircraft for the air kills

// A rand_state whose next general draw mod 100 is `r`.
int32_t rand_state_drawing(int r) {
    for (int32_t s = 0;; ++s) {
        int32_t probe = s;
        if (next_random(probe) % 100 == r) return s;
    }
}

// A theatre with a friendly airfield tile and an enemy tile, a pilot log, a single mission
// without goals, and a player on a route with no targets.
class Debrief : public ImpactWorld {
protected:
    int war_zone() const override { return WAR_ZONE_ISRAEL; }

    void SetUp() override {
        ImpactWorld::SetUp();
        if (IsSkipped()) return;
        init_debrief();
        reset_gameplay_grid();
        set_cell_side(SIDE_ALLIED, airfield.x, airfield.y);
        set_cell_side(SIDE_ENEMY, enemy_ground.x, enemy_ground.y);
        update_front_line_distances();
        lay_surface(airfield, FEATURE_RUNWAY);
        set_game_flow(FLOW_SINGLE_MISSION);
        log = create_pilot_log();
        set_log_name(log, "Ace");
        set_log_status(log, LOG_STATUS_ACTIVE);
        current_pilot_log = log;
        player_with_route({});
        landing_goal_met = 1;
        set_debrief_texts("Failed.", "Done.", "Splendid.");
        reset_flight_records();
    }
    void TearDown() override {
        reset_flight_records();
        die_flag = pilot_ejected = 0;
        mission_failure_count = mission_success_count = mission_outstanding_count = 0;
        always_succeed = always_outstanding = 0;
        killer_object_number = 0;
        current_pilot_log = nullptr;
        delete_pilot_log(log);
        reset_gameplay_grid();
        set_game_flow(FLOW_NONE);
        task_list = nullptr;  // the targets' task is the test's own
        ImpactWorld::TearDown();
    }

public:
    // A drone of the type and side, destroyed by the killer (3 the player, 1 allied, 2 enemy).
    Drone* kill_drone_of(int32_t type, int side, int killer) {
        Drone* drone = drone_at({CENTRE, CENTRE, 0});
        unlink_mobile_object(&drone->object);
        drone->object.object_type = type;
        drone->object.flags = (drone->object.flags & ~(3 << INSTANCE_SIDE_SHIFT)) | (side << INSTANCE_SIDE_SHIFT);
        drone->destroyed = 1;
        drone->next = targets.first_drone;  // where the goals look for it
        targets.first_drone = drone;
        task_list = &targets;
        record_mobile_object_kill_by(drone, killer);
        return drone;
    }
    void kill_ground_object(int32_t type, int side, int killer) {
        ground_object& g = ground.emplace_back();
        g = {uint16_t(type), 0, 0, 0, 0, uint16_t(GROUND_DESTROYED | side << GROUND_SIDE_SHIFT)};
        record_ground_object_kill_by(&g, killer);
    }
    void land(int grade, const Vector3& at) { record_player_landed(grade, at.x, at.y); }
    void fly() { record_delta_time(6000); }

    bool has_line(const std::string& line) const {
        return ("\n" + std::string(debrief_text) + "\n").find("\n" + line + "\n") != std::string::npos;
    }

    const Vector3 airfield = {CENTRE + 2 * TILE + 1000 * FOOT, CENTRE + 1000 * FOOT, 0};
    const Vector3 enemy_ground = {CENTRE + 6 * TILE + 1000 * FOOT, CENTRE + 1000 * FOOT, 0};
    std::deque<ground_object> ground;
    Task targets{};
    PilotLog* log = nullptr;
};

// Each flight judged from its records and goals: the result, the title, whether the mission's
// text shows, the lines that must be there and the pilot's fate.
TEST_F(Debrief, FlightsAreJudgedByTheirRecordsGoalsAndEnd) {
    const int32_t sam = sam_site_object(SIDE_ENEMY);
    const std::string pilot = format_rank_and_name(log);
    const struct Case {
        const char* name;
        std::function<void(Debrief&)> flight;
        int result;
        const char* title;
        const char* text;
        std::vector<std::string> lines;
        int fate;
    } cases[] = {
        {"a civilian building",
         [](Debrief& t) {
             t.fly();
             t.kill_ground_object(HOUSE, SIDE_NEUTRAL, 3);
             t.land(1, t.airfield);
         },
         2, " - FAILURE", "Failed.",
         {"Allied or civilian casualties too high.", "  Civilian Casualties:",
          std::string("  1 x ") + get_object_type_name(HOUSE)},
         FATE_UNHURT},
        {"two goal drones",
         [](Debrief& t) {
             mission_success_count = 2, mission_outstanding_count = 3;
             for (int i = 0; i < 2; ++i) t.kill_drone_of(TANK, SIDE_ENEMY, 3)->mission_flags |= DRONE_FLAG_KILL_SUCCESS;
             t.land(1, t.airfield);
         },
         3, " - SUCCESS", "Done.", {"Enough targets for success."}, FATE_UNHURT},
        {"and an enemy SAM site",
         [sam](Debrief& t) {
             mission_success_count = 2, mission_outstanding_count = 3;
             for (int i = 0; i < 2; ++i) t.kill_drone_of(TANK, SIDE_ENEMY, 3)->mission_flags |= DRONE_FLAG_KILL_SUCCESS;
             t.kill_ground_object(sam, SIDE_ENEMY, 3);
             t.land(2, t.airfield);
         },
         4, " - OUTSTANDING", "Splendid.", {"Outstanding number of targets."}, FATE_UNHURT},
        {"a success shot down",
         [](Debrief& t) {
             mission_success_count = 1;
             t.kill_drone_of(TANK, SIDE_ENEMY, 3)->mission_flags |= DRONE_FLAG_KILL_SUCCESS;
             die_flag = END_SHOT_DOWN;
             killer_object_number = HELICOPTER_GUNSHIP;
         },
         2, " - FAILURE", "",
         {"Mission Failed - Vyr destroyed.", std::string("Vyr was shot down by ") + get_object_type_name(HELICOPTER_GUNSHIP) + ".",
          pilot + " was killed."},
         FATE_KILLED},
        {"no goals, landed at home", [](Debrief& t) { t.fly(), t.land(1, t.airfield); }, 3, " - SUCCESS", "Done.",
         {"Good flying."}, FATE_UNHURT},
        {"landed away from home", [](Debrief& t) { t.fly(), t.land(1, {t.airfield.x - 4 * TILE, t.airfield.y, 0}); }, 2,
         " - FAILURE", "", {"Good flying.", "Mission failed due to not returning to landing point."}, FATE_UNHURT},
        {"quit in the air", [](Debrief& t) { t.fly(), die_flag = END_QUIT; }, 2, " - ABORTED", "Failed.", {},
         FATE_UNHURT},
        {"a heavy landing spoils outstanding",
         [](Debrief& t) {
             mission_outstanding_count = 1;
             t.kill_drone_of(TANK, SIDE_ENEMY, 3)->mission_flags |= DRONE_FLAG_KILL_OUTSTANDING;
             t.kill_ground_object(sam_site_object(SIDE_ENEMY), SIDE_ENEMY, 3);
             t.land(3, t.airfield);
         },
         3, " - SUCCESS", "Done.", {"Mission not outstanding due to heavy landing."}, FATE_UNHURT},
        {"ejected over enemy ground, draw 45",
         [](Debrief& t) {
             t.fly();
             pilot_ejected = 1;
             user_drone->pose.position = t.enemy_ground;
             rand_state = rand_state_drawing(45);
         },
         2, " - ABORTED", "Failed.", {"", "Pilot Ejected.", pilot + " was injured."}, FATE_INJURED},
        {"ejected over friendly ground, draw 45",
         [](Debrief& t) {
             t.fly();
             pilot_ejected = 1;
             user_drone->pose.position = t.airfield;
             rand_state = rand_state_drawing(45);
         },
         2, " - ABORTED", "Failed.", {"", "Pilot Ejected."}, FATE_UNHURT},
        {"three tanks of two variants",
         [](Debrief& t) {
             t.kill_drone_of(TANK, SIDE_ENEMY, 3);
             t.kill_drone_of(TANK, SIDE_ENEMY, 3);
             t.kill_drone_of(TANK + 1, SIDE_ENEMY, 3);
             t.land(1, t.airfield);
         },
         3, " - SUCCESS", "Done.",
         {"Targets destroyed by Ace:", "  Enemy Targets:", std::string("  3 x ") + get_object_type_name(TANK)},
         FATE_UNHURT},
        {"an allied drone lost to enemy forces",
         [](Debrief& t) {
             t.kill_drone_of(TANK, SIDE_ALLIED, 2);
             t.land(1, t.airfield);
         },
         3, " - SUCCESS", "Done.",
         {"Targets destroyed by enemy forces:", "  Allied Targets:",
          std::string("  1 x ") + get_object_type_name(TANK)},
         FATE_UNHURT},
        {"the last numbered object",
         [](Debrief& t) {
             t.kill_ground_object(1238, SIDE_NEUTRAL, 3);
             t.land(1, t.airfield);
         },
         2,
         " - FAILURE", "Failed.", {"Allied or civilian casualties too high."}, FATE_UNHURT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset_flight_records();
        targets.first_drone = nullptr;
        mission_failure_count = mission_success_count = mission_outstanding_count = 0;
        die_flag = pilot_ejected = 0;
        user_drone->pose.position = {CENTRE, CENTRE - 5000 * FOOT, 1000 * FOOT};
        c.flight(*this);
        judge_flight();
        EXPECT_EQ(debrief_result, c.result);
        EXPECT_STREQ(debrief_title(), c.title);
        EXPECT_STREQ(debrief_mission_text(), c.text);
        for (const std::string& line : c.lines) EXPECT_TRUE(has_line(line)) << line << " in\n" << debrief_text;
        EXPECT_EQ(pilot_fate, c.fate);
    }
}

// An empty flight judges nothing: a failure with the mission's text and no lines; the slash
// commands still decide.
TEST_F(Debrief, AnEmptyFlightShowsOnlyTheResultAndTheCommandsStillDecide) {
    std::strcpy(debrief_text, "left over");
    judge_flight();
    EXPECT_EQ(debrief_result, 2);
    EXPECT_STREQ(debrief_mission_text(), "Failed.");
    always_outstanding = 1;
    judge_flight();
    EXPECT_EQ(debrief_result, 4);
}

// A kill list longer than the text: lines are dropped whole and the text never passes 2047
// characters.
TEST_F(Debrief, ALongKillListFillsTheTextWithoutOverrunningIt) {
    int kinds = 0;
    for (const ObjectTypeInfo& row : object_type_table)
        if (row.object_number > 0 && row.object_number < DEBRIEF_OBJECTS &&
            object_group[row.object_number] == row.object_number && ++kinds < 300)
            kill_drone_of(row.object_number, SIDE_ENEMY, 2);
    judge_flight();
    const std::string text = debrief_text;
    EXPECT_LE(text.size(), 2047u);
    EXPECT_GT(text.size(), 1900u);
    EXPECT_NE(text.find("Targets destroyed by enemy forces:"), std::string::npos);
    EXPECT_EQ(text.find("\n  1 x \n"), std::string::npos);  // no line cut short
}

// Logging a flight: the result under the mission, the times by flow, the kills and the fate.
TEST_F(Debrief, LoggingStoresTheResultTimesKillsAndFate) {
    const struct {
        int flow;
        int die;
        int32_t total, combat;
        int status;
    } cases[] = {{FLOW_TRAINING, 0, 6000, 0, LOG_STATUS_ACTIVE},
                 {FLOW_SINGLE_MISSION, 0, 6000, 6000, LOG_STATUS_ACTIVE},
                 {FLOW_SINGLE_MISSION, END_SHOT_DOWN, 6000, 6000, 8},
                 {FLOW_TRAINING, END_SHOT_DOWN, 6000, 0, 9}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flow * 100 + c.die);
        PilotLog* fresh = create_pilot_log();
        set_log_status(fresh, LOG_STATUS_ACTIVE);
        current_pilot_log = fresh;
        set_game_flow(c.flow);
        current_mission_number = 7;
        log_mission_result(fresh, 7, get_war_zone(), 0);
        reset_flight_records();
        fly();
        kill_drone_of(HELICOPTER_GUNSHIP, SIDE_ENEMY, 3);
        kill_drone_of(TANK, SIDE_ENEMY, 3);
        die_flag = c.die;
        if (!c.die) land(1, airfield);
        judge_flight();
        record_mission_in_log(fresh);
        EXPECT_EQ(find_log_mission_result(fresh, get_war_zone(), 0, 7), c.die ? 2 : 3);
        EXPECT_EQ(get_log_total_time(fresh), c.total);
        EXPECT_EQ(get_log_combat_time(fresh), c.combat);
        EXPECT_EQ(get_log_air_kills(fresh), 1);
        EXPECT_EQ(get_log_ground_kills(fresh), 1);
        EXPECT_EQ(get_log_status(fresh), c.status);
        EXPECT_EQ(get_log_aircraft_lost(fresh), c.die ? 1 : 0);
        current_pilot_log = log;
        delete_pilot_log(fresh);
    }
}

// A campaign mission: the result stored, the level stepped by the result, the seed stepped once,
// and a life lost when the pilot is killed.
TEST_F(Debrief, ACampaignMissionStepsTheLevelAndSeedAndCostsALife) {
    set_game_flow(FLOW_CAMPAIGN);
    set_log_current_campaign(log, get_war_zone());
    set_campaign_level(log, 3);
    set_campaign_lives(log, 3);
    set_campaign_seed(log, 1);
    current_mission_number = 21;
    log_campaign_mission(log, 21);
    fly();
    land(1, airfield);
    judge_flight();
    record_mission_in_log(log);
    EXPECT_EQ(find_campaign_mission_result(log, 21), 3);
    EXPECT_EQ(get_campaign_level(log), 4);
    EXPECT_EQ(get_campaign_seed(log), int32_t(0x41c64e6du + 0x3039u));
    reset_flight_records();
    fly();
    die_flag = END_SHOT_DOWN;
    judge_flight();
    record_mission_in_log(log);
    EXPECT_EQ(get_campaign_level(log), 3);
    EXPECT_EQ(get_campaign_lives(log), 2);
    EXPECT_EQ(get_log_status(log), LOG_STATUS_ACTIVE);
}

// The debrief gives back every ground object the flight destroyed, as it was before.
TEST_F(Debrief, GroundObjectsStandAgainAfterTheDebrief) {
    kill_ground_object(HOUSE, SIDE_NEUTRAL, 3);
    ground.back().type = 999;  // its wreck
    restore_destroyed_ground_objects();
    EXPECT_EQ(ground.back().type, HOUSE);
    EXPECT_FALSE(ground.back().flags & GROUND_DESTROYED);
}

}  // namespace
}  // namespace vyr
