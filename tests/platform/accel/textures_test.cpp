#include "tests/platform/accel/accel_fixture.h"

namespace vyr::platform::accel {
namespace {

using TexturesTest = AccelTest;

TEST_F(TexturesTest, MemoryRequiredBySizeAndFormat) {
    struct Case {
        TextureInfo info;
        uint32_t bytes;
    };
    const Case cases[] = {
        {{LOD_64, LOD_64, ASPECT_1X1, TextureFormat::PALETTE_8}, 4096},
        {{LOD_32, LOD_32, ASPECT_1X1, TextureFormat::ALPHA_PALETTE_88}, 2048},
        {{LOD_64, LOD_64, ASPECT_2X1, TextureFormat::ALPHA_PALETTE_88}, 4096},
        {{LOD_64, LOD_64, ASPECT_1X1, TextureFormat::ALPHA_PALETTE_88}, 8192},
        {{LOD_64, LOD_32, ASPECT_1X1, TextureFormat::PALETTE_8}, 0},
        {{9, 9, ASPECT_1X1, TextureFormat::PALETTE_8}, 0},
        {{LOD_64, LOD_64, 7, TextureFormat::PALETTE_8}, 0},
        {{LOD_64, LOD_64, ASPECT_1X1, TextureFormat(3)}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(texture_memory_required(c.info), c.bytes);
}

// The game's 369 textures, placed back to back, must fit.
TEST_F(TexturesTest, TheGamesTexturesFit) {
    const TextureInfo terrain{LOD_64, LOD_64, ASPECT_1X1, TextureFormat::PALETTE_8};
    const TextureInfo smoke{LOD_32, LOD_32, ASPECT_1X1, TextureFormat::ALPHA_PALETTE_88};
    const TextureInfo ground{LOD_64, LOD_64, ASPECT_2X1, TextureFormat::ALPHA_PALETTE_88};
    const TextureInfo air{LOD_64, LOD_64, ASPECT_1X1, TextureFormat::ALPHA_PALETTE_88};
    uint32_t next = texture_min_address();
    next += 194 * texture_memory_required(terrain) + 8 * texture_memory_required(smoke) +
            64 * texture_memory_required(ground) + 60 * texture_memory_required(air) +
            43 * texture_memory_required(terrain);
    EXPECT_LE(next, texture_max_address());
    EXPECT_GE(texture_max_address() - texture_min_address(), 2u * 1024 * 1024);
}

TEST_F(TexturesTest, DownloadPastTheMaximumAddressIsRefused) {
    const TextureInfo info{LOD_64, LOD_64, ASPECT_1X1, TextureFormat::PALETTE_8};
    std::vector<uint8_t> texels(4096, 9);
    uint32_t max = texture_max_address();
    EXPECT_TRUE(download_texture(max - 4096, info, texels.data()));
    EXPECT_FALSE(download_texture(max - 4095, info, texels.data()));
    EXPECT_FALSE(download_texture(max, info, texels.data()));
    EXPECT_FALSE(download_texture(0xFFFFFFFF, info, texels.data()));
    EXPECT_FALSE(download_texture(0, info, nullptr));
    EXPECT_FALSE(download_texture(0, {LOD_64, LOD_32, ASPECT_1X1, TextureFormat::PALETTE_8},
                                  texels.data()));
}

// A texture source past the end of memory, or with a bad description, draws nothing.
TEST_F(TexturesTest, TexturedDrawingWithoutAValidSourceDrawsNothing) {
    set_colour_combine({CombineFunction::SCALE_OTHER, CombineFactor::ONE, CombineSource::CONSTANT,
                        CombineSource::TEXTURE});
    set_texture_source(texture_max_address() - 100,
                       {LOD_64, LOD_64, ASPECT_1X1, TextureFormat::PALETTE_8});
    draw_rectangle(0, 0, 10, 10);
    set_texture_source(0, {LOD_64, LOD_64, 11, TextureFormat::PALETTE_8});
    draw_rectangle(0, 0, 10, 10);
    EXPECT_EQ(back_buffer(), std::vector<uint16_t>(SCREEN_WIDTH * SCREEN_HEIGHT, 0));
}

// s and t run 0..256 across the larger side; beyond it the texture repeats or holds its edge.
TEST_F(TexturesTest, CoordinatesWrapOrClampAndFollowTheAspect) {
    uint32_t palette[PALETTE_SIZE] = {};
    palette[1] = 0xFFFF0000;
    palette[2] = 0xFF00FF00;
    palette[3] = 0xFF0000FF;
    download_palette(palette);
    // 64 x 32: columns 0..31 red, 32..63 green, the last row blue.
    std::vector<uint8_t> texels;
    for (int v = 0; v < 32; ++v) {
        for (int u = 0; u < 64; ++u) {
            texels.push_back(v == 31 ? 3 : u < 32 ? 1 : 2);
            texels.push_back(255);
        }
    }
    use_texture(TextureFormat::ALPHA_PALETTE_88, texels, LOD_64, ASPECT_2X1);
    set_colour_combine({CombineFunction::SCALE_OTHER, CombineFactor::ONE, CombineSource::CONSTANT,
                        CombineSource::TEXTURE});
    auto colour_at = [](float s, float t) {
        clear_buffer(0);
        Vertex v[3] = {at(0, 0, 0, 0, 0, 0, 1, s, t), at(4, 0, 0, 0, 0, 0, 1, s, t),
                       at(0, 4, 0, 0, 0, 0, 1, s, t)};
        draw_polygon(v, 3);
        return pixel(1, 1);
    };
    const uint16_t RED = rgb565(255, 0, 0), GREEN = rgb565(0, 255, 0), BLUE = rgb565(0, 0, 255);
    EXPECT_EQ(colour_at(10, 10), RED);
    EXPECT_EQ(colour_at(200, 10), GREEN);
    EXPECT_EQ(colour_at(10, 126), BLUE);  // t 128 spans the 32 rows
    EXPECT_EQ(colour_at(266, 10), RED);   // wraps
    EXPECT_EQ(colour_at(10, 130), RED);
    EXPECT_EQ(colour_at(-10, 10), GREEN);
    set_texture_clamp(TextureClamp::CLAMP);
    EXPECT_EQ(colour_at(266, 10), GREEN);
    EXPECT_EQ(colour_at(10, 500), BLUE);
    EXPECT_EQ(colour_at(-1000, -1000), RED);
}

// A palette download that changes no word keeps the colours made from it; a changed word is seen
// by the next textured primitive, the span routines' and the reference path's alike.
TEST_F(TexturesTest, OnlyAChangedPaletteRecolours) {
    uint32_t palette[PALETTE_SIZE] = {};
    palette[5] = 0xFFFF0000;
    download_palette(palette);
    use_texture(TextureFormat::PALETTE_8, std::vector<uint8_t>(64 * 64, 5), LOD_64, ASPECT_1X1);
    set_colour_combine({CombineFunction::SCALE_OTHER, CombineFactor::ONE, CombineSource::CONSTANT,
                        CombineSource::TEXTURE});
    auto drawn = [] {
        draw_rectangle(0, 0, 8, 8);
        return pixel(2, 2);
    };
    EXPECT_EQ(drawn(), rgb565(255, 0, 0));
    const uint32_t generation = texture_source().generation;
    download_palette(palette);
    download_palette_part(palette, 5, 5);
    EXPECT_EQ(texture_source().generation, generation);
    palette[5] = 0x0000FF00;  // alpha is ignored, the colour is not
    download_palette_part(palette, 4, 6);
    EXPECT_NE(texture_source().generation, generation);
    EXPECT_EQ(drawn(), rgb565(0, 255, 0));
}

}  // namespace
}  // namespace vyr::platform::accel
