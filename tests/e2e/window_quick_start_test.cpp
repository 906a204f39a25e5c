// The first playable loop in the real SDL window under a virtual X server: the Main Screen, a
// quick start into the flight, the quit box, and back through the Quick Start Screen.
#include "virtual_display.h"

#include <algorithm>
#include <utility>

namespace vyr::e2e {
namespace {

class WindowQuickStart : public SdlWindowTest {
protected:
    bool plate(Window window, int x, int y) { return is_plate_colour(display->pixel(window, x, y)); }
    bool quick_start_shown(Window window) { return plate(window, 410, 120) && plate(window, 410, 190); }
    bool main_shown(Window window) { return plate(window, 405, 42) && !plate(window, 410, 120); }
    // The quit box's dark face over the sky, at its corners and in its middle.
    bool quit_box_shown(Window window) {
        for (auto [x, y] : {std::pair{200, 105}, {440, 190}, {320, 145}}) {
            const auto p = display->pixel(window, x, y);
            if (std::max({p[0], p[1], p[2]}) >= 0x40) return false;
        }
        return true;
    }
};

TEST_F(WindowQuickStart, FromTheMainScreenIntoAFlightAndBack) {
    write_bytes(dir.path() / "home" / "prefs.cfg", "Quick Start Game Runs=1\r\n");
    auto vyr = start_vyr(display->name());
    Window window = wait_for_menu();
    ASSERT_NE(window, 0u) << output();
    ASSERT_TRUE(wait_for([&] { return main_shown(window); })) << output();
    display->click(window, 500, 70);
    ASSERT_TRUE(wait_for([&] { return quick_start_shown(window); })) << output();
    display->click(window, 500, 70);
    ASSERT_TRUE(wait_for([&] {
        auto sky = display->pixel(window, 5, 5);
        return !quick_start_shown(window) && sky[2] > sky[0] + 40;
    })) << "the flight's sky\n"
        << output();
    display->press_keys(window, {XK_Alt_L, XK_x});
    // A Y pressed before the box is up answers nothing.
    ASSERT_TRUE(wait_for([&] { return quit_box_shown(window); })) << "the quit box\n" << output();
    display->press_keys(window, {XK_y});
    ASSERT_TRUE(wait_for([&] { return quick_start_shown(window); })) << "back from the flight\n" << output();
    display->click(window, 480, 460);
    ASSERT_TRUE(wait_for([&] { return main_shown(window); })) << output();
    display->press_keys(window, {XK_Control_L, XK_q});
    EXPECT_EQ(vyr->wait_for_exit(), 16) << output();
    EXPECT_NE(read_bytes(dir.path() / "home" / "prefs.cfg").find("Set Map=1"), std::string::npos);
}

}  // namespace
}  // namespace vyr::e2e
