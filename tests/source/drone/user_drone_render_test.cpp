#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/3dvisual/world_palette.h"
#include "library/gfxinit/glide.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "platform/accel/framebuffer.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "tests/library/3dvisual/accel_frame.h"
#include "tests/source/drone/drone_render.h"
#include "tests/support/headless_world.h"
#include "tests/support/glide_start.h"
#include "tests/support/scratch.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace accel = platform::accel;

// The renders send their palettes to the display through the window thread.
const testing::Environment* const window_thread = testing::AddGlobalTestEnvironment(new WindowThreadEnvironment);

// The player's aircraft over Korea of the generated data, seen from behind, beside and below
// with the accelerator started as a flight starts it.
class UserDroneRender : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
        open_drone_render_world();
        saved_object = player_object;
        saved_position = player_position;
        frame_fraction = FIXED_ONE / 20;
    }
    void TearDown() override {
        destroy_all_tasks();
        user_drone = nullptr;
        player_object = saved_object;
        player_position = saved_position;
        gear_state = GEAR_DOWN;
        air_brake_state = AIR_BRAKE_CLOSED;
        air_brake_angle = 0;
        accelerator_flag = 0;
        accel::shut_down();
        shutdown_world();
        std::memset(terrain_posts, 0, sizeof terrain_posts);  // the other tests stand on flat ground
        ScratchDirectories::TearDown();
    }

    // The aircraft rebuilt and drawn as the frame loop would, the picture kept as a PPM.
    std::vector<uint16_t> render(const char* name) {
        set_user_drone(user_drone);
        place_sub_instances(player_object);
        Pose eye{{aircraft.x + 35 * FOOT, aircraft.y - 45 * FOOT, aircraft.z - 14 * FOOT}, {}};
        build_rotation_matrix(uint32_t(-38 * DEGREE), uint32_t(12 * DEGREE), 0, eye.matrix);
        render_world(&eye);
        write_frame(std::string(VYR_BUILD_DIR) + "/user_drone_" + name + ".ppm");
        return {accel::draw_buffer(), accel::draw_buffer() + accel::SCREEN_WIDTH * accel::SCREEN_HEIGHT};
    }

    const Vector3 aircraft = {1 << 27, 1 << 27, 3000 * FOOT};
    ObjectInstance* saved_object = nullptr;
    Pose* saved_position = nullptr;
};

TEST_F(UserDroneRender, TheGearAndTheAirBrakeShowOnThePlayersAircraft) {
    Task* task = create_task();
    set_drone_type(create_drone(task), 225);
    create_user_drone();
    user_drone->pose.position = aircraft;
    build_rotation_matrix(0, 0, 0, user_drone->pose.matrix);
    link_mobile_object(player_object);
    player_flight_data.airspeed = 150;

    gear_state = GEAR_UP;
    const std::vector<uint16_t> clean = render("clean");
    gear_state = GEAR_DOWN;
    const std::vector<uint16_t> gear = render("gear");
    air_brake_state = AIR_BRAKE_OPEN;
    const std::vector<uint16_t> brake = render("gear_and_brake");
    EXPECT_EQ(air_brake_angle, 0x20000000u);

    auto changed = [](const std::vector<uint16_t>& a, const std::vector<uint16_t>& b) {
        int n = 0;
        for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
        return n;
    };
    EXPECT_GT(changed(clean, gear), 100) << "the gear legs and doors";
    EXPECT_GT(changed(gear, brake), 20) << "the air brake petals";
    unlink_mobile_object(player_object);
}

}  // namespace
}  // namespace vyr
