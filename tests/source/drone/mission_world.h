// The world a mission's drones are built in by the tests: the generated data's objects and
// Israel's theatre on flat ground, the drone types filled; every task destroyed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "library/3dvisual/terrain.h"
#include "library/maths/trig.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/mission/game_flow.h"
#include "tests/support/scratch.h"

namespace vyr {

class MissionWorld : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        use_generated_data();
        init_trig_tables();
        init_drone_types();
        set_war_zone(1);
        std::memset(terrain_posts, 0, sizeof terrain_posts);
    }
    void TearDown() override {
        destroy_all_tasks();
        user_drone = nullptr;
        ScratchDirectories::TearDown();
    }
};

}  // namespace vyr
