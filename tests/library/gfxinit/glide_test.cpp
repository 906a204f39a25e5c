#include "library/gfxinit/glide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "library/3dvisual/world_glide.h"
#include "library/debug/fatal.h"
#include "library/gfxinit/texpal.h"
#include "library/gfxinit/textures.h"
#include "library/graphics/poly.h"
#include "library/os/file.h"
#include "platform/accel/framebuffer.h"
#include "platform/accel/pipeline.h"
#include "platform/accel/textures.h"
#include "tests/support/glide_start.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

namespace accel = platform::accel;
namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// A data directory holding every file start-up reads, each texture filled so that its number
// can be told from its texels. Named by the test, so a death test's child finds the same files.
class GlideStart : public testing::Test {
protected:
    static void SetUpTestSuite() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    void SetUp() override {
        fs::create_directories(data / "work");
        write("vyr.rop", {});
        Bytes terrain(194 * 4096);
        for (size_t i = 0; i < terrain.size(); ++i) terrain[i] = uint8_t(i / 4096);
        write("korea.wz/text64.raw", terrain);
        write_effects("smoke", 8, 32 * 32);
        write_effects("gndexp", 32, 64 * 32);
        write_effects("newgnd", 32, 64 * 32);
        write_effects("airexp", 20, 64 * 64);
        write_effects("airexl", 20, 64 * 64);
        write_effects("flkexp", 20, 64 * 64);
        write("korea.wz/3dpal.rgb", triples(224, 10));
        write("3ddata/3dpal.rgb", triples(224, 20));
        write("korea.wz/terrain.rgb", triples(64, 30));
        write("cockpits/cockpits.rgb", triples(32, 40));
        for (int i = 0; i < 43; ++i) {
            object_texels.emplace_back(4096, uint8_t(100 + i));
            objects.push_back({2, 64, object_texels.back().data()});
        }
        for (TextureRecord& record : objects) object_table.push_back(&record);
        object_table[5] = nullptr;
        work.emplace(data / "work");
        setenv("VYR_DATA", data.path().c_str(), 1);
        init_debug_text();
        find_read_only_path("vyr.rop");
    }
    void TearDown() override {
        accel::shut_down();
        work.reset();
    }

    void write(const std::string& name, const Bytes& bytes) const {
        write_bytes(data / name, bytes);
    }
    // Picture k: index 0 in its first texel, k elsewhere.
    void write_effects(const std::string& family, int count, size_t size) const {
        for (int k = 1; k <= count; ++k) {
            Bytes picture(size, uint8_t(k));
            picture[0] = 0;
            write("3ddata/" + family + std::to_string(k) + ".bmp", picture);
        }
    }
    // Triple i is (tag, i, 255 - i).
    static Bytes triples(int count, uint8_t tag) {
        Bytes out;
        for (int i = 0; i < count; ++i) out.insert(out.end(), {tag, uint8_t(i), uint8_t(255 - i)});
        return out;
    }

    void start() { start_glide_on("3DDATA\\", "KOREA.WZ\\", object_table); }

    // The texels texture memory holds for a texture.
    static const uint8_t* texels_of(int number) {
        accel::set_texture_source(accel_textures[number].start_address, accel_textures[number].info);
        return accel::texture_source().texels;
    }

    ScratchDirectory data;
    std::optional<WorkingDirectory> work;
    std::vector<Bytes> object_texels;
    std::vector<TextureRecord> objects;
    std::vector<TextureRecord*> object_table;
};

TEST_F(GlideStart, PlacesEveryTextureBackToBackAndDownloadsIt) {
    start();
    struct Family {
        int first, last;
        accel::TextureInfo info;
        uint32_t bytes;
    };
    const accel::TextureInfo terrain{2, 2, 3, accel::TextureFormat::PALETTE_8};
    const Family families[] = {
        {0, 193, terrain, 4096},
        {194, 201, {3, 3, 3, accel::TextureFormat::ALPHA_PALETTE_88}, 2048},
        {202, 265, {2, 2, 2, accel::TextureFormat::ALPHA_PALETTE_88}, 4096},
        {266, 325, {2, 2, 3, accel::TextureFormat::ALPHA_PALETTE_88}, 8192},
        {326, 368, terrain, 4096},
    };
    uint32_t next = accel::texture_min_address();
    for (const Family& family : families) {
        for (int i = family.first; i <= family.last; ++i) {
            SCOPED_TRACE(i);
            const AccelTexture& texture = accel_textures[i];
            if (i == 331) {  // the null entry of the object table
                EXPECT_EQ(texture.texels, nullptr);
                continue;
            }
            ASSERT_NE(texture.texels, nullptr);
            EXPECT_EQ(texture.start_address, next);
            EXPECT_EQ(texture.info.smallest_lod, family.info.smallest_lod);
            EXPECT_EQ(texture.info.largest_lod, family.info.largest_lod);
            EXPECT_EQ(texture.info.aspect, family.info.aspect);
            EXPECT_EQ(texture.info.format, family.info.format);
            next += family.bytes;
        }
    }
    EXPECT_EQ(accel_textures[369].texels, nullptr);

    // Terrain texture i holds i; effect picture k of each family holds k, with alpha 0 under index 0.
    EXPECT_EQ(texels_of(0)[0], 0);
    EXPECT_EQ(texels_of(193)[4095], 193);
    for (int number : {194, 201, 202, 233, 234, 265, 266, 306, 325}) {
        SCOPED_TRACE(number);
        const uint8_t* texels = texels_of(number);
        EXPECT_EQ(texels[0], 0);
        EXPECT_EQ(texels[1], 0);
        EXPECT_NE(texels[2], 0);
        EXPECT_EQ(texels[3], 0xFF);
    }
    EXPECT_EQ(texels_of(201)[2], 8);
    EXPECT_EQ(texels_of(233)[2], 32);
    EXPECT_EQ(texels_of(325)[2], 20);
    EXPECT_EQ(texels_of(326)[0], 100);
    EXPECT_EQ(texels_of(368)[4095], 142);
}

TEST_F(GlideStart, ANewWarZonesTerrainTexturesTakeThePlacesOfTheOld) {
    Bytes texels(194 * 4096);
    for (size_t i = 0; i < texels.size(); ++i) texels[i] = uint8_t(255 - i / 4096);
    replace_terrain_textures(texels.data());  // before the accelerator is open: nothing to replace
    start();
    EXPECT_EQ(texels_of(193)[0], 193);
    AccelTexture before[ACCEL_TEXTURE_COUNT];
    std::copy(std::begin(accel_textures), std::end(accel_textures), before);
    replace_terrain_textures(texels.data());
    EXPECT_EQ(texels_of(0)[0], 255);
    EXPECT_EQ(texels_of(193)[4095], 62);
    EXPECT_EQ(texels_of(194)[2], 1);  // smoke is left alone
    for (int i = 0; i < ACCEL_TEXTURE_COUNT; ++i) EXPECT_EQ(accel_textures[i].start_address, before[i].start_address) << i;
}

TEST_F(GlideStart, SetsGammaFogAndTheTextureState) {
    start();
    const accel::PipelineState& state = accel::pipeline_state();
    EXPECT_EQ(state.fog_mode, accel::FogMode::TABLE);
    EXPECT_EQ(state.fog_colour, 0xDAE3E400u);
    EXPECT_EQ(state.alpha_test, accel::AlphaTest::GREATER);
    EXPECT_EQ(state.alpha_reference, 0);
    EXPECT_EQ(accel::texture_source().filter, accel::TextureFilter::BILINEAR);
    EXPECT_EQ(accel::texture_source().clamp, accel::TextureClamp::CLAMP);
    EXPECT_TRUE(accel::display_open());
}

TEST_F(GlideStart, TexturePaletteLayersThe3dTerrainAndCockpitColours) {
    accel_texture_palette[135] = 0;
    start();
    auto entry = [](int tag, int i) { return 0xFF000000u | uint32_t(tag) << 16 | uint32_t(i) << 8 | uint32_t(255 - i); };
    EXPECT_EQ(accel_texture_palette[0], entry(10, 0));     // the war zone's own 3D palette
    EXPECT_EQ(accel_texture_palette[70], entry(10, 70));
    EXPECT_EQ(accel_texture_palette[71], entry(30, 0));    // terrain
    EXPECT_EQ(accel_texture_palette[134], entry(30, 63));
    EXPECT_EQ(accel_texture_palette[135], entry(10, 135)); // beyond the 64 terrain colours
    EXPECT_EQ(accel_texture_palette[223], entry(10, 223));
    EXPECT_EQ(accel_texture_palette[224], entry(40, 0));   // cockpit
    EXPECT_EQ(accel_texture_palette[255], entry(40, 31));
}

TEST_F(GlideStart, TakesThe3dPaletteFrom3dDataWhenTheWarZoneHasNone) {
    fs::remove(data / "korea.wz/3dpal.rgb");
    start();
    EXPECT_EQ(accel_texture_palette[0] >> 16 & 0xFF, 20u);
}

TEST_F(GlideStart, AShortPaletteFileFillsOnlyTheEntriesItHolds) {
    write("cockpits/cockpits.rgb", triples(3, 40));
    accel_texture_palette[227] = 0x12345678;
    start();
    EXPECT_EQ(accel_texture_palette[226] >> 16 & 0xFF, 40u);
    EXPECT_EQ(accel_texture_palette[227], 0x12345678u);
}

TEST_F(GlideStart, AnyMissingOrShortFileEndsWithStatusMinusOne) {
    const struct {
        const char* file;
        size_t size;  // bytes left; missing when SIZE_MAX
        const char* said;
    } cases[] = {
        {"korea.wz/text64.raw", 194 * 4096 - 1, "TEXT64.RAW"},
        {"korea.wz/text64.raw", SIZE_MAX, "TEXT64.RAW"},
        {"3ddata/smoke5.bmp", SIZE_MAX, "SMOKE5.BMP"},
        {"3ddata/gndexp32.bmp", 2047, "GNDEXP32.BMP"},
        {"3ddata/flkexp20.bmp", 100, "FLKEXP20.BMP"},
        {"korea.wz/terrain.rgb", SIZE_MAX, "terrain.rgb"},
        {"cockpits/cockpits.rgb", SIZE_MAX, "COCKPITS.RGB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Bytes saved = [&] {
            std::ifstream in(data / c.file, std::ios::binary);
            return Bytes(std::istreambuf_iterator<char>(in), {});
        }();
        if (c.size == SIZE_MAX) fs::remove(data / c.file);
        else write(c.file, Bytes(saved.begin(), saved.begin() + long(c.size)));
        EXPECT_EXIT(start(), testing::ExitedWithCode(255), c.said);
        write(c.file, saved);
    }
}

TEST_F(GlideStart, BothFilesMissingForThe3dPaletteEndStartUp) {
    fs::remove(data / "korea.wz/3dpal.rgb");
    fs::remove(data / "3ddata/3dpal.rgb");
    EXPECT_EXIT(start(), testing::ExitedWithCode(255), "3dpal.rgb");
}

TEST_F(GlideStart, AnObjectTextureNarrowerThan64TexelsEndsStartUp) {
    objects[7].width_class = 1;
    EXPECT_EXIT(start(), testing::ExitedWithCode(255), "object texture");
}

TEST_F(GlideStart, FogDensityFollowsTheWeather) {
    start();
    const struct {
        int weather;
        float density;
    } cases[] = {{WEATHER_CLEAR, 3.5e-5f}, {WEATHER_OVERCAST, 3.5e-5f}, {WEATHER_LIGHT_FOG, 3.5e-4f},
                 {WEATHER_THICK_FOG, 3.5e-3f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.weather);
        accel::set_fog_mode(accel::FogMode::DISABLED);
        current_view.weather = c.weather;
        set_fog_density();
        uint8_t expected[accel::FOG_TABLE_SIZE];
        accel::generate_exp2_fog_table(expected, c.density);
        const accel::PipelineState& state = accel::pipeline_state();
        EXPECT_EQ(Bytes(state.fog_table, state.fog_table + accel::FOG_TABLE_SIZE),
                  Bytes(expected, expected + accel::FOG_TABLE_SIZE));
        EXPECT_EQ(state.fog_mode, accel::FogMode::TABLE);
        EXPECT_EQ(state.fog_colour, 0xDAE3E400u);
    }
    // Thicker weather fogs nearer.
    current_view.weather = WEATHER_THICK_FOG;
    set_fog_density();
    const int thick = accel::pipeline_state().fog_table[20];
    current_view.weather = WEATHER_CLEAR;
    set_fog_density();
    EXPECT_GT(thick, accel::pipeline_state().fog_table[20]);
}

TEST_F(GlideStart, PaletteDownloadsChangeOnlyTheirRange) {
    start();
    const Bytes red_green = {255, 0, 0, 0, 255, 0};
    const uint32_t before = accel_texture_palette[12];
    download_palette_part(red_green.data(), 10, 2);
    EXPECT_EQ(accel_texture_palette[10], 0xFFFF0000u);
    EXPECT_EQ(accel_texture_palette[11], 0xFF00FF00u);
    EXPECT_EQ(accel_texture_palette[12], before);
    EXPECT_EQ(accel::texture_source().palette_opaque[11], 0xFF00FF00u);
    download_palette_part(red_green.data(), 255, 2);  // the second triple would lie past the table
    EXPECT_EQ(accel_texture_palette[255], 0xFFFF0000u);
}

}  // namespace
}  // namespace vyr
