// What the player sees: the title picture from the generated data, in its own colours, with the
// pointer over it.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <vector>

#include "run_vyr.h"

namespace vyr::e2e {
namespace {

struct Capture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    std::array<int, 3> at(int x, int y) const {
        size_t i = (size_t(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

Capture read_capture(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    Capture c;
    std::string magic;
    int maximum;
    in >> magic >> c.width >> c.height >> maximum;
    in.get();
    c.rgb.assign(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(magic, "P6");
    EXPECT_EQ(c.rgb.size(), size_t(c.width) * c.height * 3);
    return c;
}

TEST(Picture, TitleShowsInItsOwnColoursUnderThePointer) {
    ScratchDirectory dir("title_picture");
    auto script = dir.write("run.txt", "20 move 300 200\n40 capture title.ppm\n60 quit\n");
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + script.string());
    ASSERT_EQ(run.exit_code, 0) << run.output;
    Capture c = read_capture(dir.path() / "title.ppm");
    ASSERT_EQ(c.width, 640);
    ASSERT_EQ(c.height, 480);
    auto sky = c.at(320, 5), grass = c.at(50, 470), runway = c.at(320, 470);
    EXPECT_GT(sky[2], sky[0] + 20) << "a dark blue night sky at the top";
    EXPECT_GT(grass[1], grass[0] + 10) << "green fields at the bottom";
    EXPECT_GT(runway[0], 180) << "a light runway marking in the middle";
    EXPECT_EQ(c.at(300, 200), (std::array<int, 3>{0, 0, 0})) << "the arrow's outline at its hot spot";
    EXPECT_EQ(c.at(302, 206), (std::array<int, 3>{255, 255, 255})) << "the arrow's fill";
}

}  // namespace
}  // namespace vyr::e2e
