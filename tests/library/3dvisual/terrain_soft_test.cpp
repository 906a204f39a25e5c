// Terrain on the 8-bit screen: how a node picks its renderer, the near cells' sub-triangles, and
// the generated theatres drawn without the accelerator.
#include "library/3dvisual/terrain_soft_tiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/object_buffer.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/shadows.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/terrain_colours.h"
#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/terrain_soft.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/visibility.h"
#include "library/3dvisual/world.h"
#include "library/3dvisual/world_palette.h"
#include "library/graphics/palette.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/os/file.h"
#include "tests/library/3dvisual/screen_point.h"
#include "tests/library/3dvisual/world_fixtures.h"
#include "tests/support/scratch.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {
constexpr int32_t POST = 1 << 20;
constexpr int HOLE = 255;  // no terrain colour: what no triangle covered

BufferNode node_of(int detail, int32_t flags) {
    BufferNode node{};
    node.payload[TERRAIN_FLAGS] = flags;
    node.payload[TERRAIN_DETAIL] = detail;
    return node;
}

TEST(SoftTerrain, TheDispatchTableChoosesEachRenderer) {
    using R = SoftTerrainRenderer;
    constexpr int32_t PLAIN = 0, BARE = TERRAIN_NODE_NO_TEXTURE, NEAR = TERRAIN_NODE_NEAR, BARE_NEAR = BARE | NEAR;
    const struct {
        int installed, detail;
        int32_t flags;
        R expected;
    } cases[] = {
        {0, 3, BARE_NEAR, R::FLAT},         {1, 0, NEAR, R::FLAT},
        {1, -1, PLAIN, R::FLAT},            {1, 1, NEAR, R::DITHER_NEAR},
        {1, 2, PLAIN, R::GOURAUD},          {2, 2, BARE_NEAR, R::DITHER_NEAR},
        {2, 2, BARE, R::GOURAUD},           {2, 2, NEAR, R::DETAIL_NEAR},
        {2, 2, PLAIN, R::TEXTURED},         {2, 1, NEAR, R::GOURAUD},
        {3, 1, BARE_NEAR, R::GOURAUD},      {2, 3, NEAR, R::FLAT},
        {2, 0, PLAIN, R::FLAT},             {3, 2, BARE_NEAR, R::DITHER_NEAR},
        {3, 3, BARE, R::GOURAUD},           {3, 3, NEAR, R::TEXTURED_NEAR},
        {3, 2, PLAIN, R::TEXTURED},         {3, 0, NEAR, R::FLAT},
        {3, 4, PLAIN, R::FLAT},             {4, 2, PLAIN, R::NONE},
        {-1, 2, PLAIN, R::NONE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "installed " << c.installed << " node " << c.detail << " flags " << c.flags);
        const BufferNode node = node_of(c.detail, c.flags);
        EXPECT_EQ(choose_terrain_renderer_soft(c.installed, &node), c.expected);
    }
}

TEST(SoftTerrain, SubTrianglesRunInStripsThatTileTheTriangle) {
    int strip_sizes[8] = {};
    long area = 0;
    for (const SubTriangle& s : terrain_sub_triangles) {
        const int l = std::min({s.l[0], s.l[1], s.l[2]});
        ++strip_sizes[l];
        for (int e = 0; e < 3; ++e) EXPECT_LE(s.k[e] + s.l[e], 8);
        // Twice the signed area in (k, l): every one wound the same way, each half a grid square.
        area += (s.k[1] - s.k[0]) * (s.l[2] - s.l[0]) - (s.k[2] - s.k[0]) * (s.l[1] - s.l[0]);
    }
    EXPECT_EQ(area, 64);
    for (int l = 0; l < 8; ++l) EXPECT_EQ(strip_sizes[l], 15 - 2 * l);
    const SubTriangle& first = terrain_sub_triangles[0];
    EXPECT_EQ((std::array<int, 6>{first.k[0], first.l[0], first.k[1], first.l[1], first.k[2], first.l[2]}),
              (std::array<int, 6>{0, 1, 0, 0, 1, 0}));
    const SubTriangle& second = terrain_sub_triangles[1];
    EXPECT_EQ((std::array<int, 6>{second.k[0], second.l[0], second.k[1], second.l[1], second.k[2], second.l[2]}),
              (std::array<int, 6>{1, 0, 1, 1, 0, 1}));
    const SubTriangle& last = terrain_sub_triangles[63];
    EXPECT_EQ((std::array<int, 6>{last.k[0], last.l[0], last.k[1], last.l[1], last.k[2], last.l[2]}),
              (std::array<int, 6>{0, 8, 0, 7, 1, 7}));
}

// Class 7 has no colours of its own: it reads as class 0 rather than past the tables.
TEST(SoftTerrain, EachTriangleReadsItsOwnClassAndSevenDrawsAsZero) {
    const struct {
        uint8_t classes;
        bool first;
        int expected;
    } cases[] = {{0x05, true, 5}, {0x05, false, 0}, {0x2B, true, 3}, {0x2B, false, 5}, {0x47, true, 0},
                 {0x38, false, 0}, {0x76, true, 6}};
    for (const auto& c : cases) {
        terrain_posts[3][4].classes = c.classes;
        BufferNode node = node_of(2, c.first ? TERRAIN_NODE_FIRST : 0);
        node.payload[TERRAIN_POST] = 3 * TERRAIN_POSTS + 4;
        EXPECT_EQ(terrain_node_class(&node), c.expected) << int(c.classes) << (c.first ? " first" : " second");
    }
    std::memset(terrain_posts, 0, sizeof terrain_posts);
}

// One triangle of post (10, 10) drawn at once on a screen of HOLE, its corner A straight ahead
// at a distance, with the near range 5 tiles and shade and colour tables that change nothing.
class SoftTerrainNode : public testing::Test {
protected:
    void SetUp() override {
        screen = create_screen(640, 480);
        select_screen(screen);
        set_viewport(0, 0, 640, 480);
        clear_screen(HOLE * 0x01010101u);
        reset_shade_table();
        build_fill_patterns();
        std::copy(std::begin(colour_remap), std::end(colour_remap), saved_remap);
        for (int c = 0; c < 256; ++c) colour_remap[c] = uint8_t(c);
        saved_near = terrain_near_tiles;
        saved_far = terrain_far_tiles;
        saved_detail = current_view.terrain_detail;
        terrain_near_tiles = 5;
        terrain_far_tiles = 2;
    }
    void TearDown() override {
        std::copy(std::begin(saved_remap), std::end(saved_remap), colour_remap);
        terrain_near_tiles = saved_near;
        terrain_far_tiles = saved_far;
        current_view.terrain_detail = saved_detail;
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        std::memset(terrain_detail_colours, 0, sizeof terrain_detail_colours);
        select_screen(nullptr);
        destroy_screen(screen);
    }

    // A at (0, distance, 0); B 2^21 above it and C 2^21 to its right, all inside the view.
    void draw(int installed, int detail, int32_t flags, int64_t distance, uint8_t classes, uint8_t texture = 0) {
        current_view.terrain_detail = installed;
        TerrainPost& post = terrain_posts[10][10];
        post.classes = classes;
        post.colour[0] = 90;
        post.texture[0] = texture;
        auto place = [](PolyVertex& v, int32_t x, int64_t depth, int32_t up) {
            v = {};
            v.x = x;
            v.y = int32_t(depth);
            v.z = up;
            v.shade = 128 << 23;
            project_vertex(v);
        };
        place(terrain_vertex_grid[0][0], 0, distance, 0);
        place(terrain_vertex_grid[0][1], 0, distance, 1 << 21);
        place(terrain_vertex_grid[1][0], 1 << 21, distance, 0);
        place(terrain_vertex_grid[1][1], 1 << 21, distance, 1 << 21);
        BufferNode node = node_of(detail, flags | TERRAIN_NODE_FIRST | TERRAIN_NODE_AT_ONCE);
        node.payload[TERRAIN_POST] = 10 * TERRAIN_POSTS + 10;
        node.payload[TERRAIN_VERTEX] = 0;
        draw_terrain_node_soft(&node);
    }
    // One generated theatre's posts, textures and detail colours, so that textured cells draw
    // the same whatever an earlier test left loaded.
    static void load_generated_terrain() {
        setenv("VYR_DATA", GENERATED_DATA.c_str(), 1);
        find_read_only_path("vyr.rop");
        std::snprintf(world_settings.data_directory, WORLD_DIRECTORY_SIZE, "3ddata\\");
        std::snprintf(world_settings.war_zone_directory, WORLD_DIRECTORY_SIZE, "korea.wz\\");
        current_world_settings = &world_settings;
        load_terrain();
    }
    // How many pixels show each colour.
    std::map<int, int> colours() const {
        std::map<int, int> count;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) ++count[row_table[y][x]];
        count.erase(HOLE);
        return count;
    }

    Screen* screen = nullptr;
    uint8_t saved_remap[256];
    int32_t saved_near = 0, saved_far = 0, saved_detail = 0;
};

constexpr int64_t TILE = int64_t(1) << 22;

// The last tile of the near range fades through the class's rows; nearer, its two colours dither.
TEST_F(SoftTerrainNode, GouraudTrianglesFadeInTheLastNearTile) {
    const struct {
        int64_t distance;
        uint8_t classes;
        std::map<int, int> expected_colours;  // counts of 0: present
    } cases[] = {
        {TILE * 9 / 2, 0x00, {{174, 0}}},
        {TILE * 9 / 2, 0x07, {{174, 0}}},  // class 7 as class 0
        {TILE * 9 / 2, 0x03, {{204, 0}}},
        {TILE * 19 / 4, 0x00, {{172, 0}}},
        {TILE * 3, 0x00, {{89, 0}, {90, 0}}},
        {TILE * 3, 0x06, {{133, 0}, {134, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.distance << " class bits " << int(c.classes));
        clear_screen(HOLE * 0x01010101u);
        draw(1, 1, 0, c.distance, c.classes);
        std::map<int, int> seen = colours();
        for (auto& [colour, count] : seen) count = 0;
        EXPECT_EQ(seen, c.expected_colours);
    }
}

TEST_F(SoftTerrainNode, NearCellsAtDetailTwoShowTheirSixtyFourDetailColours) {
    load_generated_terrain();
    for (int k = 0; k < 64; ++k) terrain_detail_colours[0][5][k] = uint8_t(180 + k);
    // Diagonal set, first triangle: block 0.
    draw(2, 2, TERRAIN_NODE_NEAR, TILE / 2, 0x40, 5);
    const std::map<int, int> seen = colours();
    EXPECT_GE(seen.size(), 60u) << "the thinnest sub-triangles may miss every pixel centre";
    for (const auto& [colour, count] : seen) EXPECT_TRUE(colour >= 180 && colour < 244) << colour;
    // At detail 3 the cell takes its texture instead: only that texture's texels show.
    clear_screen(HOLE * 0x01010101u);
    draw(3, 2, TERRAIN_NODE_NEAR, TILE / 2, 0x40, 5);
    const TextureRecord* texture = get_terrain_texture_64(5, terrain_texture_set(terrain_posts[10][10]));
    const std::set<int> texels(texture->texels, texture->texels + 64 * 64);
    const std::map<int, int> textured = colours();
    EXPECT_FALSE(textured.empty());
    for (const auto& [colour, count] : textured) EXPECT_TRUE(texels.count(colour)) << colour;
}

TEST_F(SoftTerrainNode, DitheredNearCellsTakeTheirClassesTwoColours) {
    draw(1, 1, TERRAIN_NODE_NEAR, TILE / 2, 0x02);
    std::map<int, int> seen = colours();
    for (auto& [colour, count] : seen) count = 0;
    EXPECT_EQ(seen, (std::map<int, int>{{105, 0}, {106, 0}}));
}

// The last two near tiles drew nothing on the 8-bit screen, leaving holes in the ground.
TEST_F(SoftTerrainNode, TexturedTrianglesInTheLastTwoNearTilesAreDrawn) {
    load_generated_terrain();
    for (int64_t distance : {TILE * 2, TILE * 7 / 2, TILE * 9 / 2}) {
        SCOPED_TRACE(distance);
        clear_screen(HOLE * 0x01010101u);
        draw(2, 2, 0, distance, 0x00, 3);
        int covered = 0;
        for (const auto& [colour, count] : colours()) covered += count;
        EXPECT_GT(covered, 100);
    }
}

// The generated theatres on the 8-bit screen from the accelerator tests' eyes.
class SoftTerrainRender : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        setenv("VYR_DATA", GENERATED_DATA.c_str(), 1);
        find_read_only_path("vyr.rop");
        init_trig_tables();
        build_fill_patterns();
        screen = create_screen(640, 480);
        select_screen(screen);
        accelerator_flag = 0;
        set_viewport(0, 0, 640, 480);
    }
    void TearDown() override {
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        select_screen(nullptr);
        destroy_screen(screen);
        ScratchDirectories::TearDown();
    }

    static void open_zone(const char* zone) {
        std::snprintf(world_settings.data_directory, WORLD_DIRECTORY_SIZE, "3ddata\\");
        std::snprintf(world_settings.war_zone_directory, WORLD_DIRECTORY_SIZE, "%s\\", zone);
        world_settings.flags = WORLD_LOAD_DATA;
        init_world(&world_settings);
        world_settings.flags = 0;
        load_base_palette("3ddata\\3dpal.rgb", 0, 224, 0);
        build_world_palette();
        load_terrain_colours();
    }

    static void install_view(int detail, int reach) {
        ViewSettings view = view_settings;
        view.terrain_detail = detail;
        view.visual_range = reach;
        view.sun_heading = -60 * DEGREE;
        view.sun_elevation = -40 * DEGREE;
        set_view_settings(&view);
    }

    // The terrain pass alone over a screen of HOLE, then the pixels of the lower screen left so.
    static int holes_after_terrain(const Pose& eye, int detail, int reach) {
        install_view(detail, reach);
        set_eye(&eye);
        select_colour_remap();
        clear_screen(HOLE * 0x01010101u);
        draw_terrain_around_eye(reach, queue_terrain_tile_soft);
        int holes = 0;
        for (int y = 300; y < 479; ++y)
            for (int x = 0; x < 639; ++x) holes += row_table[y][x] == HOLE;
        return holes;
    }

    static void write_screen(const std::string& path) {
        std::ofstream out(path, std::ios::binary);
        out << "P6\n640 480\n255\n";
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const uint8_t* rgb = working_palette + 3 * row_table[y][x];
                const char c[3] = {char(rgb[0]), char(rgb[1]), char(rgb[2])};
                out.write(c, 3);
            }
    }

    Screen* screen = nullptr;
};

Pose eye_at(double post_x, double post_y, int feet, int heading_degrees, int pitch_degrees) {
    Pose pose{{int32_t(post_x * POST), int32_t(post_y * POST), feet * FOOT}, {}};
    build_rotation_matrix(uint32_t(int64_t(heading_degrees) * DEGREE), uint32_t(int64_t(pitch_degrees) * DEGREE), 0,
                          pose.matrix);
    return pose;
}

TEST_F(SoftTerrainRender, EveryTheatreAtEveryDetailCoversTheGroundWithoutCracks) {
    const struct {
        const char* zone;
        Pose eye;
    } views[] = {
        {"israel.wz", eye_at(60, 100, 3000, 80, -6)},  {"korea.wz", eye_at(140, 128, 5000, 90, -4)},
        {"cyprus.wz", eye_at(30, 86, 4000, 60, -5)},   {"afghan.wz", eye_at(118, 146, 9000, 10, 0)},
        {"nevada.wz", eye_at(188, 40, 6000, 270, -3)}, {"korea.wz", eye_at(140, 128, 0, 90, -8)},
    };
    int n = 0;
    for (auto view : views) {
        open_zone(view.zone);
        // The last eye flies 300 ft over the ground, where the near cells are cut up.
        if (view.eye.position.z == 0)
            view.eye.position.z = get_ground_height(view.eye.position.x, view.eye.position.y) + 300 * FOOT;
        for (int detail = 0; detail <= 3; ++detail) {
            SCOPED_TRACE(testing::Message() << view.zone << " view " << n << " detail " << detail);
            EXPECT_EQ(holes_after_terrain(view.eye, detail, 7), 0);
            render_world(&view.eye);
            write_screen(std::string(VYR_BUILD_DIR) + "/soft_terrain_" + std::to_string(n) + "_" + view.zone + "_" +
                         std::to_string(detail) + ".ppm");
        }
        ++n;
        shutdown_world();
    }
}

// The flat cell nearest post (x, y) whose four posts stand at one height.
Vector3 flat_ground_near(int x, int y) {
    for (int reach = 0; reach < 40; ++reach)
        for (int i = x - reach; i <= x + reach; ++i)
            for (int j = y - reach; j <= y + reach; ++j) {
                const int h = terrain_posts[i][j].height;
                if (terrain_posts[i + 1][j].height == h && terrain_posts[i][j + 1].height == h &&
                    terrain_posts[i + 1][j + 1].height == h)
                    return {i * POST + POST / 2, j * POST + POST / 2, h * FOOT};
            }
    return {x * POST, y * POST, get_ground_height(x * POST, y * POST)};
}

// Two tanks on the ground and a helicopter 200 ft up under a high sun, "Shadows" on: the tanks'
// shadows lie under them, the helicopter's is displaced along the light.
TEST_F(SoftTerrainRender, TanksAndAHelicopterCastTheirShadows) {
    open_zone("korea.wz");
    reload_objects("3ddata\\");  // the objects of the data set, whatever an earlier test loaded
    const Vector3 ground = flat_ground_near(140, 128);
    install_view(2, 7);
    ViewSettings view = current_view;
    view.sun_heading = 100 * DEGREE;
    view.sun_elevation = -50 * DEGREE;
    view.weather = WEATHER_CLEAR;

    constexpr int32_t TANK = 68, HELICOPTER = 103;
    Pose poses[3];
    const Vector3 places[3] = {{ground.x - 30 * FOOT, ground.y, ground.z},
                               {ground.x + 30 * FOOT, ground.y + 20 * FOOT, ground.z},
                               {ground.x, ground.y + 200 * FOOT, ground.z + 200 * FOOT}};
    ObjectInstance* instances[3];
    for (int k = 0; k < 3; ++k) {
        poses[k].position = places[k];
        build_rotation_matrix(uint32_t(k * 40 * DEGREE), 0, 0, poses[k].matrix);
        instances[k] = create_object_instance(k < 2 ? TANK : HELICOPTER, nullptr, &poses[k], nullptr);
        ASSERT_NE(instances[k], nullptr);
        link_mobile_object(instances[k]);
    }
    const Pose eye = [&] {
        Pose p{{ground.x, ground.y - 120 * FOOT, ground.z + 70 * FOOT}, {}};
        build_rotation_matrix(0, uint32_t(-22 * DEGREE), 0, p.matrix);
        return p;
    }();
    auto render = [&](bool shadows) {
        ViewSettings v = view;
        v.flags = shadows ? v.flags | VIEW_SHADOWS : v.flags & ~VIEW_SHADOWS;
        set_view_settings(&v);
        render_world(&eye);
        return std::vector<uint8_t>(screen->pixels, screen->pixels + 640 * 480);
    };
    const std::vector<uint8_t> plain = render(false);
    write_screen(std::string(VYR_BUILD_DIR) + "/soft_shadows_korea_off.ppm");
    const std::vector<uint8_t> shadowed = render(true);
    write_screen(std::string(VYR_BUILD_DIR) + "/soft_shadows_korea.ppm");
    ASSERT_EQ(shadows_active, 1);

    // Pixels the shadows changed within 30 pixels of a point of the ground.
    auto changed_near = [&](const Vector3& p) {
        const PolyVertex s = screen_of(p);
        int changed = 0;
        for (int y = std::max(0, s.screen_y - 30); y < std::min(480, s.screen_y + 30); ++y)
            for (int x = std::max(0, s.screen_x - 30); x < std::min(640, s.screen_x + 30); ++x)
                changed += plain[size_t(y * 640 + x)] != shadowed[size_t(y * 640 + x)];
        return changed;
    };
    for (int k = 0; k < 2; ++k) EXPECT_GT(changed_near(places[k]), 20) << "tank " << k;
    const int32_t h = 200 * FOOT;
    const Vector3 cast{places[2].x + shadow_offset(h, shadow_step_x), places[2].y + shadow_offset(h, shadow_step_y),
                       ground.z};
    EXPECT_GT(std::abs(cast.x - places[2].x) + std::abs(cast.y - places[2].y), 50 * FOOT);
    EXPECT_GT(changed_near(cast), 20) << "the helicopter's shadow along the light";
    EXPECT_EQ(changed_near({places[2].x, places[2].y, ground.z}), 0) << "nothing straight under the helicopter";
    for (ObjectInstance* instance : instances) {
        unlink_mobile_object(instance);
        free_object_instance(instance);
    }
    shutdown_world();
}

}  // namespace
}  // namespace vyr
