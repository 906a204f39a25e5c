#include "tools/vyrgen/world/sky.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "tools/vyrgen/pictures/canvas.h"
#include "tools/vyrgen/noise.h"
#include "tools/vyrgen/rgb_palettes.h"
#include "tools/vyrgen/war_zones.h"

namespace vyr::vyrgen {

namespace {

struct SkyLook {
    Colour lone;               // 155: the shaded underside of a cloud
    Colour top, low, horizon;  // 156, 165 and 167 (166 lies between the last two)
};

// Clear: a deep blue overhead paling to a hazy horizon. Overcast: the grey underside of the
// deck. Above: a darker blue over the white top of the deck.
constexpr SkyLook CLEAR_SKY = {{118, 128, 148}, {38, 78, 160}, {150, 182, 222}, {206, 216, 230}};
constexpr SkyLook OVERCAST_SKY = {{84, 86, 92}, {98, 102, 110}, {150, 153, 158}, {172, 174, 178}};
constexpr SkyLook ABOVE_SKY = {{150, 156, 168}, {22, 52, 132}, {130, 168, 218}, {236, 238, 242}};

struct FogLook {
    Colour near_clear, far_clear;  // fog.rgb, dark to light
    Colour near_dull, far_dull;    // fogdull.rgb
};

FogLook fog_of(Climate climate) {
    switch (climate) {
    case Climate::TEMPERATE:
        return {{120, 136, 152}, {204, 214, 228}, {110, 114, 120}, {172, 174, 178}};
    case Climate::MEDITERRANEAN:
        return {{128, 148, 168}, {208, 220, 232}, {116, 120, 126}, {176, 178, 182}};
    case Climate::DESERT:
        return {{156, 146, 128}, {226, 220, 206}, {128, 124, 116}, {184, 182, 176}};
    case Climate::MOUNTAIN:
        return {{112, 126, 146}, {200, 212, 228}, {104, 108, 116}, {168, 170, 176}};
    }
    return {};
}

Colour mix(const Colour& a, const Colour& b, double t) {
    Colour c;
    for (int k = 0; k < 3; ++k) c[k] = uint8_t(std::lround(a[k] + (b[k] - a[k]) * t));
    return c;
}

std::vector<uint8_t> sky_set(const SkyLook& look) {
    std::vector<uint8_t> bytes;
    auto put = [&bytes](const Colour& c) { bytes.insert(bytes.end(), c.begin(), c.end()); };
    put(look.lone);
    // The top of the ramp changes slowly and the last steps quickly, as the sky pales near the
    // horizon.
    for (int i = 0; i < 10; ++i) put(mix(look.top, look.low, std::pow(i / 9.0, 1.4)));
    put(mix(look.low, look.horizon, 0.5));
    put(look.horizon);
    return bytes;
}

std::vector<uint8_t> fog_ramp(const Colour& near, const Colour& far) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < FOG_COLOURS; ++i) {
        const Colour c = mix(near, far, i / double(FOG_COLOURS - 1));
        bytes.insert(bytes.end(), c.begin(), c.end());
    }
    return bytes;
}

// Each colour seen through the canopy: a little darker and bluer, as the nearest colour of the
// theatre's palette that the glass may show (objects, terrain, fog and the greys).
std::vector<uint8_t> glass_remap(Climate climate) {
    std::vector<uint8_t> palette = three_d_palette();
    const std::vector<uint8_t> terrain = terrain_palette(climate);
    std::copy(terrain.begin(), terrain.end(), palette.begin() + 3 * FOREST_RAMP.first);
    auto allowed = [](int c) { return (c >= 2 && c <= 154) || (c >= 192 && c <= 207); };
    std::vector<uint8_t> remap(256);
    for (int c = 0; c < 256; ++c) {
        if (c >= THREE_D_COLOURS || !allowed(c)) {
            remap[c] = uint8_t(c);
            continue;
        }
        const double target[3] = {palette[3 * c] * 0.78, palette[3 * c + 1] * 0.82 + 4, palette[3 * c + 2] * 0.86 + 12};
        int best = c;
        double best_distance = 1e30;
        for (int k = 0; k < THREE_D_COLOURS; ++k) {
            if (!allowed(k)) continue;
            double distance = 0;
            for (int i = 0; i < 3; ++i) distance += std::pow(palette[3 * k + i] - target[i], 2);
            if (distance < best_distance) {
                best_distance = distance;
                best = k;
            }
        }
        remap[c] = uint8_t(best);
    }
    return remap;
}

// A direction of the upper half of the sky, as the largest component held to 32 grid steps,
// favouring a band across the sky as the galaxy's stars do.
struct Direction {
    int x, y, z;
};

double random_unit(uint32_t& seed) {
    seed = mix_bits(seed + 0x9E3779B9u);
    return (seed >> 8) / double(1u << 24);
}

Direction star_direction(uint32_t& seed) {
    // The band's pole, tilted well away from the zenith.
    const double pole[3] = {0.55, -0.35, 0.76};
    for (;;) {
        const double z = random_unit(seed), angle = random_unit(seed) * 2 * M_PI;
        const double across = std::sqrt(1 - z * z);
        const double d[3] = {across * std::cos(angle), across * std::sin(angle), z};
        const double band = d[0] * pole[0] + d[1] * pole[1] + d[2] * pole[2];
        const double keep = 0.35 + 0.65 * std::exp(-band * band / 0.02);
        if (random_unit(seed) > keep) continue;
        const double scale = 32.0 / std::max({std::fabs(d[0]), std::fabs(d[1]), std::fabs(d[2])});
        const Direction s = {int(std::lround(d[0] * scale)), int(std::lround(d[1] * scale)),
                             int(std::lround(d[2] * scale))};
        if (s.z >= 1) return s;  // never on or under the horizon
    }
}

std::vector<uint8_t> star_map(uint32_t seed) {
    std::vector<uint8_t> bytes;
    for (int star_class = 0; star_class < 5; ++star_class) {
        for (int n = 0; n < STARS_BY_CLASS[star_class]; ++n) {
            const Direction d = star_direction(seed);
            bytes.insert(bytes.end(), {uint8_t(star_class), uint8_t(d.x + 32), uint8_t(d.y + 32), uint8_t(d.z + 32)});
        }
    }
    return bytes;
}

}  // namespace

std::vector<DataFile> sky_files() {
    std::vector<DataFile> files = {{"3ddata/clear.rgb", sky_set(CLEAR_SKY)},
                                   {"3ddata/overcast.rgb", sky_set(OVERCAST_SKY)},
                                   {"3ddata/above.rgb", sky_set(ABOVE_SKY)}};
    for (size_t zone = 0; zone < WAR_ZONES.size(); ++zone) {
        const std::string directory = WAR_ZONES[zone].directory;
        const FogLook fog = fog_of(WAR_ZONES[zone].climate);
        files.push_back({directory + "/fog.rgb", fog_ramp(fog.near_clear, fog.far_clear)});
        files.push_back({directory + "/fogdull.rgb", fog_ramp(fog.near_dull, fog.far_dull)});
        files.push_back({directory + "/glass.cmp", glass_remap(WAR_ZONES[zone].climate)});
        // Theatres far apart see different skies.
        files.push_back({directory + "/starmap.bin", star_map(0x5EED0000u + uint32_t(zone))});
    }
    return files;
}

}  // namespace vyr::vyrgen
