// The accelerator's back buffer read as RGB for the render tests, and written out as a PPM to look at.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "platform/accel/framebuffer.h"

namespace vyr {

struct Rgb {
    int r, g, b;
};

inline Rgb pixel(int x, int y) {
    namespace accel = platform::accel;
    const uint16_t p = accel::draw_buffer()[y * accel::SCREEN_WIDTH + x];
    return {(p >> 11) * 255 / 31, (p >> 5 & 63) * 255 / 63, (p & 31) * 255 / 31};
}

inline void write_frame(const std::string& path) {
    namespace accel = platform::accel;
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << accel::SCREEN_WIDTH << " " << accel::SCREEN_HEIGHT << "\n255\n";
    for (int y = 0; y < accel::SCREEN_HEIGHT; ++y)
        for (int x = 0; x < accel::SCREEN_WIDTH; ++x) {
            const Rgb c = pixel(x, y);
            const char rgb[3] = {char(c.r), char(c.g), char(c.b)};
            out.write(rgb, 3);
        }
}

}  // namespace vyr
