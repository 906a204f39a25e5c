// Reading what a headless run captured: binary PPM files of the display.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vyr::e2e {

struct Capture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    std::array<int, 3> at(int x, int y) const {
        size_t i = (size_t(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

inline Capture read_capture(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    Capture c;
    std::string magic;
    int maximum = 0;
    in >> magic >> c.width >> c.height >> maximum;
    in.get();
    c.rgb.assign(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(magic, "P6") << path;
    EXPECT_EQ(c.rgb.size(), size_t(c.width) * c.height * 3) << path;
    return c;
}

}  // namespace vyr::e2e
