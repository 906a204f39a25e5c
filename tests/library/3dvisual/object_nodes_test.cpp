// The object buffer's drawers of movers and ground objects, drawn through the real object drawer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/graphics/screen.h"
#include "library/maths/units.h"
#include "tests/library/3dvisual/object_files.h"

namespace vyr {
namespace {

using namespace testing_objects;
constexpr uint8_t BACKGROUND = 1;
constexpr int TILE_X = 32, TILE_Y = 32;

// Object 1: a cube of 2 ft whose faces are coloured 10 (+x), 11 (-x), 12 (+y), 13 (-y), 14, 15.
// The eye looks north at it from 6 ft south, half a foot up.
class ObjectNodes : public ObjectFiles {
protected:
    void SetUp() override {
        ObjectFiles::SetUp();
        TestObject cube_object = cube();
        for (size_t at = 0; at + 1 < cube_object.code.size(); at += 9) cube_object.code[at + 3] = uint8_t(10 + at / 9);
        cube_object.flags = OBJECT_SOLID | OBJECT_CASTS_SHADOW;
        write_files(build_object_file({std::nullopt, cube_object}).bytes, build_texture_file(1));
        reload_objects("3DDATA\\");
        screen = open_object_screen();
    }
    void TearDown() override {
        select_screen(nullptr);
        shutdown_world();
        ObjectFiles::TearDown();
    }

    // Renders what the tile's lists hold from the eye.
    void render(void (*queue)()) {
        std::fill(screen->pixels, screen->pixels + 64 * 48, BACKGROUND);
        Pose eye{{place.x, place.y - 6 * FOOT, FOOT / 2}, {}};
        set_identity_matrix(eye.matrix);
        set_eye(&eye);
        reset_object_buffer();
        render_tile_x = TILE_X;
        render_tile_y = TILE_Y;
        queue();
        flush_object_buffer();
    }
    uint8_t centre() const { return screen->pixels[24 * 64 + 32]; }

    Screen* screen = nullptr;
    const Vector3 place = {(TILE_X << 22) + 1000 * FOOT, (TILE_Y << 22) + 2000 * FOOT, 0};
};

TEST_F(ObjectNodes, TheViewersOwnObjectIsHiddenWhileItsShadowIsStillQueued) {
    Pose pose{{place.x, place.y, FOOT / 2}, {}};
    set_identity_matrix(pose.matrix);
    ObjectInstance* own = create_object_instance(1, nullptr, &pose, nullptr);
    link_mobile_object(own);
    ViewSettings view = current_view;
    view.own_object = own;
    set_view_settings(&view);
    render(queue_mobile_objects);
    EXPECT_EQ(get_object_buffer_count(), 2) << "the object and its shadow";
    EXPECT_EQ(centre(), BACKGROUND);
    view.flags |= VIEW_SHOW_OWN_OBJECT;
    set_view_settings(&view);
    render(queue_mobile_objects);
    EXPECT_EQ(centre(), 13);
    unlink_mobile_object(own);
    free_object_instance(own);
}

TEST_F(ObjectNodes, GroundObjectsStandAtTheirPlaceTurnedToTheirHeading) {
    auto file_with = [this](uint16_t heading) {
        Writer w;
        w.bytes.resize(16384, 0);
        w.put32(4 * size_t(TILE_X * 64 + TILE_Y), 16384);
        w.i16(1);
        for (int v : {1, 1000, 2000, int(heading), 0, 0}) w.i16(v);
        std::filesystem::create_directories(directory / "korea.wz");
        std::ofstream(directory / "korea.wz" / "gndobjs.bin", std::ios::binary)
            .write(reinterpret_cast<const char*>(w.bytes.data()), std::streamsize(w.bytes.size()));
        std::strcpy(world_settings.war_zone_directory, "KOREA.WZ\\");
        load_ground_objects();
    };
    file_with(0);
    render(queue_ground_objects);
    EXPECT_EQ(centre(), 13) << "its south face";
    file_with(0x4000);
    render(queue_ground_objects);
    EXPECT_EQ(centre(), 10) << "turned a quarter, its east face looks south";
}

}  // namespace
}  // namespace vyr
