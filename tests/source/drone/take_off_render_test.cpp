// Afghanistan's ground-attack quick start drawn as the flight draws it: the fighter parked on the
// runway ahead of the player rolls down the runway, lifts off and climbs away, on the theatre's
// own ground.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/3dvisual/world_palette.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "platform/accel/framebuffer.h"
#include "source/drone/air_manoeuvre.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/drone_update.h"
#include "source/drone/ships.h"
#include "source/frame_loop.h"
#include "tests/library/3dvisual/accel_frame.h"
#include "tests/source/drone/drone_render.h"
#include "tests/source/drone/quick_start_mission.h"
#include "tests/support/glide_start.h"
#include "tests/support/scratch.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace accel = platform::accel;

// The window thread that serves the renders' palettes is the binary's, started once for all its
// render tests (user_drone_render_test.cpp).
constexpr int FIGHTER = 225;

class TakeOffRender : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
        open_generated_war_zone("afghan.wz");
        build_world_palette();
        read_quick_start("afghnq02.dta");
        place_drones_at_start();
        for (Task* t = task_list; t && !fighter; t = t->next)
            for (Drone* d = t->first_drone; d; d = d->next)
                if (d->object.object_type == FIGHTER && d->first_waypoint->z == 0) fighter = d;
    }
    void TearDown() override {
        destroy_all_tasks();
        reset_carriers();
        game_clock = 0;
        close_world_with_glide();
        std::memset(terrain_posts, 0, sizeof terrain_posts);  // the other tests stand on flat ground
        ScratchDirectories::TearDown();
    }

    // Steps of a twentieth of a second until `done`, at most ten minutes; false when the fighter
    // was lost on the way.
    bool run_until(auto done) {
        for (int step = 0; step < 20 * 600 && !done(); ++step) {
            update_drones();
            game_clock += 10;
            if (fighter->destroyed) return false;
        }
        return done();
    }

    // From `distance` behind the fighter and `height` above it, looking at it; the pixels that
    // change when it is taken out of the world.
    int render_fighter(const char* name, int32_t distance, int32_t height) {
        const Vector3 at = fighter->pose.position;
        const uint32_t heading = fighter->heading;
        Pose eye{{at.x - mul31(distance, lookup_sin(heading)), at.y - mul31(distance, lookup_cos(heading)), at.z + height},
                 {}};
        build_rotation_matrix(heading, uint32_t(-int32_t(compute_bearing(height, distance))), 0, eye.matrix);
        render_world(&eye);
        write_frame(std::string(VYR_BUILD_DIR) + "/take_off_" + name + ".ppm");
        const std::vector<uint16_t> with(accel::draw_buffer(), accel::draw_buffer() + accel::SCREEN_WIDTH * accel::SCREEN_HEIGHT);
        unlink_mobile_object(&fighter->object);
        render_world(&eye);
        link_mobile_object(&fighter->object);
        int changed = 0;
        for (size_t i = 0; i < with.size(); ++i) changed += with[i] != accel::draw_buffer()[i];
        return changed;
    }

    Drone* fighter = nullptr;
};

TEST_F(TakeOffRender, TheFighterRollsDownTheRunwayLiftsOffAndClimbsAway) {
    ASSERT_NE(fighter, nullptr);
    const Waypoint* departure = fighter->first_waypoint->next;
    const Waypoint* climb_out = departure->next;
    ASSERT_EQ(fighter->current_waypoint, departure);
    const Vector3 parked = fighter->pose.position;
    EXPECT_EQ(parked.z, 0);

    // Rolling down the runway, past taxiing speed.
    ASSERT_TRUE(run_until([&] { return fighter->current_waypoint == climb_out && fighter->speed > 80 * KNOT; }));
    EXPECT_EQ(fighter->pose.position.z, 0);
    EXPECT_EQ(fighter->manoeuvre, MANOEUVRE_TAKE_OFF);
    EXPECT_GT(render_fighter("rolling", 150 * FOOT, 30 * FOOT), 300) << "the fighter on the runway";

    // Airborne, and climbing away.
    ASSERT_TRUE(run_until([&] { return fighter->pose.position.z > 300 * FOOT; }));
    EXPECT_GE(fighter->speed, 140 * KNOT);
    const int32_t low = fighter->pose.position.z;
    EXPECT_GT(render_fighter("climbing", 150 * FOOT, 0), 300) << "the fighter in the air";
    ASSERT_TRUE(run_until([&] { return fighter->pose.position.z > low + 500 * FOOT; }));
    EXPECT_GT(int32_t(fighter->pitch), 0);
    EXPECT_GT(fighter->pose.position.z - get_ground_height(fighter->pose.position.x, fighter->pose.position.y),
              500 * FOOT);
}

}  // namespace
}  // namespace vyr
