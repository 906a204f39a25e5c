// Movie files byte by byte, as the format in platform/movie/movie_file.h lays them down, for
// tests of the reader and of playback that need good and broken movies of their own.
#pragma once

#include <cstdint>
#include <vector>

namespace vyr::movie_bytes {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& out, int value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

inline void put32(Bytes& out, uint32_t value) {
    put16(out, int(value & 0xffff));
    put16(out, int(value >> 16));
}

inline Bytes header(int width, int height, int frames, int rate, int channels = 1, int sound_rate = 8000,
                    int bits = 8) {
    Bytes out = {'V', 'Y', 'R', 'M'};
    for (int value : {1, width, height, frames, rate, channels, sound_rate, bits}) put16(out, value);
    return out;
}

// A chunk from its three parts: palette runs (count first), pixel code and sound.
inline Bytes chunk(const Bytes& palette, const Bytes& code, const Bytes& sound) {
    Bytes out;
    put32(out, uint32_t(palette.size() + 4 + code.size() + 4 + sound.size()));
    out.insert(out.end(), palette.begin(), palette.end());
    put32(out, uint32_t(code.size()));
    out.insert(out.end(), code.begin(), code.end());
    put32(out, uint32_t(sound.size()));
    out.insert(out.end(), sound.begin(), sound.end());
    return out;
}

// One palette run setting entry `entry` to a colour.
inline Bytes one_colour(int entry, uint8_t red, uint8_t green, uint8_t blue) {
    Bytes out;
    put16(out, 1);
    out.push_back(uint8_t(entry));
    put16(out, 1);
    out.insert(out.end(), {red, green, blue});
    return out;
}

// Every row of a `width`-pixel picture filled with one index (width at most 64).
inline Bytes filled(int width, int height, uint8_t index) {
    Bytes out;
    for (int y = 0; y < height; ++y) out.insert(out.end(), {uint8_t(0xc0 + width - 1), index});
    return out;
}

// The colour frame `n` of `plain_movie` shows.
inline uint32_t frame_colour(int n) { return uint32_t(n * 8) << 16 | 100u << 8 | uint32_t(50 + n); }

// A 16 x 10 movie whose frame n is index 1 all over, with palette entry 1 the colour
// `frame_colour` (n); sounded movies carry 400 bytes of 8-bit mono at 8000 Hz a frame, each
// frame's bytes its number + 100.
inline Bytes plain_movie(int frames, int rate, bool sound) {
    Bytes out = sound ? header(16, 10, frames, rate) : header(16, 10, frames, rate, 0, 0, 0);
    for (int n = 0; n < frames; ++n) {
        uint32_t colour = frame_colour(n);
        Bytes part = chunk(one_colour(1, uint8_t(colour >> 16), uint8_t(colour >> 8), uint8_t(colour)),
                           filled(16, 10, 1), sound ? Bytes(400, uint8_t(100 + n)) : Bytes{});
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

}  // namespace vyr::movie_bytes
