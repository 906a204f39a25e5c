#include "tools/vyrgen/effect_textures.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "tools/vyrgen/noise.h"
#include "tools/vyrgen/rgb_palettes.h"

namespace vyr::vyrgen {

namespace {

// One frame of a burst: an elliptical cloud with a ragged edge, fire at its core while it is hot,
// smoke elsewhere, eaten away as it thins out.
struct Burst {
    double cx, cy;      // centre
    double rx, ry;      // radii
    double heat;        // 0: smoke only .. 1: fire to the edge
    double lightness;   // of the smoke, 0..1
    double thinning;    // share of the cloud eaten away, 0..1
    double spikes = 0;  // depth of radial streaks
    uint32_t seed;
};

uint8_t burst_pixel(const Image& image, const Burst& b, int x, int y) {
    const double size = std::max(image.width, image.height);
    const double dx = (x + 0.5 - b.cx) / b.rx, dy = (y + 0.5 - b.cy) / b.ry;
    const double d = std::hypot(dx, dy);
    const double angle = std::atan2(dy, dx);
    const double ragged = 0.3 * fractal_noise(x, y, size, 4, 3, b.seed);
    const double edge = 1.0 - ragged + b.spikes * std::pow(std::fabs(std::sin(5 * angle + b.seed % 7)), 8);
    if (d >= edge) return 0;
    const double depth = 1.0 - d / edge;  // 1 at the centre, 0 at the edge
    if (fractal_noise(x, y, size, 8, 2, b.seed + 17) < b.thinning * (1.2 - 0.6 * depth)) return 0;
    const double fire = b.heat * (0.4 + depth) + 0.2 * (fractal_noise(x, y, size, 8, 2, b.seed + 29) - 0.5);
    if (fire > 0.45) return uint8_t(FIRE_FIRST + std::clamp(int((fire - 0.45) / 0.75 * FIRE_COUNT), 0, FIRE_COUNT - 1));
    const double grey = b.lightness + 0.25 * depth + 0.3 * (fractal_noise(x, y, size, 8, 2, b.seed + 41) - 0.5);
    return uint8_t(SMOKE_FIRST + std::clamp(int(grey * SMOKE_COUNT), 0, SMOKE_COUNT - 1));
}

Image draw_burst(int width, int height, const Burst& b) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.at(x, y) = burst_pixel(image, b, x, y);
    return image;
}

// Hot debris flung out of a ground burst, cooling to dark specks.
void add_debris(Image& image, double t, uint32_t seed) {
    for (uint32_t k = 0; k < 24; ++k) {
        const uint32_t h = mix_bits(seed + k);
        const double spread = (double(h & 0xFF) / 255.0 - 0.5) * 2.2;
        const double speed = 0.6 + double(h >> 8 & 0xFF) / 255.0;
        const double x = 32 + spread * 30 * t * speed, y = 31 - (40 * speed * t - 45 * t * t);
        if (x < 0 || x >= image.width || y < 0 || y >= image.height) continue;
        image.at(int(x), int(y)) = t < 0.5 ? uint8_t(FIRE_FIRST + 8) : uint8_t(SMOKE_FIRST + 1);
    }
}

double ease(double t) { return std::sqrt(t); }

std::string name_of(const char* family, int number) { return "3ddata/" + std::string(family) + std::to_string(number) + ".bmp"; }

}  // namespace

std::vector<EffectPicture> effect_pictures() {
    std::vector<EffectPicture> pictures;
    for (int k = 1; k <= 8; ++k) {
        const double t = (k - 1) / 7.0;
        const double r = 7 + 7 * ease(t);
        pictures.push_back({name_of("smoke", k), draw_burst(32, 32, {16, 16, r, r, 0, 0.55 - 0.15 * t, 0.35 * t, 0,
                                                                     mix_bits(uint32_t(k))})});
    }
    for (int n = 1; n <= 32; ++n) {
        const double t = (n - 1) / 31.0, s = ease(t);
        const uint32_t seed = mix_bits(uint32_t(100 + n / 3));
        const double heat = std::max(0.0, 1.0 - 1.3 * t);
        pictures.push_back({name_of("gndexp", n), draw_burst(64, 32, {32, 31 - 8 * s, 8 + 22 * s, 6 + 16 * s, heat,
                                                                      0.3 + 0.2 * t, std::max(0.0, t - 0.55) * 1.6,
                                                                      0, seed})});
    }
    for (int n = 1; n <= 32; ++n) {
        const double t = (n - 1) / 31.0, s = ease(t);
        const double ry = 8 + 20 * s;
        EffectPicture picture{name_of("newgnd", n),
                              draw_burst(64, 32, {32, 32 - 0.6 * ry, 5 + 9 * s, ry, std::max(0.0, 0.9 - 1.5 * t),
                                                  0.2 + 0.25 * t, std::max(0.0, t - 0.5) * 1.5, 0,
                                                  mix_bits(uint32_t(200 + n / 3))})};
        add_debris(picture.image, t, 77);
        pictures.push_back(std::move(picture));
    }
    const struct {
        const char* family;
        double radius, growth, heat, spikes, lightness;
    } AIR[] = {{"airexp", 6, 22, 1.0, 0.0, 0.35}, {"airexl", 8, 24, 1.2, 0.45, 0.3}, {"flkexp", 4, 16, 0.6, 0.0, 0.0}};
    for (const auto& family : AIR) {
        for (int n = 1; n <= 20; ++n) {
            const double t = (n - 1) / 19.0, r = family.radius + family.growth * ease(t);
            const double heat = std::max(0.0, family.heat * (1 - 1.4 * t));
            pictures.push_back({name_of(family.family, n),
                                draw_burst(64, 64, {32, 32, r, r, heat, family.lightness + 0.2 * t,
                                                    std::max(0.0, t - 0.5) * 1.5, family.spikes,
                                                    mix_bits(uint32_t(300 + n / 4) + uint32_t(family.radius))})});
        }
    }
    return pictures;
}

}  // namespace vyr::vyrgen
