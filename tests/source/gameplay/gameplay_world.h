// The world as the gameplay grid's tests need it, over scratch directories: flat ground, no static ground objects of a
// theatre (a test files its own lists), an empty grid and an empty dynamic table; all put back
// afterwards for the other tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <vector>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/terrain.h"
#include "library/maths/units.h"
#include "source/gameplay/defence_sites.h"
#include "source/gameplay/gameplay_grid.h"
#include "tests/support/scratch.h"

namespace vyr {
constexpr int32_t TILE = 1 << 22;

// The world coordinate `feet` feet into tile number `tile` along one axis.
constexpr int32_t at_feet(int tile, int32_t feet) { return tile * TILE + feet * FOOT; }

class GameplayWorld : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        std::memcpy(saved_static, ground_object_tiles, sizeof saved_static);
        std::memset(ground_object_tiles, 0, sizeof ground_object_tiles);
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        reset_gameplay_grid();
        clear_dynamic_ground_objects();
    }
    void TearDown() override {
        clear_dynamic_ground_objects();
        reset_gameplay_grid();
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        std::memcpy(ground_object_tiles, saved_static, sizeof saved_static);
        ScratchDirectories::TearDown();
    }

    // A static list of the test's own for tile `tile`.
    void add_static(int tile, const std::vector<ground_object>& records) {
        std::vector<int16_t>& list = static_lists.emplace_back(1 + records.size() * sizeof(ground_object) / 2);
        list[0] = int16_t(records.size());
        std::memcpy(list.data() + 1, records.data(), records.size() * sizeof(ground_object));
        ground_object_tiles[tile] = list.data();
    }

    // The static lists a world load has just installed become the ones put back at the end (the
    // earlier ones went with the load), and the test starts without them again.
    void adopt_loaded_static_lists() {
        std::memcpy(saved_static, ground_object_tiles, sizeof saved_static);
        std::memset(ground_object_tiles, 0, sizeof ground_object_tiles);
        std::memset(terrain_posts, 0, sizeof terrain_posts);
    }

    static int pool_in_use() {
        int used = 0;
        for (const GameplayObject& object : gameplay_objects) used += object.type != 0;
        return used;
    }

private:
    int16_t* saved_static[4096];
    std::deque<std::vector<int16_t>> static_lists;
};

}  // namespace vyr
