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
#include "source/drone/formations.h"
#include "source/frame_loop.h"
#include "source/drone/soldier_moves.h"
#include "source/drone/soldiers.h"
#include "tests/library/3dvisual/accel_frame.h"
#include "tests/source/drone/drone_render.h"
#include "tests/support/glide_start.h"
#include "tests/support/headless_world.h"
#include "tests/support/scratch.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace accel = platform::accel;

// The renders send their palettes through the window thread the player's aircraft render test
// starts for this whole test program.

// Every soldier object, each at the middle of a movement of its own.
struct Posed {
    int32_t object;
    int32_t animation;
};
const Posed SHEET[] = {{640, 1},   {743, 3},   {984, 5},   {916, 6},   {919, 31},  {987, 46},
                       {917, 12},  {918, 41},  {920, 23},  {921, 53},  {989, 62},  {988, 18}};

class SoldiersRender : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
        open_drone_render_world();
        load_human_movements();
        set_animation_hook(pose_human_figure);
        ground = get_ground_height(centre.x, centre.y);
    }
    void TearDown() override {
        set_animation_hook(nullptr);
        for (Drone* drone : drones) unlink_mobile_object(&drone->object);
        destroy_all_tasks();
        close_world_with_glide();
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        ScratchDirectories::TearDown();
    }

    Drone* soldier(const Posed& posed, int32_t x, int32_t y) {
        if (!task) task = create_task();
        Drone* drone = create_drone(task);
        set_drone_type(drone, posed.object);
        HumanFigure* figure = drone->class_record;
        figure->animation = posed.animation;
        figure->animation_time = human_movements[posed.animation].duration / 2;
        figure->flags |= HUMAN_POSE_CHANGED;
        drone->heading = 0xa0000000u;  // facing the eye, turned a little to its right
        drone->pose.position = {centre.x + x, centre.y + y, get_ground_height(centre.x + x, centre.y + y)};
        build_rotation_matrix(drone->heading, 0, 0, drone->pose.matrix);
        link_mobile_object(&drone->object);
        drones.push_back(drone);
        return drone;
    }

    // A formation's leader standing at `ahead` and `aside` feet from the centre (east and south),
    // facing along `facing`, on a route of two soldiers' waypoints.
    Drone* group(int formation, int32_t ahead, int32_t aside, Vector3 facing) {
        if (!task) task = create_task();
        Drone* leader = create_drone(task);
        set_drone_formation(leader, formation);
        const int32_t x = centre.x + ahead * FOOT, y = centre.y - aside * FOOT;
        for (int i = 0; i < 2; ++i) {
            Waypoint* w = append_waypoint(leader);
            set_waypoint_type(w, WAYPOINT_HUMAN_TURN);
            set_waypoint_position(w, x + i * facing.x, y + i * facing.y, 0);
        }
        return leader;
    }

    std::vector<uint16_t> render(const char* name, uint32_t heading = 0, uint32_t pitch = uint32_t(-9 * DEGREE)) {
        Pose eye{{centre.x + 2 * FOOT, centre.y - 26 * FOOT, ground + 9 * FOOT}, {}};
        if (heading) eye.position = {centre.x, centre.y, ground + 10 * FOOT};
        build_rotation_matrix(heading, pitch, 0, eye.matrix);
        render_world(&eye);
        write_frame(std::string(VYR_BUILD_DIR) + "/soldiers_" + name + ".ppm");
        return {accel::draw_buffer(), accel::draw_buffer() + accel::SCREEN_WIDTH * accel::SCREEN_HEIGHT};
    }

    const Vector3 centre = {1 << 27, 1 << 27, 0};
    int32_t ground = 0;
    Task* task = nullptr;
    std::vector<Drone*> drones;
};

int changed_pixels(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
}

TEST_F(SoldiersRender, ASheetOfSoldiersEachMidwayThroughAMovementIsDrawnPosed) {
    const std::vector<uint16_t> empty = render("empty");
    for (size_t i = 0; i < std::size(SHEET); ++i)
        soldier(SHEET[i], int32_t(i % 6) * 7 * FOOT - 17 * FOOT, int32_t(i / 6) * 10 * FOOT);
    const std::vector<uint16_t> sheet = render("sheet");
    for (const Drone* drone : drones)
        EXPECT_FALSE(drone->class_record->flags & HUMAN_POSE_CHANGED) << drone->object.object_type << " not posed";
    EXPECT_GT(changed_pixels(empty, sheet), 12 * 400) << "twelve figures of some hundreds of pixels each";

    // Standing still instead, every figure looks otherwise: the limbs moved.
    for (Drone* drone : drones) {
        drone->class_record->animation = 0;
        drone->class_record->animation_time = 0;
        drone->class_record->flags |= HUMAN_POSE_CHANGED;
    }
    EXPECT_GT(changed_pixels(sheet, render("standing")), 12 * 40);
}

// As the ground-attack quick start stands them ahead of the player, nearer: a squad and a machine
// gun facing the eye, a stretcher party crossing between them; placed as a flight starts and
// stepped once.
TEST_F(SoldiersRender, TheSquadTheStretcherPartyAndTheMannedGunStandPosedAfterTheFirstStep) {
    const uint32_t view_heading = 0x40000000;  // east, toward them
    const uint32_t view_pitch = 6 * DEGREE;
    const std::vector<uint16_t> empty = render("quick_start_empty", view_heading, view_pitch);
    Drone* squad = group(90, 60, -30, {-256, 0, 0});
    Drone* party = group(141, 75, 8, {0, -256, 0});
    Drone* gun = group(133, 90, 40, {-256, 0, 0});
    game_clock = 0;
    place_drones_at_start();
    update_drones();
    for (Drone* d = squad; d; d = next_group_member(d)) drones.push_back(d);
    for (Drone* d : {party, party->first_member, party->first_member->next, gun, gun->first_member})
        drones.push_back(d);

    EXPECT_TRUE(party->class_record->flags & HUMAN_CARRIER);
    EXPECT_TRUE(gun->first_member->class_record->flags & HUMAN_MANNING);
    const std::vector<uint16_t> scene = render("quick_start", view_heading, view_pitch);
    for (Drone* d : drones) {
        if (d->object.object_type == 852 || d->object.object_type == 1013) continue;  // never posed
        EXPECT_FALSE(d->class_record->flags & HUMAN_POSE_CHANGED) << d->object.object_type << " not posed";
    }
    EXPECT_GT(changed_pixels(empty, scene), 9 * 100) << "nine figures and a gun";
}

}  // namespace
}  // namespace vyr
