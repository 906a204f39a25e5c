#include <array>
#include <functional>
#include <random>

#include "tests/platform/accel/accel_fixture.h"

namespace vyr::platform::accel {
namespace {

const Combine ITERATED_COLOUR{CombineFunction::LOCAL, CombineFactor::ZERO, CombineSource::ITERATED,
                              CombineSource::CONSTANT};
const Combine CONSTANT_ALPHA{CombineFunction::LOCAL, CombineFactor::ZERO, CombineSource::CONSTANT,
                             CombineSource::CONSTANT};
const Combine SCALED_CONSTANT_ALPHA{CombineFunction::SCALE_OTHER, CombineFactor::ONE,
                                    CombineSource::CONSTANT, CombineSource::CONSTANT};
const Combine ITERATED_ALPHA{CombineFunction::LOCAL, CombineFactor::ZERO, CombineSource::ITERATED,
                             CombineSource::CONSTANT};
const Combine TEXTURE_X_ITERATED{CombineFunction::SCALE_OTHER, CombineFactor::LOCAL,
                                 CombineSource::ITERATED, CombineSource::TEXTURE};
const Combine TEXTURE_COLOUR{CombineFunction::SCALE_OTHER, CombineFactor::ONE,
                             CombineSource::CONSTANT, CombineSource::TEXTURE};
const Combine TEXTURE_ALPHA_LESS_CONSTANT{CombineFunction::SCALE_OTHER_MINUS_LOCAL,
                                          CombineFactor::ONE, CombineSource::CONSTANT,
                                          CombineSource::TEXTURE};

// The pipelines as the game's drawing sets them up.
void flat() {
    set_colour_combine(ITERATED_COLOUR);
    set_alpha_combine(CONSTANT_ALPHA);
    set_alpha_test(AlphaTest::GREATER);
    set_alpha_reference(0);
}
void textured() {
    flat();
    set_colour_combine(TEXTURE_X_ITERATED);
}
void keyed(uint32_t constant, uint8_t reference) {
    flat();
    set_colour_combine(TEXTURE_COLOUR);
    set_alpha_combine(TEXTURE_ALPHA_LESS_CONSTANT);
    set_constant_colour(constant);
    set_alpha_reference(reference);
    set_alpha_blend(BlendFactor::SRC_ALPHA, BlendFactor::ONE_MINUS_SRC_ALPHA);
}
void translucent(uint32_t constant) {
    flat();
    set_alpha_combine(SCALED_CONSTANT_ALPHA);
    set_constant_colour(constant);
    set_alpha_blend(BlendFactor::SRC_ALPHA, BlendFactor::ONE_MINUS_SRC_ALPHA);
}
void glow() {
    flat();
    set_alpha_combine(ITERATED_ALPHA);
    set_alpha_blend(BlendFactor::SRC_ALPHA, BlendFactor::ONE_MINUS_SRC_ALPHA);
}

// The pipeline's arithmetic, checked to the level: colours are truncated, not dithered.
class PipelineTest : public AccelTest {
protected:
    void SetUp() override {
        AccelTest::SetUp();
        set_dither_mode(DitherMode::DISABLED);
        uint32_t palette[PALETTE_SIZE] = {};
        palette[1] = 0xFF000000;
        palette[2] = 0xFFFFFFFF;
        palette[7] = 0xFFC86432;  // 200, 100, 50
        download_palette(palette);
    }
    // A texture whose every texel is `index` (with `alpha` in the alpha format).
    static void uniform_texture(TextureFormat format, uint8_t index, uint8_t alpha = 255) {
        std::vector<uint8_t> texels;
        for (int i = 0; i < 64 * 64; ++i) {
            texels.push_back(index);
            if (format == TextureFormat::ALPHA_PALETTE_88)
                texels.push_back(alpha);
        }
        use_texture(format, texels);
    }
};

TEST_F(PipelineTest, EachPipelineDrawsTheExpectedColour) {
    struct Case {
        const char* name;
        std::function<void()> set_up;
        float r, g, b, a;
        uint32_t clear;  // 0xRRGGBBAA
        uint16_t expected;
    };
    const Case cases[] = {
        {"flat", [] { flat(); }, 255, 128, 0, 255, 0, rgb565(255, 128, 0)},
        {"texture times iterated",
         [] {
             textured();
             uniform_texture(TextureFormat::PALETTE_8, 7);
         },
         128, 255, 255, 255, 0, rgb565(100, 100, 50)},
        {"keyed: texture alpha less the constant's, blended",
         [] {
             keyed(0x00000028, 60);
             uniform_texture(TextureFormat::ALPHA_PALETTE_88, 7, 200);
         },
         0, 0, 0, 0, 0x0000FF00, rgb565(125, 62, 126)},
        {"keyed: faded below the reference",
         [] {
             keyed(0x00000096, 60);
             uniform_texture(TextureFormat::ALPHA_PALETTE_88, 7, 200);
         },
         0, 0, 0, 0, 0x0000FF00, rgb565(0, 0, 255)},
        {"translucent: constant alpha 100",
         [] { translucent(0x00000064); }, 241, 214, 105, 255, 0, rgb565(94, 83, 41)},
        {"glow: iterated alpha", [] { glow(); }, 255, 0, 0, 64, 0, rgb565(63, 0, 0)},
        {"glow: alpha 0 fails the test", [] { glow(); }, 255, 0, 0, 0, 0x00FF0000,
         rgb565(0, 255, 0)},
        {"constant alpha 0 fails the test",
         [] {
             flat();
             set_constant_colour(0);
         },
         255, 255, 255, 255, 0x00FF0000, rgb565(0, 255, 0)},
        {"table fog halfway",
         [] {
             flat();
             uint8_t table[FOG_TABLE_SIZE];
             std::fill(table, table + FOG_TABLE_SIZE, 128);
             set_fog_table(table);
             set_fog_colour(0xDAE3E400);
             set_fog_mode(FogMode::TABLE);
         },
         0, 0, 0, 255, 0, rgb565(109, 114, 114)},
        {"bilinear between a black and a white texel",
         [] {
             textured();
             std::vector<uint8_t> stripes;
             for (int i = 0; i < 64 * 64; ++i)
                 stripes.push_back(i % 2 == 0 ? 1 : 2);
             use_texture(TextureFormat::PALETTE_8, stripes);
             set_texture_filter(TextureFilter::BILINEAR);
         },
         255, 255, 255, 255, 0, rgb565(127, 127, 127)},
        {"point sampling of the same place",
         [] {
             textured();
             std::vector<uint8_t> stripes;
             for (int i = 0; i < 64 * 64; ++i)
                 stripes.push_back(i % 2 == 0 ? 1 : 2);
             use_texture(TextureFormat::PALETTE_8, stripes);
         },
         255, 255, 255, 255, 0, rgb565(255, 255, 255)},
    };
    for (SpanPath path : span_paths()) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " (" + path_name(path) + ")");
            SetUp();
            use_span_path(path);
            clear_buffer(c.clear);
            c.set_up();
            // s = 4, t = 2 everywhere: halfway between texel centres 0 and 1 on row 0.
            Vertex v[4] = {at(0, 0, c.r, c.g, c.b, c.a, 0.5f, 4, 2),
                           at(8, 0, c.r, c.g, c.b, c.a, 0.5f, 4, 2),
                           at(8, 8, c.r, c.g, c.b, c.a, 0.5f, 4, 2),
                           at(0, 8, c.r, c.g, c.b, c.a, 0.5f, 4, 2)};
            draw_polygon(v, 4);
            EXPECT_EQ(pixel(4, 4), c.expected);
            EXPECT_EQ(pixel(8, 4), c.clear == 0 ? 0 : rgb565(c.clear >> 24, c.clear >> 16 & 255,
                                                             c.clear >> 8 & 255));
        }
    }
}

TEST_F(PipelineTest, AlphaTestAtReferenceZeroDropsTransparentTexels) {
    keyed(0x000000FF, 0);
    set_alpha_combine({CombineFunction::SCALE_OTHER, CombineFactor::ONE, CombineSource::CONSTANT,
                       CombineSource::TEXTURE});
    // Left half index 0 with alpha 0, right half index 7 with alpha 255, as effect textures are.
    std::vector<uint8_t> texels;
    for (int i = 0; i < 64 * 64; ++i) {
        bool solid = i % 64 >= 32;
        texels.push_back(solid ? 7 : 0);
        texels.push_back(solid ? 255 : 0);
    }
    use_texture(TextureFormat::ALPHA_PALETTE_88, texels);
    clear_buffer(0x0000FF00);
    Vertex v[4] = {at(0, 0, 0, 0, 0, 0, 1, 0, 0), at(64, 0, 0, 0, 0, 0, 1, 256, 0),
                   at(64, 64, 0, 0, 0, 0, 1, 256, 256), at(0, 64, 0, 0, 0, 0, 1, 0, 256)};
    draw_polygon(v, 4);
    for (int x = 0; x < 64; ++x)
        ASSERT_EQ(pixel(x, 10), x < 32 ? rgb565(0, 0, 255) : rgb565(200, 100, 50)) << x;
}

TEST_F(PipelineTest, FogFollowsTheTableToItsEnds) {
    flat();
    uint8_t table[FOG_TABLE_SIZE];
    for (int i = 0; i < FOG_TABLE_SIZE; ++i)
        table[i] = uint8_t(i * 4);
    table[FOG_TABLE_SIZE - 1] = 255;
    set_fog_table(table);
    set_fog_colour(0xFFFFFF00);
    set_fog_mode(FogMode::TABLE);
    struct Case {
        const char* name;
        float oow;
        int fog;
    };
    const Case cases[] = {
        {"nearer than the first entry", 4.0f, 0},
        {"at the first entry", 1.0f, 0},
        {"at entry 10", 1.0f / fog_table_w(10), 40},
        {"halfway from entry 10 to 11", 2.0f / (fog_table_w(10) + fog_table_w(11)), 42},
        {"at the last entry", 1.0f / fog_table_w(63), 255},
        {"beyond the last entry", 1e-7f, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clear_buffer(0);
        Vertex v[3] = {at(0, 0, 0, 0, 0, 255, c.oow), at(8, 0, 0, 0, 0, 255, c.oow),
                       at(0, 8, 0, 0, 0, 255, c.oow)};
        draw_polygon(v, 3);
        int weight = c.fog + (c.fog >> 7);
        int grey = 255 * weight >> 8;
        EXPECT_EQ(pixel(1, 1), rgb565(grey, grey, grey));
    }
}

TEST_F(PipelineTest, Exp2FogTableRisesFromClearToThick) {
    uint8_t table[FOG_TABLE_SIZE];
    generate_exp2_fog_table(table, 3.5e-5f);
    EXPECT_EQ(table[0], 0);
    for (int i = 1; i < FOG_TABLE_SIZE; ++i)
        EXPECT_GE(table[i], table[i - 1]);
    EXPECT_EQ(table[63], 250);  // 255 x (1 - e^-(3.5e-5 x 57344)^2)
    generate_exp2_fog_table(table, 1.0f / fog_table_w(20));
    EXPECT_EQ(table[20], 161);  // 255 x (1 - 1/e)
}

TEST_F(PipelineTest, PartialPaletteDownloadChangesOnlyItsRange) {
    textured();
    std::vector<uint8_t> indices;  // texel (u, v) holds u + 64 (v mod 4): all 256 indices
    for (int v = 0; v < 64; ++v)
        for (int u = 0; u < 64; ++u)
            indices.push_back(uint8_t(u + 64 * (v % 4)));
    use_texture(TextureFormat::PALETTE_8, indices);
    uint32_t grey[PALETTE_SIZE], red[PALETTE_SIZE];
    for (int i = 0; i < PALETTE_SIZE; ++i) {
        grey[i] = 0xFF000000 | uint32_t(i) * 0x010101;
        red[i] = 0xFFF80000;
    }
    download_palette(grey);
    Vertex v[4] = {at(0, 0, 255, 255, 255, 255, 1, 0, 0), at(64, 0, 255, 255, 255, 255, 1, 256, 0),
                   at(64, 64, 255, 255, 255, 255, 1, 256, 256),
                   at(0, 64, 255, 255, 255, 255, 1, 0, 256)};
    draw_polygon(v, 4);  // drawing before the change must not keep the old colours around
    EXPECT_EQ(pixel(15, 0), rgb565(15, 15, 15));
    download_palette_part(red, 10, 20);
    download_palette_part(red, 200, 256);  // past the end: nothing
    download_palette_part(red, 30, 29);
    draw_polygon(v, 4);
    for (int index = 0; index < PALETTE_SIZE; ++index) {
        bool changed = index >= 10 && index <= 20;
        ASSERT_EQ(pixel(index % 64, index / 64),
                  changed ? rgb565(248, 0, 0) : rgb565(index, index, index))
            << index;
    }
    // Nor the old texels, when the texture is downloaded again.
    use_texture(TextureFormat::PALETTE_8, std::vector<uint8_t>(64 * 64, 15));
    draw_polygon(v, 4);
    EXPECT_EQ(pixel(40, 3), rgb565(248, 0, 0));
}

// Every specialised routine, of each instruction set, against the generic one: a fixed random
// scene of triangles with random colours, depths and texture coordinates, drawn each way under
// many states.
TEST_F(PipelineTest, SpecialisedRoutinesMatchTheReference) {
    std::mt19937 random(1999);
    std::vector<uint8_t> texels(64 * 64 * 2);
    for (uint8_t& t : texels)
        t = uint8_t(random());
    for (int i = 0; i < 64 * 64; i += 7)
        texels[i * 2 + 1] = 0;
    uint32_t palette[PALETTE_SIZE];
    for (uint32_t& p : palette)
        p = uint32_t(random());
    uint8_t fog[FOG_TABLE_SIZE];
    generate_exp2_fog_table(fog, 1.0f / 3000);

    const std::function<void()> callers[] = {flat, textured, [] { keyed(0x00000028, 60); },
                                             [] { keyed(0x000000C8, 2); },
                                             [] { translucent(0x000000D8); }, glow};
    const Combine colours[] = {ITERATED_COLOUR, TEXTURE_X_ITERATED, TEXTURE_COLOUR,
                               {CombineFunction::LOCAL, CombineFactor::ZERO,
                                CombineSource::CONSTANT, CombineSource::CONSTANT},
                               {CombineFunction::SCALE_OTHER, CombineFactor::LOCAL,
                                CombineSource::TEXTURE, CombineSource::ITERATED}};
    const Combine alphas[] = {CONSTANT_ALPHA, ITERATED_ALPHA, TEXTURE_ALPHA_LESS_CONSTANT,
                              SCALED_CONSTANT_ALPHA,
                              {CombineFunction::LOCAL_ALPHA, CombineFactor::ZERO,
                               CombineSource::TEXTURE, CombineSource::CONSTANT}};
    int specialised = 0;
    for (int state = 0; state < 400; ++state) {
        SCOPED_TRACE(state);
        const std::vector<SpanPath> paths = span_paths();
        std::vector<std::vector<uint16_t>> drawn(paths.size());
        uint32_t seed = uint32_t(random());
        for (size_t pass = 0; pass < paths.size(); ++pass) {
            std::mt19937 scene(seed);
            auto pick = [&](int n) { return int(scene() % uint32_t(n)); };
            open_display();
            use_span_path(paths[pass]);
            TextureFormat format =
                pick(2) ? TextureFormat::PALETTE_8 : TextureFormat::ALPHA_PALETTE_88;
            use_texture(format, texels);
            download_palette(palette);
            set_fog_table(fog);
            set_fog_colour(scene());
            if (state < 96) {
                callers[state % 6]();
                set_texture_filter(TextureFilter(state / 6 % 2));
                set_texture_clamp(TextureClamp(state / 12 % 2));
                set_fog_mode(FogMode(state / 24 % 2));
                if (state / 48 % 2)
                    set_constant_colour(scene() | 0x80);
            } else {
                set_colour_combine(colours[pick(5)]);
                set_alpha_combine(alphas[pick(5)]);
                set_constant_colour(scene());
                set_alpha_test(AlphaTest(pick(2)));
                set_alpha_reference(uint8_t(pick(256)));
                set_alpha_blend(BlendFactor(pick(4)), BlendFactor(pick(4)));
                set_texture_filter(TextureFilter(pick(2)));
                set_texture_clamp(TextureClamp(pick(2)));
                set_fog_mode(FogMode(pick(2)));
                set_dither_mode(DitherMode(pick(2)));
            }
            clear_buffer(scene());
            std::uniform_real_distribution<float> uniform(0, 1);
            auto n = [&](float lo, float hi) { return lo + (hi - lo) * uniform(scene); };
            for (int t = 0; t < 12; ++t) {
                Vertex v[3];
                float cx = n(-40, 680), cy = n(-40, 520), size = n(2, 200);
                for (Vertex& vertex : v)
                    vertex = at(std::round((cx + n(-size, size)) * 16) / 16,
                                std::round((cy + n(-size, size)) * 16) / 16, n(0, 255),
                                n(0, 255), n(0, 255), n(0, 255), n(1e-4f, 1.5f), n(-300, 600),
                                n(-300, 600));
                draw_polygon(v, 3);
                if (paths[pass] == fastest_span_path() && state < 96)
                    specialised += primitive_is_specialised();
            }
            draw_line({n(0, 640), n(0, 480), n(0.01f, 1), 10, 200, 30, 250, 5, 9},
                      {n(0, 640), n(0, 480), n(0.01f, 1), 250, 20, 90, 128, 300, 77});
            drawn[pass] = back_buffer();
        }
        for (size_t pass = 1; pass < paths.size(); ++pass)
            ASSERT_EQ(drawn[pass], drawn[0]) << path_name(paths[pass]);
    }
    EXPECT_EQ(specialised, 96 * 12);  // the callers' pipelines all run specialised
}

// Dithering, in the state the display opens with.
class DitherTest : public AccelTest {
protected:
    // The mean 8-bit level of each channel, as the buffer's reader widens it, over the 4 x 4
    // cells of [x0, x1) x [y0, y1).
    static std::array<double, 3> mean_levels(int x0, int y0, int x1, int y1) {
        std::array<double, 3> sum{};
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                int p = pixel(x, y), r = p >> 11, g = p >> 5 & 63, b = p & 31;
                sum[0] += r << 3 | r >> 2;
                sum[1] += g << 2 | g >> 4;
                sum[2] += b << 3 | b >> 2;
            }
        }
        for (double& s : sum)
            s /= (x1 - x0) * (y1 - y0);
        return sum;
    }
};

// A 50 % grey at half opacity three times over mid-grey leaves mid-grey; truncated, the 565 buffer
// holds the level above it.
TEST_F(DitherTest, TranslucentLayersKeepTheirMeanBrightness) {
    clear_buffer(0x80808000);
    translucent(0x00000080);
    for (int layer = 0; layer < 3; ++layer)
        draw_rectangle(0, 0, 64, 64, 128, 128, 128);
    for (double level : mean_levels(0, 0, 64, 64))
        EXPECT_NEAR(level, 128.0, 1.0);
}

// A grey ramp across the screen, 0.4 of a level a pixel, one cell high. A band is a run of
// columns of one colour: truncated, they run to 11 pixels.
TEST_F(DitherTest, ASmoothRampHasNoBandWiderThanTheDitherCell) {
    Vertex v[4] = {at(0, 0, 0, 0, 0), at(640, 0, 255, 255, 255), at(640, 4, 255, 255, 255),
                   at(0, 4, 0, 0, 0)};
    for (SpanPath path : span_paths()) {
        SCOPED_TRACE(path_name(path));
        use_span_path(path);
        draw_polygon(v, 4);
        int width = 0, widest = 0;
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            bool flat = true;
            for (int y = 1; y < 4; ++y)
                flat = flat && pixel(x, y) == pixel(x, 0);
            width = !flat ? 0 : width > 0 && pixel(x, 0) == pixel(x - 1, 0) ? width + 1 : 1;
            widest = std::max(widest, width);
        }
        EXPECT_LE(widest, 4);
    }
}

}  // namespace
}  // namespace vyr::platform::accel
