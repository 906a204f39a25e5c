// Smooth value noise that repeats across a square, so textures drawn with it tile seamlessly.
#pragma once

#include <cstdint>

namespace vyr::vyrgen {

uint32_t mix_bits(uint32_t value);

// 0..1, smooth between the corners of a lattice of `cells` x `cells` over 0..size; repeats with
// period `size` in x and y.
double tile_noise(double x, double y, double size, int cells, uint32_t seed);

// Octaves of tile_noise from `cells` upwards, each twice as fine and half as strong; 0..1.
double fractal_noise(double x, double y, double size, int cells, int octaves, uint32_t seed);

}  // namespace vyr::vyrgen
