// Trigonometry by table. Angles are binary (2^32 to a turn, 0x40000000 = 90 degrees); sines and
// arguments are 1.31 fixed point (0x7FFFFFFF = 1.0).
#pragma once

#include <cstdint>

namespace vyr {

constexpr int SIN_TABLE_SIZE = 10241;    // 8192 steps a turn, plus a quarter turn for the cosine
constexpr int ARCSIN_TABLE_SIZE = 8193;  // arguments i / 8192
constexpr int ARCTAN_TABLE_SIZE = 4097;  // arguments i / 4096

extern int32_t sin_table[SIN_TABLE_SIZE];
extern int32_t arcsin_table[ARCSIN_TABLE_SIZE];
extern int32_t arccos_table[ARCSIN_TABLE_SIZE];
extern int32_t arctan_table[ARCTAN_TABLE_SIZE];

// Loads SINCOS.TBL, ARCSIN.TBL, ARCCOS.TBL and ARCTAN.TBL; one that is missing or of the wrong
// size is computed and saved. Then resets the random seed.
void init_trig_tables();

// The nearest of the 8192 steps of a turn.
inline int32_t lookup_sin(uint32_t angle) { return sin_table[(angle >> 19) + ((angle >> 18) & 1)]; }
inline int32_t lookup_cos(uint32_t angle) {
    return sin_table[(angle >> 19) + ((angle >> 18) & 1) + 2048];
}

// |x| without overflow (0x80000000 for the most negative x).
inline uint32_t fixed_magnitude(int32_t x) { return x < 0 ? 0u - uint32_t(x) : uint32_t(x); }

inline uint32_t lookup_arcsin(int32_t x) {
    uint32_t m = fixed_magnitude(x);
    uint32_t angle = uint32_t(arcsin_table[(m >> 18) + ((m >> 17) & 1)]);
    return x < 0 ? 0u - angle : angle;
}

inline uint32_t lookup_arccos(int32_t x) {
    uint32_t m = fixed_magnitude(x);
    uint32_t angle = uint32_t(arccos_table[(m >> 18) + ((m >> 17) & 1)]);
    return x < 0 ? 0x80000000u - angle : angle;
}

// For a ratio 0 <= r <= 1 in 1.31; larger ratios read as 1.
inline uint32_t lookup_arctan(uint32_t r) {
    r = r < 0x80000000u ? r : 0x80000000u;
    return uint32_t(arctan_table[(r >> 19) + ((r >> 18) & 1)]);
}

}  // namespace vyr
