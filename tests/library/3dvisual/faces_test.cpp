#include "library/3dvisual/faces.h"

#include <gtest/gtest.h>

#include <vector>

#include "library/3dvisual/draw_object.h"
#include "library/3dvisual/face_record.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world_palette.h"
#include "library/debug/fatal.h"
#include "library/graphics/palette.h"
#include "library/graphics/screen.h"
#include "library/ui/clip.h"

namespace vyr {
namespace {

using Code = std::vector<uint8_t>;

constexpr uint8_t BACKGROUND = 1;

// Hand-built streams drawn in software into a small screen. Vertices 0..3 are a square seen
// from the front (clockwise on the screen), 4..7 the same square turned away, 8..11 a square
// overlapping the first on its right half.
class FaceCode : public ::testing::Test {
protected:
    void SetUp() override {
        screen = create_screen(64, 48);
        select_screen(screen);
        set_viewport(0, 0, 64, 48);
        std::fill(screen->pixels, screen->pixels + 64 * 48, BACKGROUND);
        reset_shade_table();
        saved_view = current_view;
        current_view.object_textures = 0;
        current_view.night_vision = 0;
        current_state_mask = 0;
        facing_value = 0;
        const int square[4][2] = {{10, 10}, {30, 10}, {30, 30}, {10, 30}};
        for (int i = 0; i < 4; ++i) {
            vertices[i] = at(square[i][0], square[i][1]);
            vertices[7 - i] = at(square[i][0], square[i][1]);
            vertices[8 + i] = at(square[i][0] + 10, square[i][1]);
        }
    }
    void TearDown() override {
        current_view = saved_view;
        select_screen(nullptr);
    }

    static PolyVertex at(int x, int y) {
        PolyVertex v{};
        v.screen_x = x;
        v.screen_y = y;
        v.y = 100;
        return v;
    }
    uint8_t pixel(int x, int y) const { return screen->pixels[y * 64 + x]; }

    void walk(Code code) {
        code.push_back(FACE_OP_END);
        walk_faces(code.data(), vertices, light);
    }

    Screen* screen = nullptr;
    ViewSettings saved_view{};
    PolyVertex vertices[MAX_OBJECT_VERTICES]{};
    int32_t light[MAX_OBJECT_NORMALS] = {0x7F000000};
};

// A flat face of colour c over square `first` (0, 4 or 8).
Code flat(uint8_t colour, uint8_t first) {
    return {FACE_OP_FACE, RENDER_FLAT, 4, colour, first, uint8_t(first + 1), uint8_t(first + 2), uint8_t(first + 3)};
}
Code conditional(uint8_t colour, uint8_t first) {
    Code face = flat(colour, first);
    face.erase(face.begin());
    face.insert(face.begin(), {FACE_OP_CONDITIONAL, uint8_t(face.size())});
    return face;
}
Code operator+(Code a, const Code& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
void put16(Code& code, size_t at, int value) {
    code[at] = uint8_t(value & 0xFF);
    code[at + 1] = uint8_t(value >> 8 & 0xFF);
}

TEST_F(FaceCode, AConditionalFaceFollowsTheFacingOfTheFaceBeforeIt) {
    walk(flat(5, 4) + conditional(6, 8));
    EXPECT_EQ(pixel(35, 20), BACKGROUND);
    EXPECT_LT(facing_value, 0);
    walk(flat(5, 0) + conditional(6, 8));
    EXPECT_EQ(pixel(15, 20), 5);
    EXPECT_EQ(pixel(35, 20), 6);
    EXPECT_GE(facing_value, 0);
}

TEST_F(FaceCode, ANodeDrawsTheFarSideFirst) {
    // Node over square 0 or 4; first stream colour 7 on square 0, second colour 8 on square 8.
    for (const auto& [plane, top] : {std::pair{uint8_t(0), uint8_t(8)}, std::pair{uint8_t(4), uint8_t(7)}}) {
        Code code = {FACE_OP_NODE, 4, plane, uint8_t(plane + 1), uint8_t(plane + 2), uint8_t(plane + 3), 0, 0, 0, 0, 0, 0};
        const Code first = flat(7, 0) + Code{FACE_OP_END}, second = flat(8, 8) + Code{FACE_OP_END};
        put16(code, 8, 2);                             // first: after the second offset
        put16(code, 10, int(first.size()));            // second: after the first stream
        put16(code, 6, int(first.size() + second.size() + 4));
        walk(code + first + second);
        EXPECT_EQ(pixel(25, 20), top) << int(plane);
    }
}

TEST_F(FaceCode, StateBlocksAndSwitchesChooseByTheStateMask) {
    // Op 3 with mask 2 over colour 9.
    Code block = {FACE_OP_IF, 2, 0, 0, 0, 0, 0, 0, 0};
    const Code body = flat(9, 0) + Code{FACE_OP_END};
    put16(block, 5, 2 + int(body.size()));
    put16(block, 7, 0);
    current_state_mask = 1;
    walk(block + body);
    EXPECT_EQ(pixel(20, 20), BACKGROUND);
    current_state_mask = 2;
    walk(block + body);
    EXPECT_EQ(pixel(20, 20), 9);

    // Op 4 with mask 1: then colour 10, else colour 11.
    Code choice = {FACE_OP_IF_ELSE, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const Code then_stream = flat(10, 0) + Code{FACE_OP_END}, else_stream = flat(11, 0) + Code{FACE_OP_END};
    put16(choice, 7, 2);
    put16(choice, 9, int(then_stream.size()));
    put16(choice, 5, 4 + int(then_stream.size() + else_stream.size()));
    for (uint32_t state : {0u, 1u}) {
        current_state_mask = state;
        walk(choice + then_stream + else_stream);
        EXPECT_EQ(pixel(20, 20), state ? 10 : 11);
    }

    // Op 5 with mask 3 and shift 4: case (state >> 4) & 3 of four, colours 20 to 23.
    Code table = {FACE_OP_SWITCH, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Code cases;
    for (int k = 0; k < 4; ++k) {
        const size_t entry = 9 + 2 * size_t(k);
        put16(table, entry, int(table.size() - (entry + 2) + cases.size()));
        cases = cases + flat(uint8_t(20 + k), 0) + Code{FACE_OP_END};
    }
    put16(table, 7, int(table.size() - 9 + cases.size()));
    for (uint32_t k = 0; k < 4; ++k) {
        current_state_mask = k << 4 | 0x4C;  // bits outside the mask and shift change nothing
        walk(table + cases);
        EXPECT_EQ(pixel(20, 20), 20 + k) << k;
    }
}

// Each mode's record, with three vertices: its length as a plain face and as a conditional one.
struct ModeLength {
    int mode, plain, conditional;
};
const ModeLength MODE_LENGTHS[] = {
    {0, 6, 6},    {1, 6, 6},    {2, 6, 6},    {3, 7, 7},    {4, 6, 6},    {5, 6, 6},    {6, 5, 5},    {7, 14, 14},
    {8, 14, 12},  {9, 7, 7},    {10, 7, 7},   {11, 7, 7},   {12, 8, 8},   {13, 7, 7},   {14, 7, 7},   {15, 15, 15},
    {16, 15, 13}, {17, 10, 10}, {18, 11, 11}, {19, 18, 18}, {20, 18, 16}, {21, 5, 5},
};

TEST_F(FaceCode, EveryModeReadsItsWholeRecord) {
    for (const ModeLength& m : MODE_LENGTHS) {
        Code record(32, 0);
        record[0] = uint8_t(m.mode);
        record[1] = 3;
        EXPECT_EQ(draw_face(record.data(), vertices, light) - record.data(), m.plain) << m.mode;
        facing_value = 0;
        EXPECT_EQ(draw_conditional_face(record.data(), vertices, light) - record.data(), m.conditional) << m.mode;
    }
}

TEST_F(FaceCode, TexturedFacesFallBackToTheirColoursBelowTheTexturedLevels) {
    std::vector<uint8_t> texels(64 * 64, 77);
    TextureRecord picture{2, 64, texels.data()};
    TextureRecord* table[3] = {nullptr, nullptr, &picture};
    TextureRecord** saved_table = texture_table;
    texture_table = table;
    // Mode 15 in colours 30 and 31 with texture 2: u, v pairs after each vertex.
    const Code lit = {FACE_OP_FACE, RENDER_TEXTURED_LIT, 4, 30, 31, 0, 2, 0, 0, 0, 1, 63, 0, 2, 63, 63, 3, 0, 63};
    Code masked = {FACE_OP_CONDITIONAL, 0, RENDER_MASKED_LIT, 4, 0, 2, 0, 0, 0, 1, 63, 0, 2, 63, 63, 3, 0, 63};
    masked[1] = uint8_t(masked.size() - 2);
    struct Case {
        int level;
        uint8_t plain, conditional;
    };
    for (const Case& c : {Case{0, 30, BACKGROUND}, Case{1, 77, 77}, Case{2, 30, BACKGROUND}, Case{3, 77, 77}}) {
        current_view.object_textures = c.level;
        std::fill(screen->pixels, screen->pixels + 64 * 48, BACKGROUND);
        walk(lit);
        EXPECT_EQ(pixel(12, 20), c.plain) << c.level;
        std::fill(screen->pixels, screen->pixels + 64 * 48, BACKGROUND);
        walk(masked);
        EXPECT_EQ(pixel(12, 20), c.conditional) << c.level;
    }
    texture_table = saved_table;
}

TEST_F(FaceCode, GlassAndShimmerAreLeftOutInTheAlternateNightVision) {
    glass_remap[BACKGROUND] = 99;
    const Code glass = {FACE_OP_FACE, RENDER_TRANSLUCENT, 4, 0, 1, 2, 3};
    walk(glass);
    EXPECT_EQ(pixel(20, 20), 99);
    std::fill(screen->pixels, screen->pixels + 64 * 48, BACKGROUND);
    current_view.night_vision = NIGHT_VISION_ALTERNATE;
    walk(glass + Code{FACE_OP_FACE, RENDER_SHIMMER, 4, 0, 1, 2, 3});
    EXPECT_EQ(pixel(20, 20), BACKGROUND);
    glass_remap[BACKGROUND] = BACKGROUND;
}

TEST_F(FaceCode, UnknownOpsAndModesAreFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    init_debug_text();
    const Code op = {9, FACE_OP_END};
    const Code mode = {FACE_OP_FACE, 22, 3, 0, 0, 1, 2, FACE_OP_END};
    EXPECT_EXIT(walk_faces(op.data(), vertices, light), ::testing::ExitedWithCode(10),
                "Illegal face type 9 encountered in 3D object data\\.");
    EXPECT_EXIT(walk_faces_clipped(op.data(), vertices, light), ::testing::ExitedWithCode(10),
                "Illegal face type encountered in 3D object data\\.");
    EXPECT_EXIT(walk_faces(mode.data(), vertices, light), ::testing::ExitedWithCode(10),
                "Illegal render mode encountered in 3D object data\\.");
    EXPECT_EXIT(draw_conditional_face_clipped(mode.data() + 1, vertices, light), ::testing::ExitedWithCode(10),
                "Illegal render mode encountered in 3D object data\\.");
}

}  // namespace
}  // namespace vyr
