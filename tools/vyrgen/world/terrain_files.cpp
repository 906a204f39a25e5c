#include "tools/vyrgen/world/terrain_files.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>

#include "tools/vyrgen/noise.h"
#include "tools/vyrgen/rgb_palettes.h"
#include "tools/vyrgen/terrain_textures.h"
#include "tools/vyrgen/war_zones.h"
#include "tools/vyrgen/world/theatre.h"

namespace vyr::vyrgen {

namespace {

constexpr int SIZE = TERRAIN_TEXTURE_SIZE;
constexpr int REGULAR = TERRAIN_TEXTURES_PER_SET;
constexpr int SPECIAL = 31;
constexpr int WRAPPED_TEXTURE = 6;  // repeated eleven times across a cell at the highest detail
constexpr uint8_t DIAGONAL = 0x40;
constexpr uint8_t DRAW_AT_ONCE = 0x80;
constexpr double PI = 3.14159265358979323846;

// The sun of the baked post light: from the north-west, 45 degrees up.
constexpr double SUN[3] = {-0.5, 0.5, 0.70710678};

using Texels = std::vector<uint8_t>;

const uint8_t* texture_of(const Texels& textures, int number, int set) {
    return textures.data() + size_t(set * REGULAR + number) * SIZE * SIZE;
}

// Colour of a texture as one palette index: the mean of its texels, which keep to one ramp.
uint8_t mean_colour(const Texels& textures, int number, int set) {
    const uint8_t* texels = texture_of(textures, number, set);
    int sum = 0;
    for (int k = 0; k < SIZE * SIZE; ++k) sum += texels[k];
    return uint8_t((sum + SIZE * SIZE / 2) / (SIZE * SIZE));
}

TextureKind texture_kind(Ground ground) {
    switch (ground) {
    case Ground::SEA:
    case Ground::LAKE: return TextureKind::WATER;
    case Ground::FARMLAND: return TextureKind::FARMLAND;
    case Ground::FOREST: return TextureKind::FOREST;
    case Ground::SAND: return TextureKind::SAND;
    case Ground::ROCK: return TextureKind::ROCK;
    case Ground::SNOW: return TextureKind::SNOW;
    case Ground::TOWN: return TextureKind::TOWN;
    case Ground::GRASS:
    case Ground::AIRFIELD: return TextureKind::GRASS;
    }
    return TextureKind::GRASS;
}

// The colour pair the software renderer shades a triangle of this ground with.
uint8_t terrain_class(Ground ground) {
    switch (ground) {
    case Ground::SEA:
    case Ground::LAKE: return 6;
    case Ground::FOREST: return 5;
    case Ground::FARMLAND: return 1;
    case Ground::SAND: return 2;
    case Ground::ROCK:
    case Ground::SNOW:
    case Ground::TOWN: return 4;
    case Ground::GRASS:
    case Ground::AIRFIELD: return 0;
    }
    return 0;
}

// A texture of the ground's kind, varied from cell to cell (never the one drawn repeated).
int texture_number(Ground ground, int i, int j, uint32_t seed) {
    const TextureRange range = texture_range(texture_kind(ground));
    int number = range.first + int(mix_bits(seed ^ uint32_t(i * 4099 + j) * 0x9E3779B9u) % uint32_t(range.count));
    if (number == WRAPPED_TEXTURE) ++number;
    return number;
}

struct Vec {
    double x, y, z;
};

Vec normalised(Vec v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / length, v.y / length, v.z / length};
}

void put_normal(uint8_t* out, Vec n) {
    n = normalised(n);
    out[0] = uint8_t(int8_t(std::lround(n.x * 127)));
    out[1] = uint8_t(int8_t(std::lround(n.y * 127)));
    out[2] = uint8_t(int8_t(std::lround(n.z * 127)));
}

// Upward normal of the triangle through three posts given as (i, j) offsets and heights.
Vec face_normal(const std::array<Vec, 3>& p) {
    const Vec a = {p[1].x - p[0].x, p[1].y - p[0].y, p[1].z - p[0].z};
    const Vec b = {p[2].x - p[0].x, p[2].y - p[0].y, p[2].z - p[0].z};
    Vec n = {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    if (n.z < 0) n = {-n.x, -n.y, -n.z};
    return n;
}

class PostWriter {
public:
    PostWriter(const TheatreLayout& layout, const Texels& textures) : layout_(layout), textures_(textures) {}

    std::vector<uint8_t> write() {
        std::vector<uint8_t> out(POST_FILE_SIZE);
        for (int i = 0; i < POSTS; ++i)
            for (int j = 0; j < POSTS; ++j) write_post(i, j, out.data() + (size_t(i) * POSTS + j) * 18);
        return out;
    }

private:
    double height(int i, int j) const {
        return layout_.height(std::clamp(i, 0, POSTS - 1), std::clamp(j, 0, POSTS - 1));
    }
    Vec corner(int i, int j) const { return {double(i) * FEET_PER_POST, double(j) * FEET_PER_POST, height(i, j)}; }

    void write_post(int i, int j, uint8_t* p) {
        const uint16_t h = layout_.height(i, j);
        p[0] = uint8_t(h), p[1] = uint8_t(h >> 8);
        const Vec n = normalised({height(i - 1, j) - height(i + 1, j), height(i, j - 1) - height(i, j + 1),
                                  2 * FEET_PER_POST});
        const double lit = n.x * SUN[0] + n.y * SUN[1] + n.z * SUN[2];
        p[2] = uint8_t(std::lround(255 * std::clamp(0.25 + 0.75 * lit, 0.0, 1.0)));
        put_normal(p + 3, n);
        if (i < CELLS && j < CELLS) write_cell(i, j, p);
    }

    void write_cell(int i, int j, uint8_t* p) {
        const Vec a = corner(i, j), b = corner(i, j + 1), c = corner(i + 1, j), d = corner(i + 1, j + 1);
        // Split along the diagonal whose ends differ least, so ridges and valleys keep their line;
        // flat cells alternate, which varies their texture set.
        const double ad = std::fabs(a.z - d.z), bc = std::fabs(b.z - c.z);
        const bool diagonal = ad == bc ? ((i + j) & 1) != 0 : ad < bc;
        put_normal(p + 6, face_normal(diagonal ? std::array{a, b, d} : std::array{a, b, c}));
        put_normal(p + 9, face_normal(diagonal ? std::array{a, c, d} : std::array{b, c, d}));
        const Ground ground = layout_.ground_at(i, j);
        const int set = diagonal ? 0 : 1;
        const int number = texture_number(ground, i, j, uint32_t(layout_.zone) * 0x2545F491u);
        p[12] = p[13] = mean_colour(textures_, number, set);
        const uint8_t cls = terrain_class(ground);
        p[14] = uint8_t(cls | cls << 3 | (diagonal ? DIAGONAL : 0));
        // Features are drawn over these at once; sorted with the objects they would cover them.
        const uint8_t texture = uint8_t(number | (layout_.is_under_feature(i, j) ? DRAW_AT_ONCE : 0));
        p[15] = p[16] = texture;
        p[17] = 0;
    }

    const TheatreLayout& layout_;
    const Texels& textures_;
};

// Each 32 x 32 texel is the 2 x 2 block it stands for: their mean when they share a ramp, else
// its first texel (a mean across ramps would be another colour altogether).
std::vector<uint8_t> small_textures(const Texels& textures) {
    std::vector<uint8_t> out(SMALL_TEXTURES_SIZE);
    const TerrainRamp ramps[] = {FOREST_RAMP, GRASS_RAMP, EARTH_RAMP, STONE_RAMP, WATER_RAMP};
    auto ramp_of = [&](uint8_t colour) {
        for (int r = 0; r < 5; ++r)
            if (colour >= ramps[r].first && colour < ramps[r].first + ramps[r].count) return r;
        return -1;
    };
    for (int t = 0; t < 2 * REGULAR; ++t) {
        const uint8_t* in = textures.data() + size_t(t) * SIZE * SIZE;
        uint8_t* small = out.data() + size_t(t) * 32 * 32;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const uint8_t q[4] = {in[2 * y * SIZE + 2 * x], in[2 * y * SIZE + 2 * x + 1], in[(2 * y + 1) * SIZE + 2 * x],
                                      in[(2 * y + 1) * SIZE + 2 * x + 1]};
                const bool one_ramp = std::all_of(q, q + 4, [&](uint8_t c) { return ramp_of(c) == ramp_of(q[0]); });
                small[y * 32 + x] = one_ramp ? uint8_t((q[0] + q[1] + q[2] + q[3] + 2) / 4) : q[0];
            }
    }
    return out;
}

// Shores: sand meeting water along a ragged line, turned a little further for each number.
std::vector<uint8_t> special_textures(const Texels& textures, int zone) {
    std::vector<uint8_t> out(SPECIAL_TEXTURES_SIZE);
    const int sand = texture_range(TextureKind::SAND).first, water = texture_range(TextureKind::WATER).first;
    for (int set = 0; set < 2; ++set)
        for (int n = 0; n < SPECIAL; ++n) {
            const double angle = 2 * PI * n / SPECIAL;
            const uint8_t* beach = texture_of(textures, sand + n % 4, set);
            const uint8_t* sea = texture_of(textures, water + n % 4, set);
            uint8_t* texels = out.data() + size_t(set * SPECIAL + n) * SIZE * SIZE;
            const uint32_t seed = uint32_t(zone * 64 + set * SPECIAL + n);
            for (int y = 0; y < SIZE; ++y)
                for (int x = 0; x < SIZE; ++x) {
                    const double across = (x - SIZE / 2.0) * std::cos(angle) + (y - SIZE / 2.0) * std::sin(angle);
                    const double edge = 10 * (fractal_noise(x, y, SIZE, 4, 3, seed) - 0.5);
                    texels[y * SIZE + x] = across + edge < 0 ? beach[y * SIZE + x] : sea[y * SIZE + x];
                }
        }
    return out;
}

// The 64 sub-triangles of a cell's triangle: corners sub (0, 0), (0, 8) and (8, 0) at texture
// positions, in the order the near-terrain renderer consumes their colours.
std::vector<uint8_t> detail_colours(const Texels& textures) {
    std::vector<uint8_t> out(DETAIL_COLOURS_SIZE);
    // Texture positions of the posts, u east, v south: A south-west, B north-west, C south-east,
    // D north-east.
    const Point A = {0, 64}, B = {0, 0}, C = {64, 64}, D = {64, 0};
    struct Block {
        Point s00, s08, s80;
        int set;
    };
    const Block blocks[4] = {{B, A, D, 0}, {C, D, A, 0}, {A, C, B, 1}, {D, B, C, 1}};
    for (int b = 0; b < 4; ++b) {
        const Block& block = blocks[b];
        auto sub = [&](int k, int l) { return block.s00 + (block.s80 - block.s00) * (k / 8.0) + (block.s08 - block.s00) * (l / 8.0); };
        for (int t = 0; t < REGULAR; ++t) {
            const uint8_t* texels = texture_of(textures, t, block.set);
            uint8_t* colours = out.data() + size_t(b * REGULAR + t) * 64;
            int next = 0;
            auto colour_at = [&](Point p, Point q, Point r) {
                const Point centre = (p + q + r) * (1.0 / 3);
                const int x = std::clamp(int(centre.x), 0, SIZE - 1), y = std::clamp(int(centre.y), 0, SIZE - 1);
                colours[next++] = texels[y * SIZE + x];
            };
            for (int l = 0; l < 8; ++l)
                for (int k = 0; k <= 7 - l; ++k) {
                    colour_at(sub(k, l + 1), sub(k, l), sub(k + 1, l));
                    if (k != 7 - l) colour_at(sub(k + 1, l), sub(k + 1, l + 1), sub(k, l + 1));
                }
        }
    }
    return out;
}

// The backdrop's ground, as an offset into the terrain colours: the colour of the commonest land.
std::vector<uint8_t> ground_colour(const TheatreLayout& layout, const Texels& textures) {
    std::map<Ground, int> counts;
    for (int i = 0; i < CELLS; ++i)
        for (int j = 0; j < CELLS; ++j)
            if (layout.ground_at(i, j) != Ground::SEA) ++counts[layout.ground_at(i, j)];
    const auto commonest = std::max_element(counts.begin(), counts.end(),
                                            [](const auto& a, const auto& b) { return a.second < b.second; });
    const int number = texture_range(texture_kind(commonest->first)).first;
    return {0, uint8_t(mean_colour(textures, number, 0) - FOREST_RAMP.first)};
}

}  // namespace

std::vector<DataFile> terrain_files() {
    std::vector<DataFile> files;
    for (size_t zone = 0; zone < WAR_ZONES.size(); ++zone) {
        const std::string directory = WAR_ZONES[zone].directory;
        const Texels textures = terrain_textures(int(zone));
        const TheatreLayout& layout = theatre_layout(int(zone));
        files.push_back({directory + "/fxgrdpst.bin", PostWriter(layout, textures).write()});
        files.push_back({directory + "/terrtext.bmp", small_textures(textures)});
        files.push_back({directory + "/text64sp.raw", special_textures(textures, int(zone))});
        files.push_back({directory + "/terrcols.bin", ground_colour(layout, textures)});
    }
    // One for every theatre: the textures of a number are of the same kind in all of them.
    files.push_back({"3ddata/terrtext.cmp", detail_colours(terrain_textures(0))});
    return files;
}

}  // namespace vyr::vyrgen
