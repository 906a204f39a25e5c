// What the player sees: the first menu screen from the generated data, in its own colours, with
// the pointer over it.
#include <gtest/gtest.h>

#include <array>

#include "capture.h"
#include "run_vyr.h"

namespace vyr::e2e {
namespace {

TEST(Picture, FirstScreenShowsInItsOwnColoursUnderThePointer) {
    ScratchDirectory dir;
    auto script = write_bytes(dir / "run.txt", "100 move 300 200\n120 capture first.ppm\n140 quit\n");
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + script.string());
    ASSERT_EQ(run.exit_code, 0) << run.output;
    Capture c = read_capture(dir.path() / "first.ppm");
    ASSERT_EQ(c.width, 640);
    ASSERT_EQ(c.height, 480);
    EXPECT_EQ(c.at(24, 40), (std::array<int, 3>{255, 210, 110})) << "the amber heading";
    auto board = c.at(10, 420), plate = c.at(45, 125);
    EXPECT_LT(board[0] + board[1] + board[2], 120) << "a dark slate board";
    EXPECT_GT(plate[2], 60) << "a light steel plate";
    EXPECT_EQ(c.at(300, 200), (std::array<int, 3>{0, 0, 0})) << "the arrow's outline at its hot spot";
    EXPECT_EQ(c.at(302, 206), (std::array<int, 3>{255, 255, 255})) << "the arrow's fill";
}

}  // namespace
}  // namespace vyr::e2e
