// Golden pictures of whole frames kept small: 80 x 60 PPM files of each 8 x 8 block's mean colour,
// so that a frame may stray a little (dither, rounding) but not show something else.
#pragma once

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/paths.h"
#include "tests/support/quick_start_flight.h"

namespace vyr {

constexpr int GOLDEN_WIDTH = 80, GOLDEN_HEIGHT = 60;

// The mean difference of the blocks' channels, 0 to 255; 255 when the golden file is missing.
inline double golden_difference(const Picture& frame, const std::string& fixture) {
    std::ifstream in(std::string(VYR_FIXTURES_DIR) + "/" + fixture, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, depth = 0;
    in >> magic >> width >> height >> depth;
    in.get();
    if (magic != "P6" || width != GOLDEN_WIDTH || height != GOLDEN_HEIGHT || frame.width != 640 || frame.height != 480)
        return 255;
    std::vector<unsigned char> expected(GOLDEN_WIDTH * GOLDEN_HEIGHT * 3);
    in.read(reinterpret_cast<char*>(expected.data()), std::streamsize(expected.size()));
    double difference = 0;
    for (int by = 0; by < GOLDEN_HEIGHT; ++by)
        for (int bx = 0; bx < GOLDEN_WIDTH; ++bx)
            for (int k = 0; k < 3; ++k) {
                int sum = 0;
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 8; ++x) sum += int(frame.at(bx * 8 + x, by * 8 + y) >> (16 - 8 * k) & 0xFF);
                difference += std::abs(sum / 64 - expected[size_t(by * GOLDEN_WIDTH + bx) * 3 + size_t(k)]);
            }
    return difference / (GOLDEN_WIDTH * GOLDEN_HEIGHT * 3);
}

}  // namespace vyr
