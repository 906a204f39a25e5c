#include "library/graphics/poly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "library/gfxinit/texpal.h"
#include "library/gfxinit/textures.h"
#include "library/graphics/circle.h"
#include "library/graphics/display.h"
#include "library/graphics/palette.h"
#include "library/graphics/screen.h"
#include "library/maths/random.h"
#include "platform/accel/framebuffer.h"
#include "platform/accel/pipeline.h"
#include "platform/accel/textures.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace accel = platform::accel;

constexpr int WIDTH = accel::SCREEN_WIDTH, HEIGHT = accel::SCREEN_HEIGHT;

struct Corner {
    int x, y;
    int u = 0, v = 0;  // texels
    int level = 255;
    int depth = 1000;
};

// A polygon as the primitives take it: vertices linked in order.
struct Polygon {
    std::vector<PolyVertex> vertices;
    Polygon(std::initializer_list<Corner> corners) {
        for (const Corner& c : corners)
            vertices.push_back({c.x, c.depth, 0, c.x, c.y, c.u << 16, c.v << 16, c.level << 23, 0, nullptr});
        for (size_t i = 0; i + 1 < vertices.size(); ++i) vertices[i].next = &vertices[i + 1];
    }
    Polygon moved(int dx, int dy) const {
        Polygon out = *this;
        for (PolyVertex& v : out.vertices) {
            v.screen_x += dx;
            v.screen_y += dy;
        }
        for (size_t i = 0; i + 1 < out.vertices.size(); ++i) out.vertices[i].next = &out.vertices[i + 1];
        return out;
    }
    const PolyVertex* operator&() const { return vertices.data(); }
};

Polygon rectangle(int x0, int y0, int x1, int y1, int level = 255) {
    return {{x0, y0, 0, 0, level}, {x1, y0, 63, 0, level}, {x1, y1, 63, 63, level}, {x0, y1, 0, 63, level}};
}

struct Rgb {
    int r, g, b;
};

// Palette: sixteen ramps of sixteen, dark to bright; the shade table keeps a colour in its ramp.
// An 8-bit 640 x 480 screen, the accelerator open with two textures: 0 a checker of 64 x 64,
// 1 a 32 x 32 ring whose index-0 texels are transparent.
class PolyTest : public testing::Test {
protected:
    void SetUp() override {
        const double hues[16][3] = {{1, 1, 1}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1}, {1, .5, 0},
                                 {.5, 1, 0}, {0, .5, 1}, {.5, 0, 1}, {1, 0, .5}, {.6, .5, .4}, {.4, .6, .5}, {.5, .4, .6},
                                 {1, 1, 1}};
        for (int i = 0; i < 256; ++i)
            for (int k = 0; k < 3; ++k) working_palette[3 * i + k] = uint8_t(hues[i >> 4][k] * (40 + 215 * (i & 15) / 15));
        for (int c = 0; c < 256; ++c)
            for (int level = 0; level < 256; ++level) shade_table[c * 256 + level] = uint8_t((c & 0xF0) | level >> 4);
        pixels.assign(size_t(WIDTH) * HEIGHT, 0);
        screen = wrap_screen(WIDTH, HEIGHT, 0, pixels.data());
        select_screen(screen);
        accelerator_flag = 0;
        frame_phase = 0;
        random_seed = 12345;
        poly_count = 0;
        set_depth_scale(7);

        accel::open_display();
        accel::set_alpha_test(accel::AlphaTest::GREATER);
        for (int i = 0; i < 64 * 64; ++i) checker[i] = uint8_t(((i >> 3 ^ i >> 9) & 1) ? 0x1C : 0x3A);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const double d = std::hypot(x - 15.5, y - 15.5);
                const uint8_t index = d > 6 && d < 15 ? uint8_t(0x4F - int(d) / 2) : 0;
                ring[2 * (y * 32 + x)] = index;
                ring[2 * (y * 32 + x) + 1] = index ? 0xFF : 0;
            }
        accel_textures[0] = {{accel::LOD_64, accel::LOD_64, accel::ASPECT_1X1, accel::TextureFormat::PALETTE_8}, checker, 0};
        accel_textures[1] = {{accel::LOD_32, accel::LOD_32, accel::ASPECT_1X1, accel::TextureFormat::ALPHA_PALETTE_88},
                             ring, 8192};
        for (int i = 0; i < 2; ++i)
            ASSERT_TRUE(accel::download_texture(accel_textures[i].start_address, accel_textures[i].info, accel_textures[i].texels));
        download_palette_part(working_palette, 0, 256);
        software_texture = {2, 64, checker};
        std::copy(std::begin(display_colours), std::end(display_colours), saved_display_colours);
    }
    void TearDown() override {
        accelerator_flag = 0;
        std::copy(std::begin(saved_display_colours), std::end(saved_display_colours), display_colours);
        for (AccelTexture& texture : accel_textures) texture = {};
        while (PaletteEffect* effect = get_palette_effect_list()) destroy_palette_effect(effect);
        destroy_screen(screen);
        accel::shut_down();
    }

    static Rgb accel_pixel(int x, int y) {
        const uint16_t p = accel::draw_buffer()[y * WIDTH + x];
        return {(p >> 11) * 255 / 31, (p >> 5 & 63) * 255 / 63, (p & 31) * 255 / 31};
    }
    static std::vector<uint16_t> back_buffer() { return {accel::draw_buffer(), accel::draw_buffer() + WIDTH * HEIGHT}; }

    std::vector<uint8_t> pixels;
    Screen* screen = nullptr;
    uint8_t checker[64 * 64];
    uint8_t ring[32 * 32 * 2];
    TextureRecord software_texture;
    uint32_t saved_display_colours[256];
};

TEST_F(PolyTest, PolygonCountFollowsWhatEachFormDraws) {
    const Polygon square = rectangle(10, 10, 30, 30);
    const struct {
        const char* name;
        bool accelerator;
        std::function<void()> draw;
        int counted;
    } cases[] = {
        {"flat", false, [&] { draw_poly_flat(&square, 0x11); }, 1},
        {"flat", true, [&] { draw_poly_flat(&square, 0x11); }, 1},
        {"stipple in software", false, [&] { draw_poly_stipple(&square, 0x11); }, 0},
        {"columns in software", false, [&] { draw_poly_columns(&square, 0x11); }, 0},
        {"sparse in software", false, [&] { draw_poly_sparse(&square, 0x11); }, 0},
        {"stipple as a flat polygon", true, [&] { draw_poly_stipple(&square, 0x11); }, 1},
        {"textured for the accelerator, in software", false, [&] { draw_poly_textured_accel(&square); }, 1},
        {"shimmer in software", false, [&] { draw_poly_shimmer(&square); }, 1},
        {"shimmer with the accelerator", true, [&] { draw_poly_shimmer(&square); }, 0},
        {"texture number 369", true, [&] { draw_poly_texture_number(&square, 369); }, 1},
        {"texture number 370", true, [&] { draw_poly_texture_number(&square, 370); }, 0},
        {"tinted texture number 370", true, [&] { draw_poly_texture_tinted(&square, 370); }, 0},
        {"keyed", true, [&] { draw_poly_keyed(&square, 1, 0, 0); }, 1},
        {"point", false, [&] { draw_point(3, 3, 7); }, 0},
        {"point", true, [&] { draw_point(3, 3, 7); }, 0},
        {"outline", true, [&] { draw_poly_outline(&square, 7); }, 0},
        {"no polygon", false, [&] { draw_poly_flat(nullptr, 7); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.accelerator ? " (accelerator)" : ""));
        accelerator_flag = c.accelerator;
        poly_count = 5;
        c.draw();
        EXPECT_EQ(poly_count, 5 + c.counted);
    }
}

TEST_F(PolyTest, TextureNumberBeyondTheTableDrawsNothing) {
    accelerator_flag = 1;
    accel::clear_buffer(0x20202000);
    const std::vector<uint16_t> before = back_buffer();
    draw_poly_texture_number(&rectangle(10, 10, 100, 100), 370);
    draw_poly_texture_tinted(&rectangle(10, 10, 100, 100), 1000);
    draw_poly_keyed(&rectangle(10, 10, 100, 100), -1, 0, 0);
    EXPECT_EQ(back_buffer(), before);
    draw_poly_texture_number(&rectangle(10, 10, 100, 100), 0);
    EXPECT_NE(back_buffer(), before);
}

TEST_F(PolyTest, TintMovesTowardEachTintingEffectThenLightensByTheLast) {
    float r, g, b;
    tint_by_palette_effects(100, r, g, b);
    EXPECT_FLOAT_EQ(r, 100);
    EXPECT_FLOAT_EQ(b, 100);

    PaletteEffect* red = create_palette_effect(EFFECT_BLEND, 10, 0, 256, 0x40000000, 255, 0, 0);
    tag_palette_effect(red, 3);
    // c = (177.5, 50, 50) after the effect; then 255 - (255 - c) x (1 - 1/2).
    tint_by_palette_effects(100, r, g, b);
    EXPECT_FLOAT_EQ(r, 216.25f);
    EXPECT_FLOAT_EQ(g, 152.5f);
    EXPECT_FLOAT_EQ(b, 152.5f);

    // Effects of other classes (darkness, the dimmed colour) are not tints.
    PaletteEffect* dark = create_palette_effect(EFFECT_BLEND, 20, 0, 256, 0x7FFFFFFF, 0, 0, 0);
    tag_palette_effect(dark, 2);
    tint_by_palette_effects(100, r, g, b);
    EXPECT_FLOAT_EQ(r, 216.25f);

    // A grey effect puts the luminance of the truncated components, round(0.30 x 177 + 0.59 x 50 +
    // 0.11 x 50) = 88, into its channels; the last effect's level lightens the result.
    PaletteEffect* grey = create_palette_effect(1, 30, 0, 256, 0x40000000, 0, 1, 0);
    tag_palette_effect(grey, 1);
    tint_by_palette_effects(100, r, g, b);
    EXPECT_FLOAT_EQ(r, 127.5f);
    EXPECT_FLOAT_EQ(g, 171.5f);
    EXPECT_FLOAT_EQ(b, 127.5f);
}

TEST_F(PolyTest, TintedTexturesTakeTheirGreyFromTheFirstVertexLevel) {
    accelerator_flag = 1;
    for (int i = 0; i < 64 * 64; ++i) checker[i] = 0xFF;  // white
    ASSERT_TRUE(accel::download_texture(0, accel_textures[0].info, checker));
    accel::set_texture_filter(accel::TextureFilter::POINT);
    draw_poly_texture_tinted(&rectangle(0, 0, 100, 100, 0), 0);  // 142.68
    draw_poly_texture_tinted(&rectangle(200, 0, 300, 100, 255), 0);  // 254.88
    EXPECT_NEAR(accel_pixel(50, 50).r, 143, 9);
    EXPECT_NEAR(accel_pixel(50, 50).b, 143, 9);
    EXPECT_NEAR(accel_pixel(250, 50).g, 255, 5);
}

TEST_F(PolyTest, GlowFlickersOnceAndDimsItsFirstVertex) {
    accelerator_flag = 1;
    const int32_t seed = random_seed;
    const int32_t stepped = int32_t(uint32_t(seed) * 0x41C64E6Du + 0x3039u);
    const int alpha = 40 - (stepped & 0x7FFF0000) % 20;
    // A large triangle: the pixel next to each corner shows that corner's alpha as red over black.
    draw_poly_glow(&Polygon{{0, 0}, {600, 0}, {0, 440}}, 255, 0, 0, 40);
    EXPECT_EQ(random_seed, stepped);
    EXPECT_GE(alpha, 21);
    EXPECT_NEAR(accel_pixel(0, 0).r, alpha / 4, 9);
    EXPECT_NEAR(accel_pixel(598, 0).r, alpha, 9);
    EXPECT_NEAR(accel_pixel(0, 438).r, alpha, 9);
    // Alpha below 2 does not flicker.
    draw_poly_glow(&Polygon{{0, 0}, {600, 0}, {0, 440}}, 255, 0, 0, 1);
    EXPECT_EQ(random_seed, stepped);
}

TEST_F(PolyTest, CloudFadeLiftsLevelsByTheEyeHeightAboveTheFadeHeight) {
    accelerator_flag = 1;
    const struct {
        int level;
        int32_t feet_above_fade;
        int alpha;
    } cases[] = {
        {158, 0, 10},        // 158 is below 160
        {158, 1200, 160},    // lifted by 2
        {157, 1200, 10},
        {191, 1200, 244},    // 193 is above 192
        {250, -36000, 190},  // lowered by 60
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        accel::clear_buffer(0);
        draw_poly_gouraud_fade(&rectangle(0, 0, 64, 64, c.level), 0xFF, c.feet_above_fade);
        EXPECT_NEAR(accel_pixel(32, 32).r, c.alpha * working_palette[3 * shade_table[255 * 256 + c.level]] / 255, 9);
    }
}

TEST_F(PolyTest, PointInPolygonCountsEdgesAsInside) {
    // x and depth of a square wound clockwise.
    Polygon square = {{0, 0}, {0, 0}, {0, 0}, {0, 0}};
    const int corners[4][2] = {{0, 0}, {0, 100}, {100, 100}, {100, 0}};
    for (int i = 0; i < 4; ++i) {
        square.vertices[i].x = corners[i][0];
        square.vertices[i].y = corners[i][1];
    }
    EXPECT_EQ(is_point_in_poly(&square, 50, 50), 1);
    EXPECT_EQ(is_point_in_poly(&square, 0, 30), 1);
    EXPECT_EQ(is_point_in_poly(&square, 100, 100), 1);
    EXPECT_EQ(is_point_in_poly(&square, 101, 50), 0);
    EXPECT_EQ(is_point_in_poly(&square, 50, -1), 0);
    EXPECT_EQ(is_point_in_poly(&square, INT32_MIN, INT32_MAX), 0);
}

TEST_F(PolyTest, StatefulPrimitivesLeaveTheDefaultState) {
    accelerator_flag = 1;
    const Polygon square = rectangle(10, 10, 50, 50);
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"keyed", [&] { draw_poly_keyed(&square, 1, 0x10203040, 60); }},
        {"translucent", [&] { draw_poly_translucent(&square, 0x22, 0x00000080); }},
        {"translucent overlay", [&] { draw_poly_translucent_overlay(&square, 0x22, 0x00000080); }},
        {"translucent rgb", [&] { draw_poly_translucent_rgb(&square, 1, 2, 3, 0x00000080); }},
        {"glow", [&] { draw_poly_glow(&square, 1, 2, 3, 90); }},
        {"fade", [&] { draw_poly_gouraud_fade(&square, 0x22, 0); }},
        {"remap", [&] { draw_poly_remap(&square, nullptr); }},
    };
    for (const auto& [name, draw] : cases) {
        SCOPED_TRACE(name);
        draw();
        const accel::PipelineState& state = accel::pipeline_state();
        EXPECT_EQ(state.constant_colour, 0x000000FFu);
        EXPECT_EQ(state.blend_source, accel::BlendFactor::ONE);
        EXPECT_EQ(state.blend_destination, accel::BlendFactor::ZERO);
        EXPECT_EQ(state.alpha_reference, 0);
    }
}

TEST_F(PolyTest, AcceleratorCirclesArePolygonsFromTheirRightmostPoint) {
    fill_circle_translucent(100, 100, 40, 0x11);  // nothing without the accelerator
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), WIDTH * HEIGHT);
    accelerator_flag = 1;
    fill_circle(100, 100, 40, 0x1F);
    EXPECT_NE(accel_pixel(139, 100).r, 0);  // the first corner, (cx + r, cy)
    EXPECT_EQ(accel_pixel(141, 100).r, 0);
    EXPECT_NE(accel_pixel(100, 62).r, 0);
    // The translucent disc ignores its colour argument: colour 224 at alpha 38.
    accel::clear_buffer(0);
    fill_circle_translucent(300, 100, 40, 0x11);
    const Rgb inside = accel_pixel(300, 100);
    EXPECT_NEAR(inside.r, working_palette[3 * 224] * 38 / 255, 9);
    EXPECT_NEAR(inside.g, working_palette[3 * 224 + 1] * 38 / 255, 9);
    // Its corners are held to the clip rectangle.
    set_clip_rect(0, 0, 310, 479);
    accel::clear_buffer(0);
    fill_circle_translucent(300, 100, 40, 0x11);
    EXPECT_EQ(accel_pixel(320, 100).r + accel_pixel(320, 100).g + accel_pixel(320, 100).b, 0);
}

TEST_F(PolyTest, PointsAndOutlinesStayOnTheTarget) {
    draw_point(-1, 5, 0x11);
    draw_point(WIDTH, 5, 0x11);
    draw_point(5, HEIGHT, 0x11);
    const Polygon beyond = {{-50, 100}, {700, 100}, {320, 600}};
    draw_poly_outline(&beyond, 0x11);
    draw_point(5, 5, 0x11);
    EXPECT_EQ(pixels[5 * WIDTH + 5], 0x11);
    EXPECT_EQ(pixels[100 * WIDTH + 639], 0x11);
    EXPECT_GT(std::count(pixels.begin(), pixels.end(), 0x11), 640 + 2 * 300);
    accelerator_flag = 1;
    display_colours[0x11] = 0x00FF0000;
    draw_poly_outline(&beyond, 0x11);
    EXPECT_EQ(accel_pixel(639, 100).r, 255);
    draw_point(-1, 5, 0x11);
    draw_point(5, 5, 0x11);
    EXPECT_NE(accel_pixel(5, 5).r, 0);
}

// ---- The test sheet: every primitive in each form, one cell each. ----

constexpr int CELL_W = 64, CELL_H = 48, COLUMNS = 5, SHEET_W = COLUMNS * CELL_W, SHEET_H = 5 * CELL_H;

// A five-sided polygon filling most of a cell, with texture coordinates over the whole texture,
// levels from dark to bright and depths that differ.
Polygon cell_polygon(int cell) {
    const Polygon shape = {{6, 4, 0, 0, 40, 2000}, {56, 6, 63, 0, 255, 3000}, {60, 30, 63, 40, 200, 5000},
                           {34, 44, 30, 63, 120, 9000}, {4, 38, 0, 63, 90, 4000}};
    return shape.moved(cell % COLUMNS * CELL_W, cell / COLUMNS * CELL_H);
}

std::string sheet_path(const char* directory) { return std::string(directory) + "/poly_sheet.ppm"; }

std::vector<uint8_t> read_ppm(const std::string& path, int& width, int& height) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get();
    std::vector<uint8_t> rgb(std::istreambuf_iterator<char>(in), {});
    if (magic != "P6" || maximum != 255 || rgb.size() != size_t(width) * height * 3) return {};
    return rgb;
}

TEST_F(PolyTest, SheetOfEveryPrimitiveMatchesItsReference) {
    uint8_t remap[256], remap_b[256];
    for (int i = 0; i < 256; ++i) {
        remap[i] = uint8_t(i + 0x40);
        remap_b[i] = uint8_t(0xF0 | (i & 15));
    }
    TextureRecord masked = software_texture;
    std::vector<uint8_t> holes(checker, checker + 64 * 64);
    for (size_t i = 0; i < holes.size(); ++i)
        if ((i / 64 / 16 + i % 64 / 16) % 2) holes[i] = (i & 1) ? 0 : 0xFE;
    masked.texels = holes.data();

    // Software forms on the 8-bit screen, over a dark background that the remap and shimmer move.
    std::fill(pixels.begin(), pixels.end(), 0x04);
    const std::vector<std::function<void(int)>> software = {
        [](int c) { draw_poly_flat(&cell_polygon(c), 0x1A1A1A1A); },
        [](int c) { draw_poly_flat_overlay(&cell_polygon(c), 0x2A2A2A2A); },
        [](int c) { draw_poly_gouraud(&cell_polygon(c), 0x3F3F3F3F); },
        [](int c) { draw_poly_gouraud_overlay(&cell_polygon(c), 0x4F4F4F4F); },
        [&](int c) { draw_poly_textured(&cell_polygon(c), &software_texture); },
        [&](int c) { draw_poly_textured_shaded(&cell_polygon(c), 100 << 23, &software_texture); },
        [&](int c) { draw_poly_textured_gouraud(&cell_polygon(c), &software_texture); },
        [&](int c) { draw_poly_textured_persp(&cell_polygon(c), &software_texture); },
        [&](int c) { draw_poly_masked(&cell_polygon(c), &masked); },
        [&](int c) { draw_poly_masked_shaded(&cell_polygon(c), 100 << 23, &masked); },
        [&](int c) { draw_poly_masked_gouraud(&cell_polygon(c), &masked); },
        [&](int c) { draw_poly_textured_remap(&cell_polygon(c), &masked, remap, remap_b); },
        [](int c) { draw_poly_stipple(&cell_polygon(c), 0x5F); },
        [](int c) { draw_poly_columns(&cell_polygon(c), 0x6F); },
        [](int c) { draw_poly_sparse(&cell_polygon(c), 0x7F); },
        [&](int c) { draw_poly_remap(&cell_polygon(c), remap); },
        [](int c) {
            for (int y = 0; y < CELL_H; ++y)  // stripes for the shimmer to move
                for (int x = 0; x < CELL_W; ++x) row_table[c / COLUMNS * CELL_H + y][c % COLUMNS * CELL_W + x] = x / 4 % 2 ? 0x0F : 0x04;
            draw_poly_shimmer(&cell_polygon(c));
        },
        [](int c) {
            for (int k = 0; k < 40; ++k) draw_point(c % COLUMNS * CELL_W + 8 + k, c / COLUMNS * CELL_H + 8 + k % 30, 0x8F);
        },
        [](int c) { draw_poly_outline(&cell_polygon(c), 0x9F); },
        [](int c) { draw_poly_textured_accel(&cell_polygon(c)); },
    };
    for (size_t c = 0; c < software.size(); ++c) software[c](int(c));

    // Accelerator forms on the back buffer.
    accelerator_flag = 1;
    accel::clear_buffer(0x10101000);
    const RgbColour record = {40, 200, 120};
    const std::vector<std::function<void(int)>> hardware = {
        [](int c) { draw_poly_flat(&cell_polygon(c), 0x1A); },
        [](int c) { draw_poly_flat_overlay(&cell_polygon(c), 0x2A); },
        [](int c) { draw_poly_gouraud(&cell_polygon(c), 0x3F); },
        [](int c) { draw_poly_gouraud_overlay(&cell_polygon(c), 0x4F); },
        [](int c) { draw_poly_texture_number(&cell_polygon(c), 0); },
        [](int c) { draw_poly_texture_tinted(&cell_polygon(c), 0); },
        [](int c) { draw_poly_keyed(&cell_polygon(c), 1, 0x00000000, 0); },
        [](int c) { draw_poly_keyed(&cell_polygon(c), 1, 0x000000A0, 40); },
        [](int c) { draw_poly_textured(&cell_polygon(c), nullptr); },  // the texture and colours left before
        [](int c) { draw_poly_translucent_rgb(&cell_polygon(c), 255, 255, 0, 0x00000080); },
        [](int c) { draw_poly_translucent(&cell_polygon(c), 0x5F, 0x00000060); },
        [](int c) { draw_poly_translucent_overlay(&cell_polygon(c), 0x6F, 0x000000C0); },
        [](int c) { draw_poly_glow(&cell_polygon(c), 255, 128, 0, 200); },
        [](int c) { draw_poly_gouraud_fade(&cell_polygon(c), 0xFF, 6000); },
        [](int c) { draw_poly_rgb(&cell_polygon(c), 90, 60, 250); },
        [&](int c) { draw_poly_rgb_record(&cell_polygon(c), &record); },
        [](int c) { draw_poly_remap(&cell_polygon(c), nullptr); },
        [](int c) { draw_poly_stipple(&cell_polygon(c), 0x7F); },
        [](int c) { draw_poly_outline(&cell_polygon(c), 0x9F); },
        [](int c) {
            for (int k = 0; k < 40; ++k) draw_point(c % COLUMNS * CELL_W + 8 + k, c / COLUMNS * CELL_H + 8 + k % 30, 0x8F);
        },
        [](int c) { fill_circle(c % COLUMNS * CELL_W + 32, c / COLUMNS * CELL_H + 24, 20, 0xAF); },
        [](int c) {
            draw_poly_flat(&cell_polygon(c), 0x02);
            fill_circle_translucent(c % COLUMNS * CELL_W + 32, c / COLUMNS * CELL_H + 24, 20, 0);
        },
    };
    for (int i = 0; i < 256; ++i)
        display_colours[i] = uint32_t(working_palette[3 * i]) << 16 | working_palette[3 * i + 1] << 8 | working_palette[3 * i + 2];
    for (size_t c = 0; c < hardware.size(); ++c) hardware[c](int(c));
    accelerator_flag = 0;

    // Software on the left, accelerator on the right.
    std::vector<uint8_t> sheet(size_t(2 * SHEET_W) * SHEET_H * 3);
    for (int y = 0; y < SHEET_H; ++y)
        for (int x = 0; x < SHEET_W; ++x) {
            uint8_t* left = &sheet[(size_t(y) * 2 * SHEET_W + x) * 3];
            for (int k = 0; k < 3; ++k) left[k] = working_palette[3 * pixels[y * WIDTH + x] + k];
            const Rgb rgb = accel_pixel(x, y);
            uint8_t* right = left + SHEET_W * 3;
            right[0] = uint8_t(rgb.r);
            right[1] = uint8_t(rgb.g);
            right[2] = uint8_t(rgb.b);
        }
    {
        std::ofstream out(sheet_path(VYR_BUILD_DIR), std::ios::binary);
        out << "P6\n" << 2 * SHEET_W << " " << SHEET_H << "\n255\n";
        out.write(reinterpret_cast<const char*>(sheet.data()), std::streamsize(sheet.size()));
    }

    int width = 0, height = 0;
    const std::vector<uint8_t> reference = read_ppm(sheet_path(VYR_FIXTURES_DIR), width, height);
    ASSERT_EQ(width, 2 * SHEET_W) << "reference " << sheet_path(VYR_FIXTURES_DIR) << " missing or bad; this run's sheet is "
                                  << sheet_path(VYR_BUILD_DIR);
    ASSERT_EQ(height, SHEET_H);
    // Tolerant: small colour differences anywhere, and a few pixels of any difference (edges).
    int differing = 0;
    for (size_t i = 0; i < sheet.size(); i += 3) {
        int worst = 0;
        for (int k = 0; k < 3; ++k) worst = std::max(worst, std::abs(int(sheet[i + k]) - int(reference[i + k])));
        differing += worst > 12;
    }
    EXPECT_LT(differing, int(sheet.size() / 3 / 200)) << "compare " << sheet_path(VYR_BUILD_DIR) << " with the reference";
}

}  // namespace
}  // namespace vyr
