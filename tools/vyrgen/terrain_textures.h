// A war zone's text64.raw: two sets of 97 terrain textures of 64 x 64 palette indices (grass,
// farmland, forest, sand, rock, snow, water, town, runway and taxiway markings), all in the
// terrain colours 71..134 so that each zone's terrain.rgb gives them its own look.
#pragma once

#include <cstdint>
#include <vector>

namespace vyr::vyrgen {

constexpr int TERRAIN_TEXTURE_SIZE = 64;
constexpr int TERRAIN_TEXTURES_PER_SET = 97;
constexpr int TERRAIN_TEXTURE_SETS = 2;

enum class TextureKind { GRASS, FARMLAND, FOREST, SAND, ROCK, SNOW, WATER, TOWN, MARKINGS };

// The texture numbers of a kind, the same in both sets: first, first + 1, ... first + count - 1.
struct TextureRange {
    int first;
    int count;
};
TextureRange texture_range(TextureKind kind);

// `zone` varies the patterns from one theatre to the next.
std::vector<uint8_t> terrain_textures(int zone);

}  // namespace vyr::vyrgen
