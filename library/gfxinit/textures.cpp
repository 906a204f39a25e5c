#include "library/gfxinit/textures.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "library/gfxinit/glide.h"
#include "library/gfxinit/texpal.h"
#include "library/os/file.h"
#include "platform/accel/framebuffer.h"
#include "platform/accel/pipeline.h"

namespace vyr {

AccelTexture accel_textures[ACCEL_TEXTURE_COUNT];

namespace accel = platform::accel;

namespace {

constexpr const char* SOURCE = "library/gfxinit/textures";
constexpr int TERRAIN_TEXTURE_BYTES = 64 * 64;
constexpr int OBJECT_WIDTH_CLASS = 2;  // rows of 64 texels

constexpr accel::TextureInfo TERRAIN_INFO{accel::LOD_64, accel::LOD_64, accel::ASPECT_1X1,
                                          accel::TextureFormat::PALETTE_8};

struct EffectFamily {
    const char* pattern;
    int count;
    int width, height;
    accel::TextureInfo info;
};

constexpr accel::TextureInfo effect_info(uint8_t lod, uint8_t aspect) {
    return {lod, lod, aspect, accel::TextureFormat::ALPHA_PALETTE_88};
}

constexpr EffectFamily SMOKE = {"SMOKE%d.BMP", 8, 32, 32, effect_info(accel::LOD_32, accel::ASPECT_1X1)};
// In texture-number order from FIRST_EXPLOSION_TEXTURE.
constexpr EffectFamily EXPLOSIONS[] = {
    {"GNDEXP%d.BMP", 32, 64, 32, effect_info(accel::LOD_64, accel::ASPECT_2X1)},
    {"NEWGND%d.BMP", 32, 64, 32, effect_info(accel::LOD_64, accel::ASPECT_2X1)},
    {"AIREXP%d.BMP", 20, 64, 64, effect_info(accel::LOD_64, accel::ASPECT_1X1)},
    {"AIREXL%d.BMP", 20, 64, 64, effect_info(accel::LOD_64, accel::ASPECT_1X1)},
    {"FLKEXP%d.BMP", 20, 64, 64, effect_info(accel::LOD_64, accel::ASPECT_1X1)},
};

// The texels the records point at; texture memory holds its own copy.
std::vector<uint8_t> terrain_texels;
std::vector<std::vector<uint8_t>> effect_texels;

// Opens a file that must exist: a missing one ends start-up here rather than as a fatal error.
FileHandle* open_required(const std::string& name) {
    if (!check_file_exists(name.c_str())) fail_glide_start("cannot find", name.c_str());
    return open_file(name.c_str(), FILE_ACCESS_READ, FILE_MODE_EXISTING, SOURCE, __LINE__);
}

void place(int number, const accel::TextureInfo& info, const uint8_t* texels, uint32_t& next) {
    accel_textures[number] = {info, texels, next};
    next += accel::texture_memory_required(info);
    if (next > accel::texture_max_address()) fail_glide_start("texture memory is full at texture", std::to_string(number).c_str());
}

// Effect pictures hold one palette index per texel; the texture gets the index and an alpha that
// hides index 0.
int load_effect_family(const char* data_directory, const EffectFamily& family, int number, uint32_t& next) {
    const size_t texels = size_t(family.width) * family.height;
    std::vector<uint8_t> raw(texels);
    for (int i = 1; i <= family.count; ++i, ++number) {
        char file[16];
        std::snprintf(file, sizeof file, family.pattern, i);
        const std::string name = join_path(data_directory, file);
        FileHandle* handle = open_required(name);
        const size_t got = read_file(handle, raw.data(), texels, SOURCE, __LINE__);
        close_file(handle);
        if (got != texels) fail_glide_start("short file", name.c_str());
        std::vector<uint8_t>& texture = effect_texels.emplace_back(2 * texels);
        for (size_t k = 0; k < texels; ++k) {
            texture[2 * k] = raw[k];
            texture[2 * k + 1] = raw[k] ? 0xFF : 0;
        }
        place(number, family.info, texture.data(), next);
    }
    return number;
}

void load_terrain_textures(const char* war_zone_directory, uint32_t& next) {
    const std::string name = join_path(war_zone_directory, "TEXT64.RAW");
    FileHandle* handle = open_required(name);
    terrain_texels.assign(size_t(TERRAIN_TEXTURE_COUNT) * TERRAIN_TEXTURE_BYTES, 0);
    const size_t got = read_file(handle, terrain_texels.data(), terrain_texels.size(), SOURCE, __LINE__);
    close_file(handle);
    if (got != terrain_texels.size()) fail_glide_start("short file", name.c_str());
    for (int i = 0; i < TERRAIN_TEXTURE_COUNT; ++i)
        place(i, TERRAIN_INFO, terrain_texels.data() + size_t(i) * TERRAIN_TEXTURE_BYTES, next);
}

void load_palettes(const GlideFiles& files) {
    std::string palette = join_path(files.war_zone_directory, "3dpal.rgb");
    if (!check_file_exists(palette.c_str())) palette = join_path(files.data_directory, "3dpal.rgb");
    load_accel_palette(palette.c_str(), 0, 223);
    load_accel_palette("COCKPITS\\COCKPITS.RGB", 224, 255);
    load_accel_palette(join_path(files.war_zone_directory, "terrain.rgb").c_str(), 71, 135);
}

}  // namespace

void load_smoke_textures(const char* data_directory, uint32_t& next) {
    load_effect_family(data_directory, SMOKE, FIRST_SMOKE_TEXTURE, next);
}

void load_explosion_textures(const char* data_directory, uint32_t& next) {
    int number = FIRST_EXPLOSION_TEXTURE;
    for (const EffectFamily& family : EXPLOSIONS) number = load_effect_family(data_directory, family, number, next);
}

void place_object_textures(TextureRecord* const* table, int count, uint32_t& next) {
    for (int i = 0; i < OBJECT_TEXTURE_COUNT && i < count && table; ++i) {
        const TextureRecord* texture = table[i];
        if (!texture) continue;
        // The accelerator reads 64 x 64 texels from it, so a narrower one would be overrun.
        if (texture->width_class != OBJECT_WIDTH_CLASS || !texture->texels)
            fail_glide_start("object texture is not 64 texels wide:", std::to_string(i).c_str());
        place(FIRST_OBJECT_TEXTURE + i, TERRAIN_INFO, texture->texels, next);
    }
}

void replace_terrain_textures(const uint8_t* texels) {
    if (!accel::display_open() || terrain_texels.empty()) return;
    std::copy_n(texels, terrain_texels.size(), terrain_texels.begin());
    for (int i = 0; i < TERRAIN_TEXTURE_COUNT; ++i)
        accel::download_texture(accel_textures[i].start_address, TERRAIN_INFO, terrain_texels.data() + size_t(i) * TERRAIN_TEXTURE_BYTES);
}

void load_accel_textures(const GlideFiles& files) {
    for (AccelTexture& texture : accel_textures) texture = {};
    effect_texels.clear();
    uint32_t next = accel::texture_min_address();
    load_terrain_textures(files.war_zone_directory, next);
    load_smoke_textures(files.data_directory, next);
    load_explosion_textures(files.data_directory, next);
    place_object_textures(files.object_textures, files.object_texture_count, next);
    for (int i = 0; i < ACCEL_TEXTURE_COUNT; ++i) {
        const AccelTexture& texture = accel_textures[i];
        if (texture.texels && !accel::download_texture(texture.start_address, texture.info, texture.texels))
            fail_glide_start("cannot download texture", std::to_string(i).c_str());
    }
    load_palettes(files);
    accel::set_alpha_test(accel::AlphaTest::GREATER);
    accel::set_alpha_reference(0);
    accel::set_texture_filter(accel::TextureFilter::BILINEAR);
    accel::set_texture_clamp(accel::TextureClamp::CLAMP);
}

}  // namespace vyr
