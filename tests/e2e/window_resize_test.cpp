// The SDL window made larger with nothing else happening: the picture fills it at once, scaled.
#include "virtual_display.h"

namespace vyr::e2e {
namespace {

TEST_F(SdlWindowTest, AResizedWindowShowsTheLastFrameScaled) {
    write_bytes(dir.path() / "home" / "prefs.cfg", "Quick Start Game Runs=1\r\n");
    auto vyr = start_vyr(display->name());
    Window window = wait_for_menu();
    ASSERT_NE(window, 0u) << output();
    auto plate = [&](int x, int y) { return is_plate_colour(display->pixel(window, x, y)); };
    ASSERT_TRUE(wait_for([&] { return plate(405, 42) && !plate(416, 300); })) << "the Main Screen\n" << output();
    display->resize(window, 800, 600);
    // At 5/4 the "Quick Start" plate reaches past the old right edge and "Training" lies where the
    // unscaled picture has the gap above the small buttons.
    EXPECT_TRUE(wait_for([&] { return plate(700, 62) && plate(550, 412); })) << output();
}

}  // namespace
}  // namespace vyr::e2e
