// The generated object set drawn as a player sees it, through the accelerator and in software:
// a sheet of the models, written as PPM for a look, and held against a small reference picture.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "library/3dvisual/draw_object.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/gfxinit/texpal.h"
#include "library/gfxinit/textures.h"
#include "library/graphics/palette.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "platform/accel/framebuffer.h"
#include "platform/accel/textures.h"
#include "tests/support/scratch.h"
#include "tools/vyrgen/objects/object_set.h"
#include "tools/vyrgen/rgb_palettes.h"
#include "tests/support/paths.h"

namespace vyr::vyrgen {
namespace {

namespace accel = platform::accel;
constexpr int COLUMNS = 6, ROWS = 5;
constexpr int CELL_W = 640 / COLUMNS, CELL_H = 480 / ROWS;

struct Subject {
    int32_t number;
    std::vector<int32_t> parts;  // the variable sub-objects its owner gives it
};

// Aircraft with their gear down, helicopters with their rotors, vehicles, ships and buildings.
const std::vector<Subject> SUBJECTS = {
    {606, {1022, 0, 0, 1035, 1083, 1096, 1094, 1073, 0, 0, 1073, 0, 0, 1082, 1082, 1210}},
    {225, {1228, 1231, 1229}}, {3, {1217, 1214, 1219}}, {1056, {1061, 1063, 1064, 1062, 1065}}, {34, {}},
    {1085, {1042, 1044, 1043}}, {64, {}}, {607, {614, 0, 620}}, {307, {}}, {93, {}}, {54, {}}, {219, {}},
    {99, {862}}, {87, {}}, {71, {}}, {204, {}}, {523, {}}, {130, {0, 0, 0, 0, 0, 0, 0, 0, 0}}, {320, {}}, {316, {}}, {916, {707, 979}},
    {16, {}}, {43, {}}, {264, {}}, {270, {}}, {46, {}}, {150, {}}, {13, {}}, {108, {}}, {4, {}},
};

// The rounds as they fly, each with the part its phase gives it: missiles and rockets with their
// plumes, bombs plain, retarded, finned and parachuted, dispensers, pods and countermeasures.
const std::vector<Subject> STORES = {
    {24, {506}}, {1074, {501}}, {9, {500}}, {138, {500}}, {676, {495}}, {871, {872}},
    {1101, {0}}, {668, {0}}, {1119, {1125}}, {1127, {1129}}, {1127, {1131}}, {1139, {1143}},
    {1157, {1158}}, {1157, {1160}}, {1157, {1162}}, {1157, {495}}, {1167, {1169}}, {1170, {1172}},
    {1200, {0}}, {1201, {0}}, {1175, {0}}, {1117, {0}}, {7, {0}}, {345, {0}},
    {477, {0}}, {478, {0}}, {495, {0}}, {1112, {501}}, {530, {0}}, {790, {500}},
};

class ObjectSheet : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        directory.emplace();
        for (const DataFile& file : object_files()) write_bytes(*directory / file.name, file.bytes);
        const WorkingDirectory inside(directory->path());
        init_debug_text();
        reload_objects("3DDATA\\");
    }
    static void TearDownTestSuite() { directory.reset(); }

    void SetUp() override {
        // The maths tables are written to the working directory.
        inside.emplace(directory->path());
        init_trig_tables();
        world_settings.flags = 0;
        init_world(&world_settings);
        const std::vector<uint8_t> palette = three_d_palette();
        set_base_palette(palette.data(), 0, THREE_D_COLOURS, 0);
        std::copy(base_palette, base_palette + PALETTE_BYTES, working_palette);  // no effects in play
        // Each object colour ramp shades within itself, darkest at level 0.
        const int ramps[][2] = {{2, 4}, {5, 16}, {17, 28}, {29, 40}, {41, 48}, {49, 56}, {57, 63}, {64, 70}};
        for (const auto& [first, last] : ramps)
            for (int c = first; c <= last; ++c) set_shade_ramp(c, first, last - first + 1);
        light_vector = {-0x30000000, 0x20000000, 0x70000000};
        current_view.object_textures = 3;
    }
    void TearDown() override {
        shutdown_world();
        inside.reset();
    }

    // Each subject in its own cell, seen from ahead, left and above at a distance by its size.
    static void draw_sheet(const std::vector<Subject>& subjects) {
        for (size_t i = 0; i < subjects.size(); ++i) {
            const Subject& s = subjects[i];
            const ObjectHeader* header = get_object_header(s.number);
            ASSERT_NE(header, nullptr) << s.number;
            set_viewport(int(i % COLUMNS) * CELL_W, int(i / COLUMNS) * CELL_H, CELL_W, CELL_H);
            Pose pose{{1 << 27, 1 << 27, 0}, {}};
            set_identity_matrix(pose.matrix);
            const VariableList parts{s.parts.data(), int(s.parts.size())};
            ObjectInstance* instance = create_object_instance(s.number, nullptr, &pose, &parts);
            const double heading = 215 * std::numbers::pi / 180, pitch = -25 * std::numbers::pi / 180;
            const double distance = 1.25 * std::max(header->radius, 2 * 256);
            Pose eye{};
            eye.position = {pose.position.x - int32_t(distance * std::sin(heading) * std::cos(pitch)),
                            pose.position.y - int32_t(distance * std::cos(heading) * std::cos(pitch)),
                            int32_t(header->height / 2 - distance * std::sin(pitch))};
            build_rotation_matrix(215 * uint32_t(DEGREE), uint32_t(-25 * DEGREE), 0, eye.matrix);
            set_eye(&eye);
            instance->view_distance = int32_t(distance);
            draw_object(instance);
            free_object_instance(instance);
        }
    }

    // The sheet of the subjects drawn in software, as RGB.
    static std::vector<uint8_t> draw_soft_sheet(const std::vector<Subject>& subjects) {
        Screen* screen = create_screen(640, 480);
        select_screen(screen);
        constexpr uint8_t BACKGROUND = 1;
        std::fill(screen->pixels, screen->pixels + 640 * 480, BACKGROUND);
        draw_sheet(subjects);
        std::vector<uint8_t> rgb;
        for (int i = 0; i < 640 * 480; ++i) {
            const uint8_t* c = base_palette + 3 * screen->pixels[i];
            rgb.insert(rgb.end(), {c[0], c[1], c[2]});
        }
        select_screen(nullptr);
        return rgb;
    }

    static void write_ppm(const std::string& path, const std::vector<uint8_t>& rgb) {
        std::ofstream out(path, std::ios::binary);
        out << "P6\n640 480\n255\n";
        out.write(reinterpret_cast<const char*>(rgb.data()), std::streamsize(rgb.size()));
    }

    static inline std::optional<ScratchDirectory> directory;
    std::optional<WorkingDirectory> inside;
};

// A sheet drawn either way shows every subject: plenty of pixels off the background in each cell,
// or `least` for tracers, chaff and plumes, which are only a few pixels at any distance.
void expect_every_cell_drawn(const std::vector<uint8_t>& rgb, const std::vector<Subject>& subjects = SUBJECTS,
                             int least = CELL_W * CELL_H / 80) {
    auto differs = [&rgb](size_t p) {
        for (size_t c = 0; c < 3; ++c)
            if (std::abs(int(rgb[3 * p + c]) - int(rgb[c])) > 24) return true;
        return false;
    };
    for (size_t i = 0; i < subjects.size(); ++i) {
        int drawn = 0;
        const int x0 = int(i % COLUMNS) * CELL_W, y0 = int(i / COLUMNS) * CELL_H;
        for (int y = y0; y < y0 + CELL_H; ++y)
            for (int x = x0; x < x0 + CELL_W; ++x)
                if (differs(size_t(y * 640 + x))) ++drawn;
        EXPECT_GT(drawn, least) << "object " << subjects[i].number;
    }
}

TEST_F(ObjectSheet, DrawsEveryModelThroughTheAccelerator) {
    accel::open_display();
    accelerator_flag = 1;
    set_depth_scale(7);
    download_palette_part(base_palette, 0, THREE_D_COLOURS);
    uint32_t next = accel::texture_min_address();
    place_object_textures(texture_table, texture_count, next);
    for (int k = FIRST_OBJECT_TEXTURE; k < FIRST_OBJECT_TEXTURE + OBJECT_TEXTURE_COUNT; ++k)
        accel::download_texture(accel_textures[k].start_address, accel_textures[k].info, accel_textures[k].texels);
    accel::clear_buffer(0x304060FF);
    draw_sheet(SUBJECTS);
    std::vector<uint8_t> rgb;
    for (int i = 0; i < 640 * 480; ++i) {
        const uint16_t p = accel::draw_buffer()[i];
        rgb.insert(rgb.end(), {uint8_t((p >> 11) * 255 / 31), uint8_t((p >> 5 & 63) * 255 / 63), uint8_t((p & 31) * 255 / 31)});
    }
    accelerator_flag = 0;
    accel::shut_down();
    write_ppm(std::string(VYR_BUILD_DIR) + "/object_sheet_accel.ppm", rgb);
    expect_every_cell_drawn(rgb);
}

TEST_F(ObjectSheet, DrawsEveryRoundInEachOfItsPhases) {
    const std::vector<uint8_t> rgb = draw_soft_sheet(STORES);
    write_ppm(std::string(VYR_BUILD_DIR) + "/store_sheet_soft.ppm", rgb);
    expect_every_cell_drawn(rgb, STORES, 3);
}

TEST_F(ObjectSheet, DrawsEveryModelInSoftware) {
    const std::vector<uint8_t> rgb = draw_soft_sheet(SUBJECTS);
    write_ppm(std::string(VYR_BUILD_DIR) + "/object_sheet_soft.ppm", rgb);
    expect_every_cell_drawn(rgb);

    // Against the reference at a quarter of the size, so that a pixel's worth of change in an
    // edge passes and a model that changes shape or colour does not.
    std::vector<uint8_t> small(160 * 120 * 3);
    for (size_t i = 0; i < small.size(); ++i) {
        const size_t x = i / 3 % 160, y = i / 3 / 160, c = i % 3;
        int sum = 0;
        for (size_t dy = 0; dy < 4; ++dy)
            for (size_t dx = 0; dx < 4; ++dx) sum += rgb[3 * ((4 * y + dy) * 640 + 4 * x + dx) + c];
        small[i] = uint8_t(sum / 16);
    }
    const std::string reference = std::string(VYR_FIXTURES_DIR) + "/object_sheet_soft.ppm";
    if (std::getenv("VYR_UPDATE_FIXTURES")) {
        std::ofstream out(reference, std::ios::binary);
        out << "P6\n160 120\n255\n";
        out.write(reinterpret_cast<const char*>(small.data()), std::streamsize(small.size()));
    }
    std::ifstream in(reference, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, depth = 0;
    in >> magic >> width >> height >> depth;
    in.get();
    std::vector<uint8_t> expected(small.size());
    in.read(reinterpret_cast<char*>(expected.data()), std::streamsize(expected.size()));
    ASSERT_TRUE(in && width == 160 && height == 120) << reference;
    double difference = 0;
    for (size_t i = 0; i < small.size(); ++i) difference += std::abs(int(small[i]) - int(expected[i]));
    EXPECT_LT(difference / double(small.size()), 2.0) << "the sheet differs from " << reference;
}

}  // namespace
}  // namespace vyr::vyrgen
