#include "source/state_digest.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "library/maths/random.h"
#include "source/drone/drone.h"
#include "source/drone/task.h"
#include "source/menus/missions/catalogue.h"
#include "source/mission/mission_data.h"
#include "source/menus/missions/payload.h"
#include "source/models/flight_model.h"
#include "source/weapons/rounds.h"
#include "source/weapons/stores.h"
#include "source/weapons/weapons_frame.h"
#include "tests/support/worlds.h"

namespace vyr {
namespace {

// Korea's first single mission of the generated data, loaded as the front end loads it.
class MissionDigest : public GeneratedMission {
protected:
    int war_zone() const override { return WAR_ZONE_KOREA; }

    void SetUp() override {
        GeneratedMission::SetUp();
        if (IsSkipped()) return;
        load_pylon_file();
        load_weapon_file();
        load_mission(mission(1));
    }
    void TearDown() override {
        free_mission_catalogue();
        current_mission = nullptr;
        GeneratedMission::TearDown();
    }

    static Mission* mission(int number) {
        Mission* m = create_mission_record();
        m->flow = FLOW_SINGLE_MISSION;
        m->number = number;
        return m;
    }

    // The last member of the last task, or its leader when it has none.
    static Drone& last_drone() {
        Task* task = task_list;
        while (task->next) task = task->next;
        Drone* drone = task->first_drone;
        while (drone->next) drone = drone->next;
        for (Drone* member = drone->first_member; member; member = member->next) drone = member;
        return *drone;
    }
};

TEST_F(MissionDigest, EveryStateLinkedMachinesShareChangesTheHashAndOnlyThat) {
    const StateDigest before = compute_state_digest();
    ASSERT_GT(before.drones, 2);
    Drone& drone = last_drone();
    struct Change {
        const char* what;
        std::function<void(int)> apply;  // +1 changes, -1 undoes
        bool shared;
    };
    const Change changes[] = {
        {"moved east by one unit", [&](int d) { drone.pose.position.x += d; }, true},
        {"moved up by one unit", [&](int d) { drone.pose.position.z += d; }, true},
        {"turned", [&](int d) { drone.heading += uint32_t(d); }, true},
        {"its matrix turned", [&](int d) { drone.pose.matrix.m[1][2] += d; }, true},
        {"faster", [&](int d) { drone.speed += d; }, true},
        {"damaged", [&](int d) { drone.damage = uint8_t(drone.damage + d); }, true},
        {"its own random draw", [&](int d) { drone.random_seed += d; }, true},
        {"the shared random seed", [&](int d) { random_seed += d; }, true},
        {"the player's gun rounds", [&](int d) { rounds_per_weapon[1] += d; }, true},
        {"the player's fuel", [&](int d) { player_flight_data.fuel_internal += d; }, true},
        // This machine's own bookkeeping is left out.
        {"its stick input", [&](int d) { drone.aileron_input += d; }, false},
        {"its lag-pursuit point", [&](int d) { drone.lag_target_position.x += d; }, false},
        {"its target pointer", [&](int d) { drone.attack_target = d > 0 ? &drone.target : nullptr; }, false},
    };
    for (const Change& change : changes) {
        change.apply(1);
        const StateDigest changed = compute_state_digest();
        change.apply(-1);
        EXPECT_EQ(changed.hash != before.hash, change.shared) << change.what;
        EXPECT_EQ(compute_state_digest().hash, before.hash) << change.what << ", undone";
    }
}

TEST_F(MissionDigest, ALiveRoundIsCountedAndHashed) {
    const StateDigest before = compute_state_digest();
    WeaponRound* round = allocate_round();
    ASSERT_NE(round, nullptr);
    round->weapon_id = 1;
    round->flags = ROUND_LIVE;
    const StateDigest with_round = compute_state_digest();
    EXPECT_EQ(with_round.rounds, before.rounds + 1);
    EXPECT_NE(with_round.hash, before.hash);
    round->pose.position.y += 1;
    EXPECT_NE(compute_state_digest().hash, with_round.hash) << "moved by one unit";
    round->flags = 0;
    round->weapon_id = 0;
}

// Loading draws from the shared random states, so each load starts from the same ones, as linked
// machines' loads do.
TEST_F(MissionDigest, AMissionSavedAndLoadedAgainDigestsAlike) {
    auto same_random_states = [] {
        random_seed = 1;
        set_game_random_state(1);
    };
    same_random_states();
    load_mission(mission(1));
    const StateDigest loaded = compute_state_digest();
    write_mission_data("missdata\\KOREAS09.dta");
    same_random_states();
    load_mission(mission(9));
    const StateDigest reloaded = compute_state_digest();
    EXPECT_EQ(format_state_digest(reloaded), format_state_digest(loaded));
}

TEST_F(MissionDigest, EachCallAppendsOneLineAndAnUnwritableFileIsReported) {
    ASSERT_TRUE(append_state_digest("digest.txt"));
    ASSERT_TRUE(append_state_digest("digest.txt"));
    const std::string line = format_state_digest(compute_state_digest());
    EXPECT_EQ(read_bytes(work / "digest.txt"), line + "\n" + line + "\n");
    EXPECT_FALSE(append_state_digest("no-such-folder/digest.txt"));
}

}  // namespace
}  // namespace vyr
