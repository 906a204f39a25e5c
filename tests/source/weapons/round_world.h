// The world rounds are launched into by the tests: the generated flight with a dynamic ground
// object table of the test's own, and drones of the test's own to shoot and be shot at.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <deque>

#include "library/3dvisual/features.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/world.h"
#include "library/maths/random.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/system/memory.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/frame_loop.h"
#include "source/weapons/rounds.h"
#include "source/weapons/stores.h"
#include "source/weapons/weapon_info.h"
#include "tests/source/weapons/loose_drone.h"
#include "tests/support/scratch.h"
#include "tests/support/worlds.h"

namespace vyr {

template <class Base>
class RoundWorldOn : public GeneratedFlightOn<Base> {
protected:
    void SetUp() override {
        GeneratedFlightOn<Base>::SetUp();
        if (this->IsSkipped()) return;
        saved_settings = current_world_settings;
        current_world_settings = &settings;
        settings.dynamic_ground_objects = dynamic;
    }
    void TearDown() override {
        GeneratedFlightOn<Base>::TearDown();
        if (saved_settings) current_world_settings = saved_settings;
    }

    // A drone of the object type at the point, facing north at the speed (world units a second).
    Drone* drone_at(const Vector3& p, int32_t speed = 0, int object_number = 64) {
        Drone* d = add_loose_drone(drones, p, object_number, DRONE_CLASS_TANK);
        d->speed = speed;
        return d;
    }

    static Pose pose_at(const Vector3& p, uint32_t heading = 0, uint32_t pitch = 0, uint32_t roll = 0) {
        Pose pose{p, {}};
        build_rotation_matrix(heading, pitch, roll, pose.matrix);
        return pose;
    }

    static int memory_blocks_in_use() {
        int used = 0;
        for (const MemoryPool& pool : memory_pools) used += pool.base ? pool.blocks_used : 0;
        return used;
    }

    std::deque<Drone> drones;
    WorldSettings settings{};
    WorldSettings* saved_settings = nullptr;
    int16_t* dynamic[4096] = {};
};

using RoundWorld = RoundWorldOn<ScratchDirectories>;

}  // namespace vyr
