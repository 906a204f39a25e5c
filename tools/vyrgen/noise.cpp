#include "tools/vyrgen/noise.h"

#include <cmath>

namespace vyr::vyrgen {

uint32_t mix_bits(uint32_t value) {
    value ^= value >> 16;
    value *= 0x7FEB352Du;
    value ^= value >> 15;
    value *= 0x846CA68Bu;
    return value ^ (value >> 16);
}

namespace {

double corner(int x, int y, int cells, uint32_t seed) {
    const uint32_t cx = uint32_t(((x % cells) + cells) % cells), cy = uint32_t(((y % cells) + cells) % cells);
    return double(mix_bits(seed ^ mix_bits(cx * 0x9E3779B9u ^ cy))) / 4294967296.0;
}

double smooth(double t) { return t * t * (3 - 2 * t); }

}  // namespace

double tile_noise(double x, double y, double size, int cells, uint32_t seed) {
    const double fx = x / size * cells, fy = y / size * cells;
    const int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
    const double tx = smooth(fx - x0), ty = smooth(fy - y0);
    const double top = corner(x0, y0, cells, seed) * (1 - tx) + corner(x0 + 1, y0, cells, seed) * tx;
    const double bottom = corner(x0, y0 + 1, cells, seed) * (1 - tx) + corner(x0 + 1, y0 + 1, cells, seed) * tx;
    return top * (1 - ty) + bottom * ty;
}

double fractal_noise(double x, double y, double size, int cells, int octaves, uint32_t seed) {
    double sum = 0, weight = 1, total = 0;
    for (int octave = 0; octave < octaves; ++octave, cells *= 2, weight /= 2) {
        sum += weight * tile_noise(x, y, size, cells, seed + uint32_t(octave) * 0x68E31DA4u);
        total += weight;
    }
    return sum / total;
}

}  // namespace vyr::vyrgen
