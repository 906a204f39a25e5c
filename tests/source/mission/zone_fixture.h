// A scratch player's directory over the build's generated data set, with a war zone's theatre
// loaded as the front end loads it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "library/maths/trig.h"
#include "source/mission/game_flow.h"
#include "tests/support/scratch.h"

namespace vyr {

class GeneratedZone : public testing::Test {
protected:
    void enter(int zone) {
        std::filesystem::create_directories(work);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(work);
        setenv("VYR_DATA", GENERATED_DATA.c_str(), 1);
        setenv("VYR_HOME", work.c_str(), 1);
        init_debug_text();
        find_read_only_path("vyr.rop");
        init_trig_tables();
        set_war_zone(zone);
    }
    void TearDown() override {
        if (!previous.empty()) std::filesystem::current_path(previous);
    }

    ScratchDirectory scratch;
    const std::filesystem::path work = scratch.path() / "work";
    std::filesystem::path previous;
};

}  // namespace vyr
