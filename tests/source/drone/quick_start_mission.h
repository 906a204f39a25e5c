// The ground-attack quick starts of the generated data, read as loading a mission reads them, for
// the tests that run and draw their movers.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "source/drone/drone.h"
#include "source/drone/soldier_moves.h"
#include "source/frame_loop.h"
#include "source/mission/mission_data.h"
#include "source/mission/tagged_text.h"
#include "tests/support/scratch.h"

namespace vyr {

// The world reset and built from a quick start's data file of the generated data, with the
// soldiers' movements the game loads at start-up; steps of a twentieth of a second from game time 0.
inline void read_quick_start(const std::string& name) {
    load_human_movements();
    reset_mission_world();
    std::ifstream file(GENERATED_DATA / "missdata" / name, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(file), {}};
    ASSERT_FALSE(text.empty());
    mission_tag = TAG_UNKNOWN;
    parse_tagged_lines(name.c_str(), text.data(), text.size(), parse_mission_data, nullptr);
    frame_fraction = FIXED_ONE / 20;
    game_clock = 0;
}

inline void read_korean_quick_start() { read_quick_start("koreaq02.dta"); }

// The first leader of the type and formation.
inline Drone* find_mission_drone(int object_number, int formation = 0) {
    for (Task* t = task_list; t; t = t->next)
        for (Drone* d = t->first_drone; d; d = d->next)
            if (d->object.object_type == object_number && d->formation_type == formation) return d;
    return nullptr;
}

}  // namespace vyr
