// Korea's ground-attack quick start drawn as the flight draws it: the tank diamond on the road in
// single file, and the helicopter coming down on its landing point.
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
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/drone_update.h"
#include "source/drone/ships.h"
#include "source/frame_loop.h"
#include "source/mission/mission_data.h"
#include "tests/library/3dvisual/accel_frame.h"
#include "tests/source/drone/drone_render.h"
#include "tests/source/drone/quick_start_mission.h"
#include "tests/support/glide_start.h"
#include "tests/support/headless_world.h"
#include "tests/support/scratch.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace accel = platform::accel;

// The window thread that serves the renders' palettes is the binary's, started once for all its
// render tests (user_drone_render_test.cpp).

class QuickStartRender : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
        open_generated_korea();
        build_world_palette();
        read_korean_quick_start();
        place_drones_at_start();
    }
    void TearDown() override {
        destroy_all_tasks();
        reset_carriers();
        game_clock = 0;
        accelerator_flag = 0;
        accel::shut_down();
        shutdown_world();
        std::memset(terrain_posts, 0, sizeof terrain_posts);  // the other tests stand on flat ground
        ScratchDirectories::TearDown();
    }

    static void run_until(auto done) {
        for (int step = 0; step < 20 * 600 && !done(); ++step) {
            update_drones();
            game_clock += 10;
        }
    }

    // From `distance` behind and above `target` along `heading`, looking down on it.
    static std::vector<uint16_t> render(const char* name, const Vector3& target, uint32_t heading, int32_t distance,
                                        int32_t height) {
        Pose eye{{target.x - mul31(distance, lookup_sin(heading)), target.y - mul31(distance, lookup_cos(heading)),
                  target.z + height},
                 {}};
        const uint32_t down = uint32_t(-int32_t(compute_bearing(height, distance)));
        build_rotation_matrix(heading, down, 0, eye.matrix);
        render_world(&eye);
        write_frame(std::string(VYR_BUILD_DIR) + "/quick_start_" + name + ".ppm");
        return {accel::draw_buffer(), accel::draw_buffer() + accel::SCREEN_WIDTH * accel::SCREEN_HEIGHT};
    }

    static int changed(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b) {
        int n = 0;
        for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
        return n;
    }
};

TEST_F(QuickStartRender, TheDiamondFollowsTheRoadInSingleFile) {
    Drone* leader = find_mission_drone(93, 1);
    ASSERT_NE(leader, nullptr);
    const Waypoint* road_end = leader->first_waypoint->next->next;
    // Half way along the road.
    run_until([&] { return leader->current_waypoint == road_end && leader->remaining_distance < 120000; });
    ASSERT_EQ(leader->current_waypoint, road_end);
    const std::vector<uint16_t> with = render("diamond_on_road", leader->pose.position, leader->heading + 0x80000000u,
                                              250 * FOOT, 90 * FOOT);
    std::vector<Drone*> tanks{leader};
    for (Drone* m = leader->first_member; m; m = m->next) tanks.push_back(m);
    for (Drone* t : tanks) unlink_mobile_object(&t->object), t->object.flags |= INSTANCE_INACTIVE;
    const std::vector<uint16_t> without = render("road_without_diamond", leader->pose.position,
                                                 leader->heading + 0x80000000u, 250 * FOOT, 90 * FOOT);
    EXPECT_GT(changed(with, without), 150) << "the tanks on the road";
}

TEST_F(QuickStartRender, TheHelicopterComesDownOnItsLandingPoint) {
    Drone* helicopter = nullptr;
    for (Task* t = task_list; t; t = t->next)
        if (t->first_drone && t->first_drone->object.object_type == 307 && t->first_drone->first_waypoint->z > 0)
            helicopter = t->first_drone;
    ASSERT_NE(helicopter, nullptr);
    const Waypoint* pad = helicopter->first_waypoint->next;
    const Vector3 ground{pad->x, pad->y, pad->z};
    std::vector<int32_t> heights;
    for (const char* name : {"helicopter_high", "helicopter_low"}) {
        run_until([&] { return helicopter->pose.position.z < (heights.empty() ? 45 : 10) * FOOT; });
        heights.push_back(helicopter->pose.position.z);
        EXPECT_EQ(helicopter->pose.position.x, pad->x);  // straight down over the point
        EXPECT_EQ(helicopter->pose.position.y, pad->y);
        render(name, ground, 0x20000000, 200 * FOOT, 40 * FOOT);
    }
    EXPECT_LT(heights[1], heights[0]);
}

}  // namespace
}  // namespace vyr
