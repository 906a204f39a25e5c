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

// The next PPM picture of `in`; none (width 0) at the end.
inline Capture read_picture(std::istream& in) {
    Capture c;
    std::string magic;
    int maximum = 0;
    if (!(in >> magic >> c.width >> c.height >> maximum)) return {};
    in.get();
    c.rgb.resize(size_t(c.width) * c.height * 3);
    in.read(reinterpret_cast<char*>(c.rgb.data()), std::streamsize(c.rgb.size()));
    EXPECT_EQ(magic, "P6");
    EXPECT_EQ(size_t(in.gcount()), c.rgb.size());
    return c;
}

inline Capture read_capture(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    Capture c = read_picture(in);
    EXPECT_GT(c.width, 0) << path;
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof()) << path << ": one picture";
    return c;
}

// The pictures of a script's "record" line, in the order presented.
inline std::vector<Capture> read_recording(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<Capture> frames;
    for (Capture c = read_picture(in); c.width > 0; c = read_picture(in)) frames.push_back(std::move(c));
    return frames;
}

enum class Shown { OTHER, MAIN_SCREEN, PREFERENCES_SCREEN };

// Which of the first menu screens a picture shows, by a pixel of a plate each has; `at` gives
// the picture's colour at a place.
template <typename Pixels>
Shown first_screen_of(const Pixels& at) {
    auto is_plate = [&](int x, int y) {
        std::array<int, 3> pixel = at(x, y);
        return pixel[0] > 60 && pixel[1] > 60 && pixel[2] > 60;
    };
    if (is_plate(45, 125)) return Shown::PREFERENCES_SCREEN;
    if (is_plate(405, 42)) return Shown::MAIN_SCREEN;
    return Shown::OTHER;
}

inline Shown first_screen(const Capture& c) {
    return first_screen_of([&](int x, int y) { return c.at(x, y); });
}

// The menus' steel plates: light grey, nearly as red as blue, unlike the sky of a flight.
inline bool is_plate_colour(const std::array<int, 3>& pixel) {
    return pixel[0] > 60 && pixel[1] > 60 && pixel[2] > 60 && pixel[2] - pixel[0] < 30;
}

}  // namespace vyr::e2e
