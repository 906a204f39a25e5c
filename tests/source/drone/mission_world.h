// The world a mission's drones are built in by the tests: the generated mission world on Israel's
// theatre, its ground flattened.
#pragma once

#include "tests/support/worlds.h"

namespace vyr {

class MissionWorld : public GeneratedMission {
protected:
    int war_zone() const override { return WAR_ZONE_ISRAEL; }

    void SetUp() override {
        GeneratedMission::SetUp();
        if (IsSkipped()) return;
        std::memset(terrain_posts, 0, sizeof terrain_posts);
    }
};

}  // namespace vyr
