#include "library/3dvisual/objects.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"

#include "tests/library/3dvisual/object_files.h"
#include "tests/support/param_names.h"

namespace vyr {
namespace {

using namespace testing_objects;

class ObjectLoading : public ObjectFiles {
protected:
    // 0 none; 1 a cube whose far level is 2; 3 holds 1 and a variable part; 4 is unrotated.
    static std::vector<std::optional<TestObject>> base_objects() {
        TestObject near = cube();
        near.lod_distance = 25600;
        near.lod_next = 2;
        TestObject far = cube();
        far.height = 1024;
        TestObject holder = cube();
        holder.subs = {{1, IDENTITY_AT(256, 0, 0)}, {0, IDENTITY_AT(0, 512, 0)}};
        TestObject fixed;
        fixed.unrotated = 1;
        fixed.vertices = {{32, 32, 32}, {64, 0, 32}, {0, 64, 32}};
        fixed.normals = {{0, 0, 127}};
        fixed.face_normals = 1;
        fixed.bounds = false;
        return {std::nullopt, near, far, holder, fixed};
    }
};

TEST_F(ObjectLoading, BuildsTheTablesAndAnswersNullOutsideThem) {
    write_files(build_object_file(base_objects()).bytes, build_texture_file(3, {1}));
    reload_objects("3DDATA\\");
    ASSERT_EQ(object_count, 5);
    EXPECT_EQ(objects_loaded, 1);
    EXPECT_EQ(tallest_object, 1024);
    for (int32_t n : {-1, 0, 5, 1 << 30}) EXPECT_EQ(get_object_header(n), nullptr) << n;
    const ObjectHeader* near = get_object_header(1);
    ASSERT_NE(near, nullptr);
    EXPECT_EQ(near->lod_distance, 25600);
    EXPECT_EQ(near->vertex_count, 8);
    EXPECT_EQ(near->normal_count, 6);
    EXPECT_EQ(read_point_int16(near->vertices + 7 * OBJECT_POINT_BYTES, 2), 16);
    EXPECT_EQ(near->unrotated_shades, nullptr);
    EXPECT_EQ(near->sub_objects, nullptr);
    const ObjectHeader* holder = get_object_header(3);
    ASSERT_EQ(holder->sub_object_count, 2);
    EXPECT_EQ(holder->sub_objects[0].type, 1);
    EXPECT_EQ(holder->sub_objects[1].offset.position.y, 512);
    EXPECT_EQ(holder->sub_objects[1].offset.matrix[2][2], 0x7FFFFFFF);
    // An unrotated object gets room for the light of each of its normals.
    ASSERT_NE(get_object_header(4)->unrotated_shades, nullptr);
    ASSERT_EQ(texture_count, 3);
    EXPECT_EQ(texture_table[1], nullptr);
    ASSERT_NE(texture_table[2], nullptr);
    EXPECT_EQ(texture_table[2]->width, 64);
    EXPECT_EQ(texture_table[2]->texels[4095], 3);
}

TEST_F(ObjectLoading, ASecondLoadKeepsTheFirst) {
    write_files(build_object_file(base_objects()).bytes, build_texture_file(3));
    reload_objects("3DDATA\\");
    write_files(build_object_file({std::nullopt}).bytes, build_texture_file(1));
    WorldSettings settings{};
    std::strcpy(settings.data_directory, "3DDATA\\");
    WorldSettings* previous_settings = current_world_settings;
    current_world_settings = &settings;
    load_objects();
    current_world_settings = previous_settings;
    EXPECT_EQ(object_count, 5);
}

TEST_F(ObjectLoading, UnrotatedObjectsAreLitByTheLightVectorAndNeverBelowZero) {
    auto objects = base_objects();
    objects[4]->normals = {{0, 0, 127}, {0, 0, -127}, {127, 0, 0}};
    write_files(build_object_file(objects).bytes, build_texture_file(3));
    reload_objects("3DDATA\\");
    const Vector3 saved = light_vector;
    light_vector = {0, 0x5A827999, 0x5A827999};  // 45 degrees up from the north
    light_unrotated_objects();
    light_vector = saved;
    const int32_t* shades = get_object_header(4)->unrotated_shades;
    // 127/128 x 0.7071: (127 x 2^24 x 0x5A827999 + 2^30) >> 31.
    EXPECT_EQ(shades[0], int32_t((int64_t(127) * (1 << 24) * 0x5A827999 + (int64_t(1) << 30)) >> 31));
    EXPECT_EQ(shades[1], 0);
    EXPECT_EQ(shades[2], 0);
    EXPECT_EQ(objects_loaded, 0);
}

// Each case spoils the base files one way; the load must end with a fatal naming the file and
// the object, never read outside the files.
struct Corruption {
    const char* name;
    std::function<void(std::vector<std::optional<TestObject>>&)> objects;
    std::function<void(BuiltFile&)> bytes;
    std::function<void(std::vector<uint8_t>&)> textures;
    const char* message;
};

void set_code(std::vector<std::optional<TestObject>>& objects, std::vector<uint8_t> code) { objects[1]->code = code; }

// The file position of a list of object n.
size_t list_at(const BuiltFile& f, int n, size_t field) {
    const size_t header = f.headers[size_t(n)];
    return header + (f.bytes[header + field] | size_t(f.bytes[header + field + 1]) << 8);
}

const Corruption CORRUPTIONS[] = {
    {"short count", nullptr, [](BuiltFile& f) { f.bytes.resize(3); }, nullptr, "3DOBJS.BIN is too short"},
    {"table past the end", nullptr, [](BuiltFile& f) { f.bytes = {0xFF, 0xFF, 0, 0, 0, 0, 0, 0}; }, nullptr,
     "3DOBJS.BIN: its table of 65535 objects runs past the end"},
    {"header past the end", nullptr, [](BuiltFile& f) { f.bytes[8] = 0xF0; f.bytes[9] = 0xFF; }, nullptr,
     "object 1: the header runs past the end of the file"},
    {"list outside the file", nullptr,
     [](BuiltFile& f) { f.bytes[f.headers[1] + FIELD_VERTICES + 3] = 0x70; }, nullptr, "object 1: a list lies outside"},
    {"negative list offset", nullptr,
     [](BuiltFile& f) { f.bytes[f.headers[1] + FIELD_NORMALS + 3] = 0x80; }, nullptr, "object 1: a list lies outside"},
    {"too many vertices", nullptr,
     [](BuiltFile& f) {
         const size_t at = list_at(f, 1, FIELD_VERTICES);
         f.bytes[at] = 0x2C;
         f.bytes[at + 1] = 0x01;
     },
     nullptr, "object 1: it has 300 vertices"},
    {"face normals above the total", nullptr,
     [](BuiltFile& f) { f.bytes[list_at(f, 1, FIELD_NORMALS) + 2] = 7; }, nullptr,
     "object 1: its normal list counts 6 normals, 7 of faces"},
    {"looping levels", [](auto& o) { o[2]->lod_distance = 100, o[2]->lod_next = 1; }, nullptr, nullptr,
     "levels of detail run in a loop"},
    {"level that is no object", [](auto& o) { o[1]->lod_next = 9; }, nullptr, nullptr,
     "object 1: its next level of detail 9 is not an object"},
    {"self-nesting sub-objects", [](auto& o) { o[3]->subs[0].type = 3; }, nullptr, nullptr,
     "object 3: it is among its own sub-objects"},
    {"sub-object that is no object", [](auto& o) { o[3]->subs[0].type = 0x7000; }, nullptr, nullptr,
     "object 3: its sub-object 28672 is not an object"},
    {"vertex past the list", [](auto& o) { set_code(o, {0, 2, 3, 1, 0, 1, 8, 7}); }, nullptr, nullptr,
     "object 1: its face code names vertex 8 of 8"},
    {"face normal past the list", [](auto& o) { set_code(o, {0, 11, 3, 1, 6, 0, 1, 2, 7}); }, nullptr, nullptr,
     "names face normal 6 of 6"},
    {"lit face without normals",
     [](auto& o) {
         o[1]->normals.clear();
         o[1]->face_normals = 0;
     },
     nullptr, nullptr, "object 1: a face of mode 11 names face normal 0 of 0"},
    {"unknown op", [](auto& o) { set_code(o, {9}); }, nullptr, nullptr, "holds the unknown op 9"},
    {"unknown render mode", [](auto& o) { set_code(o, {0, 22, 3, 0, 1, 2, 7}); }, nullptr, nullptr,
     "unknown render mode 22"},
    {"too few vertices for a polygon", [](auto& o) { set_code(o, {0, 2, 2, 1, 0, 1, 7}); }, nullptr, nullptr,
     "a face of mode 2 has 2 vertices"},
    {"record past the end",
     [](auto& o) {
         o[4]->unrotated = 0;
         o[4]->bounds = true;
         o[4]->code = {0, 2, 200, 1};  // the last bytes of the file
     },
     nullptr, nullptr,
     "face code runs past the end of the file"},
    {"conditional of the wrong length", [](auto& o) { set_code(o, {1, 5, 2, 3, 1, 0, 1, 2, 7}); }, nullptr, nullptr,
     "a conditional face's length is not its record's"},
    {"node target outside", [](auto& o) { set_code(o, {2, 3, 0, 1, 2, 0, 0, 0x00, 0x40, 0, 0, 7}); }, nullptr,
     nullptr, "face code runs past the end of the file"},
    {"stream into itself", [](auto& o) { set_code(o, {3, 1, 0, 0, 0, 0xF9, 0xFF, 0, 0, 7}); }, nullptr, nullptr,
     "face code runs in a loop"},
    {"sub-stream into its caller", [](auto& o) { set_code(o, {3, 1, 0, 0, 0, 2, 0, 0xF7, 0xFF, 7, 7}); }, nullptr,
     nullptr, "face code runs in a loop"},
    {"switch cases past the end", [](auto& o) { set_code(o, {5, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 7}); }, nullptr,
     nullptr, "face code runs past the end of the file"},
    {"switch shifting past 31", [](auto& o) { set_code(o, {5, 0, 1, 0, 0, 0, 32, 4, 0, 2, 0, 0, 0, 7, 7}); }, nullptr,
     nullptr, "a switch shifts the state by 32"},
    {"texture the file lacks",
     [](auto& o) { set_code(o, {0, 7, 3, 1, 2, 1, 0, 0, 0, 1, 0, 0, 2, 0, 0, 7}); }, nullptr, nullptr,
     "a face names texture 1, which OBJTEXT.BIN does not hold"},
    {"texture row past the picture",
     [](auto& o) { set_code(o, {0, 7, 3, 1, 2, 2, 0, 0, 64, 1, 0, 0, 2, 0, 0, 7}); }, nullptr, nullptr,
     "a face reads row 64 of texture 2"},
    {"short texture", nullptr, nullptr, [](std::vector<uint8_t>& t) { t.pop_back(); },
     "OBJTEXT.BIN: the 4096 texels of texture 2 run past the end of the file"},
    {"texture of no size class", nullptr, nullptr, [](std::vector<uint8_t>& t) { t[16] = 9; },
     "OBJTEXT.BIN: texture 0 has size class 9"},
};

class CorruptObjectFiles : public ObjectLoading, public ::testing::WithParamInterface<Corruption> {};

TEST_P(CorruptObjectFiles, EndWithAFatalNamingTheFileAndObject) {
    const Corruption& c = GetParam();
    auto objects = base_objects();
    if (c.objects) c.objects(objects);
    BuiltFile built = build_object_file(objects);
    if (c.bytes) c.bytes(built);
    std::vector<uint8_t> textures = build_texture_file(3, {1});
    if (c.textures) c.textures(textures);
    write_files(built.bytes, textures);
    EXPECT_EXIT(reload_objects("3DDATA\\"), ::testing::ExitedWithCode(10), c.message);
}

INSTANTIATE_TEST_SUITE_P(Table, CorruptObjectFiles, ::testing::ValuesIn(CORRUPTIONS), ParamNameOf());

}  // namespace
}  // namespace vyr
