// Object and texture files built in the tests, field by field, and a scratch directory to load
// them from. Named by the test, so that a death test's child finds the same files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/graphics/palette.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "tests/support/scratch.h"

namespace vyr::testing_objects {

struct Writer {
    std::vector<uint8_t> bytes;
    size_t size() const { return bytes.size(); }
    void u8(int v) { bytes.push_back(uint8_t(v)); }
    void i16(int v) {
        u8(v & 0xFF);
        u8((v >> 8) & 0xFF);
    }
    void i32(int64_t v) {
        for (int i = 0; i < 4; ++i) u8(int((v >> (8 * i)) & 0xFF));
    }
    void put32(size_t at, int64_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t((v >> (8 * i)) & 0xFF);
    }
    void put16(size_t at, int v) {
        bytes[at] = uint8_t(v & 0xFF);
        bytes[at + 1] = uint8_t((v >> 8) & 0xFF);
    }
    void append(const std::vector<uint8_t>& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }
};

struct SubEntry {
    int32_t type;
    std::array<int32_t, 12> pose;  // x, y, z, then the matrix
};

constexpr std::array<int32_t, 12> IDENTITY_AT(int32_t x, int32_t y, int32_t z) {
    return {x, y, z, 0x7FFFFFFF, 0, 0, 0, 0x7FFFFFFF, 0, 0, 0, 0x7FFFFFFF};
}

// One object; empty lists are left out of the file.
struct TestObject {
    int32_t unrotated = 0;
    int32_t lod_distance = -1;
    int32_t lod_next = 0;
    int32_t height = 256;
    std::vector<std::array<int16_t, 3>> vertices;
    std::vector<std::array<int8_t, 3>> normals;
    int face_normals = 0;
    std::vector<uint8_t> code;
    std::vector<SubEntry> subs;
    bool bounds = true;
    uint8_t flags = 0;
};

// An unrotated object's point as the three int16 the writer takes: coarse 16 ft steps about 32
// each way, no fine step.
constexpr std::array<int16_t, 3> compact_point(int x, int y, int z) {
    return {int16_t((32 + x) | (32 + y) << 8), int16_t((32 + z) | 32 << 8), int16_t(32 | 32 << 8)};
}

// A cube of 2 ft (32 units of 1/16 ft) about its origin, each face lit by its own normal.
inline TestObject cube() {
    TestObject o;
    for (int i = 0; i < 8; ++i)
        o.vertices.push_back({int16_t(i & 1 ? 16 : -16), int16_t(i & 2 ? 16 : -16), int16_t(i & 4 ? 16 : -16)});
    o.normals = {{127, 0, 0}, {-127, 0, 0}, {0, 127, 0}, {0, -127, 0}, {0, 0, 127}, {0, 0, -127}};
    o.face_normals = 6;
    // Faces clockwise seen from outside.
    const uint8_t faces[6][4] = {{5, 7, 3, 1}, {2, 6, 4, 0}, {3, 7, 6, 2}, {4, 5, 1, 0}, {6, 7, 5, 4}, {1, 3, 2, 0}};
    for (int f = 0; f < 6; ++f) {
        o.code.insert(o.code.end(), {0, 11, 4, uint8_t(10 + f), uint8_t(f)});
        o.code.insert(o.code.end(), faces[f], faces[f] + 4);
    }
    o.code.push_back(7);
    return o;
}

// Where each object's header landed, for tests that spoil a field.
struct BuiltFile {
    std::vector<uint8_t> bytes;
    std::vector<size_t> headers;  // 0 for numbers without an object
};

constexpr size_t FIELD_SUB_OBJECTS = 44, FIELD_BOUNDS = 48, FIELD_VERTICES = 52, FIELD_NORMALS = 56, FIELD_CODE = 60;

inline BuiltFile build_object_file(const std::vector<std::optional<TestObject>>& objects) {
    Writer w;
    w.i32(int64_t(objects.size()));
    for (size_t i = 0; i < objects.size(); ++i) w.i32(0);
    BuiltFile built;
    for (size_t n = 0; n < objects.size(); ++n) {
        built.headers.push_back(0);
        if (!objects[n]) continue;
        const TestObject& o = *objects[n];
        const size_t header = w.size();
        built.headers.back() = header;
        w.put32(4 + 4 * n, int64_t(header));
        w.bytes.resize(header + 188, 0);
        w.put32(header, o.unrotated);
        w.put32(header + 4, o.lod_distance);
        w.put32(header + 8, o.lod_next);
        w.put32(header + 40, o.height);
        w.bytes[header + 152] = o.flags;
        w.put32(header + 176, -1);
        auto field = [&](size_t at) { w.put32(header + at, int64_t(w.size() - header)); };
        if (!o.subs.empty()) {
            field(FIELD_SUB_OBJECTS);
            w.i32(int64_t(o.subs.size()));
            for (const SubEntry& s : o.subs) {
                w.i32(s.type);
                for (int32_t v : s.pose) w.i32(v);
            }
        }
        if (o.bounds && !o.vertices.empty()) {
            field(FIELD_BOUNDS);
            for (int i = 0; i < 8; ++i) {
                // Rotated: 1 ft each way of the origin; unrotated: a 16 ft step each way.
                if (o.unrotated) {
                    for (int a = 0; a < 3; ++a) w.u8((i >> a) & 1 ? 33 : 31);
                    for (int a = 0; a < 3; ++a) w.u8(32);
                } else {
                    for (int a = 0; a < 3; ++a) w.i16((i >> a) & 1 ? 16 : -16);
                }
            }
        }
        if (!o.vertices.empty()) {
            field(FIELD_VERTICES);
            w.i16(int(o.vertices.size()));
            for (const auto& v : o.vertices)
                for (int16_t c : v) w.i16(c);
        }
        if (!o.normals.empty()) {
            field(FIELD_NORMALS);
            w.i16(int(o.normals.size()));
            w.i16(o.face_normals);
            for (const auto& v : o.normals)
                for (int8_t c : v) w.u8(uint8_t(c));
        }
        if (!o.code.empty()) {
            field(FIELD_CODE);
            w.append(o.code);
        }
    }
    built.bytes = std::move(w.bytes);
    return built;
}

// Textures 0..count-1 of 64 x 64 (texture k's texels all k + 1); `missing` ones are left out.
inline std::vector<uint8_t> build_texture_file(int count, const std::vector<int>& missing = {}) {
    Writer w;
    w.i32(count);
    for (int i = 0; i < count; ++i) w.i32(0);
    for (int k = 0; k < count; ++k) {
        if (std::find(missing.begin(), missing.end(), k) != missing.end()) continue;
        w.put32(4 + 4 * size_t(k), int64_t(w.size()));
        w.i32(2);
        w.i32(64);
        w.i32(0);
        w.bytes.resize(w.size() + 4096, uint8_t(k + 1));
    }
    return w.bytes;
}

// A world set up without loading anything, drawing into a 64 x 48 screen of its own, for the
// tests that draw the objects they loaded.
inline Screen* open_object_screen() {
    init_trig_tables();
    world_settings.flags = 0;
    init_world(&world_settings);
    Screen* screen = create_screen(64, 48);
    select_screen(screen);
    set_viewport(0, 0, 64, 48);
    reset_shade_table();
    return screen;
}

// A working directory of the test's own holding 3ddata/.
class ObjectFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    void SetUp() override {
        std::filesystem::create_directories(directory / "3ddata");
        inside.emplace(directory.path());
        init_debug_text();
    }
    void TearDown() override { inside.reset(); }

    void write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        write_bytes(directory / "3ddata" / name, bytes);
    }
    void write_files(const std::vector<uint8_t>& objects, const std::vector<uint8_t>& textures) const {
        write("3dobjs.bin", objects);
        write("objtext.bin", textures);
    }

    ScratchDirectory directory;
    std::optional<WorkingDirectory> inside;
};

}  // namespace vyr::testing_objects
