// The first playable loop in the real SDL window under a virtual X server: the Main Screen, a
// quick start into the flight, the quit box, and back through the Quick Start Screen.
#include "virtual_display.h"

namespace vyr::e2e {
namespace {

class WindowQuickStart : public SdlWindowTest {
protected:
    bool plate(Window window, int x, int y) {
        auto pixel = display->pixel(window, x, y);
        return pixel[0] > 60 && pixel[1] > 60 && pixel[2] > 60;
    }
    bool quick_start_shown(Window window) { return plate(window, 410, 120) && plate(window, 410, 190); }
    bool main_shown(Window window) { return plate(window, 405, 42) && !plate(window, 410, 120); }
    void keys(Window window, std::initializer_list<KeySym> held, KeySym key) {
        for (KeySym symbol : held) display->key(window, symbol, true);
        display->key(window, key, true);
        display->key(window, key, false);
        for (KeySym symbol : held) display->key(window, symbol, false);
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
    keys(window, {XK_Alt_L}, XK_x);
    keys(window, {}, XK_y);
    ASSERT_TRUE(wait_for([&] { return quick_start_shown(window); })) << "back from the flight\n" << output();
    display->click(window, 480, 460);
    ASSERT_TRUE(wait_for([&] { return main_shown(window); })) << output();
    keys(window, {XK_Control_L}, XK_q);
    EXPECT_EQ(vyr->wait_for_exit(), 16) << output();
    EXPECT_NE(read_bytes(dir.path() / "home" / "prefs.cfg").find("Set Map=1"), std::string::npos);
}

}  // namespace
}  // namespace vyr::e2e
