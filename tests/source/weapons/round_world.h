// The world rounds are launched into by the tests: the generated data's objects and weapon
// records over flat ground at height 0, an empty pool, empty tile lists and a step of 1/100 s;
// drones of the test's own to shoot and be shot at.
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

namespace vyr {

template <class Base>
class RoundWorldOn : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        Base::use_generated_data();
        init_trig_tables();
        reload_objects("3DDATA\\");
        init_weapon_info();
        init_mobile_lists();
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        terrain_max_height = 0;
        saved_settings = current_world_settings;
        current_world_settings = &settings;
        settings.dynamic_ground_objects = dynamic;
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
        current_world_settings = saved_settings;
        user_drone = nullptr;
        Base::TearDown();
    }

    static void set_step(double seconds) {
        frame_seconds = seconds;
        frame_fraction = int32_t(seconds * 2147483647.0);
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
