// The world the movers are tested in: the mission world's flat theatre, steps of a twentieth of a
// second, and whole tiles covered by a feature of one kind (a road, a railway, the sea) for as
// long as the test runs.
#pragma once

#include <array>
#include <deque>
#include <vector>

#include "library/3dvisual/features.h"
#include "library/maths/vector.h"
#include "source/frame_loop.h"
#include "tests/source/drone/mission_world.h"

namespace vyr {

class VehicleWorld : public MissionWorld {
protected:
    static constexpr int32_t TWENTIETH = FIXED_ONE / 20;  // 0.05 s: 1,000 units a second make 50
    static constexpr int32_t TILE = 1 << 22;

    void SetUp() override {
        MissionWorld::SetUp();
        game_clock = 0;
        frame_fraction = TWENTIETH;
    }
    void TearDown() override {
        for (const Covered& c : covered) feature_layer[c.x][c.y] = c.saved;
        covered.clear();
        game_clock = 0;
        MissionWorld::TearDown();
    }

    // The first drone of a new allied task, of the type.
    static Drone* make_leader(int task_type, int object_number) {
        Task* task = create_task();
        set_task_type(task, task_type);
        set_task_side(task, SIDE_ALLIED);
        Drone* drone = create_drone(task);
        set_drone_type(drone, object_number);
        return drone;
    }

    // The whole tile becomes one polygon of `kind`.
    void cover_tile(int x, int y, int kind) {
        std::array<uint8_t, 10>& polygons = polygon_lists.emplace_back(
            std::array<uint8_t, 10>{1, 0, FEATURE_MODE_FLAT, uint8_t(kind), 4, 9, 0, 1, 2, 3});
        const FeatureEntry& entry = entries.emplace_back(FeatureEntry{WHOLE_TILE, polygons.data(), nullptr});
        covered.push_back({x, y, feature_layer[x][y]});
        feature_layer[x][y] = &entry;
    }

private:
    static constexpr uint8_t WHOLE_TILE[] = {4, 0, 0, 128, 128, 0, 128, 144, 0, 144, 144, 0, 144, 128};
    struct Covered {
        int x, y;
        const FeatureEntry* saved;
    };
    std::vector<Covered> covered;
    std::deque<std::array<uint8_t, 10>> polygon_lists;
    std::deque<FeatureEntry> entries;
};

}  // namespace vyr
