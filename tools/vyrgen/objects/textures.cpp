#include "tools/vyrgen/objects/textures.h"

#include <algorithm>
#include <cmath>

#include "tools/vyrgen/noise.h"
#include "tools/vyrgen/objects/mesh.h"

namespace vyr::vyrgen {

namespace {

constexpr int SIZE = 64;
constexpr int SIZE_CLASS = 2;  // rows of 64 texels

// Entry 2 + 6k must show the picture of entry k; below 43 both are entries, so they share one.
int picture_root(int entry) {
    while (entry >= 2 && (entry - 2) % 6 == 0) entry = (entry - 2) / 6;
    return entry;
}

Image camouflage(uint8_t a, uint8_t b, uint8_t c, uint32_t seed) {
    Image image(SIZE, SIZE);
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            const double n = fractal_noise(x, y, SIZE, 4, 3, seed);
            image.at(x, y) = n < 0.42 ? a : n < 0.6 ? b : c;
        }
    return image;
}

Image picture(Skin skin) {
    Image image(SIZE, SIZE, colour::LIGHT_GREY);
    switch (skin) {
    case Skin::WINDOWS:
        for (int y = 0; y < SIZE; ++y)
            for (int x = 0; x < SIZE; ++x) {
                const bool window = (x % 16) >= 4 && (x % 16) < 12 && (y % 16) >= 5 && (y % 16) < 12;
                image.at(x, y) = window ? ((x / 16 + y / 16) % 3 == 0 ? colour::BLUE_GREY : colour::DARK_BLUE)
                                        : colour::LIGHT_GREY;
            }
        break;
    case Skin::CAMOUFLAGE:
        return camouflage(colour::OLIVE, colour::DARK_OLIVE, colour::BROWN, 11);
    case Skin::DESERT_CAMO:
        return camouflage(colour::SAND, colour::TAN, colour::BROWN, 23);
    case Skin::ROOF:
        for (int y = 0; y < SIZE; ++y)
            for (int x = 0; x < SIZE; ++x) image.at(x, y) = (x % 8) < 2 ? colour::DARK_GREY : colour::GREY;
        break;
    case Skin::BRICK:
        for (int y = 0; y < SIZE; ++y)
            for (int x = 0; x < SIZE; ++x) {
                const int shifted = x + ((y / 8) % 2) * 8;
                image.at(x, y) = (y % 8 == 7 || shifted % 16 == 15) ? colour::SAND : colour::BROWN;
            }
        break;
    case Skin::HULL:
        for (int y = 0; y < SIZE; ++y)
            for (int x = 0; x < SIZE; ++x)
                image.at(x, y) = (y % 32 == 0 || x % 21 == 0) ? colour::NAVY_GREY : colour::BLUE_GREY;
        break;
    case Skin::SHUTTER:
        for (int y = 0; y < SIZE; ++y)
            for (int x = 0; x < SIZE; ++x) image.at(x, y) = (y % 4) == 0 ? colour::DARK_GREY : colour::GREY;
        break;
    }
    return image;
}

}  // namespace

Image object_texture(int k) {
    const int root = picture_root(k);
    for (Skin skin : {Skin::WINDOWS, Skin::CAMOUFLAGE, Skin::ROOF, Skin::BRICK, Skin::DESERT_CAMO, Skin::HULL,
                      Skin::SHUTTER})
        if (int(skin) == root) return picture(skin);
    // Textures no face uses: a plain weathered grey.
    Image image(SIZE, SIZE);
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x)
            image.at(x, y) = fractal_noise(x, y, SIZE, 4, 2, uint32_t(root)) < 0.5 ? colour::GREY : colour::LIGHT_GREY;
    return image;
}

std::vector<uint8_t> encode_object_textures() {
    std::vector<int> pictures(OBJECT_TEXTURE_ENTRIES, -1);
    for (int k = 0; k < ACCEL_OBJECT_TEXTURES; ++k) {
        pictures[size_t(k)] = k;
        pictures[size_t(2 + 6 * k)] = k;
    }
    std::vector<uint8_t> out;
    auto i32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
    };
    i32(OBJECT_TEXTURE_ENTRIES);
    const size_t table = out.size();
    out.resize(table + 4 * OBJECT_TEXTURE_ENTRIES, 0);
    for (int e = 0; e < OBJECT_TEXTURE_ENTRIES; ++e) {
        if (pictures[size_t(e)] < 0) continue;
        const uint32_t at = uint32_t(out.size());
        for (int i = 0; i < 4; ++i) out[table + 4 * size_t(e) + size_t(i)] = uint8_t(at >> (8 * i));
        i32(SIZE_CLASS);
        i32(SIZE);
        i32(0);  // the pixel address, made at load
        const Image image = object_texture(pictures[size_t(e)]);
        out.insert(out.end(), image.pixels.begin(), image.pixels.end());
    }
    return out;
}

}  // namespace vyr::vyrgen
