#include "tools/vyrgen/terrain_textures.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/vyrgen/noise.h"
#include "tools/vyrgen/rgb_palettes.h"

namespace vyr::vyrgen {

namespace {

constexpr int SIZE = TERRAIN_TEXTURE_SIZE;
constexpr double PI = 3.14159265358979323846;

using Kind = TextureKind;

struct KindRange {
    Kind kind;
    int count;
};

// In texture-number order; 97 in all.
constexpr KindRange KINDS[] = {
    {Kind::GRASS, 16}, {Kind::FARMLAND, 16}, {Kind::FOREST, 12}, {Kind::SAND, 12}, {Kind::ROCK, 12},
    {Kind::SNOW, 8},   {Kind::WATER, 8},     {Kind::TOWN, 6},    {Kind::MARKINGS, 7},
};

uint8_t pick(TerrainRamp ramp, double value) {
    return uint8_t(ramp.first + std::clamp(int(value * ramp.count), 0, ramp.count - 1));
}

double jitter(int x, int y, uint32_t seed) {
    return double(mix_bits(seed ^ uint32_t(y * SIZE + x) * 0x85EBCA6Bu) & 0xFFFF) / 65536.0 - 0.5;
}

struct Texture {
    uint8_t* texels;
    uint32_t seed;
    int variant;  // position within its kind

    double noise(int x, int y, int cells, int octaves = 3, uint32_t salt = 0) const {
        return fractal_noise(x, y, SIZE, cells, octaves, seed + salt);
    }
    void fill(const std::function<uint8_t(int, int)>& colour) {
        for (int y = 0; y < SIZE; ++y)
            for (int x = 0; x < SIZE; ++x) texels[y * SIZE + x] = colour(x, y);
    }
};

void grass(Texture& t) {
    const double base = 0.3 + 0.03 * (t.variant % 8);
    t.fill([&](int x, int y) { return pick(GRASS_RAMP, base + 0.45 * t.noise(x, y, 4) + 0.12 * jitter(x, y, t.seed)); });
}

// Two or three fields side by side, ploughed along their length.
void farmland(Texture& t) {
    const bool across = t.variant & 1;
    const int fields = 2 + (t.variant >> 1) % 2;
    t.fill([&](int x, int y) {
        const int along = across ? x : y, side = across ? y : x;
        const int field = side * fields / SIZE;
        const uint32_t kind = mix_bits(t.seed + uint32_t(field));
        const TerrainRamp ramp = kind & 1 ? GRASS_RAMP : EARTH_RAMP;
        const double furrow = (along % 4 == 0 ? -0.12 : 0.0) + (side % (SIZE / fields) == 0 ? -0.2 : 0.0);
        const double level = 0.35 + 0.25 * double(kind >> 8 & 0xFF) / 255.0;
        return pick(ramp, level + furrow + 0.15 * t.noise(x, y, 8, 2) + 0.08 * jitter(x, y, t.seed));
    });
}

void forest(Texture& t) {
    t.fill([&](int x, int y) {
        const double crowns = t.noise(x, y, 16, 2);
        return pick(FOREST_RAMP, 0.15 + 0.8 * crowns * crowns * 1.6 + 0.1 * jitter(x, y, t.seed));
    });
}

void sand(Texture& t) {
    const double angle = PI * t.variant / 12;
    t.fill([&](int x, int y) {
        const double along = x * std::cos(angle) + y * std::sin(angle);
        const double ripple = std::sin(2 * PI * (along / 16 + 2 * t.noise(x, y, 4, 2)));
        return pick(EARTH_RAMP, 0.62 + 0.08 * ripple + 0.15 * t.noise(x, y, 8) + 0.06 * jitter(x, y, t.seed));
    });
}

void rock(Texture& t) {
    t.fill([&](int x, int y) {
        const double ridge = 1 - std::fabs(2 * t.noise(x, y, 8, 3, 7) - 1);
        return pick(STONE_RAMP, 0.15 + 0.4 * t.noise(x, y, 4) + 0.3 * ridge * ridge + 0.1 * jitter(x, y, t.seed));
    });
}

void snow(Texture& t) {
    const double rock_share = 0.15 + 0.05 * t.variant;
    t.fill([&](int x, int y) {
        const double n = t.noise(x, y, 8);
        if (n < rock_share) return pick(STONE_RAMP, 0.3 + n);
        return pick(STONE_RAMP, 0.8 + 0.2 * t.noise(x, y, 16, 2, 3) + 0.05 * jitter(x, y, t.seed));
    });
}

void water(Texture& t) {
    t.fill([&](int x, int y) {
        const double wave = std::sin(2 * PI * (y / 8.0 + x / 32.0 + 1.5 * t.noise(x, y, 4, 2)));
        return pick(WATER_RAMP, 0.45 + 0.2 * wave + 0.2 * t.noise(x, y, 8) + 0.05 * jitter(x, y, t.seed));
    });
}

// Streets on a 16-texel grid with buildings in the blocks between them.
void town(Texture& t) {
    t.fill([&](int x, int y) {
        const int bx = x / 16, by = y / 16, lx = x % 16, ly = y % 16;
        if (lx < 3 || ly < 3) return pick(STONE_RAMP, 0.2 + 0.05 * jitter(x, y, t.seed));
        const uint32_t block = mix_bits(t.seed + uint32_t(by * 4 + bx));
        const int inset = 4 + int(block % 3);
        if (lx < inset || ly < inset || lx > 16 - inset / 2 || ly > 16 - inset / 2)
            return pick(GRASS_RAMP, 0.4 + 0.2 * t.noise(x, y, 8));
        const bool lit_side = lx < inset + 2 || ly < inset + 2;
        return pick(STONE_RAMP, (block >> 8 & 1 ? 0.55 : 0.7) + (lit_side ? 0.15 : 0.0));
    });
}

// Asphalt with paint: runway centre dashes, edge lines, threshold bars, touchdown bars; taxiway
// centre line, edge lines, hold line.
void markings(Texture& t) {
    const uint8_t white = uint8_t(STONE_RAMP.first + STONE_RAMP.count - 1);
    const uint8_t yellow = uint8_t(PAINT_YELLOW_COLOUR);
    t.fill([&](int x, int y) -> uint8_t {
        const double wear = t.noise(x, y, 16, 2);
        const bool paint_shows = wear > 0.25;
        bool white_paint = false, yellow_paint = false;
        switch (t.variant) {
        case 0: white_paint = x >= 30 && x < 34 && y % 32 < 20; break;
        case 1: white_paint = x >= 4 && x < 7; break;
        case 2: white_paint = (x % 8 >= 2 && x % 8 < 6) && y >= 8 && y < 56; break;
        case 3: white_paint = (x >= 12 && x < 20) || (x >= 44 && x < 52) ? y % 32 < 24 : false; break;
        case 4: yellow_paint = x >= 31 && x < 33; break;
        case 5: yellow_paint = (x >= 3 && x < 5) || (x >= 7 && x < 9); break;
        default: yellow_paint = (y >= 24 && y < 26) || (y >= 28 && y < 30) || (y >= 34 && y < 40 && x % 8 < 5); break;
        }
        if (paint_shows && white_paint) return white;
        if (paint_shows && yellow_paint) return yellow;
        return pick(STONE_RAMP, 0.1 + 0.15 * wear + 0.06 * jitter(x, y, t.seed));
    });
}

void draw(Kind kind, Texture& t) {
    switch (kind) {
    case Kind::GRASS: return grass(t);
    case Kind::FARMLAND: return farmland(t);
    case Kind::FOREST: return forest(t);
    case Kind::SAND: return sand(t);
    case Kind::ROCK: return rock(t);
    case Kind::SNOW: return snow(t);
    case Kind::WATER: return water(t);
    case Kind::TOWN: return town(t);
    case Kind::MARKINGS: return markings(t);
    }
}

}  // namespace

TextureRange texture_range(TextureKind kind) {
    int first = 0;
    for (const KindRange& range : KINDS) {
        if (range.kind == kind) return {first, range.count};
        first += range.count;
    }
    return {0, 0};
}

std::vector<uint8_t> terrain_textures(int zone) {
    std::vector<uint8_t> out(size_t(TERRAIN_TEXTURE_SETS) * TERRAIN_TEXTURES_PER_SET * SIZE * SIZE);
    for (int set = 0; set < TERRAIN_TEXTURE_SETS; ++set) {
        int number = 0;
        for (const KindRange& range : KINDS) {
            for (int variant = 0; variant < range.count; ++variant, ++number) {
                const int index = set * TERRAIN_TEXTURES_PER_SET + number;
                Texture texture{out.data() + size_t(index) * SIZE * SIZE,
                                mix_bits(uint32_t(zone * 1000 + index) * 0x9E3779B9u), variant};
                draw(range.kind, texture);
            }
        }
    }
    return out;
}

}  // namespace vyr::vyrgen
