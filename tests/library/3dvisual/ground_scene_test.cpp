// A town and an airfield of a generated theatre through the full render, with their ground
// objects and a few movers placed in the tile lists, written as PPM for a look. The palette goes
// to the display through the window thread this binary runs (world_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <numbers>
#include <string>
#include <vector>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/object_buffer.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/stars.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/3dvisual/world_glide.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/os/file.h"
#include "platform/accel/framebuffer.h"
#include "tests/library/3dvisual/accel_frame.h"
#include "tests/library/3dvisual/eye_points.h"
#include "tests/support/scratch.h"
#include "tests/support/war_zone.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace accel = platform::accel;

constexpr double FEET = 256;
constexpr double DEGREE = 4294967296.0 / 360;
constexpr int HANGAR = 264;

struct Place {
    double x, y;  // world units
};

Place operator+(Place a, Place b) { return {a.x + b.x, a.y + b.y}; }
Place operator*(Place a, double k) { return {a.x * k, a.y * k}; }
// A compass bearing in degrees, clockwise from north, as a unit step on the ground.
Place toward(double bearing) { return {std::sin(bearing * std::numbers::pi / 180), std::cos(bearing * std::numbers::pi / 180)}; }

int drawn_ground_objects = 0, drawn_movers = 0;
BufferDrawer ground_drawer = nullptr, mover_drawer = nullptr;
void count_ground_object(BufferNode* node) {
    ++drawn_ground_objects;
    ground_drawer(node);
}
void count_mover(BufferNode* node) {
    ++drawn_movers;
    mover_drawer(node);
}

class GroundScene : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        use_generated_data();
        init_trig_tables();
        // The generated object set, in place of any the binary's other tests loaded.
        reload_objects("3ddata\\");
        open_war_zone("korea.wz", WORLD_LOAD_DATA | WORLD_BUILD_PALETTE);
        start_glide();
        accelerator_flag = 1;
        set_viewport(0, 0, accel::SCREEN_WIDTH, accel::SCREEN_HEIGHT);
        ViewSettings view = view_settings;
        view.visual_range = 8;
        view.object_near_limit = 256;
        view.object_visual_range = 40000 * 256;
        view.sun_heading = int32_t(uint32_t(210 * DEGREE));
        view.sun_elevation = -int32_t(40 * DEGREE);
        view.darkness = 0;
        view.terrain_detail = 3;
        view.object_textures = 3;
        view.weather = WEATHER_CLEAR;
        view.night_vision = 0;
        view.own_object = nullptr;
        view.flags = VIEW_SHADOWS;
        set_view_settings(&view);
        set_depth_scale(view.visual_range);
        ground_drawer = buffer_drawers[NODE_GROUND_OBJECT];
        mover_drawer = buffer_drawers[NODE_MOBILE_OBJECT];
        buffer_drawers[NODE_GROUND_OBJECT] = count_ground_object;
        buffer_drawers[NODE_MOBILE_OBJECT] = count_mover;
    }
    // The other tests of the binary stand on an empty, flat world.
    void TearDown() override {
        buffer_drawers[NODE_GROUND_OBJECT] = ground_drawer;
        buffer_drawers[NODE_MOBILE_OBJECT] = mover_drawer;
        for (ObjectInstance* mover : movers) {
            unlink_mobile_object(mover);
            free_object_instance(mover);
        }
        init_mobile_lists();
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        std::fill(std::begin(ground_object_tiles), std::end(ground_object_tiles), nullptr);
        star_count = 0;
        shutdown_world();
        accelerator_flag = 0;
        accel::shut_down();
        ScratchDirectories::TearDown();
    }

    // The records of the theatre whose type is in [first, last], with their positions.
    static std::vector<std::pair<const ground_object*, Place>> records_of(int first, int last) {
        std::vector<std::pair<const ground_object*, Place>> found;
        for (int tile = 0; tile < WORLD_TILES * WORLD_TILES; ++tile) {
            int16_t* list = ground_object_tiles[tile];
            for (int k = 0; k < ground_object_count(list); ++k) {
                const ground_object& r = ground_object_records(list)[k];
                if (r.type < first || r.type > last) continue;
                const Vector3 p = ground_object_position(tile, r);
                found.push_back({&r, {double(p.x), double(p.y)}});
            }
        }
        return found;
    }

    // A mover standing on the ground at `at`, turned to `bearing`.
    void place(int32_t type, std::vector<int32_t> parts, Place at, double bearing) {
        Pose& pose = poses.emplace_back();
        build_rotation_matrix(uint32_t(int64_t(std::lround(bearing * DEGREE))), 0, 0, pose.matrix);
        pose.position = {int32_t(at.x), int32_t(at.y), 0};
        const std::vector<int32_t>& kept = part_lists.emplace_back(std::move(parts));
        const VariableList list{kept.data(), int(kept.size())};
        ObjectInstance* mover = create_object_instance(type, nullptr, &pose, &list);
        ASSERT_NE(mover, nullptr) << type;
        link_mobile_object(mover);
        movers.push_back(mover);
    }

    // From `from`, `feet` up, looking at `target` on the ground.
    static Pose eye_looking(Place from, double feet, Place target) {
        const double dx = target.x - from.x, dy = target.y - from.y;
        const double bearing = std::atan2(dx, dy) * 180 / std::numbers::pi;
        const double pitch = -std::atan2(feet * FEET, std::hypot(dx, dy)) * 180 / std::numbers::pi;
        Pose eye{{int32_t(from.x), int32_t(from.y), int32_t(feet * FEET)}, {}};
        build_rotation_matrix(uint32_t(int64_t(std::lround(bearing * DEGREE))),
                              uint32_t(int64_t(std::lround(pitch * DEGREE))), 0, eye.matrix);
        return eye;
    }

    // The pixel a world point `feet` above the ground lands on.
    static Rgb pixel_at(Place p, double feet) {
        const Vector3 d{int32_t(p.x) - eye_pose.position.x, int32_t(p.y) - eye_pose.position.y,
                        int32_t(feet * FEET) - eye_pose.position.z};
        Vector3 e;
        rotate_vector(view_matrix, d, e);
        PolyVertex v = eye_point(e.x, e.y, stretch_up(e.z));
        project_vertex(v);
        return pixel(v.screen_x, v.screen_y);
    }

    void render(const Pose& eye, const std::string& name) {
        drawn_ground_objects = drawn_movers = 0;
        render_world(&eye);
        write_frame(std::string(VYR_BUILD_DIR) + "/" + name + ".ppm");
    }

    std::deque<Pose> poses;
    std::deque<std::vector<int32_t>> part_lists;
    std::vector<ObjectInstance*> movers;
};

TEST_F(GroundScene, ATownWithItsBuildingsAndTrafficOnItsStreets) {
    // The tile with the most city blocks holds a town centre.
    const auto blocks = records_of(350, 369);
    ASSERT_FALSE(blocks.empty());
    std::vector<int> per_tile(WORLD_TILES * WORLD_TILES, 0);
    auto tile_of = [](Place p) { return tile_index(int(p.x) >> TILE_SHIFT, int(p.y) >> TILE_SHIFT); };
    for (const auto& [record, at] : blocks) ++per_tile[size_t(tile_of(at))];
    const int town_tile = int(std::max_element(per_tile.begin(), per_tile.end()) - per_tile.begin());
    Place centre{0, 0};
    for (const auto& [record, at] : blocks)
        if (tile_of(at) == town_tile) centre = centre + at * (1.0 / per_tile[size_t(town_tile)]);

    place(216, {}, centre + Place{0, -300 * FEET}, 0);
    place(426, {}, centre + Place{0, 250 * FEET}, 180);
    place(219, {}, centre + Place{-200 * FEET, -50 * FEET}, 90);
    place(93, {}, centre + Place{400 * FEET, -700 * FEET}, 20);
    render(eye_looking(centre + Place{-500 * FEET, -1100 * FEET}, 220, centre + Place{0, -150 * FEET}), "ground_scene_town");

    EXPECT_GT(drawn_ground_objects, 100);
    EXPECT_EQ(drawn_movers, 4);
}

TEST_F(GroundScene, AnAirfieldWithItsHangarsAndAircraftOnTheApron) {
    const auto hangars = records_of(HANGAR, HANGAR);
    ASSERT_FALSE(hangars.empty());
    const auto& [hangar, at] = hangars.front();
    // The hangars face the runway: it runs a quarter turn from their heading, on their open side.
    const double facing = hangar->heading * 360.0 / 65536;
    const Place to_runway = toward(facing), along = toward(facing + 90);

    place(225, {1228, 1231, 1229}, at + to_runway * (250 * FEET) + along * (100 * FEET), facing + 200);
    place(225, {1228, 1231, 1229}, at + to_runway * (260 * FEET) + along * (-150 * FEET), facing + 160);
    place(398, {}, at + to_runway * (170 * FEET) + along * (20 * FEET), facing + 90);
    place(219, {}, at + to_runway * (150 * FEET) + along * (-300 * FEET), facing + 90);
    const Place target = at + to_runway * (250 * FEET) + along * (150 * FEET);
    render(eye_looking(at + to_runway * (450 * FEET) + along * (-250 * FEET), 60, target), "ground_scene_airfield");

    EXPECT_GT(drawn_ground_objects, 10);
    EXPECT_EQ(drawn_movers, 4);
    // The first hangar's door stands grey against the green field.
    const Rgb door = pixel_at({at.x, at.y}, 12), grass = pixel(320, 470);
    EXPECT_GT(grass.g - grass.b, 30);
    EXPECT_LT(door.g - door.b, 15) << door.r << " " << door.g << " " << door.b;
}

}  // namespace
}  // namespace vyr
