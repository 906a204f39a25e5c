// The accelerator textures, by number: 0..193 the terrain of the war zone, 194..201 smoke,
// 202..325 the explosion animations, 326..368 the first object textures. Placed back to back
// from the bottom of texture memory once at start-up; only the terrain's texels change later.
#pragma once

#include <cstdint>

#include "library/graphics/poly_types.h"
#include "platform/accel/textures.h"

namespace vyr {

constexpr int ACCEL_TEXTURE_COUNT = 370;  // numbers 0..369; the last stays empty
constexpr int TERRAIN_TEXTURE_COUNT = 194;
constexpr int FIRST_SMOKE_TEXTURE = 194;
constexpr int SMOKE_TEXTURE_COUNT = 8;
constexpr int FIRST_EXPLOSION_TEXTURE = 202;
constexpr int FIRST_OBJECT_TEXTURE = 326;
constexpr int OBJECT_TEXTURE_COUNT = 43;

struct AccelTexture {
    platform::accel::TextureInfo info;  // all zero in an empty record
    const uint8_t* texels;
    uint32_t start_address;
};

extern AccelTexture accel_textures[ACCEL_TEXTURE_COUNT];

// The world's directories, each ending in a backslash ("3DDATA\", "KOREA.WZ\"), and OBJTEXT.BIN's
// texture table, whose first textures become the object textures.
struct GlideFiles {
    const char* data_directory;
    const char* war_zone_directory;
    TextureRecord* const* object_textures;  // null entries, or a null table, place nothing
    int object_texture_count;
};

// Places every family, downloads all of them and sets the texture state: alpha-tested texels
// (alpha 0 is not drawn), bilinear filtering, clamped coordinates.
void load_accel_textures(const GlideFiles& files);

// Each places one family from `next`, the first free texture-memory address, and moves it on.
void load_smoke_textures(const char* data_directory, uint32_t& next);
void load_explosion_textures(const char* data_directory, uint32_t& next);
void place_object_textures(TextureRecord* const* table, int count, uint32_t& next);

// Once the accelerator is open, puts the texels of a new war zone's TEXT64.RAW (both sets, 194
// textures of 64 x 64) into terrain textures 0..193 at their addresses; before that it does nothing.
void replace_terrain_textures(const uint8_t* texels);

}  // namespace vyr
