// The ladder of worlds the game's tests stand on, each rung on the one before and each over the
// generated data set in a scratch player's directory:
//   GeneratedTheatre  the maths tables, and a theatre loaded as the front end loads it;
//   GeneratedMission  the drone types, a mission's tasks built on the theatre and taken down after;
//   GeneratedFlight   the objects and weapon records over flat ground at height 0, empty round and
//                     mobile lists, the stores emptied, a step of 1/100 s from game time 0.
// Each rung takes the fixture it stands on as `Base` (scratch directories, or a headless world
// with a sound device), so that a test that also listens still climbs the same ladder.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/maths/random.h"
#include "library/maths/trig.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/task.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/mission/game_flow.h"
#include "source/mission/selection.h"
#include "source/skill.h"
#include "source/weapons/rounds.h"
#include "source/weapons/stores.h"
#include "source/weapons/weapon_info.h"
#include "tests/support/scratch.h"

namespace vyr {

template <class Base = ScratchDirectories>
class GeneratedTheatreOn : public Base {
protected:
    // The theatre loaded at set-up (a WAR_ZONE_ number), 0 for none: the test enters one itself.
    virtual int war_zone() const { return 0; }

    void SetUp() override {
        Base::SetUp();
        if (this->IsSkipped()) return;
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
        GTEST_FLAG_SET(death_test_style, "threadsafe");  // a forked child would lack the set-up's threads
        Base::use_generated_data();
        init_trig_tables();
        if (war_zone()) enter(war_zone());
    }

    // The front end's change of war zone.
    static void enter(int zone) { set_war_zone(zone); }
    static void flatten_ground() {
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        terrain_max_height = 0;
    }
};

template <class Base = ScratchDirectories>
class GeneratedMissionOn : public GeneratedTheatreOn<Base> {
protected:
    void SetUp() override {
        GeneratedTheatreOn<Base>::SetUp();
        if (this->IsSkipped()) return;
        init_drone_types();
        forces_type = 0;
        game_clock = 0;
    }
    void TearDown() override {
        destroy_all_tasks();
        select_waypoint(nullptr);
        selected_drone = nullptr;
        watched_drone = user_drone = nullptr;
        view_cycle_leader = view_cycle_drone = nullptr;
        GeneratedTheatreOn<Base>::TearDown();
    }
};

template <class Base = ScratchDirectories>
class GeneratedFlightOn : public GeneratedMissionOn<Base> {
protected:
    void SetUp() override {
        GeneratedMissionOn<Base>::SetUp();
        if (this->IsSkipped()) return;
        reload_objects("3DDATA\\");
        init_weapon_info();
        init_mobile_lists();
        this->flatten_ground();
        clear_rounds();
        reset_stores();
        set_step(0.01);
        game_clock = 0;
        random_seed = 1;
        view_mode = VIEW_COCKPIT;
        view_camera_pose = {};
        set_identity_matrix(view_camera_pose.matrix);
        user_drone = nullptr;
    }
    void TearDown() override {
        clear_rounds();
        init_mobile_lists();
        GeneratedMissionOn<Base>::TearDown();
    }

    static void set_step(double seconds) {
        frame_seconds = seconds;
        frame_fraction = int32_t(seconds * 2147483647.0);
    }
};

using GeneratedTheatre = GeneratedTheatreOn<>;
using GeneratedMission = GeneratedMissionOn<>;
using GeneratedFlight = GeneratedFlightOn<>;

}  // namespace vyr
